// eig, eigvalue and eigvector on DM: the shape of D and V, the pair order, isolated and
// diagonal cases, residuals of random matrices, and the failure texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "fatal_expect.h"
#include "matrix/cm_ops.h"
#include "matrix/dm_ops.h"
#include "matrix/eig.h"
#include "common/dm_builders.h"

namespace {

// Largest |(A V - V D)(i, j)| relative to the infinity norm of A.
double relative_residual(const DM& A, const CM& D, const CM& V) {
  CM R = matmul(CM(A), V) - matmul(V, D);
  double worst = 0.0;
  for (uint32_t k = 1; k <= R.n; ++k) worst = std::max(worst, abs(R(k)));
  double norm = max(sumr(abs(A)));
  return norm == 0.0 ? worst : worst / norm;
}

TEST(Eig, DiagonalMatrixIsIsolated) {
  CM D, V;
  EXPECT_EQ(eig(rows2(2.0, 0.0, 0.0, 3.0), D, V), 0);
  ASSERT_EQ(D.rows, 2);
  ASSERT_EQ(D.cols, 2);
  EXPECT_EQ(D(1, 1), complex(2.0, 0.0));
  EXPECT_EQ(D(2, 2), complex(3.0, 0.0));
  EXPECT_EQ(D(1, 2), complex(0.0, 0.0));
  EXPECT_EQ(D(2, 1), complex(0.0, 0.0));
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) EXPECT_EQ(V(i, j), complex(i == j ? 1.0 : 0.0, 0.0));
}

TEST(Eig, RotationPairPositiveImaginaryFirst) {
  CM D, V;
  eig(rows2(0.0, 1.0, -1.0, 0.0), D, V);
  EXPECT_EQ(D(1, 1), complex(0.0, 1.0));
  EXPECT_EQ(D(2, 2), complex(0.0, -1.0));
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(V(i, 2).re, V(i, 1).re);
    EXPECT_EQ(V(i, 2).im, -V(i, 1).im);
  }
  for (int j = 1; j <= 2; ++j) EXPECT_NEAR(norm(V(1, j)) + norm(V(2, j)), 1.0, 1e-15);
  EXPECT_LT(relative_residual(rows2(0.0, 1.0, -1.0, 0.0), D, V), 1e-15);
}

TEST(Eig, OneByOneAndEmpty) {
  CM D, V;
  eig(DM(5.0), D, V);
  EXPECT_EQ(D(1), complex(5.0, 0.0));
  EXPECT_EQ(V(1), complex(1.0, 0.0));
  eig(DM(), D, V);
  EXPECT_EQ(D.n, 0u);
  EXPECT_EQ(V.n, 0u);
}

TEST(Eig, ZeroMatrixGivesIdentityVectors) {
  CM V = eigvector(DM(4, 4, 0.0));
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(V(i, j), complex(i == j ? 1.0 : 0.0, 0.0));
  CM D = eigvalue(DM(4, 4, 0.0));
  for (uint32_t k = 1; k <= D.n; ++k) EXPECT_EQ(D(k), complex(0.0, 0.0));
}

TEST(Eig, TriangularMatrixKeepsItsDiagonal) {
  const double v[] = {1, 0, 0, 4, 2, 0, 5, 6, 3};  // [[1, 4, 5], [0, 2, 6], [0, 0, 3]]
  DM A(3, 3, v);
  CM D, V;
  eig(A, D, V);
  EXPECT_EQ(D(1, 1), complex(1.0, 0.0));
  EXPECT_EQ(D(2, 2), complex(2.0, 0.0));
  EXPECT_EQ(D(3, 3), complex(3.0, 0.0));
  EXPECT_LT(relative_residual(A, D, V), 1e-15);
}

TEST(Eig, ValuesAndVectorsAloneAgreeWithEig) {
  const double v[] = {4, 1, -2, 2, 3, 0, -1, 5, 1};
  DM A(3, 3, v);
  CM D, V;
  eig(A, D, V);
  CM D2 = eigvalue(A), V2 = eigvector(A);
  for (uint32_t k = 1; k <= 9; ++k) {
    EXPECT_EQ(D2(k), D(k));
    EXPECT_EQ(V2(k), V(k));
  }
}

TEST(Eig, RandomNonSymmetricResiduals) {
  uint64_t s = 2024;
  auto next = [&s] {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(s >> 11) / 9007199254740992.0 * 2.0 - 1.0;
  };
  for (int n : {2, 3, 5, 8, 13, 21, 30}) {
    DM A(n, n);
    for (uint32_t k = 1; k <= A.n; ++k) A(k) = next();
    CM D, V;
    eig(A, D, V);
    EXPECT_LT(relative_residual(A, D, V), 1e-13 * n) << n;
    for (int j = 1; j <= n; ++j) {
      double len = 0.0;
      for (int i = 1; i <= n; ++i) len += norm(V(i, j));
      EXPECT_NEAR(len, 1.0, 1e-14) << n << " column " << j;
      if (D(j, j).im > 0.0) {  // its conjugate follows
        ASSERT_LT(j, n);
        EXPECT_EQ(D(j + 1, j + 1).re, D(j, j).re);
        EXPECT_EQ(D(j + 1, j + 1).im, -D(j, j).im);
      }
      if (D(j, j).im < 0.0) {
        EXPECT_GT(D(j - 1, j - 1).im, 0.0);
      }
    }
  }
}

TEST(Eig, DefectiveJordanBlock) {
  DM A = rows2(3.0, 1.0, 0.0, 3.0);
  CM D, V;
  eig(A, D, V);
  EXPECT_EQ(D(1, 1), complex(3.0, 0.0));
  EXPECT_EQ(D(2, 2), complex(3.0, 0.0));
  EXPECT_LT(relative_residual(A, D, V), 1e-15);
}

TEST(Eig, ElementsNearTheTopOfTheRangeDoNotStallTheBalancing) {
  // [[0, 1e308], [1, 0]]: lambda^2 = 1e308, so lambda = +-1e154. Balancing the first row
  // would carry its column sum past the largest double.
  DM A = rows2(0.0, 1e308, 1.0, 0.0);
  CM D, V;
  eig(A, D, V);
  const double big = std::max(D(1, 1).re, D(2, 2).re), small = std::min(D(1, 1).re, D(2, 2).re);
  EXPECT_NEAR(big, 1e154, 1e139);
  EXPECT_NEAR(small, -1e154, 1e139);
  EXPECT_EQ(D(1, 1).im, 0.0);
  EXPECT_EQ(D(2, 2).im, 0.0);
  EXPECT_LT(relative_residual(A, D, V), 1e-15);
}

TEST(Eig, Failures) {
  CM D, V;
  EXPECT_FATAL(eig(DM(2, 3, 1.0), D, V), "eigvalue : Matrix not square!", "999");
  EXPECT_FATAL(eigvalue(DM(2, 3, 1.0)), "eigvalue : Matrix not square!", "999");
  EXPECT_FATAL(eigvector(DM(2, 3, 1.0)), "eigvector : Matrix not square!", "999");
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FATAL(eig(rows2(1.0, inf, 0.0, 1.0), D, V), "eig : matrix has non-finite elements",
               "999");
  EXPECT_FATAL(eigvalue(rows2(1.0, 0.0, std::nan(""), 1.0)),
               "eig : matrix has non-finite elements", "999");
  EXPECT_EQ(D.n, 0u);  // nothing was written
}

}  // namespace

namespace {

TEST(Eig, BalancingLimitReportsAndGoesOn) {
  // Entries spread over 300 decades need more scaling sweeps than the limit allows; the
  // scaling reached is an exact similarity, so the decomposition still holds.
  const double rows[36] = {1e-45,  0,     0,     0,      1e+143, 0,     1e-112, 0,     0,
                           1e-142, 1e+23, 0,     1e-75,  0,      1e-146, 1e-139, 1e+66, 1e+44,
                           0,      1e+148, 0,    0,      0,      0,      1e-104, 0,     0,
                           0,      1e-134, 0,    0,      1e+145, 1e+128, 0,      0,     1e+59};
  DM A(6, 6);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) A(i + 1, j + 1) = rows[i * 6 + j];
  CM D, V;
  testing::internal::CaptureStdout();
  eig(A, D, V);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " balance iteration limit\n");
  EXPECT_LT(relative_residual(A, D, V), 1e-14);
}

}  // namespace

namespace {

TEST(Eig, PartlyIsolatedMatrixWithPairInTheMiddle) {
  // Column 1 and row 4 isolate 1 and 7; the middle block carries the pair +-2i. A
  // permutation similarity hides the structure from the plain row and column order.
  const double rows[16] = {1, 2, 3, 4, 0, 0, 2, 5, 0, -2, 0, 6, 0, 0, 0, 7};
  const int perm[4] = {2, 0, 3, 1};
  DM A(4, 4);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) A(perm[i] + 1, perm[j] + 1) = rows[i * 4 + j];
  CM D, V;
  eig(A, D, V);
  int real1 = 0, real7 = 0, pair = 0;
  for (int j = 1; j <= 4; ++j) {
    complex d = D(j, j);
    if (d == complex(1.0, 0.0)) ++real1;
    if (d == complex(7.0, 0.0)) ++real7;
    if (d.im > 0.0) {
      ++pair;
      EXPECT_NEAR(d.re, 0.0, 1e-15);
      EXPECT_NEAR(d.im, 2.0, 1e-15);
    }
  }
  EXPECT_EQ(real1, 1);
  EXPECT_EQ(real7, 1);
  EXPECT_EQ(pair, 1);
  EXPECT_LT(relative_residual(A, D, V), 1e-15);
}

}  // namespace
