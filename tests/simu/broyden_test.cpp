#include "simu/broyden.h"

#include "affine_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "matrix/dm_ops.h"
#include "simu/cycle.h"
#include "simu/topology.h"
#include "common/dm_builders.h"

namespace {

const DM on = col({1.0, 0.0});
const DM off = col({0.0, 1.0});

// The driver's side of the protocol around a cycle map f: each cycle is recorded in the
// cycle store (start, one switching, return to the start setting), then the flags
// go / more / ready decide what Broyden's method does with the end state.
struct harness {
  std::function<DM(const DM&)> f;
  CYCLE cyc{on};
  broyden br;
  topology R;
  DM tv = DM(4, 1, 0.0), u = DM(0, 1);
  int go = 1, more = 1, ready = 0, iterations = 0, completed = 0, fd_calls = 0;
  DM J, x0, xT;
  double t = 0.0, T = 1e-3;

  harness(std::function<DM(const DM&)> map, std::vector<std::string> names) : f(std::move(map)), br(names) {}

  DM cycle(const DM& x) {
    cyc.count = 0;
    cyc.add_transition(tv, t, on, x, u, &R, 1);
    cyc.add_transition(tv, t + T / 2, off, x, u, &R, 1);
    t += T;
    DM xn = f(x);
    cyc.add_transition(tv, t, on, xn, u, &R, 1);
    EXPECT_EQ(cyc.cycle_found(), 1);
    if (go && more) {
      ready = br.fd_jacobian_step(J, cyc, tv, xn, completed, x0, xT);
      ++fd_calls;
    }
    if (ready) go = br.update(J, tv, xn, iterations, x0, xT, more, 2);
    return xn;
  }
};


}  // namespace

TEST(BroydenFd, AffineCycleMapGivesItsMatrixAndFixedPoint) {
  harness h(affine, {"V_C1", "I_L1"});
  DM x = col({0.0, 0.0});
  for (int k = 0; k < 3; ++k) x = h.cycle(x);   // 2 cycles, then the first perturbed one
  EXPECT_EQ(h.ready, 0);
  testing::internal::CaptureStderr();
  x = h.cycle(x);                                // second perturbed cycle: J complete
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(h.ready, 1);
  EXPECT_EQ(h.completed, 1);
  EXPECT_EQ(h.iterations, 1);
  EXPECT_EQ(h.more, 1);
  EXPECT_NEAR(h.J(1, 1), 0.6, 1e-10);
  EXPECT_NEAR(h.J(1, 2), 0.2, 1e-10);
  EXPECT_NEAR(h.J(2, 1), 0.1, 1e-10);
  EXPECT_NEAR(h.J(2, 2), 0.7, 1e-10);
  EXPECT_NEAR(x(1), -1.0, 1e-9);
  EXPECT_NEAR(x(2), -7.0, 1e-9);
  // The second Jacobian (3 more cycles) ends the finite-difference stage.
  for (int k = 0; k < 3; ++k) x = h.cycle(x);
  EXPECT_EQ(h.completed, 2);
  EXPECT_EQ(h.iterations, 2);
  EXPECT_EQ(h.more, 0);
  EXPECT_EQ(h.fd_calls, 7);
  x = h.cycle(x);   // Broyden updates from now on
  EXPECT_EQ(h.iterations, 3);
  EXPECT_EQ(h.fd_calls, 7);
  EXPECT_NEAR(x(1), -1.0, 1e-9);
  EXPECT_NEAR(x(2), -7.0, 1e-9);
}

TEST(BroydenUpdate, AZeroStepLeavesBAlone) {
  // x -> x / 2 + 1 started at its fixed point 2: the step from there is zero, and there is
  // no secant to update B along.
  harness h([](const DM& x) { return col({0.5 * x(1) + 1.0}); }, {});
  DM x = col({2.0});
  testing::internal::CaptureStderr();
  for (int k = 0; k < 8; ++k) x = h.cycle(x);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(x(1), 2.0);
}

TEST(BroydenUpdate, RankOneUpdateMeetsTheSecantCondition) {
  broyden br({});
  DM Jfd(2, 2, 0.0);
  Jfd(1, 1) = 0.5;
  Jfd(2, 2) = 0.25;
  int it = 0, more = 1;
  DM x0 = col({1.0, 2.0}), xT = col({2.0, 1.0});
  DM x = xT;
  br.update(Jfd, DM(), x, it, x0, xT, more, 1);
  EXPECT_EQ(more, 0);
  EXPECT_EQ(it, 1);
  // dx = -(Jfd - I) \ F0 = -[1 / -0.5; -1 / -0.75]
  EXPECT_DOUBLE_EQ(x(1), 1.0 + 2.0);
  EXPECT_DOUBLE_EQ(x(2), 2.0 - 4.0 / 3.0);
  DM s = br.up.dx, B0 = br.up.B, F0 = br.up.F0;
  // The cycle from that iterate ends at some state; the update must map s to F - F0.
  DM end = col({3.5, 0.1});
  DM start = x;
  x = end;
  br.update(Jfd, DM(), x, it, x0, xT, more, 1);
  EXPECT_EQ(it, 2);
  DM F = end - start;
  DM lhs = br.up.B * s;
  EXPECT_NEAR(lhs(1), F(1) - F0(1), 1e-14);
  EXPECT_NEAR(lhs(2), F(2) - F0(2), 1e-14);
  // And the next iterate is anchored at x0: x = x0 - B \ F0.
  DM check = br.up.B * (x - x0);
  EXPECT_NEAR(check(1), -F0(1), 1e-13);
  EXPECT_NEAR(check(2), -F0(2), 1e-13);
}

TEST(BroydenUpdate, SingularSystemIsSkippedWithOneLine) {
  // x -> x + 1: J = I, J - I is singular.
  harness h([](const DM& x) { return col({x(1) + 1.0}); }, {});
  DM x = col({0.0});
  for (int k = 0; k < 2; ++k) x = h.cycle(x);
  testing::internal::CaptureStderr();
  x = h.cycle(x);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Broyden: singular or ill-conditioned B, step skipped.\n");
  ASSERT_EQ(h.ready, 1);
  EXPECT_TRUE(std::isfinite(x(1)));
  EXPECT_EQ(x(1), 1.0 + 1e-4 + 1.0);   // the end state of the perturbed cycle: Picard
  // After one more perturbed cycle, the secant of a step not taken (F - F0 = 0 along s)
  // keeps B singular: every later update is skipped and the run is cycle by cycle.
  x = h.cycle(x);
  for (int k = 0; k < 3; ++k) {
    const double before = x(1);
    testing::internal::CaptureStderr();
    x = h.cycle(x);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Broyden: singular or ill-conditioned B, step skipped.\n") << k;
    EXPECT_EQ(x(1), before + 1.0) << k;
  }
}

