// The LU kernels on raw column-major arrays: pivot choice, determinant scaling,
// inverse, solves (plain and transposed), condition estimate.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "matrix/lu_blas.h"
#include "matrix/lu_linpack.h"

namespace {


TEST(LuBlas, IdamaxTakesFirstOfEqualMaxima) {
  const double x[] = {3.0, -3.0, 2.0};
  EXPECT_EQ(idamax(3, x), 1);
  const double y[] = {1.0, -4.0, 4.0, 2.0};
  EXPECT_EQ(idamax(4, y), 2);
  EXPECT_EQ(idamax(0, x), 0);
  EXPECT_EQ(idamax(1, y), 1);
}

TEST(LuBlas, UnrolledKernelsCoverEveryRemainder) {
  for (int n = 0; n <= 13; ++n) {
    std::vector<double> x(n), y(n);
    double sum = 0.0, dot = 0.0;
    for (int i = 0; i < n; ++i) {
      x[i] = (i % 2 ? -1.0 : 1.0) * (i + 1);
      y[i] = 0.5 * i;
      sum += i + 1;
      dot += x[i] * y[i];
    }
    EXPECT_EQ(dasum(n, x.data()), sum);
    EXPECT_EQ(ddot(n, x.data(), y.data()), dot);
    std::vector<double> yy = y;
    daxpy(n, 2.0, x.data(), yy.data());
    for (int i = 0; i < n; ++i) EXPECT_EQ(yy[i], y[i] + 2.0 * x[i]);
    std::vector<double> xs = x;
    dscal(n, -3.0, xs.data());
    for (int i = 0; i < n; ++i) EXPECT_EQ(xs[i], -3.0 * x[i]);
    std::vector<double> a = x, b = y;
    dswap(n, a.data(), b.data());
    EXPECT_EQ(a, y);
    EXPECT_EQ(b, x);
  }
}

TEST(LuDgefa, PivotTieKeepsFirstRow) {
  double a[] = {1.0, -1.0, 2.0, 3.0};  // [[1, 2], [-1, 3]]
  double ipvt[2];
  int info = -1;
  dgefa(a, 2, 2, ipvt, info);
  EXPECT_EQ(info, 0);
  EXPECT_EQ(ipvt[0], 1.0);
  EXPECT_EQ(ipvt[1], 2.0);
  EXPECT_EQ(a[1], 1.0);  // the multiplier is stored negated: -(-1 / 1)
  EXPECT_EQ(a[3], 5.0);  // U(2,2) = 3 + 2
}

TEST(LuDgefa, SingularRecordsZeroPivot) {
  double a[] = {1.0, 2.0, 2.0, 4.0};  // [[1, 2], [2, 4]]
  double ipvt[2];
  int info = 0;
  dgefa(a, 2, 2, ipvt, info);
  EXPECT_EQ(info, 2);
  EXPECT_EQ(ipvt[0], 2.0);
}

TEST(LuDgedi, DeterminantMantissaAndExponent) {
  double a[] = {0.0, 1.0, 1.0, 0.0};
  double ipvt[2], det[2], work[2];
  int info;
  dgefa(a, 2, 2, ipvt, info);
  dgedi(a, 2, 2, ipvt, det, work, 10);
  EXPECT_EQ(det[0], -1.0);
  EXPECT_EQ(det[1], 0.0);

  double b[] = {2.0, 0.0, 0.0, 50.0};
  dgefa(b, 2, 2, ipvt, info);
  dgedi(b, 2, 2, ipvt, det, work, 10);
  EXPECT_EQ(det[0], 1.0);
  EXPECT_EQ(det[1], 2.0);
}

TEST(LuDgedi, InfiniteDeterminantEndsTheScaling) {
  const double inf = std::numeric_limits<double>::infinity();
  double a[] = {inf, 0.0, 0.0, 2.0};
  double ipvt[2], det[2], work[2];
  int info;
  dgefa(a, 2, 2, ipvt, info);
  dgedi(a, 2, 2, ipvt, det, work, 10);
  EXPECT_EQ(det[0], inf);

  double b[] = {1e300, 0.0, 0.0, 1e300};  // overflow of the running product is not reached
  dgefa(b, 2, 2, ipvt, info);
  dgedi(b, 2, 2, ipvt, det, work, 10);
  EXPECT_GE(std::fabs(det[0]), 1.0);
  EXPECT_LT(std::fabs(det[0]), 10.0);
  EXPECT_NEAR(det[0] * std::pow(10.0, det[1] - 600.0), 1.0, 1e-12);
}

TEST(LuDgedi, InverseOfKnownMatrix) {
  double a[] = {4.0, 2.0, 7.0, 6.0};  // [[4, 7], [2, 6]]
  double ipvt[2], det[2], work[2];
  int info;
  dgefa(a, 2, 2, ipvt, info);
  dgedi(a, 2, 2, ipvt, det, work, 11);
  EXPECT_NEAR(det[0] * std::pow(10.0, det[1]), 10.0, 1e-14);
  EXPECT_NEAR(a[0], 0.6, 1e-15);
  EXPECT_NEAR(a[1], -0.2, 1e-15);
  EXPECT_NEAR(a[2], -0.7, 1e-15);
  EXPECT_NEAR(a[3], 0.4, 1e-15);
}

TEST(LuDgesl, SolvesAndTransposedSolves) {
  // A = [[2, 1, 1], [1, 3, 2], [1, 0, 0]] and x = [1, 2, 3]
  const double A[] = {2.0, 1.0, 1.0, 1.0, 3.0, 0.0, 1.0, 2.0, 0.0};
  double a[9];
  std::copy(A, A + 9, a);
  double ipvt[3];
  int info;
  dgefa(a, 3, 3, ipvt, info);
  ASSERT_EQ(info, 0);
  double b[] = {7.0, 13.0, 1.0};
  dgesl(a, 3, 3, ipvt, b, 0);
  EXPECT_NEAR(b[0], 1.0, 1e-14);
  EXPECT_NEAR(b[1], 2.0, 1e-14);
  EXPECT_NEAR(b[2], 3.0, 1e-14);
  // trans(A) x = c with x = [1, 2, 3]: c = [2+2+3, 1+6+0, 1+4+0]
  double c[] = {7.0, 7.0, 5.0};
  dgesl(a, 3, 3, ipvt, c, 1);
  EXPECT_NEAR(c[0], 1.0, 1e-14);
  EXPECT_NEAR(c[1], 2.0, 1e-14);
  EXPECT_NEAR(c[2], 3.0, 1e-14);
}

TEST(LuDgeco, ConditionEstimate) {
  double eye[] = {1.0, 0.0, 0.0, 1.0};
  double ipvt[2], z[2], rcond = -1.0;
  dgeco(eye, 2, 2, ipvt, rcond, z);
  EXPECT_EQ(rcond, 1.0);
  double d[] = {1.0, 0.0, 0.0, 1e-10};
  dgeco(d, 2, 2, ipvt, rcond, z);
  EXPECT_NEAR(rcond, 1e-10, 1e-19);  // an estimate, never below the true value
  double zero[] = {0.0, 0.0, 0.0, 0.0};
  dgeco(zero, 2, 2, ipvt, rcond, z);
  EXPECT_EQ(rcond, 0.0);
}

TEST(LuKernels, EmptyMatrixIsANoOp) {
  double ipvt[1] = {-7.0}, det[2] = {0.0, 0.0}, rcond = -1.0;
  int info = -1;
  dgefa(nullptr, 0, 0, ipvt, info);
  EXPECT_EQ(info, 0);
  EXPECT_EQ(ipvt[0], -7.0);
  dgeco(nullptr, 0, 0, ipvt, rcond, nullptr);
  dgesl(nullptr, 0, 0, ipvt, nullptr, 0);
  dgedi(nullptr, 0, 0, ipvt, det, nullptr, 11);
  EXPECT_EQ(det[0], 1.0);
  EXPECT_EQ(det[1], 0.0);
}

}  // namespace
