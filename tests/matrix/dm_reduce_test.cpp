// Sums, extrema, any/all and next_above of DM.
#include <cmath>
#include <limits>

#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"

namespace {
const double qnan = std::numeric_limits<double>::quiet_NaN();
DM m23() {
  const double v[] = {1, -2, 3, 4, -5, 6};   // [1 3 -5; -2 4 6]
  return DM(2, 3, v);
}
}  // namespace

TEST(DMSum, AllColumnsRows) {
  EXPECT_EQ(sum(m23()), 7.0);
  EXPECT_EQ(sum(DM()), 0.0);
  DM c = sumc(m23());
  ASSERT_EQ(c.rows, 1);
  ASSERT_EQ(c.cols, 3);
  EXPECT_EQ(c(1), -1.0);
  EXPECT_EQ(c(2), 7.0);
  EXPECT_EQ(c(3), 1.0);
  DM r = sumr(m23());
  ASSERT_EQ(r.rows, 2);
  ASSERT_EQ(r.cols, 1);
  EXPECT_EQ(r(1), -1.0);
  EXPECT_EQ(r(2), 8.0);
  EXPECT_FATAL(sumc(DM(0, 3)), "Index out of range", "DM(i,j)");
  EXPECT_FATAL(sumr(DM(3, 0)), "Index out of range", "DM(i,j)");
  EXPECT_EQ(sumc(DM(3, 0)).cols, 0);
}

TEST(DMExtrema, WholeMatrix) {
  EXPECT_EQ(max(m23()), 6.0);
  EXPECT_EQ(min(m23()), -5.0);
  const double v[] = {1, qnan, 2};
  EXPECT_EQ(max(DM(1, 3, v)), 2.0);
  EXPECT_EQ(min(DM(1, 3, v)), 2.0);
  EXPECT_TRUE(std::isnan(max(DM(qnan))));
  const double w[] = {1, 3, qnan};
  EXPECT_TRUE(std::isnan(max(DM(1, 3, w))));
  EXPECT_FATAL(max(DM()), "Index out of range", "DM(i)");
}

TEST(DMExtrema, ColumnsAndRows) {
  DM mc = maxc(m23()), nc = minc(m23()), mr = maxr(m23()), nr = minr(m23());
  EXPECT_EQ(mc.rows, 1);
  EXPECT_EQ(mc(1), 1.0);
  EXPECT_EQ(mc(3), 6.0);
  EXPECT_EQ(nc(2), 3.0);
  EXPECT_EQ(mr.cols, 1);
  EXPECT_EQ(mr(1), 3.0);
  EXPECT_EQ(mr(2), 6.0);
  EXPECT_EQ(nr(1), -5.0);
  EXPECT_EQ(nr(2), -2.0);
  EXPECT_FATAL(maxc(DM(0, 2)), "Index out of range", "DM(i,j)");
  EXPECT_FATAL(minr(DM(2, 0)), "Index out of range", "DM(i,j)");
}

TEST(DMAnyAll, ColumnsOrOneRow) {
  const double a[] = {0, 0, 0, 1};
  DM y = any(DM(2, 2, a));
  ASSERT_EQ(y.rows, 1);
  ASSERT_EQ(y.cols, 2);
  EXPECT_EQ(y(1), 0.0);
  EXPECT_EQ(y(2), 1.0);
  const double r[] = {0, 0, 2};
  DM z = any(DM(1, 3, r));
  ASSERT_EQ(z.n, 1u);
  EXPECT_EQ(z(1), 1.0);
  const double b[] = {1, 0, 2, 3};
  DM l = all(DM(2, 2, b));
  EXPECT_EQ(l(1), 0.0);
  EXPECT_EQ(l(2), 1.0);
  EXPECT_EQ(all(DM(1, 3, r))(1), 0.0);
  EXPECT_FATAL(any(DM()), "Must be same shape matrices.", ">");
}

TEST(DMNextAbove, SmallestGreater) {
  const double v[] = {5, 1, 3, 7};
  DM A(1, 4, v);
  EXPECT_EQ(next_above(A, 2.0), 3.0);
  EXPECT_EQ(next_above(A, 3.0), 5.0);
  EXPECT_EQ(next_above(A, 7.0), -1.0);   // the largest equals x
  EXPECT_EQ(next_above(A, 9.0), 7.0);    // everything below x: the largest
  EXPECT_EQ(next_above(A, 0.0), 1.0);
}
