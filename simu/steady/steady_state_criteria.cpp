// Relative steady-state criteria.
#include "simu/steady/steady_state_criteria.h"

#include <cmath>

#include "simu/steady/cycle.h"

int relative_test(const DM& b, const DM& r, double tol, const DM* peak, double tiny) {
  double e = 0.0;
  for (uint32_t i = 1; i <= r.n; ++i) {
    double d = r(i);
    if (std::fabs(d) < tiny) d = 1e-14;
    // An AC state anchored near its zero crossing is measured against its swing instead.
    if (peak && peak->n == r.n) {
      double floor = 1e-9 * (*peak)(i);
      if (std::fabs(d) < floor) d = floor;
    }
    double q = std::fabs((b(i) - r(i)) / d);
    if (std::isnan(q)) return 0;
    if (q > e) e = q;
  }
  return tol >= e ? 1 : 0;
}

DM state_floor(const DM& r, const DM& peak, const std::vector<int>& partners) {
  const int n = static_cast<int>(r.n);
  const bool has_peak = peak.n == r.n;
  DM floor(n, 1);
  for (int i = 1; i <= n; ++i) {
    double f = has_peak ? 1e-9 * peak(i) : 0.0;
    const int p = static_cast<int>(partners.size()) == n ? partners[i - 1] : 0;
    if (p != 0) {
      const double amplitude = p > 0 && p <= n ? std::hypot(r(i), r(p)) : (has_peak ? peak(i) : 0.0);
      f = std::fmax(f, 1e-3 * amplitude);
    }
    floor(i) = f;
  }
  return floor;
}

int relative_test_floor(const DM& b, const DM& r, double tol, const DM& floor, double tiny) {
  double e = 0.0;
  for (uint32_t i = 1; i <= r.n; ++i) {
    double d = r(i);
    if (std::fabs(d) < tiny) d = 1e-14;
    if (floor.n == r.n && std::fabs(d) < floor(i)) d = floor(i);
    double q = std::fabs((b(i) - r(i)) / d);
    if (std::isnan(q)) return 0;
    if (q > e) e = q;
  }
  return tol >= e ? 1 : 0;
}

int ss_test(const DM& a, const DM& b, const DM& s, const DM& r, double tol) {
  if (!dm_equal(a, s.transpose())) return 0;
  return relative_test(b, r, tol);
}

int period_test(double period, double before, double tol) {
  if (!(period > 0.0 && before > 0.0)) return 0;
  return std::fabs(period - before) <= tol * period;
}
