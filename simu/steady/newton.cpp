// Newton's method over the recorded cycle.
#include "simu/steady/newton.h"

#include <cmath>
#include <cstdio>

#include "matrix/dm_ops.h"
#include "matrix/expm.h"
#include "simu/base/console.h"
#include "simu/steady/pss_unknowns.h"
#include "simu/model/topology.h"

namespace {

// A x + B u with empty B and u (no sources) allowed.
DM derivative(const topology& R, const DM& x, const DM& u) {
  const int n = static_cast<int>(x.n);
  DM f(n, 1);
  for (int i = 1; i <= n; ++i) {
    double s = 0.0;
    for (int j = 1; j <= n; ++j) s += R.A(i, j) * x(j);
    if (R.B.rows == n && static_cast<uint32_t>(R.B.cols) == u.n)
      for (int j = 1; j <= R.B.cols; ++j) s += R.B(i, j) * u(j);
    f(i) = s;
  }
  return f;
}

}  // namespace

DM CYCLE::newton_jacobian(double h) {
  const int s = start, N = count;
  const int n = static_cast<int>(entry(s).x.n);
  J = eye(n, n);
  for (int k = s; k < N; ++k) {
    cycle_entry& e = entry(k);
    const cycle_entry& next = entry(k + 1);
    if (!e.R || !next.R) matrix_fatal("CYCLE::newton_jacobian()", "topology record missing");
    // The interval ends where the next setting began, with the state there.
    const double dt = (next.t0 - e.t0) / h;
    e.Phi = expm(scale(dt, e.R->A));
    e.f = scale(1.0 / h, derivative(*e.R, next.x0, e.u));
    e.df = e.f - scale(1.0 / h, derivative(*next.R, next.x0, next.u));
    double hsum = 0.0, hf = 0.0;
    const bool has_row = e.h.n == static_cast<uint32_t>(n);
    if (has_row)
      for (int j = 1; j <= n; ++j) {
        hsum += std::fabs(e.h(j));
        hf += e.h(j) * e.f(j);
      }
    e.d = (hsum == 0.0 && e.c == 0.0) ? 0.0 : 1.0 / (hf + e.c);
    e.M = DM(n, n);
    for (int i = 1; i <= n; ++i)
      for (int j = 1; j <= n; ++j) e.M(i, j) = (has_row && e.d != 0.0) ? e.df(i) * e.h(j) * e.d : 0.0;
    e.Sk = eye(n, n) - e.M;
    J = e.Sk * e.Phi * J;
  }
  return J;
}

DM CYCLE::newton_step(double h) {
  return ::newton_step(*this, h, all_states(static_cast<int>(entry(start).x.n)));
}

int newton_update(const DM& M, const DM& xs, const DM& xN, const std::vector<int>& unknowns, DM& x) {
  const int nu = static_cast<int>(unknowns.size());
  if (nu == 0) {
    x = xN;
    return 1;
  }
  DM a = gather_states(xs, unknowns);
  DM dx;
  if (!pss_solve(M - eye(nu, nu), gather_states(xN, unknowns) - a, dx)) return 0;
  DM xu = a - dx;
  if (!all_finite(xu)) return 0;
  DM r;
  r = xN;
  scatter_states(r, xu, unknowns);
  x = r;
  return 1;
}

DM newton_step(CYCLE& cyc, double h, const std::vector<int>& unknowns) {
  const DM xs = cyc.entry(cyc.start).x0;   // the state where the cycle began
  const DM xN = cyc.entry(cyc.count).x;
  const std::vector<int>& unk = unknowns;
  DM J = cyc.newton_jacobian(h);
  DM Ju(static_cast<int>(unk.size()), static_cast<int>(unk.size()));
  for (size_t i = 0; i < unk.size(); ++i)
    for (size_t j = 0; j < unk.size(); ++j) Ju.blk->data[j * unk.size() + i] = J(unk[i], unk[j]);
  DM x;
  if (!newton_update(Ju, xs, xN, unk, x)) {
    sim_fprintf(stderr, "Newton: singular or ill-conditioned J - I, step skipped.\n");
    x = xN;
  }
  cyc.x0_new = x;
  return x;
}
