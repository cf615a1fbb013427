// svdcmp against exact singular values and orthonormal factors, and the rank it gives.
#include "simu/steady/svd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "common/dm_builders.h"
#include "matrix/dm_ops.h"

namespace {

// Runs svdcmp on a copy of A and checks A = U diag(w) V', U'U = I over the columns of
// non-zero w (all of them when m >= n), V'V = I. Returns the singular values.
std::vector<double> decompose_and_check(const DM& A, double tol = 1e-14) {
  const int m = A.rows, n = A.cols;
  double** a = matrix(1, m, 1, n);
  double* w = vector(1, n);
  double** v = matrix(1, n, 1, n);
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= n; ++j) a[i][j] = A(i, j);
  svdcmp(a, m, n, w, v);
  double scale = 0.0;
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= n; ++j) scale = std::fmax(scale, std::fabs(A(i, j)));
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= n; ++j) {
      double s = 0.0;
      for (int k = 1; k <= n; ++k) s += a[i][k] * w[k] * v[j][k];
      EXPECT_NEAR(s, A(i, j), tol * scale) << "A(" << i << "," << j << ")";
    }
  for (int p = 1; p <= n; ++p)
    for (int q = 1; q <= n; ++q) {
      double vv = 0.0;
      for (int k = 1; k <= n; ++k) vv += v[k][p] * v[k][q];
      EXPECT_NEAR(vv, p == q ? 1.0 : 0.0, tol) << "V'V(" << p << "," << q << ")";
      // Columns of zero singular values are rebuilt orthonormal when they fit.
      if (m >= n || (p <= m && q <= m && w[p] > 0.0 && w[q] > 0.0)) {
        double uu = 0.0;
        for (int k = 1; k <= m; ++k) uu += a[k][p] * a[k][q];
        EXPECT_NEAR(uu, p == q ? 1.0 : 0.0, tol) << "U'U(" << p << "," << q << ")";
      }
    }
  for (int j = 1; j <= n; ++j) EXPECT_GE(w[j], 0.0);
  std::vector<double> out(w + 1, w + n + 1);
  free_matrix(v, 1, n, 1, n);
  free_vector(w, 1, n);
  free_matrix(a, 1, m, 1, n);
  return out;
}

}  // namespace

TEST(Svdcmp, FactorsAreOrthonormalAndTheSingularValuesExact) {
  // The diagonal gives its magnitudes in column order; [3 0; 4 5] has A'A = [25 20; 20 25]
  // with eigenvalues 45 and 5; rank-deficient and zero matrices keep orthonormal factors.
  const struct { DM A; std::vector<double> w; bool sorted; } rows[] = {
      {rows_of(3, 3, {3, 0, 0, 0, -2, 0, 0, 0, 0.5}), {3.0, 2.0, 0.5}, false},
      {rows_of(2, 2, {3, 0, 4, 5}), {std::sqrt(5.0), std::sqrt(45.0)}, true},
      {rows_of(3, 2, {1, 2, 2, 4, 3, 6}), {0.0, std::sqrt(70.0)}, true},
      {rows_of(3, 2, {2, 1, 4, 2, 6, 3}), {0.0, std::sqrt(70.0)}, true},
      {rows_of(2, 2, {0, 1, 0, 1}), {0.0, std::sqrt(2.0)}, true},
      {DM(3, 3, 0.0), {0.0, 0.0, 0.0}, false},
  };
  for (const auto& r : rows) {
    std::vector<double> w = decompose_and_check(r.A);
    if (r.sorted) std::sort(w.begin(), w.end());
    ASSERT_EQ(w.size(), r.w.size());
    for (std::size_t k = 0; k < w.size(); ++k) EXPECT_NEAR(w[k], r.w[k], 1e-13) << r.A.rows << "x" << r.A.cols << " " << k;
  }
}

TEST(SvdRank, KnownRanks) {
  EXPECT_EQ(svd_rank(eye(4, 4)), 4);
  EXPECT_EQ(svd_rank(DM(3, 5, 0.0)), 0);
  EXPECT_EQ(svd_rank(DM()), 0);
  EXPECT_EQ(svd_rank(rows_of(3, 2, {1, 2, 2, 4, 3, 6})), 1);
  EXPECT_EQ(svd_rank(rows_of(2, 3, {1, 2, 3, 4, 5, 6})), 2);
  // Row 3 = row 1 + row 2.
  EXPECT_EQ(svd_rank(rows_of(3, 4, {1, 0, 2, -1, 0, 3, 1, 2, 1, 3, 3, 1})), 2);
  // A column far below max(m, n) * max|A| * 2e-16 does not count; one above it does.
  EXPECT_EQ(svd_rank(rows_of(2, 2, {1, 0, 0, 1e-17})), 1);
  EXPECT_EQ(svd_rank(rows_of(2, 2, {1, 0, 0, 1e-14})), 2);
  // The tolerance scales with the matrix.
  EXPECT_EQ(svd_rank(rows_of(2, 2, {1e-20, 0, 0, 1e-34})), 2);
}

TEST(Svdcmp, AnInfinityOrANaNAnywhereGivesNaNSingularValues) {
  // A wide A keeps its exact zeros beyond its rows.
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  const struct { int m, n; std::vector<double> a; } rows[] = {
      {2, 2, {1, 2, 3, nan}}, {3, 2, {inf, 0, 0, 1, 2, 3}}, {2, 3, {1, 2, 3, 4, 5, -inf}}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.m * 10 + r.n);
    double** a = matrix(1, r.m, 1, r.n);
    double* w = vector(1, r.n);
    double** v = matrix(1, r.n, 1, r.n);
    for (int i = 1; i <= r.m; ++i)
      for (int j = 1; j <= r.n; ++j) a[i][j] = r.a[static_cast<std::size_t>((i - 1) * r.n + j - 1)];
    for (int k = 1; k <= r.n; ++k) w[k] = 1.0;
    svdcmp(a, r.m, r.n, w, v);
    for (int k = 1; k <= std::min(r.m, r.n); ++k) EXPECT_TRUE(std::isnan(w[k])) << k;
    free_matrix(v, 1, r.n, 1, r.n);
    free_vector(w, 1, r.n);
    free_matrix(a, 1, r.m, 1, r.n);
  }
}

// Any non-negative index range is allocated whole and zeroed; a negative or reversed one is refused.
TEST(SvdArrays, IndexRangesAndRefusals) {
  const struct { int rl, rh, cl, ch; bool ok; } rows[] = {
      {0, 2, 0, 3, true}, {1, 3, 1, 1, true}, {2, 1, 1, 2, true}, {-1, 2, 1, 2, false}, {1, 2, -1, 2, false}, {1, 2, 3, 1, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.rl * 1000 + r.rh * 100 + r.cl * 10 + r.ch);
    testing::internal::CaptureStderr();
    std::string refused;
    try {
      double** a = matrix(r.rl, r.rh, r.cl, r.ch);
      double* v = vector(r.cl, r.ch);
      for (int i = r.rl; i <= r.rh; ++i)
        for (int j = r.cl; j <= r.ch; ++j) EXPECT_EQ(std::exchange(a[i][j], i * 10 + j), 0.0);
      for (int j = r.cl; j <= r.ch; ++j) EXPECT_EQ(std::exchange(v[j], j), 0.0);
      free_vector(v, r.cl, r.ch);
      free_matrix(a, r.rl, r.rh, r.cl, r.ch);
    } catch (const char* text) {
      refused = text;
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(refused, r.ok ? "" : "allocation failure 1 in matrix()");
  }
}
