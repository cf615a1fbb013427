// Element-wise comparisons, logical operators and find of DM.
#include <cmath>
#include <limits>

#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"

namespace {
const double qnan = std::numeric_limits<double>::quiet_NaN();
}

TEST(DMCompare, ScalarExpansionBothWays) {
  const double v[] = {1, 2, 1, 0};
  DM A(2, 2, v);
  DM e = DM(1.0) == A;
  ASSERT_EQ(e.rows, 2);
  ASSERT_EQ(e.cols, 2);
  EXPECT_EQ(e(1), 1.0);
  EXPECT_EQ(e(2), 0.0);
  EXPECT_EQ(e(3), 1.0);
  DM g = A > DM(0.5);
  EXPECT_EQ(g(4), 0.0);
  EXPECT_EQ(g(2), 1.0);
  DM le = A <= 1.0;
  EXPECT_EQ(le(2), 0.0);
  EXPECT_EQ(le(4), 1.0);
  DM ge = A >= A;
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(ge(k), 1.0);
  DM lt = A < A;
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(lt(k), 0.0);
  DM ne = A != DM(1.0);
  EXPECT_EQ(ne(1), 0.0);
  EXPECT_EQ(ne(2), 1.0);
}

TEST(DMCompare, ShapeFailuresNameTheOperator) {
  DM r(1, 2, 1.0), c(2, 1, 1.0);
  EXPECT_FATAL(r == c, "Must be same shape matrices.", "==");
  EXPECT_FATAL(r != c, "Must be same shape matrices.", "!=");
  EXPECT_FATAL(r < c, "Must be same shape matrices.", "<");
  EXPECT_FATAL(r > c, "Must be same shape matrices.", ">");
  EXPECT_FATAL(r <= c, "Must be same shape matrices.", "<=");
  EXPECT_FATAL(r >= c, "Must be same shape matrices.", ">=");
  EXPECT_FATAL(r && c, "Must be same shape matrices.", "&&");
  EXPECT_FATAL(r || c, "Must be same shape matrices.", "||");
  // A 1 x 1 does not expand against an empty matrix.
  EXPECT_FATAL(DM(1, 0) > DM(0.0), "Must be same shape matrices.", ">");
  DM empty = DM(0, 3) == DM(0, 3);
  EXPECT_EQ(empty.n, 0u);
  EXPECT_EQ(empty.cols, 3);
}

TEST(DMCompare, NaNIsFalseExceptForNotEqual) {
  DM x(qnan);
  EXPECT_EQ((x == x)(1), 0.0);
  EXPECT_EQ((x != x)(1), 1.0);
  EXPECT_EQ((x < DM(1.0))(1), 0.0);
  EXPECT_EQ((x >= DM(1.0))(1), 0.0);
}

TEST(DMLogic, TruncatedTruth) {
  EXPECT_EQ((DM(0.7) && DM(1.0))(1), 0.0);
  EXPECT_EQ((DM(-0.7) || DM(0.0))(1), 0.0);
  EXPECT_EQ((DM(1.2) && DM(-3.0))(1), 1.0);
  EXPECT_EQ((DM(0.0) || DM(2.0))(1), 1.0);
}

TEST(DMLogic, NaNAndHugeValuesAreTrue) {
  EXPECT_EQ((DM(qnan) && DM(1.0))(1), 1.0);
  EXPECT_EQ((DM(1e300) && DM(-1e20))(1), 1.0);
  EXPECT_EQ((DM(std::numeric_limits<double>::infinity()) || DM(0.0))(1), 1.0);
  EXPECT_EQ((DM(4294967296.0) && DM(1.0))(1), 1.0);
}

TEST(DMFind, RowColumnAndEmpty) {
  const double r[] = {0, 3, 0, 5};
  DM f = find(DM(1, 4, r));
  ASSERT_EQ(f.rows, 1);
  ASSERT_EQ(f.cols, 2);
  EXPECT_EQ(f(1), 2.0);
  EXPECT_EQ(f(2), 4.0);
  const double c[] = {0, 3};
  DM g = find(DM(2, 1, c));
  ASSERT_EQ(g.rows, 1);
  ASSERT_EQ(g.cols, 1);
  EXPECT_EQ(g(1), 2.0);
  DM z = find(DM(2, 2, 0.0));
  EXPECT_EQ(z.rows, 0);
  EXPECT_EQ(z.cols, 0);
  const double m[] = {1, 0, qnan, 2};
  DM h = find(DM(2, 2, m));
  ASSERT_EQ(h.rows, 3);
  ASSERT_EQ(h.cols, 1);
  EXPECT_EQ(h(2), 3.0);
  EXPECT_EQ(h(3), 4.0);
}

TEST(DMFind, OfAComparison) {
  DM A(1, 5);
  A.seqa(1.0, 5, 1.0);
  DM f = find(A > DM(3.0));
  ASSERT_EQ(f.n, 2u);
  EXPECT_EQ(f(1), 4.0);
}
