// transient_driver: the state of one call of sim_main and its phases.
//
//     transient_driver d(*current_params);   // builds the tables, the first model, x, u, y
//     if (!d.setup()) return 0;              // limited run without a state file
//     d.run();                               // step loop, then the end files
//
// t and the time vector tv in s (tv(1) = t, tv(2) time since the last found cycle,
// tv(3) time in the present topology, tv(4) total); x states (V, A), u sources, y outputs,
// all DM columns. Ordinary steps (code 0) are x = Phi x + Gamma u into kept matrices.
#pragma once
#include <cstdint>
#include <memory>

#include "matrix/dm.h"
#include "simu/switching/clock_table.h"
#include "simu/steady/cycle.h"
#include "simu/steady/cycle_method.h"
#include "simu/switching/event_table.h"
#include "simu/driver/finite_check.h"
#include "simu/model/mode_cache.h"
#include "simu/model/model_rows.h"
#include "simu/driver/output_store.h"
#include "simu/input/sim_params.h"
#include "simu/switching/switch_cond.h"
#include "simu/switching/switch_table.h"
#include "simu/switching/switch_table_adjust.h"
#include "simu/model/topology.h"

// Event codes of a step.
enum step_code { code_plain = 0, code_event = 1, code_clock = 2, code_crossing = 3, code_cut = 5,
                 code_clock_event = 12 };

class transient_driver {
public:
  explicit transient_driver(sim_params& p);
  transient_driver(const transient_driver&) = delete;
  transient_driver& operator=(const transient_driver&) = delete;

  // The setup after the tables: first model, state file, first outputs. Returns 0 when a
  // limited run finds no state file (the box has been shown).
  int setup();
  // The step loop and the end of the run; returns 1.
  int run();

private:
  // Step loop pieces (driver_step.cpp).
  void poll_progress();
  void guard_zero_steps();
  void classify_step();
  // An edge, event or switching instant that lies within 1e-10 s past the end of the run
  // or of the save window lengthens the step only up to that end (and is taken there), so
  // that t lands on the end and its instant is kept in the result table.
  void keep_end(double planned);
  void propagate_step();
  void find_crossing();
  void advance_time();
  void apply_code();
  void use_record(topology* r);
  void outputs();
  // Whether y = C x + D u is certainly finite now, so that the finiteness check may skip it.
  bool outputs_surely_finite() const;
  void set_output_gains();
  void apply_event_values();
  double earliest_edge() const;
  // Switching work after a step with a non-zero code (driver_switching.cpp). Returns 1
  // when the run must end (steady state reached, limit met).
  int switching_work();
  void resolve_setting();
  void set_candidates();
  // A setting whose ideal network the present source values make inconsistent (KVL
  // around a loop of voltage sources and on switches, KCL across a cut of current sources
  // and off switches) ends the run (driver_faults.cpp): at the start unless a condition or
  // clock edge leaves the setting at once, and at every switching and source step.
  bool setting_leaves_at_once() const;
  void check_start_setting() const;
  void check_reached_setting() const;
  int at_cycle_found();
  // A steady-state search that ends unreached: the box with shown cycles, the console
  // line with counted cycles, and steady_state_missed.
  void steady_state_failed(int shown, int counted);
  // A steady-state search that reached the final time: why, with tsim (no cycle at all,
  // or the cycles made so far).
  void final_time_first();
  // A run that met no switching cycle before tsim ("<what>: no switching cycle found
  // before the final time tsim = ... s!"): the box, the console line, steady_state_missed.
  void no_cycle_before_tsim(const char* what);
  void write_seq();
  // The end of the run (driver_end.cpp).
  void finish();
  // Ends the run at t when x or y holds an infinity or a NaN: the table is written up to
  // the last finite row, the failure thrown (driver_finite.cpp).
  void stop_if_non_finite(double t) {
    if (!all_finite(x_, y_)) stop_non_finite(t);
  }
  [[noreturn]] void stop_non_finite(double t);

  sim_params& p_;
  model_netlist net_;
  clock_table clk_;
  event_table evt_;
  sw_condition cond_;
  sw_table swt_;
  DM reference_;              // reference setting (n x 1) = initial setting
  CYCLE cyc_;
  mode_cache modes_;
  topology_table topo_;
  std::unique_ptr<output_store> out_;
  std::unique_ptr<cycle_method> accel_;

  bool switches_ = false, clocks_ = false, events_ = false, conds_ = false;
  int method_ = 1, begin_after_ = 0;
  int saved_ld_ = 0, steady_ = 0, cycle_mode_ = 0;
  double tsim_ = 0.0, td_ = 0.0;
  std::uint64_t wall_start_ = 0;

  topology* rec_ = nullptr;
  const DM* Phi_ = nullptr;   // the record's discretisation over td
  const DM* Gamma_ = nullptr;
  DM K_outputs_, K_u_;        // multiplier: controlling outputs, its position in u
  double gain_ = 0.0;
  int has_mult_ = 0;

  double t_ = 0.0;
  DM tv_;
  DM x_, x_start_, x_work_, u_, y_;
  bool y_stale_ = false;      // y_ not yet formed for the present x_ (outputs() forms it)
  double out_gain_x_ = 0.0, out_gain_u_ = 0.0;   // largest |C|, |D| of the record
  const topology* gains_of_ = nullptr;            // the record they belong to
  cond_list candidates_;      // conditions that would change a switch (changed_list)
  cond_list list_;            // crossings of the present step
  adjust_work adjust_;        // the switch adjustment's storage
  DM crossing_row_;           // Cy row of the condition that ended a step
  double next_clock_ = 0.0;   // earliest clock edge
  DM bounds_;
  int bounds_on_ = 0;

  // Present step.
  int code_ = 0;
  double dt_ = 0.0;
  bool clock_due_ = false, event_due_ = false;
  double dt_clock_ = 0.0, dt_event_ = 0.0;
  bool clock_applies_ = false, event_applies_ = false;

  int lookup_pending_ = 0;
  int k_ = 0;                 // progress steps taken
  // Zero-step guard; wide counters so that a long streak cannot overflow.
  double h_ = 0.0, prev_dt_ = 0.0;
  std::int64_t m_ = 5, stuck_count_ = 1, steps_ = 0;
  int stuck_ = 0;

  int cycles_ = 0, begin_count_ = 0, one_c_count_ = 0, one_c_checked_ = 0, begun_ = 0;
  int returns_ = 0;
  DM stored_x_;
  int loaded_ = 0;
};
