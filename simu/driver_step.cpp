// The transient driver's step loop: progress and Esc, step length, event codes,
// propagation, switching-instant search, time advance.
#include <algorithm>
#include <cmath>

#include "simu/driver.h"
#include "simu/multiplier.h"
#include "simu/run_services.h"
#include "simu/timers.h"

namespace {

// out = A a + B b over raw column-major storage; out must not share a block with a or b.
// Nothing is allocated: the per-step path of ordinary steps.
void mat_vec2(const DM& A, const DM& a, const DM& B, const DM& b, DM& out) {
  const int r = static_cast<int>(out.n);
  double* o = out.blk->data;
  std::fill(o, o + r, 0.0);
  const int na = A.cols, nb = B.cols;
  for (int j = 0; j < na; ++j) {
    const double s = a.blk->data[j];
    if (s == 0.0) continue;
    const double* col = A.blk->data + static_cast<std::size_t>(j) * r;
    for (int i = 0; i < r; ++i) o[i] += col[i] * s;
  }
  for (int j = 0; j < nb; ++j) {
    const double s = b.blk->data[j];
    if (s == 0.0) continue;
    const double* col = B.blk->data + static_cast<std::size_t>(j) * r;
    for (int i = 0; i < r; ++i) o[i] += col[i] * s;
  }
}

void copy_values(const DM& from, DM& to) {
  std::copy(from.blk->data, from.blk->data + from.n, to.blk->data);
}

// A zero-step streak cuts the forced length by 10 at stuck counts 5, 50, 500, 5000 and
// from then on every 5000 stuck steps, so that a streak ends in a bounded number of steps.
constexpr std::int64_t max_guard_period = 5000;

}  // namespace

void transient_driver::outputs() {
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
      code_ = dt_ > dt_clock_ - 1e-10 ? code_clock_event : code_event;
    else
      code_ = code_event;
  }
  clock_applies_ = code_ == code_clock || code_ == code_clock_event;
  event_applies_ = code_ == code_event || code_ == code_clock_event;
}

void transient_driver::propagate_step() {
  copy_values(x_, x_start_);
  if (code_ == code_plain) {
    mat_vec2(*Phi_, x_start_, *Gamma_, u_, x_);
  } else {
    modes_.propagate(x_, x_start_, u_, *rec_, dt_, 0);
  }
  if (bounds_on_) clamp_states(x_, bounds_);
  outputs();
}

void transient_driver::find_crossing() {
  if (!conds_ || candidates_.n == 0) return;
  // The candidates are kept between switchings. The list shares their block, so that
  // the evaluation, which resizes its list, takes a block of its own only when a
  // condition crosses: an ordinary step allocates nothing.
  list_.share(candidates_);
  cond_.evaluate(list_, swt_.on_time, y_, tv_, dt_, '0');
  if (!cond_.crossed) return;
  const int before = code_;
  code_ = code_crossing;
  if (!cond_.at_zero) {
    const double planned = dt_;
    cond_.find_switching_time(list_, tv_, dt_, swt_.on_time, *rec_, x_start_, u_, modes_, 1);
    // The search's shortest step (1e-10 s) may outlast a short final step.
    keep_end(planned);
    modes_.propagate(x_, x_start_, u_, *rec_, dt_, 0);
    if (bounds_on_) clamp_states(x_, bounds_);
    outputs();
  }
  // A clock edge or event that still ends this step is applied with the crossing, not
  // lost: it is advanced only when applied.
  clock_applies_ = clock_due_ && (before == code_clock || before == code_clock_event) &&
                   dt_ >= dt_clock_ - 1e-10;
  event_applies_ = event_due_ && (before == code_event || before == code_clock_event) &&
                   dt_ >= dt_event_ - 1e-10;
}

void transient_driver::advance_time() {
  out_->sample(t_ + dt_, y_);
  stuck_ = prev_dt_ == 0.0 && dt_ == 0.0 && steps_ >= 6;
  prev_dt_ = dt_;
  for (int i = 1; i <= 4; ++i) tv_(i) += dt_;
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
    const int first = static_cast<int>(list_(1));
    double rate = 0.0;
    DM row = cond_.value(first, rate);
    cyc_.add_hi_mi(row, rate, first);
    swt_.apply_states(list_);
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
    if (switching_work()) break;
  }
  finish();
  return 1;
}
