// The mode cache against closed forms: the decomposition and the coefficients for a start
// state are computed once and reused by the instant search's many trial steps.
#include <gtest/gtest.h>

#include <cmath>

#include "common/dm_builders.h"
#include "simu/mode_cache.h"
#include "simu/topology.h"

TEST(ModeCache, TrialStepsReuseOneDecompositionAgainstTheClosedForm) {
  // x' = -x + u: x(dt) = e^-dt x0 + (1 - e^-dt) u; and the rotation x1' = x2, x2' = -x1.
  topology decay, spin;
  decay.A = DM(1, 1, -1.0);
  decay.B = DM(1, 1, 1.0);
  spin.A = rows_of(2, 2, {0, 1, -1, 0});
  spin.B = DM(2, 0);
  mode_cache cache;
  DM x;
  for (int k = 0; k < 10; ++k) {
    const double dt = 0.37 * (k + 1);
    cache.propagate(x, DM(2.0), DM(5.0), decay, dt, k);
    EXPECT_NEAR(x(1), std::exp(-dt) * 2.0 + (1.0 - std::exp(-dt)) * 5.0, 1e-14) << k;
  }
  EXPECT_EQ(cache.recomputations(), 1);
  for (int k = 0; k < 10; ++k) {
    const double dt = 0.37 * (k + 1);
    cache.propagate(x, col({1.0, 0.0}), DM(0, 1), spin, dt, k);
    EXPECT_NEAR(x(1), std::cos(dt), 1e-14) << k;
    EXPECT_NEAR(x(2), -std::sin(dt), 1e-14) << k;
  }
  EXPECT_EQ(cache.builds(), 2);
  EXPECT_EQ(cache.recomputations(), 2);
  EXPECT_EQ(cache.propagations(), 20);
}
