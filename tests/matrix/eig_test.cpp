// eig, eigvalue and eigvector: A V = V D with unit columns and conjugate pairs +Im first,
// over named matrices whose eigenvalues are known, and random ones; the failure paths.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/dm_builders.h"
#include "matrix/eig_eispack.h"
#include "matrix/expect_matrix.h"
#include "matrix/matrix.h"

namespace {

// Checks the decomposition and returns the eigenvalues sorted by (re, im).
std::vector<complex> check_eig(const DM& A, double tol) {
  CM D, V;
  EXPECT_EQ(eig(A, D, V), 0);
  const int n = A.rows;
  EXPECT_EQ(D.rows, n);
  EXPECT_EQ(V.cols, n);
  CM R = matmul(CM(A), V) - matmul(V, D);
  double worst = 0.0, norm_a = n ? max(sumr(abs(A))) : 0.0;
  for (uint32_t k = 1; k <= R.n; ++k) worst = std::max(worst, abs(R(k)));
  EXPECT_LE(worst, tol * (norm_a == 0.0 ? 1.0 : norm_a));
  std::vector<complex> d;
  for (int j = 1; j <= n; ++j) {
    double len = 0.0;
    for (int i = 1; i <= n; ++i) len += norm(V(i, j));
    EXPECT_NEAR(len, 1.0, 1e-14) << "column " << j;
    for (int i = 1; i <= n; ++i) EXPECT_TRUE(i == j || D(i, j) == complex(0)) << "D(" << i << ", " << j << ")";
    if (D(j, j).im > 0.0) {  // its conjugate, value and vector, comes next
      EXPECT_LT(j, n);
      if (j == n) break;
      EXPECT_EQ(D(j + 1, j + 1), complex(D(j, j).re, -D(j, j).im));
      for (int i = 1; i <= n; ++i) EXPECT_EQ(V(i, j + 1), complex(V(i, j).re, -V(i, j).im));
    } else if (D(j, j).im < 0.0) {
      EXPECT_TRUE(j > 1 && D(j - 1, j - 1).im > 0.0) << "a pair must start with +Im";
    }
    d.push_back(D(j, j));
  }
  std::sort(d.begin(), d.end(), [](complex a, complex b) { return a.re < b.re || (a.re == b.re && a.im < b.im); });
  CM D2 = eigvalue(A), V2 = eigvector(A);
  for (uint32_t k = 1; k <= D.n; ++k) {
    EXPECT_EQ(D2(k), D(k));
    EXPECT_EQ(V2(k), V(k));
  }
  return d;
}

DM permuted(int n, std::vector<double> rows, std::vector<int> perm) {
  DM A(n, n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) A(perm[i] + 1, perm[j] + 1) = rows[i * n + j];
  return A;
}

TEST(Eig, KnownEigenvalues) {
  struct { const char* label; DM A; std::vector<complex> want; double tol; } rows[] = {
      {"1x1", DM(5.0), {5}, 0},
      {"diagonal", rows2(3, 0, 0, 2), {2, 3}, 0},
      {"triangular", rows_of(3, 3, {1, 4, 5, 0, 2, 6, 0, 0, 3}), {1, 2, 3}, 0},
      {"rotation", rows2(0, 1, -1, 0), {complex(0, -1), complex(0, 1)}, 0},
      {"Jordan block", rows2(3, 1, 0, 3), {3, 3}, 0},
      {"zero", DM(4, 4, 0.0), {0, 0, 0, 0}, 0},
      {"balanced 1e3", rows2(1, 1000, 0.001, 1), {0, 2}, 1e-14},
      {"near the top of the range", rows2(0, 1e308, 1, 0), {-1e154, 1e154}, 1e139},
      {"companion (x-1)(x-2)(x-3)", rows_of(3, 3, {6, -11, 6, 1, 0, 0, 0, 1, 0}), {1, 2, 3}, 1e-13},
      {"companion (x-3)(x^2-2x+5)", rows_of(3, 3, {5, -11, 15, 1, 0, 0, 0, 1, 0}),
       {complex(1, -2), complex(1, 2), 3}, 1e-13},
      {"isolated 1 and 7, pair in the middle",
       permuted(4, {1, 2, 3, 4, 0, 0, 2, 5, 0, -2, 0, 6, 0, 0, 0, 7}, {2, 0, 3, 1}),
       {complex(0, -2), complex(0, 2), 1, 7}, 1e-15},
  };
  for (auto& r : rows) {
    SCOPED_TRACE(r.label);
    std::vector<complex> d = check_eig(r.A, 1e-14);
    ASSERT_EQ(d.size(), r.want.size());
    for (size_t k = 0; k < d.size(); ++k) {
      EXPECT_NEAR(d[k].re, r.want[k].re, r.tol) << k;
      EXPECT_NEAR(d[k].im, r.want[k].im, r.tol) << k;
    }
  }
  CM V = eigvector(DM(3, 3, 0.0));  // no iteration: the identity
  expect_cm(V, 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1});
  expect_cm(eigvector(rows2(2, 0, 0, 3)), 2, 2, {1, 0, 0, 1});
  CM D, W;
  eig(DM(), D, W);
  EXPECT_EQ(D.n + W.n, 0u);
}

TEST(Eig, DefectiveRandomAndBadlyScaledMatrices) {
  // S J S^-1 with J a 3 x 3 Jordan block of 2: eigenvalues good to the cube root of eps.
  const DM J = rows_of(3, 3, {2, 1, 0, -0.5, 2.5, 0.5, 0.5, 0.5, 1.5});
  for (complex d : check_eig(J, 1e-12)) EXPECT_NEAR(abs(d - complex(2)), 0.0, 1e-4);
  uint64_t s = 2024;
  auto next = [&s] {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(s >> 11) / 9007199254740992.0 * 2.0 - 1.0;
  };
  for (int n = 2; n <= 30; n += 1 + n / 4)
    for (int rep = 0; rep < 2; ++rep) {
      SCOPED_TRACE(testing::Message() << "n " << n << " rep " << rep);
      DM A(n, n);
      for (uint32_t k = 1; k <= A.n; ++k) A(k) = next() * (rep ? std::pow(10.0, 6.0 * next()) : 1.0);
      check_eig(A, 1e-13 * n);
    }
  // Entries spread over 300 decades exhaust the balancing sweeps; the scaling reached is
  // an exact similarity, so the decomposition still holds.
  const DM B = permuted(6, {1e-45, 0, 0, 0, 1e+143, 0, 1e-112, 0, 0, 1e-142, 1e+23, 0,
                            1e-75, 0, 1e-146, 1e-139, 1e+66, 1e+44, 0, 1e+148, 0, 0, 0, 0,
                            1e-104, 0, 0, 0, 1e-134, 0, 0, 1e+145, 1e+128, 0, 0, 1e+59},
                        {0, 1, 2, 3, 4, 5});
  testing::internal::CaptureStdout();
  CM D, V;
  eig(B, D, V);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " balance iteration limit\n");
  CM R = matmul(CM(B), V) - matmul(V, D);
  for (uint32_t k = 1; k <= R.n; ++k) EXPECT_LE(abs(R(k)), 1e-14 * max(sumr(abs(B)))) << k;
}

TEST(Eig, NoConvergenceIsFatal) {
  // A NaN keeps every splitting test false, so the iteration runs into its limit.
  std::vector<double> a = {1, 2, 3, 4, std::nan(""), 6, 7, 8, 9}, wr(3), wi(3), vr(9), vi(9),
                      wr2(3), wi2(3), z(9), scale(3);
  std::vector<int> inter(3), cnt(3);
  testing::internal::CaptureStdout();
  std::string thrown;
  try {
    eigen_driver(a.data(), 3, wr.data(), wi.data(), vr.data(), vi.data(), 1, wr2.data(),
                 wi2.data(), z.data(), scale.data(), inter.data(), cnt.data());
  } catch (const char* text) {
    thrown = text;
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            " ierr=2\nFatal Error : eig : no convergence in 30 iterations - hqr2\n");
  EXPECT_EQ(thrown, "Fatal Error : eig : no convergence in 30 iterations - hqr2\n");
  EXPECT_EQ(cnt[2], 31);
}

TEST(Eig, NormaliseByLargestComponent) {
  // Row-major packed vectors: columns 0 and 3 real, 1-2 a pair (re, im).
  std::vector<double> z = {2, 1, 1, 1, -4, 0, 2, 3, 4, 0, 0, 2, 1, 0, 0, 0};
  const double wi[] = {0, 1, -1, 0};
  normalise_by_largest(4, 4, z.data(), nullptr, wi);
  // Column 0: the first of the equal largest |-4| and |4| divides; the pair: the largest
  // modulus is 2i (row 1), and (1 + i) / 2i = 0.5 - 0.5i.
  EXPECT_EQ(z, (std::vector<double>{-0.5, 0.5, -0.5, 1.0 / 3, 1, 1, 0, 1, -1, 0, 0, 2.0 / 3, -0.25, 0, 0, 0}));
  double zero = 0.0;  // a zero vector is left as it is
  normalise_by_largest(1, 1, &zero, nullptr, wi);
  EXPECT_EQ(zero, 0.0);
  EXPECT_EQ(machep(), std::ldexp(1.0, -52));
}

}  // namespace
