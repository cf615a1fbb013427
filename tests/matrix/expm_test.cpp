// expm against closed forms: zero, nilpotent, rotation, diagonalisable matrices, the
// scaling count, and the refusal of non-finite input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fatal_expect.h"
#include "matrix/dm_ops.h"
#include "matrix/expm.h"
#include "common/dm_builders.h"

namespace {

TEST(Expm, ZeroMatrixIsExactlyIdentity) {
  DM E = expm(DM(3, 3, 0.0));
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(E(i, j), i == j ? 1.0 : 0.0);
}

TEST(Expm, NilpotentTwoByTwoIsExact) {
  DM E = expm(rows2(0.0, 1.0, 0.0, 0.0));
  EXPECT_EQ(E(1, 1), 1.0);
  EXPECT_EQ(E(1, 2), 1.0);
  EXPECT_EQ(E(2, 1), 0.0);
  EXPECT_EQ(E(2, 2), 1.0);
}

TEST(Expm, NilpotentThreeByThree) {
  // e^N = I + N + N^2 / 2 for the shift N; norm 2 exercises a larger scaling count
  const double v[] = {0, 0, 0, 2, 0, 0, 0, 2, 0};
  DM E = expm(DM(3, 3, v));
  const double w[] = {1, 0, 0, 2, 1, 0, 2, 2, 1};
  for (int k = 1; k <= 9; ++k) EXPECT_NEAR(E(k), w[k - 1], 1e-15) << k;
}

TEST(Expm, ScalarMatchesExp) {
  for (double a : {1.0, -1.0, 0.5, -20.0, 7.25}) {
    DM E = expm(DM(a));
    EXPECT_NEAR(E(1), std::exp(a), 1e-14 * std::exp(a)) << a;
  }
}

TEST(Expm, RotationGivesCosAndSin) {
  for (double t : {0.3, 1.0, 10.0}) {
    DM E = expm(rows2(0.0, t, -t, 0.0));
    EXPECT_NEAR(E(1, 1), std::cos(t), 1e-13) << t;
    EXPECT_NEAR(E(1, 2), std::sin(t), 1e-13) << t;
    EXPECT_NEAR(E(2, 1), -std::sin(t), 1e-13) << t;
    EXPECT_NEAR(E(2, 2), std::cos(t), 1e-13) << t;
  }
}

TEST(Expm, StiffDiagonalisableMatrix) {
  // [[-49, 24], [-64, 31]] = V diag(-1, -17) V^-1 with V = [[1, 3], [2, 4]]
  DM E = expm(rows2(-49.0, 24.0, -64.0, 31.0));
  const double e1 = std::exp(-1.0), e17 = std::exp(-17.0);
  const double w11 = -2 * e1 + 3 * e17, w12 = 1.5 * e1 - 1.5 * e17;
  const double w21 = -4 * e1 + 4 * e17, w22 = 3 * e1 - 2 * e17;
  EXPECT_NEAR(E(1, 1), w11, 1e-12 * std::fabs(w11));
  EXPECT_NEAR(E(1, 2), w12, 1e-12 * std::fabs(w12));
  EXPECT_NEAR(E(2, 1), w21, 1e-12 * std::fabs(w21));
  EXPECT_NEAR(E(2, 2), w22, 1e-12 * std::fabs(w22));
}

TEST(Expm, ScalingCount) {
  EXPECT_EQ(expm_scaling(0.0), 0.0);
  EXPECT_EQ(expm_scaling(0.3), 3.0);
  EXPECT_EQ(expm_scaling(0.9), 2.0);
  EXPECT_EQ(expm_scaling(1.0), 2.0);
  EXPECT_EQ(expm_scaling(1.5), 2.0);
  EXPECT_EQ(expm_scaling(1000.0), 11.0);
  // below 1 the count is capped, so small matrices are not scaled below one ulp
  EXPECT_EQ(expm_scaling(0.1), 3.0);
  EXPECT_EQ(expm_scaling(1e-8), 3.0);
}

TEST(Expm, SmallNormKeepsTheDiagonal) {
  // e^(-1e-8) - 1 must survive to a few ulps of 1: with a count of 27 the scaled matrix
  // falls below one ulp and the result is exactly 1
  DM E = expm(DM(-1e-8));
  EXPECT_NEAR(E(1) - 1.0, std::expm1(-1e-8), 1e-15);
  DM F = expm(DM(-1e-7));
  EXPECT_NEAR(F(1) - 1.0, std::expm1(-1e-7), 1e-9 * 1e-7);
}

TEST(Expm, EmptyMatrix) {
  DM E = expm(DM());
  EXPECT_EQ(E.rows, 0);
  EXPECT_EQ(E.cols, 0);
}

TEST(Expm, NonFiniteInputIsFatal) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FATAL(expm(rows2(1.0, inf, 0.0, 1.0)), "Matrix contains Inf or NaN", "expm");
  EXPECT_FATAL(expm(rows2(std::nan(""), 0.0, 1.0, 1.0)), "Matrix contains Inf or NaN", "expm");
  EXPECT_FATAL(expm(rows2(1e308, 1e308, 0.0, 1.0)), "Matrix contains Inf or NaN", "expm");
}

TEST(Expm, NonSquareFailsInTheFirstSum) {
  EXPECT_FATAL(expm(DM(2, 3, 1.0)), "Incompatible matrices for", "+");
}

}  // namespace
