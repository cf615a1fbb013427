// The transient driver's step loop: progress and Esc, step length, event codes,
// propagation, switching-instant search, time advance.
#include <algorithm>
#include <cmath>
#include <utility>

#include "matrix/matvec.h"
#include "simu/driver/driver.h"
#include "simu/model/multiplier.h"
#include "simu/base/run_services.h"
#include "simu/base/stopwatch.h"

namespace {

// out = A a + B b; out must not share a block with a or b. Nothing is allocated: the
// per-step path of ordinary steps.
void mat_vec2(const DM& A, const DM& a, const DM& B, const DM& b, DM& out) {
  ::mat_vec2(A.blk->data, a.blk->data, A.cols, B.blk->data, b.blk->data, B.cols,
             static_cast<int>(out.n), out.blk->data);
}

void copy_values(const DM& from, DM& to) {
  std::copy(from.blk->data, from.blk->data + from.n, to.blk->data);
}

// A zero-step streak cuts the forced length by 10 at stuck counts 5, 50, 500, 5000 and
// from then on every 5000 stuck steps, so that a streak ends in a bounded number of steps.
constexpr std::int64_t max_guard_period = 5000;

}  // namespace

void transient_driver::outputs() {
  y_stale_ = false;
  if (static_cast<int>(y_.n) != rec_->C.rows || y_.cols != 1) y_ = DM(rec_->C.rows, 1);
  mat_vec2(rec_->C, x_, rec_->D, u_, y_);
  if (has_mult_) {
    y_ = multiplier_solve(K_u_, K_outputs_, *rec_, y_, x_, u_, gain_);
  }
}

void transient_driver::apply_event_values() {
  const std::vector<int>& to_u = topo_.vgs_to_u();
  const int rows = static_cast<int>(evt_.due_values.n);
  for (int r = 1; r <= rows && r <= static_cast<int>(to_u.size()); ++r)
    if (to_u[r - 1] > 0) u_(to_u[r - 1]) = evt_.due_values(r);
}

double transient_driver::earliest_edge() const {
  double e = clk_.table(5, 1);
  for (int j = 2; j <= clk_.m; ++j) e = std::min(e, clk_.table(5, j));
  return e;
}

void transient_driver::poll_progress() {
  if (k_ > static_cast<int>(t_ / tsim_ * 50)) return;
  run_services& frame = main_window();
  if (frame.poll_escape()) throw "Simulation terminated by user";
  frame.StepProgressBar();
  ++k_;
}

void transient_driver::guard_zero_steps() {
  ++steps_;
  if (stuck_ && steps_ > 5) {
    ++stuck_count_;
    if (stuck_count_ % m_ == 0) {
      h_ /= 10.0;
      m_ = std::min(m_ * 10, max_guard_period);
    }
    if (h_ < 1e-15) fatal_error("simu", "can't simulate!");
    dt_ = h_;
  } else {
    stuck_count_ = 1;
  }
}

void transient_driver::keep_end(double planned) {
  if (!(dt_ > planned)) return;
  // Only an end that the planned step did not pass: a window end already behind (its
  // cut step was shortened) must not shorten this step below its edge.
  for (double end : {tsim_, out_->window_end})
    if (t_ + planned <= end && t_ + dt_ > end) dt_ = std::max(end - t_, planned);
}

void transient_driver::classify_step() {
  if (!(dt_ == td_)) code_ = code_cut;
  clock_due_ = event_due_ = false;
  const double planned = dt_;
  // The table is consulted only when its earliest edge can fall within this step; its
  // flags (clk_.due) then serve the switching work.
  if (clocks_ && next_clock_ - t_ <= dt_ + clock_tolerance) {
    clk_.next_edge(t_, dt_);
    keep_end(planned);
    if (clk_.due_count > 0) {
      clock_due_ = true;
      code_ = code_clock;
    }
  }
  dt_clock_ = dt_;
  if (events_ && evt_.next_event(t_, dt_)) {
    keep_end(planned);
    event_due_ = true;
    dt_event_ = dt_;
    if (code_ == code_clock)
      code_ = dt_ > dt_clock_ - clock_tolerance ? code_clock_event : code_event;
    else
      code_ = code_event;
  }
  clock_applies_ = code_ == code_clock || code_ == code_clock_event;
  event_applies_ = code_ == code_event || code_ == code_clock_event;
}

void transient_driver::propagate_step() {
  if (code_ == code_plain && x_.blk->refs == 1 && x_start_.blk->refs == 1 && x_.n == x_start_.n) {
    // The new state goes to x_start_'s block and the two blocks change places: the same
    // values as copying x_ to x_start_ first, without the copy. Only while no one else
    // holds either block.
    mat_vec2(*Phi_, x_, *Gamma_, u_, x_start_);
    std::swap(x_.blk, x_start_.blk);
  } else if (code_ == code_plain) {
    copy_values(x_, x_start_);
    mat_vec2(*Phi_, x_start_, *Gamma_, u_, x_);
  } else {
    copy_values(x_, x_start_);
    modes_.propagate(x_, x_start_, u_, *rec_, dt_, 0);
  }
  if (bounds_on_) clamp_states(x_, bounds_);
  // y is formed only for what reads it: the conditions, a kept sample, a switching, and
  // the finiteness check when y could overflow. A stale y is formed from the same x, u
  // and record before anything else reads it.
  if (code_ != code_plain || (conds_ && candidates_.col().n > 0) || out_->keeps(t_ + dt_) ||
      !outputs_surely_finite())
    outputs();
  else
    y_stale_ = true;
}

bool transient_driver::outputs_surely_finite() const {
  if (has_mult_) return false;
  // |y_i| <= max|C| sum|x| + max|D| sum|u|: far below the largest double, no sum of
  // y = C x + D u can overflow. An infinity or a NaN anywhere fails the test.
  double sx = 0.0, su = 0.0;
  for (uint32_t i = 0; i < x_.n; ++i) sx += std::fabs(x_.blk->data[i]);
  for (uint32_t j = 0; j < u_.n; ++j) su += std::fabs(u_.blk->data[j]);
  return out_gain_x_ * sx + out_gain_u_ * su < 1e300;
}

void transient_driver::set_output_gains() {
  auto largest = [](const DM& M) {
    double g = 0.0;
    for (uint32_t k = 0; k < M.n; ++k) {
      const double a = std::fabs(M.blk->data[k]);
      if (!(a <= g)) g = a;   // a NaN stays
      if (std::isnan(g)) break;
    }
    return g;
  };
  out_gain_x_ = largest(rec_->C);
  out_gain_u_ = largest(rec_->D);
  gains_of_ = rec_;
}

void transient_driver::find_crossing() {
  if (!conds_ || candidates_.col().n == 0) return;
  // The candidates are kept between switchings; the crossings go to a list of their own,
  // opened to its full block so that they are written in place.
  list_.reserve(swt_.c);
  list_.resize(swt_.c);
  cond_.evaluate(candidates_.col(), list_.col(), swt_.on_time, y_, tv_, dt_, '0');
  if (!cond_.crossed) return;
  const int before = code_;
  code_ = code_crossing;
  if (!cond_.at_zero) {
    const double planned = dt_;
    cond_.find_switching_time(list_.col(), tv_, dt_, swt_.on_time, *rec_, x_start_, u_, modes_, 1);
    // The search's shortest step (1e-10 s) may outlast a short final step.
    keep_end(planned);
    modes_.propagate(x_, x_start_, u_, *rec_, dt_, 0);
    if (bounds_on_) clamp_states(x_, bounds_);
    outputs();
  }
  // A clock edge or event that still ends this step is applied with the crossing, not
  // lost: it is advanced only when applied.
  clock_applies_ = clock_due_ && (before == code_clock || before == code_clock_event) &&
                   dt_ >= dt_clock_ - clock_tolerance;
  event_applies_ = event_due_ && (before == code_event || before == code_clock_event) &&
                   dt_ >= dt_event_ - clock_tolerance;
}

void transient_driver::advance_time() {
  out_->sample(t_ + dt_, y_);
  stuck_ = prev_dt_ == 0.0 && dt_ == 0.0 && steps_ >= 6;
  prev_dt_ = dt_;
  for (int i = 1; i <= 4; ++i) tv_.at(i) += dt_;
  t_ += dt_;
  if (clock_applies_) {
    clk_.advance(t_);
    next_clock_ = earliest_edge();
  }
  if (event_applies_) evt_.advance(t_);
  if (switches_) swt_.add_on_time(dt_);
  if (conds_) cond_.take_present();
  if (cycle_mode_) {
    cyc_.note_state(x_);
    if (accel_) accel_->note_state(x_);
  }
}

void transient_driver::apply_code() {
  static const DM time_forced;   // empty row: a time-forced switching
  if (clock_applies_) {
    if (code_ != code_crossing) cyc_.add_hi_mi(time_forced, 0.0, 0);
    swt_.apply_forced(clk_.due);
  }
  if (event_applies_) apply_event_values();
  if (code_ == code_crossing) {
    const int first = static_cast<int>(list_.col()(1));
    double rate = 0.0;
    cond_.value_into(first, crossing_row_, rate);
    cyc_.add_hi_mi(crossing_row_, rate, first);
    swt_.apply_states(list_.col());
  }
}

int transient_driver::run() {
  while (t_ < tsim_) {
    poll_progress();
    code_ = code_plain;
    dt_ = t_ + td_ > tsim_ ? tsim_ - t_ : td_;
    out_->clamp_step(t_, dt_);
    if (lookup_pending_ && switches_) {
      timer_switch(3);
      use_record(topo_.find_eqns(swt_.state, td_));
      timer_switch(8);
    }
    guard_zero_steps();
    classify_step();
    propagate_step();
    find_crossing();
    stop_if_non_finite(t_ + dt_);
    advance_time();
    if (code_ == code_plain) {
      lookup_pending_ = 0;
      continue;
    }
    apply_code();
    if (switching_work()) {
      finish();
      return 1;
    }
  }
  // A search that ran out of time before its cycle limit has not reached the steady state either.
  if (steady_ && !p_.one_c) final_time_first();
  finish();
  return 1;
}
