// The steady-state methods' steps: Newton's Jacobian with its saltation, Broyden's update
// against the secant condition, Skelboe's extrapolation to the fixed point of a linear cycle
// map; the singular, grazing, zero and drifting steps and the storage bound.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "simu/steady/newton.h"
#include "simu/steady/pss_unknowns.h"
#include "matrix/dm_ops.h"
#include "simu/steady/cycle.h"
#include "simu/model/topology.h"
#include "common/dm_builders.h"
#include "simu/steady/broyden.h"
#include "simu/steady/skelboe.h"
#include "common/recording_run_services.h"
#include "simu/input/sim_params.h"
#include "common/fatal_of.h"

namespace {

topology model(const DM& A, const DM& B) {
  topology r;
  r.A = A;
  r.B = B;
  r.C = eye(A.rows, A.rows);   // outputs = states: a condition row is h itself
  r.D = DM(A.rows, B.cols, 0.0);
  return r;
}

const DM on = col({1.0, 0.0});
const DM off = col({0.0, 1.0});
const DM tv = DM(4, 1, 0.0);

// State-dependent switching: x' = 1 until x reaches X (condition g = X - x <= 0, h = -1),
// then x' = -a x until the clock at T. x_T = X exp(-a (T - X + x0)), so
// d x_T / d x0 = -a X exp(-a (T - t1)) with t1 = X - x0; without the saltation matrix the
// product of transition matrices alone would give +exp(-a (T - t1)).
struct threshold_cycle {
  double a = 4.0, X = 2.0, T = 2.0;
  topology R1 = model(DM(1, 1, 0.0), DM(1, 1, 1.0));
  topology R2 = model(DM(1, 1, -4.0), DM(1, 1, 0.0));
  DM u = col({1.0});
  void record(CYCLE& cyc, double x0) {
    cyc.count = 0;
    cyc.add_transition(tv, 0.0, on, col({x0}), u, &R1, 1);
    cyc.add_hi_mi(row({-1.0}), 0.0, 1);
    cyc.add_transition(tv, X - x0, off, col({X}), u, &R2, 1);
    cyc.add_hi_mi(DM(), 0.0, 0);
    cyc.add_transition(tv, T, on, col({X * std::exp(-a * (T - X + x0))}), u, &R1, 1);
  }
};

}  // namespace

TEST(NewtonJacobian, SaltationAtAStateDependentSwitching) {
  threshold_cycle c;
  CYCLE cyc(on);
  const double x0 = 0.25;
  c.record(cyc, x0);
  // Times count in units of h: the intervals' transitions shrink with it, the saltation does not.
  for (double h : {1.0, 2.0})
    EXPECT_NEAR(cyc.newton_jacobian(h)(1), -c.a * c.X * std::exp(-c.a * (c.T - (c.X - x0)) / h), h * h * 1e-15) << h;
}

TEST(PssUnknowns, SineStatesPairUpAndAreNoUnknowns) {
  const std::vector<std::string> names = {"V_Cs1", "I_L1", "I_Ls1", "V_Cs2", "V_C1"};
  EXPECT_EQ(sine_partners(names), (std::vector<int>{3, 0, 1, -1, 0}));
  EXPECT_EQ(pss_unknowns(names), (std::vector<int>{2, 5}));
}

TEST(NewtonStep, GrazingSwitchingGivesNoNaN) {
  // h f + c = 0: the saltation is infinite; the step is skipped, the state stays finite.
  topology R1 = model(DM(1, 1, 0.0), DM(1, 1, 0.0));
  topology R2 = model(DM(1, 1, -1.0), DM(1, 1, 0.0));
  DM u = col({1.0});
  CYCLE cyc(on);
  cyc.add_transition(tv, 0.0, on, col({1.0}), u, &R1, 1);
  cyc.add_hi_mi(row({-1.0}), 0.0, 1);
  cyc.add_transition(tv, 0.5, off, col({1.0}), u, &R2, 1);
  cyc.add_transition(tv, 1.0, on, col({0.6}), u, &R1, 1);
  testing::internal::CaptureStderr();
  DM x = newton_step(cyc, 1.0, {1});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Newton: singular or ill-conditioned J - I, step skipped.\n");
  EXPECT_EQ(x(1), 0.6);
}

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

namespace {

// The cycle map of a two-state circuit: x -> Phi x + b, Phi = [0.6 0.2; 0.1 0.7]
// (eigenvalues 0.5 and 0.8), b = (1, -2); (I - Phi) x = b gives the fixed point (-1, -7).
DM affine(const DM& x) { return col({0.6 * x(1) + 0.2 * x(2) + 1.0, 0.1 * x(1) + 0.7 * x(2) - 2.0}); }

struct SkelboeTest : ::testing::Test {
  sim_params params;
  recording_run_services host;
  main_window_scope scope{host};
  void SetUp() override { current_params = &params; }
  void TearDown() override { current_params = nullptr; }

  // One cycle: the switching step into the reference setting at t, then one away from it.
  int cycle(SKELBOE& sk, double t, DM& x) {
    int r = sk.step(t, on, x);
    DM y;
    y = x;
    sk.step(t + 0.5e-3, off, y);   // other settings store nothing
    return r;
  }
};

}  // namespace

TEST_F(SkelboeTest, LinearCycleMapIsExtrapolatedToItsFixedPoint) {
  SKELBOE sk(on, {});
  DM x = col({0.0, 0.0});
  testing::internal::CaptureStderr();
  // x0, x1 (two starts), x2: the periods agree -> periodic; rank of [dx1 dx2] is 2.
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(cycle(sk, k * 1e-3, x), 0);
    x = affine(x);
  }
  EXPECT_EQ(sk.periodic, 1);
  // x3: three differences in two dimensions lose rank; Cayley-Hamilton gives
  // dx3 = tr(Phi) dx2 - det(Phi) dx1 exactly, and x* is the fixed point.
  EXPECT_EQ(cycle(sk, 3e-3, x), 0);
  EXPECT_NEAR(x(1), -1.0, 1e-12);
  EXPECT_NEAR(x(2), -7.0, 1e-12);
  ASSERT_EQ(sk.coefficients.n, 2u);
  EXPECT_NEAR(sk.coefficients(1), -0.4, 1e-12);   // -det(Phi)
  EXPECT_NEAR(sk.coefficients(2), 1.3, 1e-12);    // tr(Phi)
  // The next cycle returns to x*: converged.
  x = affine(x);
  EXPECT_EQ(sk.step(4e-3, on, x), 1);
  EXPECT_EQ(sk.done, 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nSkelboe's method: Steady State Reached in 3 cycles.\n");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Skelboe: Steady state reached!");
}

TEST_F(SkelboeTest, DriftWithoutFixedPointIsSkippedWithOneLine) {
  // x -> x + 1: dx is constant, c = 1 and 1 - sum c = 0.
  SKELBOE sk(on, {});
  DM x = col({0.0});
  testing::internal::CaptureStderr();
  for (int k = 0; k < 3; ++k) {
    cycle(sk, k * 1e-3, x);
    if (k < 2) x(1) = x(1) + 1.0;
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Skelboe: singular extrapolation, step skipped.\n");
  EXPECT_EQ(x(1), 2.0);
  EXPECT_EQ(sk.count, 3);   // the sequence goes on
}

TEST_F(SkelboeTest, StorageOverflowEndsTheRunWithItsText) {
  // Cycle starts that are never extrapolated (no unknowns) pile up to the store's bound.
  SKELBOE sk(on, {"V_Cs1", "I_Ls1"});
  const DM x = col({0.0, 1.0});
  testing::internal::CaptureStdout();
  const std::string thrown = fatal_of([&] {
    for (int k = 0; k <= 100000; ++k) sk.add_cycle(k * 1e-3, on, x);
  });
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(thrown, "Fatal Error : SKELBOE::add_cycle() - Storage overflow!\n");
  EXPECT_EQ(printed, thrown);
}
