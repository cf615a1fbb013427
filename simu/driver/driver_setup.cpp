// The transient driver's setup: tables, first model, state file, first outputs.
#include <cstdio>

#include "simu/base/console.h"
#include "simu/driver/driver.h"
#include "simu/base/messages.h"
#include "simu/input/netlist.h"
#include "simu/input/options.h"
#include "simu/input/run_settings.h"
#include "simu/driver/state_file.h"
#include "simu/base/stopwatch.h"
#include "simu/input/x0_warnings.h"

namespace {

// The initial setting as an n x 1 column (swinit may be written as a row or a column).
DM setting_column(const sw_table& swt) {
  DM s(swt.n, 1);
  for (int i = 1; i <= swt.n; ++i) s(i) = swt.state(i);
  return s;
}

DM column(int n) {
  DM c(n, 1);
  for (int i = 1; i <= n; ++i) c(i) = 0.0;
  return c;
}

}  // namespace

transient_driver::transient_driver(sim_params& p)
    : p_(p),
      net_(model_netlist_from(sim_netlist, p.vgs)),
      clk_(p.tmd),
      evt_(p.tmd, p.vgs),
      cond_(p.Cy, p.Ct, p.Cc, p.Csw),
      swt_(p.swinit, p.tmd, p.thon, p.thoff, p.Cy.rows),
      reference_(setting_column(swt_)),
      cyc_(reference_),
      topo_(net_) {
  switches_ = swt_.n > 0;
  clocks_ = clk_.m > 0;
  events_ = evt_.k > 0;
  conds_ = cond_.n > 0;
}

int transient_driver::setup() {
  method_ = run_ssmethod;
  begin_after_ = run_cycles_togo;
  steady_ = p_.steady;
  saved_ld_ = p_.ld;
  if (p_.one_c) {
    steady_ = 1;
    p_.ld = 1;
  }
  cycle_mode_ = p_.stop_close == 0 ? steady_ : 0;
  tsim_ = p_.tsim;
  td_ = p_.td;
  if (!(td_ > 0.0)) throw "Time step td must be positive";

  out_ = std::make_unique<output_store>(run_start_si, run_finish_si, 0.0, tsim_, td_, p_.points,
                                        p_.steady != 0);
  wall_start_ = now_ms();

  timer_switch(6);
  rec_ = topo_.first_eqns(p_.swinit, td_, K_outputs_, K_u_, gain_);
  timer_switch(7);
  has_mult_ = K_u_.n > 0 && K_outputs_.n >= 2;
  accel_ = make_cycle_method(method_, reference_, topo_.state_names());
  cyc_.set_state_names(topo_.state_names());

  x_ = topo_.initial_state(p_.x0);
  warn_ignored_x0(p_.x0, topo_.initial_mask(), topo_.candidates());
  const int ns = static_cast<int>(x_.n);
  x_start_ = column(ns);
  x_work_ = column(ns);
  u_ = topo_.source_values();
  // A breakpoint at time 0 holds from the start.
  DM first_values;
  if (events_ && evt_.initial_values(first_values)) {
    evt_.due_values = first_values;
    apply_event_values();
  }
  tv_ = column(4);
  use_record(rec_);

  t_ = 0.0;
  loaded_ = 0;
  DM clock_times;
  if (p_.ld) {
    loaded_ = load_ini(tv_, swt_.state, x_, swt_.on_time, clk_, clock_times, sim_options.infile);
    t_ = 0.0;
  }
  if (!p_.ld || !loaded_) {
    sim_fprintf(stderr, "\nInitial conditions not loaded.\n");
    if (p_.one_c) {
      // A limited run needs the saved state; without it the run did not happen.
      error_box("Initial condition does not exist!");
      return 0;
    }
  } else {
    sim_fprintf(stderr, "\nInitial conditions loaded successfully.\n");
    // The run restarts its clock at 0 from the saved state.
    tv_(1) = 0.0;
    swt_.previous = swt_.state;
    if (switches_ && !dm_equal(swt_.state, reference_)) {
      rec_ = topo_.find_eqns(swt_.state, td_);
      use_record(rec_);
    }
  }

  outputs();
  if (switches_) set_candidates();
  if (conds_) {
    // Every condition at t = 0, so that the first search starts from a true value.
    DM all(cond_.n, 1);
    for (int j = 1; j <= cond_.n; ++j) all(j) = j;
    cond_.evaluate(all, swt_.on_time, y_, tv_, 0.0, '0');
    cond_.take_present();
  }
  if (switches_ && dm_equal(swt_.state, reference_)) stored_x_ = x_;

  if (!p_.stmin.empty() || !p_.stmax.empty()) {
    bounds_on_ = 1;
    bounds_ = state_bounds(topo_.state_names(), p_.stmin, p_.stmax, p_.mn, p_.mx);
  }

  // Rows go to the table's temporary as they are kept: a long run holds none of them.
  out_->stream_to(sim_options.outfile);
  double dt0 = td_;
  out_->clamp_step(t_, dt0);
  stop_if_non_finite(t_);
  out_->sample_first(t_, y_);

  h_ = td_;
  stuck_ = 0;
  stuck_count_ = 1;
  m_ = 5;
  steps_ = 0;
  if (t_ >= tsim_) t_ = 0.0;
  if (loaded_ && clocks_) clk_.restore(clock_times, t_);
  if (clocks_) next_clock_ = earliest_edge();
  check_start_setting();
  timer_switch(2);
  k_ = 0;
  lookup_pending_ = 0;
  return 1;
}

void transient_driver::use_record(topology* r) {
  // Code-0 steps always have length td, and every record is discretised over td when it
  // is built, so the record's matrices serve in cycle mode as well: a lookup for a cut
  // step is followed by another lookup before the next code-0 step.
  rec_ = r;
  if (gains_of_ != rec_) set_output_gains();
  Phi_ = &rec_->Phi;
  Gamma_ = &rec_->Gamma;
}
