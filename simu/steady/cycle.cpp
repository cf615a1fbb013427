// Cycle store: recording transitions, detecting the return to the start setting.
#include "simu/steady/cycle.h"

#include <cmath>

#include "matrix/dm_ops.h"
#include "simu/input/sim_params.h"
#include "simu/steady/pss_unknowns.h"
#include "simu/steady/steady_state_criteria.h"
#include "simu/model/topology.h"

namespace {
// A sanity bound far beyond any real period (a slow cycle with fast PWM inside it has
// thousands of transitions); reaching it means the reference setting never recurs.
constexpr int max_transitions = 1000000;

// h = 1 x n of zeros, over h's block when only h holds it and it has that shape.
void zero_row(DM& h, int n) {
  if (h.blk->refs != 1 || h.rows != 1 || h.cols != n) h = DM(1, n);
  for (int j = 1; j <= n; ++j) h.at(j) = 0.0;
}

// h = row * C as the product operator forms it (left to it for scalar operands).
void row_times(const DM& row, const DM& C, DM& h) {
  if ((row.rows == 1 && row.cols == 1) || (C.rows == 1 && C.cols == 1) || row.rows != 1 ||
      row.cols != C.rows) {
    h = row * C;
    return;
  }
  if (h.blk->refs != 1 || h.rows != 1 || h.cols != C.cols) h = DM(1, C.cols);
  const int r = C.rows;
  for (int j = 0; j < C.cols; ++j) {
    double s = 0.0;
    for (int k = 0; k < r; ++k) s += row.blk->data[k] * C.blk->data[static_cast<size_t>(j) * r + k];
    h.blk->data[j] = s;
  }
}

double coarse_tol() { return current_params ? current_params->sstol_c : sim_params().sstol_c; }
double fine_tol() { return current_params ? current_params->sstol_f : sim_params().sstol_f; }

}  // namespace

int dm_equal(const DM& A, const DM& B) {
  if (A.rows != B.rows || A.cols != B.cols) return 0;
  for (uint32_t k = 1; k <= A.n; ++k)
    if (!(A(k) == B(k))) return 0;
  return 1;
}

CYCLE::CYCLE(const DM& reference_setting) { reference = reference_setting; }

cycle_entry& CYCLE::entry(int k) {
  if (k < 1 || k > static_cast<int>(entries_.size())) matrix_fatal("Index out of range", "CYCLE::entry()");
  return entries_[k - 1];
}

const cycle_entry& CYCLE::entry(int k) const {
  if (k < 1 || k > static_cast<int>(entries_.size())) matrix_fatal("Index out of range", "CYCLE::entry()");
  return entries_[k - 1];
}

void CYCLE::add_hi_mi(const DM& row, double c, int kind) {
  if (count >= max_transitions) matrix_fatal("CYCLE::add_hi_mi()", "Storage overflow!");
  if (count <= 0) return;
  cycle_entry& e = entry(count);
  int nx = e.R ? e.R->C.cols : static_cast<int>(e.x.n);
  if (row.n == 0 || !e.R)
    zero_row(e.h, nx);
  else
    row_times(row, e.R->C, e.h);
  e.c = c;
  e.kind = kind;
}

void CYCLE::add_transition(const DM& tv, double t, const DM& S, const DM& x, const DM& u,
                           const topology* R, int cycle_mode) {
  if (!started) {
    if (!dm_equal(S, reference)) {
      found = 0;
      return;
    }
    started = 1;
  }
  const bool begins = count == 0 || !dm_equal(S, entry(count).S);
  if (count == 0)
    count = 1;
  else if (!dm_equal(S, entry(count).S))
    ++count;
  if (cycle_mode == 0 && count > 2) {
    count = 2;
  } else if (count >= max_transitions) {
    count = 0;
    started = 0;
    matrix_fatal("CYCLE::add_transition()", "Storage overflow!");
  }
  if (static_cast<int>(entries_.size()) < count) entries_.resize(count);
  cycle_entry& e = entry(count);
  e.t = t;
  e.tv = tv;
  e.S = S;
  e.x = x;
  e.u = u;
  e.R = R;
  if (begins) {
    e.t0 = t;
    e.x0 = x;
  }
  // The interval starts afresh: until a switching ends it, its jump factor is the identity.
  zero_row(e.h, static_cast<int>(x.n));
  e.c = 0.0;
  e.kind = -1;
  found = 0;
  if ((begins && count == 1) || peak_.n != x.n) peak_ = abs(x);   // a new cycle begins
  note_state(x);
}

int CYCLE::cycle_found() {
  if (found) return 1;
  if (count < 3) return 0;
  if (dm_equal(entry(start).S, entry(count).S)) {
    ++cycles;
    found = 1;
    last_period_ = period_;
    period_ = entry(count).t0 - entry(start).t0;
    return 1;
  }
  return 0;
}

int CYCLE::would_close(const DM& S) const {
  if (count + 1 < 3) return 0;
  return dm_equal(entry(start).S, S);
}

void CYCLE::note_state(const DM& x) {
  if (peak_.n != x.n) return;
  for (uint32_t i = 1; i <= x.n; ++i) {
    double a = std::fabs(x(i));
    if (a > peak_(i)) peak_(i) = a;
  }
}

void CYCLE::set_state_names(const std::vector<std::string>& names) { sine_partner_ = sine_partners(names); }

int CYCLE::relative_change_within(double tol) const {
  if (count < 1) return 0;
  // Measured from the state where the cycle began: a later transition that kept the start
  // setting has overwritten the entry's x with a state of another phase.
  const DM& r = entry(count).x;
  return relative_test_floor(entry(start).x0, r, tol, state_floor(r, peak_, sine_partner_));
}

int CYCLE::close_enough(double tol) const { return relative_change_within(tol); }

int CYCLE::states_converged(double tol) const { return relative_change_within(tol); }

int CYCLE::period_agrees(double tol) const { return period_test(period_, last_period_, tol); }

int CYCLE::converged(double tol) const { return relative_change_within(tol) && period_agrees(tol); }

// The same tests with the tolerances of the current settings record.
int CYCLE::close_enough() const { return relative_change_within(coarse_tol()); }

int CYCLE::states_converged() const { return relative_change_within(fine_tol()); }

int CYCLE::period_agrees() const { return period_agrees(fine_tol()); }

int CYCLE::converged() const { return converged(fine_tol()); }
