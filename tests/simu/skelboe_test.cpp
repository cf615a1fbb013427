#include "simu/skelboe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "matrix/dm_ops.h"
#include "simu/recording_run_services.h"
#include "simu/sim_params.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"

namespace {

// The cycle map of a two-state circuit: x -> Phi x + b, Phi = [0.6 0.2; 0.1 0.7]
// (eigenvalues 0.5 and 0.8), b = (1, -2); (I - Phi) x = b gives the fixed point (-1, -7).
DM affine(const DM& x) { return col({0.6 * x(1) + 0.2 * x(2) + 1.0, 0.1 * x(1) + 0.7 * x(2) - 2.0}); }

const DM on = col({1.0, 0.0});    // reference setting
const DM off = col({0.0, 1.0});

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
  EXPECT_EQ(sk.count, 100000);
  EXPECT_EQ(sk.periodic, 1);
}
