// The transient driver's switching work: the consistent setting after an event, the
// cycle store, stop-when-close, found cycles and the steady-state end.
#include <cstdio>

#include "simu/base/console.h"
#include "simu/driver/driver.h"
#include "simu/base/messages.h"
#include "simu/input/options.h"
#include "simu/driver/sim_main.h"
#include "simu/driver/state_file.h"
#include "simu/steady/steady_state_criteria.h"
#include "simu/switching/switch_table_adjust.h"
#include "simu/base/stopwatch.h"

void transient_driver::resolve_setting() {
  if (!conds_) {
    timer_switch(3);
    use_record(topo_.find_eqns(swt_.state, td_));
    timer_switch(8);
  } else {
    use_record(switch_adjustment(swt_, cond_, x_, u_, y_, tv_, td_, topo_, cyc_, adjust_));
    set_candidates();
  }
  check_reached_setting();
}

void transient_driver::set_candidates() {
  candidates_.reserve(swt_.c);
  candidates_.resize(swt_.changed_into(candidates_.data()));
}

void transient_driver::write_seq() {
  cyc_.write_seq_file(sim_options.infile, p_.sstol_f, topo_.switch_names());
}

int transient_driver::switching_work() {
  lookup_pending_ = 1;
  out_->sample_first(t_, y_);
  const topology* prev_rec = rec_;

  if (switches_) {
    resolve_setting();
    cyc_.add_transition(tv_, t_, swt_.state, x_, u_, rec_, cycle_mode_);
    if (!begun_ && ((cycles_ > 2 && cyc_.close_enough()) || begin_count_ > begin_after_)) begun_ = 1;
    if (method_ == 2 && cycle_mode_ && begun_ && accel_ && accel_->at_switching(t_, swt_.state, x_)) {
      write_seq();
      sim_printf("Skelboe's Method: Steady state reached in %d cycles.\n", cycles_ - 1);
      sim_fprintf(stderr, "Skelboe's Method: Steady state reached in %d cycles.\n", cycles_ - 1);
      return 1;
    }
  }
  outputs();
  stop_if_non_finite(t_);   // the new topology's outputs
  out_->sample_first(t_, y_);

  if (switches_ && returns_ > 2 && p_.stop_close &&
      ss_test(swt_.state, stored_x_, reference_.transpose(), x_, p_.sstol_c)) {
    error_box("Close to Steady state!");
    save_ini(tv_, swt_.state, x_, swt_.on_time, clk_, sim_options.infile);
    sim_fprintf(stderr, "Close tolerance of %g reached!\n", p_.sstol_c);
    sim_fprintf(stderr, "Steady State method begins.");
    p_.stop_close = 0;
    cycle_mode_ = 1;
  }

  if (switches_ && cyc_.cycle_found() && at_cycle_found()) return 1;

  if (p_.stop_close && dm_equal(swt_.state, reference_)) {
    stored_x_ = x_;
    ++returns_;
  }
  if (rec_ != prev_rec) tv_(3) = 0.0;
  return 0;
}

void transient_driver::steady_state_failed(int shown, int counted) {
  char text[96];
  std::snprintf(text, sizeof text, "Failed to reach steady state in %d cycles!", shown);
  error_box(text);
  sim_printf("Steady state not reached in %d cycles!\n", counted);
  steady_state_missed = 1;
}

void transient_driver::no_cycle_before_tsim(const char* what) {
  char text[192];
  std::snprintf(text, sizeof text, "%s: no switching cycle found before the final time tsim = %g s!", what, tsim_);
  error_box(text);
  sim_printf("%s\n", text);
  steady_state_missed = 1;
}

void transient_driver::final_time_first() {
  if (cycles_ == 0) return no_cycle_before_tsim("Failed to reach steady state");
  char text[192];
  std::snprintf(text, sizeof text, "Failed to reach steady state in %d cycles!\nThe final time tsim = %g s was reached first.",
                cycles_, tsim_);
  error_box(text);
  sim_printf("Steady state not reached in %d cycles!\nThe final time tsim = %g s was reached first.\n", cycles_, tsim_);
  steady_state_missed = 1;
}

int transient_driver::at_cycle_found() {
  tv_(2) = 0.0;
  const int cycles_before = cycles_;
  ++cycles_;
  ++begin_count_;
  ++one_c_count_;
  if (!p_.one_c) {
    if (cyc_.converged()) {
      write_seq();
      switch (method_) {
        case 1:
          sim_fprintf(stderr, "\n\nAnalytical Method: ");
          error_box("Newton:  Steady state reached!");
          break;
        case 3:
          sim_fprintf(stderr, "\n\nBroyden's Method: ");
          error_box("Broyden:  Steady state reached!");
          break;
        case 4:
          sim_fprintf(stderr, "\n\nBrute-force Method: ");
          error_box("Picard:  Steady state reached!");
          break;
        default:
          break;
      }
      sim_fprintf(stderr, "Steady state reached in %d cycles", cycles_);
      if (method_ == 3) sim_fprintf(stderr, ", %d Broyden iterations", accel_ ? accel_->iterations() : 0);
      sim_fprintf(stderr, "!\n");
      return 1;
    }
  } else if (!one_c_checked_) {
    // The first cycle's period has none before it in this run: its states are tested
    // here, its period against the second cycle's.
    if (!cyc_.states_converged()) {
      error_box("Initial condition is not in steady state!");
      return 1;
    }
    one_c_checked_ = 1;
  } else if (one_c_count_ == 2 && !cyc_.period_agrees()) {
    error_box("Initial condition is not in steady state!");
    return 1;
  } else if (one_c_count_ >= p_.none_c) {
    return 1;
  }

  if (cycle_mode_) {
    if (cycles_ > p_.nclkss) {
      steady_state_failed(p_.nclkss, cycles_before);
      return 1;
    }
    if (!one_c_checked_ && begun_ && accel_) accel_->at_cycle(cyc_, x_);
    if (bounds_on_) clamp_states(x_, bounds_);
    // The next cycle starts afresh from the present point. Skelboe's cycles begin at the
    // reference setting, and so do the store's, so that the report of a converged run is
    // Skelboe's last cycle: its extrapolated state may leave that setting at once.
    cyc_.count = 0;
    if (method_ == 2) cyc_.started = 0;
    resolve_setting();
    outputs();
    stop_if_non_finite(t_);   // the method's new state
    out_->sample_first(t_, y_);
    cyc_.add_transition(tv_, t_, swt_.state, x_, u_, rec_, cycle_mode_);
  }
  return 0;
}
