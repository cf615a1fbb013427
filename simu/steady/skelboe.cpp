// Skelboe's extrapolation of cycle-start states.
#include "simu/steady/skelboe.h"

#include <cmath>
#include <cstdio>

#include "matrix/dm_ops.h"
#include "simu/base/console.h"
#include "simu/steady/cycle.h"
#include "simu/base/messages.h"
#include "simu/steady/pss_unknowns.h"
#include "simu/input/sim_params.h"
#include "simu/steady/steady_state_criteria.h"
#include "simu/steady/svd.h"

namespace {
// A sanity bound only: the differences lose rank at the latest once there are more of
// them than unknowns, and every extrapolation empties the store.
constexpr int max_cycles = 100000;
}  // namespace

SKELBOE::SKELBOE(const DM& reference_setting, const std::vector<std::string>& state_names)
    : names(state_names), unknowns(pss_unknowns(state_names)) {
  reference = reference_setting;
}

void SKELBOE::note_state(const DM& x) {
  if (peak_.n != x.n) {
    peak_ = abs(x);
    return;
  }
  for (uint32_t i = 1; i <= x.n; ++i) peak_(i) = std::fmax(peak_(i), std::fabs(x(i)));
}

void SKELBOE::add_cycle(double t, const DM& S, const DM& x) {
  if (!dm_equal(S, reference)) return;
  if (periodic) ++counter;
  if (count >= max_cycles) matrix_fatal("SKELBOE::add_cycle()", "Storage overflow!");
  note_state(x);
  last_peak_ = peak_;
  peak_ = abs(x);
  times.resize(count + 1);
  periods.resize(count + 1);
  states.resize(count + 1);
  differences.resize(count + 1);
  times[count] = t;
  states[count] = x;
  if (count > 0) {
    periods[count] = t - times[count - 1];
    // A restart from an extrapolated state begins at the same instant: only here does a
    // cycle close.
    last_period_ = period_;
    period_ = periods[count];
    differences[count] = x - states[count - 1];
  } else {
    periods[count] = 0.0;
    differences[count] = DM();
  }
  ++count;
  if (!periodic && count > 2) {
    if (std::fabs(periods[1] - periods[2]) > 1e-12)
      drop_oldest();
    else
      periodic = 1;
  }
}

void SKELBOE::drop_oldest() {
  if (count <= 2) return;
  for (int k = 0; k <= count - 2; ++k) {
    times[k] = times[k + 1];
    periods[k] = periods[k + 1];
    states[k] = states[k + 1];
    differences[k] = differences[k + 1];
  }
  --count;
}

int SKELBOE::converged() const {
  if (!periodic) return 0;
  const int k = count - 1;
  if (k < 1) return 0;
  const double tol = current_params ? current_params->sstol_f : sim_params().sstol_f;
  if (!period_test(period_, last_period_, tol)) return 0;
  return relative_test_floor(states[k - 1], states[k], tol, state_floor(states[k], last_peak_, sine_partners(names)),
                             2e-16);
}

int SKELBOE::step(double t, const DM& S, DM& x) {
  if (done) return 0;
  if (!dm_equal(S, reference)) {
    in_reference_ = 0;
    return 0;
  }
  // Further switching steps inside the same visit (window cuts, events) start no cycle.
  if (in_reference_) return 0;
  in_reference_ = 1;
  add_cycle(t, S, x);
  if (converged()) {
    done = 1;
    sim_fprintf(stderr, "\nSkelboe's method: Steady State Reached in %d cycles.\n", counter);
    if (!(current_params && current_params->one_c)) error_box("Skelboe: Steady state reached!");
    if (count > 2) drop_oldest();
    return 1;
  }
  if (periodic && count > 1 && extrapolate(x)) {
    count = 0;
    add_cycle(t, S, x);
  }
  return 0;
}

// x* from the stored differences when they have lost rank; 1 when x was replaced.
int SKELBOE::extrapolate(DM& x) {
  if (names.empty()) unknowns = all_states(static_cast<int>(x.n));
  const std::vector<int>& unk = unknowns;
  const int nu = static_cast<int>(unk.size());
  if (nu == 0) return 0;
  const int m = count - 1;
  difference_matrix = DM(nu, m);
  for (int j = 1; j <= m; ++j) {
    DM d = gather_states(differences[j], unk);
    for (int i = 1; i <= nu; ++i) difference_matrix(i, j) = d(i);
  }
  const int r = svd_rank(difference_matrix);
  if (r >= m) return 0;
  // c: dx_m ~ sum over i = 1..r of c_i dx_(m-r-1+i).
  DM recent(nu, r);
  for (int i = 1; i <= nu; ++i)
    for (int j = 1; j <= r; ++j) recent(i, j) = difference_matrix(i, m - r - 1 + j);
  DM last = gather_states(differences[m], unk);
  coefficients = DM(r, 1);
  if (r > 0 && svd_least_squares(recent, last, coefficients) != 0) return 0;
  double sum_c = 0.0;
  for (int i = 1; i <= r; ++i) sum_c += coefficients(i);
  DM xs = -gather_states(states[m - 1], unk);
  for (int i = 1; i <= r; ++i) xs = xs + scale(coefficients(i), gather_states(states[m - r - 2 + i], unk));
  xs = scale(1.0 / (sum_c - 1.0), xs);
  if (std::fabs(1.0 - sum_c) < 1e-12 || !all_finite(coefficients) || !all_finite(xs)) {
    sim_fprintf(stderr, "Skelboe: singular extrapolation, step skipped.\n");
    return 0;
  }
  extrapolated = x;
  scatter_states(extrapolated, xs, unk);
  x = extrapolated;
  return 1;
}
