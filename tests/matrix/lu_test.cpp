// DLU and Dback_div on DM: closed-form solves, determinants and inverses, shape checks.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "fatal_expect.h"
#include "matrix/dm_ops.h"
#include "matrix/lu.h"
#include "common/dm_builders.h"

namespace {

TEST(DLU, DeterminantAndInverseOfKnownMatrix) {
  DM A = rows2(4.0, 7.0, 2.0, 6.0);
  DLU lu(A);
  EXPECT_NEAR(lu.det(), 10.0, 1e-14);
  DM Ai = lu.inverse();
  ASSERT_EQ(Ai.rows, 2);
  ASSERT_EQ(Ai.cols, 2);
  EXPECT_NEAR(Ai(1, 1), 0.6, 1e-15);
  EXPECT_NEAR(Ai(1, 2), -0.7, 1e-15);
  EXPECT_NEAR(Ai(2, 1), -0.2, 1e-15);
  EXPECT_NEAR(Ai(2, 2), 0.4, 1e-15);
  // The factors survive the inverse: a later solve still works.
  const double bv[] = {11.0, 8.0};  // A [1; 1]
  DM x = lu.solve(DM(2, 1, bv));
  EXPECT_NEAR(x(1), 1.0, 1e-15);
  EXPECT_NEAR(x(2), 1.0, 1e-15);
  EXPECT_EQ(A(1, 1), 4.0);  // the input is not touched
}

TEST(DLU, PivotTieKeepsTheFirstRow) {
  DLU lu(rows2(1.0, 2.0, -1.0, 3.0));
  EXPECT_EQ(lu.ipvt(1), 1.0);
  EXPECT_EQ(lu.ipvt(2), 2.0);
  EXPECT_EQ(lu.a(2, 1), 1.0);  // the multiplier, stored negated
  EXPECT_EQ(lu.a(2, 2), 5.0);
  EXPECT_EQ(lu.det(), 5.0);
}

TEST(DLU, DeterminantMantissaSteps) {
  EXPECT_EQ(DLU(rows2(0.0, 1.0, 1.0, 0.0)).det(), -1.0);
  EXPECT_EQ(DLU(rows2(2.0, 0.0, 0.0, 50.0)).det(), 100.0);
  EXPECT_EQ(DLU(rows2(1.0, 2.0, 2.0, 4.0)).det(), 0.0);
  EXPECT_EQ(DLU(DM(-3.5)).det(), -3.5);
}

TEST(DLU, InfiniteElementGivesInfiniteDeterminantWithoutHanging) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(DLU(rows2(inf, 0.0, 0.0, 2.0)).det(), inf);
  EXPECT_EQ(DLU(rows2(1e200, 0.0, 0.0, -1e200)).det(), -inf);
  EXPECT_TRUE(std::isnan(DLU(rows2(std::nan(""), 0.0, 0.0, 1.0)).det()));
}

TEST(DLU, InfiniteDeterminantKeepsTheLaterFactors) {
  // det [[inf, 0], [0, -1]] = -inf: the sign of the second pivot still counts once the
  // running product is infinite; a later zero pivot makes it inf * 0 = NaN.
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(DLU(rows2(inf, 0.0, 0.0, -1.0)).det(), -inf);
  EXPECT_EQ(DLU(rows2(inf, 0.0, 0.0, 0.5)).det(), inf);
  EXPECT_TRUE(std::isnan(DLU(rows2(inf, 0.0, 0.0, 0.0)).det()));
}

TEST(DLU, ThreeByThreeInverseAgainstClosedForm) {
  // [[2, -1, 0], [-1, 2, -1], [0, -1, 2]] has inverse [[3, 2, 1], [2, 4, 2], [1, 2, 3]] / 4
  const double v[] = {2, -1, 0, -1, 2, -1, 0, -1, 2};
  DLU lu(DM(3, 3, v));
  EXPECT_NEAR(lu.det(), 4.0, 1e-14);
  DM Ai = lu.inverse();
  const double w[] = {3, 2, 1, 2, 4, 2, 1, 2, 3};
  for (int k = 1; k <= 9; ++k) EXPECT_NEAR(Ai(k), w[k - 1] / 4.0, 1e-15) << k;
}

TEST(DLU, RejectsNonSquareAndShortRightHandSide) {
  EXPECT_FATAL(DLU lu(DM(2, 3, 1.0)), "matrices not conformable!", "DLU");
  EXPECT_FATAL(DLU lu(DM(3, 2, 1.0)), "matrices not conformable!", "DLU");
  DLU lu(rows2(1.0, 0.0, 0.0, 1.0));
  EXPECT_FATAL(lu.solve(DM(1.0)), "matrices not conformable!", "DLU::solve");
  EXPECT_FATAL(lu.solve(DM(3, 1, 1.0)), "matrices not conformable!", "DLU::solve");
  DM x = lu.solve(DM(1, 2, 5.0));  // any shape with n elements
  EXPECT_EQ(x.rows, 1);
  EXPECT_EQ(x(2), 5.0);
}

TEST(DLU, EmptyMatrix) {
  DLU lu{DM()};
  EXPECT_EQ(lu.n, 0);
  EXPECT_EQ(lu.det(), 1.0);
  DM Ai = lu.inverse();
  EXPECT_EQ(Ai.rows, 0);
  EXPECT_EQ(Ai.cols, 0);
  DM x = lu.solve(DM());
  EXPECT_EQ(x.n, 0u);
  DM X = Dback_div(DM(), DM(0, 3));
  EXPECT_EQ(X.rows, 0);
  EXPECT_EQ(X.cols, 3);
}

TEST(DbackDiv, DiagonalSystem) {
  DM X = Dback_div(rows2(2.0, 0.0, 0.0, 4.0), DM(2, 1, std::array<double, 2>{2.0, 4.0}.data()));
  EXPECT_EQ(X.rows, 2);
  EXPECT_EQ(X.cols, 1);
  EXPECT_EQ(X(1), 1.0);
  EXPECT_EQ(X(2), 1.0);
}

TEST(DbackDiv, SeveralColumnsOneFactorisation) {
  // A = [[1, 2], [3, 4]], B = A * [[1, -1, 0], [2, 0.5, 1]]
  DM A = rows2(1.0, 2.0, 3.0, 4.0);
  const double xv[] = {1.0, 2.0, -1.0, 0.5, 0.0, 1.0};
  DM Xe(2, 3, xv);
  DM X = Dback_div(A, matmul(A, Xe));
  ASSERT_EQ(X.cols, 3);
  for (int k = 1; k <= 6; ++k) EXPECT_NEAR(X(k), Xe(k), 1e-14) << k;
}

TEST(DbackDiv, NoColumnsOnTheRight) {
  DM X = Dback_div(rows2(1.0, 2.0, 3.0, 4.0), DM(2, 0));
  EXPECT_EQ(X.rows, 2);
  EXPECT_EQ(X.cols, 0);
  EXPECT_EQ(X.n, 0u);
  // The shapes are still checked.
  EXPECT_FATAL(Dback_div(DM(2, 3, 1.0), DM(2, 0)), "matrices not conformable!", "Dback_div");
}

TEST(DbackDiv, ShapeErrors) {
  EXPECT_FATAL(Dback_div(DM(2, 3, 1.0), DM(2, 1, 1.0)), "matrices not conformable!", "Dback_div");
  EXPECT_FATAL(Dback_div(DM(2, 2, 1.0), DM(3, 1, 1.0)), "matrices not conformable!", "Dback_div");
}

TEST(DbackDiv, SingularIsNotReported) {
  DM X = Dback_div(rows2(1.0, 2.0, 2.0, 4.0), DM(2, 1, 1.0));
  EXPECT_FALSE(std::isfinite(X(1)) && std::isfinite(X(2)));
}

}  // namespace
