// The complex LU kernels on raw column-major arrays: |re| + |im| pivots, solves
// (plain and conjugate-transposed), determinant scaling, inverse.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "matrix/lu_zblas.h"
#include "matrix/lu_zlinpack.h"

namespace {

TEST(LuBlas, IzamaxUsesAbsRePlusAbsIm) {
  const complex x[] = {complex(1.0, 1.0), complex(0.0, 2.0)};
  EXPECT_EQ(izamax(2, x), 1);
  const complex y[] = {complex(1.0, 0.0), complex(-1.0, 0.5)};
  EXPECT_EQ(izamax(2, y), 2);
  EXPECT_EQ(izamax(0, y), 1);
}

TEST(LuZgefa, ComplexSolveDeterminantInverse) {
  // A = [[i, 1], [0, 2]] (column-major), x = [1 + i, 2]: b = [i(1+i) + 2, 4] = [1 + i, 4]
  complex a[] = {complex(0.0, 1.0), complex(0.0, 0.0), complex(1.0, 0.0), complex(2.0, 0.0)};
  double ipvt[2], rcond;
  complex z[2];
  zgeco(a, 2, 2, ipvt, rcond, z);
  EXPECT_GT(rcond, 0.0);
  complex b[] = {complex(1.0, 1.0), complex(4.0, 0.0)};
  zgesl(a, 2, 2, ipvt, b, 0);
  EXPECT_NEAR(b[0].re, 1.0, 1e-15);
  EXPECT_NEAR(b[0].im, 1.0, 1e-15);
  EXPECT_NEAR(b[1].re, 2.0, 1e-15);
  EXPECT_NEAR(b[1].im, 0.0, 1e-15);
  // conj(A)' x = c with x = [1, i]: conj(A)' = [[-i, 0], [1, 2]], c = [-i, 1 + 2i]
  complex c[] = {complex(0.0, -1.0), complex(1.0, 2.0)};
  zgesl(a, 2, 2, ipvt, c, 1);
  EXPECT_NEAR(c[0].re, 1.0, 1e-15);
  EXPECT_NEAR(c[0].im, 0.0, 1e-15);
  EXPECT_NEAR(c[1].re, 0.0, 1e-15);
  EXPECT_NEAR(c[1].im, 1.0, 1e-15);

  complex det[2], work[2];
  zgedi(a, 2, 2, ipvt, det, work, 11);
  EXPECT_EQ(det[0].re, 0.0);
  EXPECT_EQ(det[0].im, 2.0);
  EXPECT_EQ(det[1].re, 0.0);
  // inverse of [[i, 1], [0, 2]] = [[-i, i/2], [0, 1/2]]
  EXPECT_NEAR(a[0].re, 0.0, 1e-15);
  EXPECT_NEAR(a[0].im, -1.0, 1e-15);
  EXPECT_NEAR(a[1].re, 0.0, 1e-15);
  EXPECT_NEAR(a[1].im, 0.0, 1e-15);
  EXPECT_NEAR(a[2].re, 0.0, 1e-15);
  EXPECT_NEAR(a[2].im, 0.5, 1e-15);
  EXPECT_NEAR(a[3].re, 0.5, 1e-15);
  EXPECT_NEAR(a[3].im, 0.0, 1e-15);
}

TEST(LuZgedi, ZeroAndInfiniteDeterminants) {
  complex a[] = {complex(0.0, 0.0)};
  double ipvt[1];
  int info;
  complex det[2], work[1];
  zgefa(a, 1, 1, ipvt, info);
  EXPECT_EQ(info, 1);
  zgedi(a, 1, 1, ipvt, det, work, 10);
  EXPECT_EQ(det[0].re, 0.0);
  EXPECT_EQ(det[0].im, 0.0);

  const double inf = std::numeric_limits<double>::infinity();
  complex b[] = {complex(inf, 0.0)};
  zgefa(b, 1, 1, ipvt, info);
  zgedi(b, 1, 1, ipvt, det, work, 10);
  EXPECT_FALSE(std::isfinite(det[0].re));

  complex c[] = {complex(0.0, -250.0)};
  zgefa(c, 1, 1, ipvt, info);
  zgedi(c, 1, 1, ipvt, det, work, 10);
  EXPECT_EQ(det[0].re, 0.0);
  EXPECT_EQ(det[0].im, -2.5);
  EXPECT_EQ(det[1].re, 2.0);
}

}  // namespace
