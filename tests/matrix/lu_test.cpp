// LU factorisation, solves, determinants, inverses and the divisions of DM and CM against
// hand-worked answers; the transposed kernel solves on raw arrays.
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/dm_builders.h"
#include "matrix/expect_matrix.h"
#include "matrix/lu_linpack.h"
#include "matrix/lu_zlinpack.h"
#include "matrix/matrix.h"

namespace {

const double inf = std::numeric_limits<double>::infinity();

TEST(LU, RealSolvesInversesAndDivisions) {
  DM A = rows2(4, 7, 2, 6);
  DLU lu(A);
  EXPECT_NEAR(lu.det(), 10.0, 1e-14);
  expect_dm(lu.inverse(), 2, 2, {0.6, -0.7, -0.2, 0.4}, 1e-15);
  expect_dm(lu.solve(col({11, 8})), 2, 1, {1, 1}, 1e-15);  // the factors survive inverse()
  EXPECT_EQ(A(1, 1), 4.0);
  expect_dm(DLU(eye(2, 2)).solve(row({5, 6})), 1, 2, {5, 6});  // any shape with n elements
  const DM T = rows_of(3, 3, {2, -1, 0, -1, 2, -1, 0, -1, 2});
  EXPECT_NEAR(DLU(T).det(), 4.0, 1e-14);
  expect_dm(DLU(T).inverse(), 3, 3, {0.75, 0.5, 0.25, 0.5, 1, 0.5, 0.25, 0.5, 0.75}, 1e-15);
  // Pivoting rows: [[1, 2, 0], [3, 4, 1], [0, 5, 6]] x = [5, 14, 28] for x = [1, 2, 3]
  const DM P = rows_of(3, 3, {1, 2, 0, 3, 4, 1, 0, 5, 6});
  expect_dm(P % col({5, 14, 28}), 3, 1, {1, 2, 3}, 1e-14);
  const double q = 1.0 / 17;  // inverses that swap columns back
  expect_dm(DLU(P).inverse(), 3, 3, {-19 * q, 12 * q, -2 * q, 18 * q, -6 * q, q, -15 * q, 5 * q, 2 * q}, 1e-15);
  expect_dm(DLU(rows2(1, 2, 3, 4)).inverse(), 2, 2, {-2, 1, 1.5, -0.5}, 1e-15);
  expect_cm(CLU(CM(rows2(1, 2, 3, 4))).inverse(), 2, 2, {-2, 1, 1.5, -0.5}, 1e-15);
  expect_dm(row({7, 25, 20}) / P, 1, 3, {1, 2, 3}, 1e-14);  // x P = b
  const DM X = rows_of(2, 3, {1, -1, 0, 2, 0.5, 1});
  expect_dm(Dback_div(rows2(1, 2, 3, 4), rows2(1, 2, 3, 4) * X), 2, 3, {1, -1, 0, 2, 0.5, 1}, 1e-14);
  expect_dm(Dback_div(rows2(1, 2, 3, 4), DM(2, 0)), 2, 0, {});
  expect_dm(Dback_div(DM(), DM(0, 3)), 0, 3, {});
  expect_dm(rows2(3, 1, 4, 1.5) / rows2(3, 1, 4, 1.5), 2, 2, {1, 0, 0, 1}, 1e-15);
  expect_dm(DM(2.0) / DM(4.0), 1, 1, {0.5});
  expect_dm(rows2(2, 4, 6, 8) / DM(2.0), 2, 2, {1, 2, 3, 4});
  expect_dm(DM(2.0) % rows2(2, 4, 6, 8), 2, 2, {1, 2, 3, 4});
  DM S = Dback_div(rows2(1, 2, 2, 4), col({1, 1}));  // singular: not reported
  EXPECT_FALSE(std::isfinite(S(1)) && std::isfinite(S(2)));
  DLU e{DM()};
  EXPECT_EQ(e.det(), 1.0);
  EXPECT_EQ(e.inverse().n, 0u);
}

TEST(LU, PivotsDeterminantsAndConditionEstimates) {
  DLU tie(rows2(1, 2, -1, 3));  // equal pivots keep the first row
  expect_dm(tie.ipvt, 1, 2, {1, 2});
  expect_dm(tie.a, 2, 2, {1, 2, 1, 5});  // multiplier stored negated
  const double nan_ = std::nan("");
  struct { const char* label; DM A; double det; } dets[] = {
      {"tie", rows2(1, 2, -1, 3), 5},          {"one exchange", rows2(0, 1, 1, 0), -1},
      {"decades", rows2(2, 0, 0, 50), 100},    {"singular", rows2(1, 2, 2, 4), 0},
      {"1x1", DM(-3.5), -3.5},                 {"Inf", rows2(inf, 0, 0, 2), inf},
      {"overflow", rows2(1e200, 0, 0, -1e200), -inf},
      {"Inf then negative", rows2(inf, 0, 0, -1), -inf},
      {"Inf then below 1", rows2(inf, 0, 0, 0.5), inf},
      {"Inf then zero", rows2(inf, 0, 0, 0), nan_}, {"NaN", rows2(nan_, 0, 0, 1), nan_},
  };
  for (auto& d : dets) {
    const double got = DLU(d.A).det();
    if (std::isnan(d.det))
      EXPECT_TRUE(std::isnan(got)) << d.label;
    else
      EXPECT_EQ(got, d.det) << d.label;
  }
  EXPECT_EQ(DLU(eye(2, 2)).rcond, 1.0);
  EXPECT_NEAR(DLU(rows2(1, 0, 0, 1e-10)).rcond, 1e-10, 1e-19);
  EXPECT_EQ(DLU(DM(2, 2, 0.0)).rcond, 0.0);
  EXPECT_EQ(CLU(ceye(2, 2)).rcond, 1.0);
  EXPECT_NEAR(CLU(CM(DM(rows2(1, 0, 0, 1e-10)))).rcond, 1e-10, 1e-19);
  EXPECT_NEAR(CLU(CM(DM(rows2(0, 1e-10, 1, 0)))).rcond, 1e-10, 1e-19);
  // The complex estimate of a real matrix follows the real one's steps.
  const double m1[] = {-1, 3, -9, -1, 9, 0, 3, -3, -4}, m2[] = {6, 9, -9, -8, -4, -9, -4, -1, 9},
               m3[] = {6, -2, 0, -1, -6, -6, 8, -8, -4};
  for (const double* m : {m1, m2, m3}) EXPECT_EQ(CLU(CM(DM(3, 3, m))).rcond, DLU(DM(3, 3, m)).rcond);
  // The estimate never passes 1 / (|A|_1 |A^-1|_1), here 1/20 by hand, even when the
  // solve with L grows past 1 and is scaled down on the way.
  const DM grows[] = {rows_of(3, 3, {3, 5, 1, 4, 4, 5, -3, -1, -4}), rows_of(3, 3, {1, -3, -3, -2, 3, 2, 2, -2, -2})};
  for (const DM& A : grows) {
    EXPECT_GE(DLU(A).rcond, 0.05 * (1 - 1e-12));
    EXPECT_GE(CLU(CM(A)).rcond, 0.05 * (1 - 1e-12));
  }
}

TEST(LU, LargeSystemsTakeEveryKernelRemainder) {
  for (int n : {7, 13}) {  // the unrolled kernels' remainders 0..6 all come up
    SCOPED_TRACE(n);
    DM A(n, n), x(n, 1);
    unsigned s = 7;
    for (uint32_t k = 1; k <= A.n; ++k) A(k) = static_cast<int>((s = s * 1103515245u + 12345u) >> 16) % 19 - 9;
    x.seqa(1.0, n, 1.0);
    DLU lu(A);
    const DM got = lu.solve(A * x);  // whole numbers: A x is exact
    for (int k = 1; k <= n; ++k) EXPECT_NEAR(got(k), k, 1e-11) << k;
    const DM I = lu.inverse() * A;
    for (int i = 1; i <= n; ++i)
      for (int j = 1; j <= n; ++j) EXPECT_NEAR(I(i, j), i == j, 1e-12) << i << "," << j;
    EXPECT_EQ(CLU(CM(A)).rcond, lu.rcond);
    const CM z = CLU(CM(A)).solve(CM(A * x));
    for (int k = 1; k <= n; ++k) EXPECT_NEAR(abs(z(k) - complex(k)), 0.0, 1e-11) << k;
  }
}

TEST(LU, ComplexSolvesInversesAndDivisions) {
  const complex i(0, 1);
  const complex v[] = {i, 0, 1, 2};
  const CM A(2, 2, v);  // [[i, 1], [0, 2]]
  CLU lu(A);
  EXPECT_EQ(lu.det(), complex(0, 2));
  expect_cm(lu.inverse(), 2, 2, {complex(0, -1), complex(0, 0.5), 0, 0.5}, 1e-15);
  const complex b[] = {complex(1, 1), 4};
  expect_cm(lu.solve(CM(2, 1, b)), 2, 1, {complex(1, 1), 2}, 1e-15);
  expect_cm(A % CM(2, 1, b), 2, 1, {complex(1, 1), 2}, 1e-15);
  const complex c[] = {i, 5};
  expect_cm(CM(1, 2, c) / A, 1, 2, {1, 2}, 1e-15);  // y A = c, no conjugation
  expect_cm(CM(1.0, 0.0) / CM(0.0, 2.0), 1, 1, {complex(0, -0.5)});
  expect_cm(CM(0.0, 2.0) % CM(2, 1, 4.0), 2, 1, {complex(0, -2), complex(0, -2)}, 1e-15);
  const complex w[] = {complex(1, 2), complex(0.25, -1), complex(-3, 0.5), complex(4, 4)};
  const CM B(2, 2, w);
  expect_cm(matmul(CLU(B).inverse(), B), 2, 2, {1, 0, 0, 1}, 1e-15);
  struct { const char* label; CM A; complex det; } dets[] = {
      {"zero", CM(0.0, 0.0), 0}, {"decades", CM(0.0, -250.0), complex(0, -250)},
      {"one exchange", CM(DM(rows2(0, 1, 1, 0))), -1},
  };
  for (auto& d : dets) {
    EXPECT_NEAR(CLU(d.A).det().re, d.det.re, 1e-12) << d.label;
    EXPECT_NEAR(CLU(d.A).det().im, d.det.im, 1e-12) << d.label;
  }
  EXPECT_FALSE(std::isfinite(CLU(CM(DM(rows2(inf, 0, 0, -1)))).det().re));
  CLU e{CM()};
  EXPECT_EQ(e.det(), complex(1));
  expect_cm(Dback_div(CM(), CM(0, 2)), 0, 2, {});
}

TEST(LU, KernelInverseAndDeterminantEachOnlyWhenAsked) {
  // [[4, 7], [2, 6]]: determinant 1.0 * 10^1, inverse [[0.6, -0.7], [-0.2, 0.4]].
  const double inverse[] = {0.6, -0.2, -0.7, 0.4};
  struct { int job; double det0, det1; bool inverted; } jobs[] = {{1, -7, -7, true}, {10, 1, 1, false}, {11, 1, 1, true}};
  for (auto& j : jobs) {
    SCOPED_TRACE(j.job);
    double a[] = {4, 2, 7, 6}, ipvt[2], det[] = {-7, -7}, work[2], factors[4];
    int info = -1;
    dgefa(a, 2, 2, ipvt, info);
    std::copy(a, a + 4, factors);
    dgedi(a, 2, 2, ipvt, det, work, j.job);
    EXPECT_EQ(det[0], j.det0);
    EXPECT_EQ(det[1], j.det1);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(a[k], j.inverted ? inverse[k] : factors[k], 1e-15) << k;
  }
}

TEST(LU, TransposedKernelSolves) {
  // P = [[1, 2, 0], [3, 4, 1], [0, 5, 6]] pivots at every step; P' x = [7, 25, 20] for
  // x = [1, 2, 3].
  double a[] = {1, 3, 0, 2, 4, 5, 0, 1, 6}, ipvt[3], b[] = {7, 25, 20};
  int info = -1;
  dgefa(a, 3, 3, ipvt, info);
  EXPECT_EQ(info, 0);
  dgesl(a, 3, 3, ipvt, b, 1);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(b[k], k + 1.0, 1e-14) << k;
  // conj(A)' x = c for A = [[i, 1], [3, 2]] and x = [1, i]: conj(A)' = [[-i, 3], [1, 2]]
  complex z[] = {complex(0, 1), 3, 1, 2}, c[] = {complex(0, 2), complex(1, 2)};
  zgefa(z, 2, 2, ipvt, info);
  EXPECT_EQ(ipvt[0], 2.0);
  zgesl(z, 2, 2, ipvt, c, 1);
  EXPECT_NEAR(c[0].re, 1.0, 1e-15);
  EXPECT_NEAR(c[0].im, 0.0, 1e-15);
  EXPECT_NEAR(c[1].re, 0.0, 1e-15);
  EXPECT_NEAR(c[1].im, 1.0, 1e-15);
}

}  // namespace
