// Earliest switching instant inside a step: a safeguarded Halley iteration per crossed
// condition, bracketed by the step and falling back to bisection.
#include <cmath>
#include <cstdio>

#include "matrix/dm.h"
#include "simu/switching/switch_cond.h"

namespace {

constexpr double eps_t = switching_tolerance;
constexpr int max_passes = 50;

[[noreturn]] void not_found() {
  char text[64];
  std::snprintf(text, sizeof text, "Switching time not found in %d iterations", max_passes);
  matrix_fatal(text, "reduce step.");
}

}  // namespace

void sw_condition::find_switching_time(DM& list, const DM& tvin, double& dt, const DM& on_time,
                                       const topology& rec, const DM& x0in, const DM& uin,
                                       mode_cache& cache, int use_cache) {
  DM tv(tvin), x0(x0in), u(uin), A(rec.A), B(rec.B), C(rec.C), D(rec.D);
  const int ns = A.rows, m = B.cols, nout = C.rows;
  const double t0 = tv(1);
  double earliest = 1e6;
  int total = 0;
  int found = 0;
  const int len = list.rows * list.cols;
  c_.assign(ns, 0.0);
  r_.assign(ns, 0.0);
  ar_.assign(ns, 0.0);
  if (xt_.rows != ns || xt_.cols != 1) xt_ = DM(ns, 1);
  if (yt_.rows != nout || yt_.cols != 1) yt_ = DM(nout, 1);

  for (int q = 1; q <= len; ++q) {
    const int i = static_cast<int>(list(q));
    // g(t) = c x(t) + Cy D u + Ct tv(t) + Cc: c = Cy(i,:) C, dg/dt = c (A x + B u) + s.
    for (int k = 1; k <= ns; ++k) {
      double s = 0.0;
      for (int o = 1; o <= nout; ++o) s += Cy(i, o) * C(o, k);
      c_[k - 1] = s;
    }
    double s = 0.0;
    for (int k = 1; k <= Ct.cols; ++k) s += Ct(i, k);
    const double e = Cc(i);
    const double on0 = on_time_of(on_time, i);
    double lo = t0, hi = t0 + dt, t = t0;
    double g = previous(i);
    int iters = 0;
    for (int k = 1; k <= ns; ++k) xt_(k) = x0(k);
    // A condition already crossed when the step began (an inconsistent initial setting,
    // a diode on with reverse current) switches at the step's start: there is no later
    // instant to look for, and the search below would only bisect towards t0 until it
    // gave up.
    if (g < 0.0) g = 0.0;
    while (std::fabs(g) > eps_t) {
      if (iters > max_passes) not_found();
      if (iters == 0 && std::fabs(g) <= 5.0 * eps_t) break;
      // r = A x + B u, g' = c r + s, g'' = c A r
      for (int k = 1; k <= ns; ++k) {
        double v = 0.0;
        for (int j = 1; j <= ns; ++j) v += A(k, j) * xt_(j);
        for (int j = 1; j <= m; ++j) v += B(k, j) * u(j);
        r_[k - 1] = v;
      }
      double g1 = s, g2 = 0.0;
      for (int k = 0; k < ns; ++k) g1 += c_[k] * r_[k];
      for (int k = 1; k <= ns; ++k) {
        double v = 0.0;
        for (int j = 1; j <= ns; ++j) v += A(k, j) * r_[j - 1];
        ar_[k - 1] = v;
      }
      for (int k = 0; k < ns; ++k) g2 += c_[k] * ar_[k];
      if (g1 == 0.0) g1 = 1e-16;
      double step = 1.0 / ((g2 * 0.5) / g1 - g1 / g);
      t += step;
      if (t > hi || t < lo || !std::isfinite(t)) {
        t = (hi + lo) / 2.0;
        step = (hi - lo) / 2.0;
      }
      const double h = t - t0;
      if (use_cache) {
        cache.propagate(xt_, x0, u, rec, h, total);
      } else {
        DM Phi, Gamma;
        c2d_timed(Phi, Gamma, A, B, h);
        for (int k = 1; k <= ns; ++k) {
          double v = 0.0;
          for (int j = 1; j <= ns; ++j) v += Phi(k, j) * x0(j);
          for (int j = 1; j <= m; ++j) v += Gamma(k, j) * u(j);
          xt_(k) = v;
        }
      }
      g = e + eps_t;
      for (int o = 1; o <= nout; ++o) {
        double y = 0.0;
        for (int k = 1; k <= ns; ++k) y += C(o, k) * xt_(k);
        for (int j = 1; j <= m; ++j) y += D(o, j) * u(j);
        yt_(o) = y;
        g += Cy(i, o) * y;
      }
      for (int k = 1; k <= 3 && k <= Ct.cols; ++k) g += Ct(i, k) * (tv(k) + h);
      if (Ct.cols >= 4) g += Ct(i, 4) * (on0 + h);
      const bool small = iters > 7 && h > 0.0 &&
                         ((std::fabs(step) < eps_t / 100.0 && -1000.0 * eps_t < g && g <= 1000.0 * eps_t) ||
                          (std::fabs(step) < eps_t / 1000.0 && -100.0 * eps_t < g && g <= 100.0 * eps_t));
      if (g <= 0.0)
        hi = t;
      else
        lo = t;
      ++total;
      ++iters;
      if (small) break;
    }
    if (iters >= max_passes) not_found();
    if (t < earliest - eps_t) {
      crossing(1) = i;
      found = 1;
      earliest = t;
    } else if (t < earliest + eps_t) {
      crossing(++found) = i;
    }
  }
  if (found == 0) return;
  count = found;
  dt = earliest - t0;
  if (dt < eps_t) dt = eps_t;
  keep_crossings(list);
}
