// Broyden's update against the secant condition, and its singular and zero steps.
#include "simu/broyden.h"

#include <gtest/gtest.h>

#include <string>

#include "matrix/dm_ops.h"
#include "common/dm_builders.h"

namespace {

// Cycle maps x -> f(x) of one state from x0, the finite-difference Jacobian J: the first
// update starts from x0 and its cycle's end, each later one from the cycle of the last
// iterate. The error stream of every update.
struct one_state {
  broyden br{{}};
  int it = 0, more = 1;
  DM x0, xT, x;
  one_state(double start, double end) : x0(col({start})), xT(col({end})) {}
  std::string update(double J, double end) {
    x = col({end});
    testing::internal::CaptureStderr();
    br.update(DM(1, 1, J), DM(), x, it, x0, xT, more, 1);
    return testing::internal::GetCapturedStderr();
  }
};

}  // namespace

TEST(BroydenUpdate, AZeroStepLeavesBAlone) {
  // x -> x / 2 + 1 started at its fixed point 2: the step from there is zero, and there is
  // no secant to update B along.
  one_state s(2.0, 2.0);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(s.update(0.5, 2.0), "") << k;
    EXPECT_EQ(s.x(1), 2.0) << k;
  }
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
  // x -> x + 1: J = I, J - I is singular; the state runs on cycle by cycle. The secant of a
  // step not taken (F - F0 = 0 along s) keeps B singular: every later update is skipped.
  one_state s(0.0, 1.0);
  for (int k = 0; k < 4; ++k) {
    const double end = k + 1.0;
    EXPECT_EQ(s.update(1.0, end), "Broyden: singular or ill-conditioned B, step skipped.\n") << k;
    EXPECT_EQ(s.x(1), end) << k;
  }
}
