// span and rref against sums and reductions worked out by hand.
#include <span>
#include <vector>

#include "common/dm_builders.h"
#include "matrix/expect_matrix.h"
#include "matrix/matrix.h"

namespace {

TEST(Span, CountsAndRepeatedAddition) {
  expect_dm(span(1.0, 2.0, 0.25), 1, 5, {1, 1.25, 1.5, 1.75, 2});
  const DM r = span(0.0, 1.0, 0.1);  // ten additions of 0.1, not 10 * 0.1
  ASSERT_EQ(r.cols, 11);
  EXPECT_EQ(r(4), 0.30000000000000004);
  EXPECT_EQ(r(11), 0.9999999999999999);
  expect_dm(span(1.0, 4.0), 1, 4, {1, 2, 3, 4});
  expect_dm(span_by(0.0, 0.5, 2.0), 1, 5, {0, 0.5, 1, 1.5, 2});
  expect_dm(span(2.0, 1.0, 1.0), 1, 0, {});
  const DM top = span(1.0, 15000.0, 1.0);
  EXPECT_EQ(top.cols, 15000);
  EXPECT_EQ(top(15000), 15000.0);
  std::vector<double> xs{1.0, 2.0};
  EXPECT_EQ(span(std::span<const double>(xs)[0], 2.0).cols, 2);  // beside std::span
}

TEST(Rref, HandReducedMatrices) {
  const DM A = rows_of(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  expect_dm(rref(A), 3, 3, {1, 0, -1, 0, 1, 2, 0, 0, 0}, 1e-15);
  EXPECT_EQ(A(3, 3), 9.0);
  expect_dm(rref(rows2(1, 2, 2, 4)), 2, 2, {1, 2, 0, 0});
  expect_dm(rref(rows_of(2, 4, {2, 4, 6, 8, 1, 3, 5, 7})), 2, 4, {1, 0, -1, -2, 0, 1, 2, 3}, 1e-15);
  expect_dm(rref(rows_of(3, 2, {1, 2, 3, 4, 5, 6})), 3, 2, {1, 0, 0, 1, 0, 0}, 1e-15);
  // tol = 2 * 2.22e-16 * 1: the first column is cleared, the second gives the pivot
  expect_dm(rref(rows2(1e-20, 0, 0, 1)), 2, 2, {0, 1, 0, 0});
  expect_dm(rref(DM(2, 3, 0.0)), 2, 3, {0, 0, 0, 0, 0, 0});
  expect_dm(rref(DM(0, 3)), 0, 3, {});
  // Equal largest pivots 3 and -3: the upper row divides. Row 1 becomes [1, u, u] with
  // u = fl(1/3), row 2 [0, 2, 3] (3u rounds to 1), then [0, 1, 1.5]; R(1, 3) = u - 0.5 is
  // one ulp below the double nearest -1/6, where the lower row would end one ulp above.
  const double u = 1.0 / 3.0;
  expect_dm(rref(rows_of(2, 3, {3, 1, 1, -3, 1, 2})), 2, 3, {1, 0, u - 0.5, 0, 1, 1.5});
  EXPECT_LT(u - 0.5, -1.0 / 6.0);
}

}  // namespace
