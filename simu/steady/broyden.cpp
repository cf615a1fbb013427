// Broyden's method: finite-difference Jacobian and rank-one updates.
#include "simu/steady/broyden.h"

#include <cmath>
#include <cstdio>

#include "matrix/dm_ops.h"
#include "simu/base/console.h"
#include "simu/steady/cycle.h"
#include "simu/steady/newton.h"
#include "simu/steady/pss_unknowns.h"

namespace {

// -(B \ F0) into dx; 0 when B is singular, ill-conditioned or the result is not finite.
int solve_step(const DM& B, const DM& F0, DM& dx) {
  DM s;
  if (!pss_solve(B, F0, s)) return 0;
  dx = -s;
  return 1;
}

void skipped() { sim_fprintf(stderr, "Broyden: singular or ill-conditioned B, step skipped.\n"); }

}  // namespace

broyden::broyden(const std::vector<std::string>& state_names) : names(state_names) {
  unknowns = pss_unknowns(names);
}

void broyden::choose_unknowns(int n_x) {
  if (names.empty()) unknowns = all_states(n_x);
}

int broyden::fd_jacobian_step(DM& J, CYCLE& cyc, const DM& tv, DM& x, int& completed, DM& x0, DM& xT) {
  if (!(cyc.cycle_found() && cyc.cycles >= 2)) return 0;
  if (fd.column == 0) {
    const cycle_entry& s = cyc.entry(cyc.start);
    const cycle_entry& e = cyc.entry(cyc.count);
    fd.x0 = s.x0;   // the state where the cycle began
    fd.end_index = cyc.count;
    fd.xT = e.x;
    fd.saved_tv = tv;
    fd.start_tv = s.tv;
    fd.period = e.t - s.t;
    choose_unknowns(static_cast<int>(fd.x0.n));
    fd.n = static_cast<int>(unknowns.size());
    fd.J = DM(fd.n, fd.n);
  }
  if (fd.column < 1 || fd.column > fd.n) {
    fd.column = 1;
  } else {
    // The cycle just closed started from x0 perturbed in unknown j.
    for (int i = 1; i <= fd.n; ++i) fd.J(i, fd.column) = (x(unknowns[i - 1]) - fd.xT(unknowns[i - 1])) / fd.delta;
    ++fd.column;
  }
  if (fd.column > fd.n) {
    fd.column = 0;
    // x0 - (J - I) \ (xT - x0) on the unknowns; the other states run on from x.
    DM step;
    if (newton_update(fd.J, fd.x0, fd.xT, unknowns, step)) {
      DM r;
      r = x;
      scatter_states(r, gather_states(step, unknowns), unknowns);
      x = r;
    }
    // A skipped step is reported once, by update, which repeats it with the same J.
    ++fd.completed;
    J = fd.J;
    completed = fd.completed;
    x0 = fd.x0;
    xT = fd.xT;
    return 1;
  }
  const int j = unknowns[fd.column - 1];
  fd.x0j = fd.x0(j);
  fd.delta = std::fabs(fd.x0j) * 1e-4;
  if (fd.delta < 1e-14) fd.delta = 1e-4;
  fd.perturbed = x;
  DM base = gather_states(fd.x0, unknowns);
  scatter_states(fd.perturbed, base, unknowns);
  fd.perturbed(j) = fd.x0j + fd.delta;
  x = fd.perturbed;
  return 0;
}

int broyden::update(const DM& Jfd, const DM& /*tv*/, DM& x, int& iteration, const DM& x0, const DM& xT, int& more,
                    int limit) {
  choose_unknowns(static_cast<int>(x0.n));
  up.n = static_cast<int>(unknowns.size());
  const std::vector<int>& unk = unknowns;
  // B dx = -F0; a step taken moves the unknowns of x to a + dx.
  auto take_step = [&](const DM& a) {
    up.solved = solve_step(up.B, up.F0, up.dx);
    if (up.solved) {
      DM r;
      r = x;
      scatter_states(r, a + up.dx, unk);
      x = r;
    } else {
      skipped();
    }
    ++up.iteration;
  };
  if (up.iteration < limit) {
    up.x0 = x0;
    up.xT = xT;
    DM a = gather_states(x0, unk);
    up.F0 = gather_states(xT, unk) - a;
    up.B = Jfd - eye(up.n, up.n);
    take_step(a);
    if (up.iteration == limit) more = 0;
  } else {
    // Residual of the cycle that started at the last iterate.
    up.F = gather_states(x, unk) - gather_states(up.x, unk);
    DM a = gather_states(up.x0, unk);
    DM s = up.solved ? up.dx : gather_states(up.x, unk) - a;   // the step actually taken
    double ss = 0.0;
    for (uint32_t k = 1; k <= s.n; ++k) ss += s(k) * s(k);
    if (ss > 0.0 && all_finite(up.F)) {
      // Secant condition B_new s = F - F0; with B s = -F0 this is B + F s' / (s' s).
      DM rank1 = up.solved ? up.F : up.F - up.F0 - up.B * s;
      up.B = up.B + scale(1.0 / ss, rank1 * s.transpose());
    }
    take_step(a);
  }
  up.x = x;
  iteration = up.iteration;
  return 1;
}
