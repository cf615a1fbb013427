// The divisions A / B and A % B of DM: scalar classes, shape errors, matrix cases.
#include <gtest/gtest.h>

#include <array>

#include "fatal_expect.h"
#include "matrix/dm_ops.h"
#include "matrix/lu.h"
#include "common/dm_builders.h"

namespace {

TEST(Divide, ScalarCases) {
  DM q = DM(2.0) / DM(4.0);
  EXPECT_EQ(q.rows, 1);
  EXPECT_EQ(q(1), 0.5);
  EXPECT_FATAL(DM(2.0) / rows2(1, 2, 3, 4), "A must not be scalar", "operation A / B");
  DM h = rows2(2, 4, 6, 8) / DM(2.0);
  EXPECT_EQ(h(1, 1), 1.0);
  EXPECT_EQ(h(2, 2), 4.0);
}

TEST(LeftDivide, ScalarCases) {
  EXPECT_FATAL(rows2(1, 2, 3, 4) % DM(2.0), "B must not be scalar", "operation A % B");
  DM h = DM(2.0) % rows2(2, 4, 6, 8);
  EXPECT_EQ(h(1, 1), 1.0);
  EXPECT_EQ(h(1, 2), 2.0);
  EXPECT_EQ(h(2, 1), 3.0);
  EXPECT_EQ(h(2, 2), 4.0);
}

TEST(LeftDivide, SolvesAgainstKnownAnswer) {
  // [[4, 7], [2, 6]] x = [18; 14] has x = [1; 2]
  DM x = rows2(4, 7, 2, 6) % DM(2, 1, std::array<double, 2>{18.0, 14.0}.data());
  EXPECT_NEAR(x(1), 1.0, 1e-15);
  EXPECT_NEAR(x(2), 2.0, 1e-15);
  EXPECT_FATAL(DM(2, 3, 1.0) % DM(2, 1, 1.0), "matrices not conformable!", "Dback_div");
}

TEST(Divide, RightDivisionIsTransposedSolve) {
  // x [[4, 7], [2, 6]] = [8, 19] has x = [1, 2] (a row)
  DM x = DM(1, 2, std::array<double, 2>{8.0, 19.0}.data()) / rows2(4, 7, 2, 6);
  ASSERT_EQ(x.rows, 1);
  ASSERT_EQ(x.cols, 2);
  EXPECT_NEAR(x(1), 1.0, 1e-15);
  EXPECT_NEAR(x(2), 2.0, 1e-15);
  // A / A = I
  DM A = rows2(3, 1, 4, 1.5);
  DM I = A / A;
  EXPECT_NEAR(I(1, 1), 1.0, 1e-15);
  EXPECT_NEAR(I(1, 2), 0.0, 1e-15);
  EXPECT_NEAR(I(2, 1), 0.0, 1e-15);
  EXPECT_NEAR(I(2, 2), 1.0, 1e-15);
  EXPECT_FATAL(DM(1, 3, 1.0) / DM(2, 2, 1.0), "matrices not conformable!", "Dback_div");
}

}  // namespace
