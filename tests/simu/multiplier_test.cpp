// Multiplier source: Newton solve against the closed-form fixed point.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "matrix/dm_ops.h"
#include "simu/model/multiplier.h"
#include "simu/model/topology.h"
#include "common/dm_builders.h"

TEST(Multiplier, SolvesTheQuadraticFixedPoint) {
  topology rec;
  rec.C = rows_of(3, 2, {1, 0,  //
                         0, 1,  //
                         1, 1});
  rec.D = rows_of(3, 2, {0, 0.5,   //
                         0, 0.25,  //
                         0, 1});
  DM x = rows_of(2, 1, {1, 2});
  DM u = rows_of(2, 1, {3, 1.0});  // the writer's placeholder 1.0 in the multiplier entry
  DM y = rec.C * x + rec.D * u;
  DM K = rows_of(1, 1, {2});
  DM I = rows_of(2, 1, {1, 2});
  DM out = multiplier_solve(K, I, rec, y, x, u, 0.1);
  // uK = 0.1 (1 + uK/2)(2 + uK/4)  <=>  0.0125 uK^2 - 0.875 uK + 0.2 = 0
  double uk = (0.875 - std::sqrt(0.875 * 0.875 - 4 * 0.0125 * 0.2)) / (2 * 0.0125);
  // The loop ends once a correction moves the outputs by less than 1e-6.
  EXPECT_NEAR(u(2), uk, 1e-6);
  EXPECT_EQ(u(1), 3.0);
  EXPECT_NEAR(out(1), 1 + uk / 2, 1e-6);
  EXPECT_NEAR(out(2), 2 + uk / 4, 1e-6);
  // Every output follows the final u, also those not driving the multiplier.
  EXPECT_NEAR(out(3), 3 + u(2), 1e-15);
  EXPECT_NEAR(u(2), 0.1 * out(1) * out(2), 1e-6);
  EXPECT_GT(std::fabs(u(2) - 1.0), 0.5);  // the placeholder was replaced
}

TEST(Multiplier, WithoutAFixedPointTheIterationStillEnds) {
  // y1 = x + u, y2 = 1, u = y1 y2: u = 1 + u has no solution; the Newton matrix is singular
  // and the outputs turn non-finite. The iteration gives up instead of running on.
  topology rec;
  rec.C = rows_of(2, 1, {1, 1});
  rec.D = rows_of(2, 1, {1, 0});
  DM x = rows_of(1, 1, {1});
  DM u = rows_of(1, 1, {0});
  DM y = rec.C * x + rec.D * u;
  DM out = multiplier_solve(DM(1.0), rows_of(2, 1, {1, 2}), rec, y, x, u, 1.0);
  EXPECT_FALSE(std::isfinite(out(1)));
}
