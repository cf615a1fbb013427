// rref against hand-reduced matrices, the tolerance rule and empty input.
#include <gtest/gtest.h>

#include "matrix/rref.h"
#include "common/dm_builders.h"

namespace {

void expect_rows(const DM& R, int r, int c, std::initializer_list<double> v, double tol = 0.0) {
  ASSERT_EQ(R.rows, r);
  ASSERT_EQ(R.cols, c);
  int k = 0;
  for (double x : v) {
    EXPECT_NEAR(R(k / c + 1, k % c + 1), x, tol) << "row " << k / c + 1 << " col " << k % c + 1;
    ++k;
  }
}

TEST(Rref, SingularThreeByThree) {
  DM A = rows_of(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  expect_rows(rref(A), 3, 3, {1, 0, -1, 0, 1, 2, 0, 0, 0}, 1e-15);
  EXPECT_EQ(A(3, 3), 9.0);  // the input is not touched
}

TEST(Rref, LargerPivotWins) {
  expect_rows(rref(rows_of(2, 2, {1, 2, 2, 4})), 2, 2, {1, 2, 0, 0});
}

TEST(Rref, EqualLargestPivotsTakeTheUpperRow) {
  // Column 1 holds 3 and -3. With the upper row as pivot, row 1 becomes [1, u, u] with
  // u = fl(1/3); row 2 becomes [0, 1 + 3u, 2 + 3u] = [0, 2, 3] (3u rounds to 1), then
  // [0, 1, 1.5]; row 1 loses 1.5u = 0.5 (rounded): R(1, 3) = u - 0.5, one ulp below the
  // nearest double of -1/6. Dividing by the lower row -3 first ends one ulp above it.
  DM R = rref(rows_of(2, 3, {3, 1, 1, -3, 1, 2}));
  const double u = 1.0 / 3.0;
  expect_rows(R, 2, 3, {1, 0, u - 0.5, 0, 1, 1.5});
  EXPECT_LT(R(1, 3), -1.0 / 6.0);
}

TEST(Rref, WideAndTall) {
  expect_rows(rref(rows_of(2, 4, {2, 4, 6, 8, 1, 3, 5, 7})), 2, 4, {1, 0, -1, -2, 0, 1, 2, 3},
              1e-15);
  expect_rows(rref(rows_of(3, 2, {1, 2, 3, 4, 5, 6})), 3, 2, {1, 0, 0, 1, 0, 0}, 1e-15);
}

TEST(Rref, PivotsAtOrBelowToleranceCountAsZero) {
  // tol = 2 * 2.22e-16 * 1: the first column is cleared, the second gives the pivot
  expect_rows(rref(rows_of(2, 2, {1e-20, 0, 0, 1})), 2, 2, {0, 1, 0, 0});
}

TEST(Rref, ZeroAndEmpty) {
  expect_rows(rref(DM(2, 3, 0.0)), 2, 3, {0, 0, 0, 0, 0, 0});
  DM E = rref(DM(0, 3));
  EXPECT_EQ(E.rows, 0);
  EXPECT_EQ(E.cols, 3);
}

}  // namespace
