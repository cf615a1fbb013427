// CLU, the complex left division and the divisions of CM, against closed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fatal_expect.h"
#include "matrix/cm_ops.h"
#include "matrix/lu.h"

namespace {

// [[a, b], [c, d]] given by rows.
CM rows2(complex a, complex b, complex c, complex d) {
  const complex v[] = {a, c, b, d};
  return CM(2, 2, v);
}

void expect_near(const complex& z, double re, double im, double tol = 1e-15) {
  EXPECT_NEAR(z.re, re, tol);
  EXPECT_NEAR(z.im, im, tol);
}

TEST(CLU, DeterminantInverseSolve) {
  const complex i(0.0, 1.0);
  CLU lu(rows2(i, 1.0, 0.0, 2.0));
  complex d = lu.det();
  EXPECT_EQ(d.re, 0.0);
  EXPECT_EQ(d.im, 2.0);
  // inverse of [[i, 1], [0, 2]] = [[-i, i/2], [0, 1/2]]
  CM Ai = lu.inverse();
  expect_near(Ai(1, 1), 0.0, -1.0);
  expect_near(Ai(1, 2), 0.0, 0.5);
  expect_near(Ai(2, 1), 0.0, 0.0);
  expect_near(Ai(2, 2), 0.5, 0.0);
  // x = [1 + i, 2]: b = [i (1 + i) + 2, 4] = [1 + i, 4]; the factors survived the inverse
  const complex bv[] = {complex(1.0, 1.0), complex(4.0, 0.0)};
  CM x = lu.solve(CM(2, 1, bv));
  expect_near(x(1), 1.0, 1.0);
  expect_near(x(2), 2.0, 0.0);
}

TEST(CLU, DeterminantOfZeroAndScaledValues) {
  complex d0 = CLU(CM(0.0, 0.0)).det();
  EXPECT_EQ(d0.re, 0.0);
  EXPECT_EQ(d0.im, 0.0);
  complex d1 = CLU(CM(0.0, -250.0)).det();
  EXPECT_NEAR(d1.re, 0.0, 1e-12);
  EXPECT_NEAR(d1.im, -250.0, 1e-12);
  // one exchange: [[0, 1], [1, 0]] has determinant -1
  complex d2 = CLU(rows2(0.0, 1.0, 1.0, 0.0)).det();
  EXPECT_EQ(d2.re, -1.0);
  EXPECT_EQ(d2.im, 0.0);
  const double inf = std::numeric_limits<double>::infinity();
  complex d3 = CLU(rows2(complex(inf, 0.0), 0.0, 0.0, 2.0)).det();
  EXPECT_FALSE(std::isfinite(d3.re));
  complex d4 = CLU(rows2(complex(inf, 0.0), 0.0, 0.0, -1.0)).det();   // ends, not finite
  EXPECT_FALSE(std::isfinite(d4.re));
}

TEST(CLU, ShapeChecksAndEmpty) {
  EXPECT_FATAL(CLU lu(CM(2, 3, 1.0)), "matrices not conformable!", "CLU");
  CLU lu(rows2(1.0, 0.0, 0.0, 1.0));
  EXPECT_FATAL(lu.solve(CM(1.0)), "matrices not conformable!", "CLU::solve");
  CLU e{CM()};
  complex d = e.det();
  EXPECT_EQ(d.re, 1.0);
  EXPECT_EQ(d.im, 0.0);
  CM inv = e.inverse();
  EXPECT_EQ(inv.rows, 0);
  EXPECT_EQ(inv.cols, 0);
  CM X = Dback_div(CM(), CM(0, 2));
  EXPECT_EQ(X.rows, 0);
  EXPECT_EQ(X.cols, 2);
}

TEST(CLU, InverseTimesMatrixIsIdentity) {
  CM A = rows2(complex(1.0, 2.0), complex(-3.0, 0.5), complex(0.25, -1.0), complex(4.0, 4.0));
  CM P = matmul(CLU(A).inverse(), A);
  expect_near(P(1, 1), 1.0, 0.0, 1e-15);
  expect_near(P(1, 2), 0.0, 0.0, 1e-15);
  expect_near(P(2, 1), 0.0, 0.0, 1e-15);
  expect_near(P(2, 2), 1.0, 0.0, 1e-15);
}

TEST(ComplexDivision, LeftAndRight) {
  const complex i(0.0, 1.0);
  CM A = rows2(i, 1.0, 0.0, 2.0);
  const complex bv[] = {complex(1.0, 1.0), complex(4.0, 0.0)};
  CM x = A % CM(2, 1, bv);
  expect_near(x(1), 1.0, 1.0);
  expect_near(x(2), 2.0, 0.0);
  // y A = [i, 5] for y = [1, 2]; transposes do not conjugate
  const complex cv[] = {i, complex(5.0, 0.0)};
  CM y = CM(1, 2, cv) / A;
  ASSERT_EQ(y.rows, 1);
  expect_near(y(1), 1.0, 0.0);
  expect_near(y(2), 2.0, 0.0);
  EXPECT_FATAL(CM(2, 3, 1.0) % CM(2, 1, 1.0), "matrices not conformable!", "Dback_div");
}

TEST(ComplexDivision, ScalarCases) {
  // 1 / (0 + 2i) = -0.5i
  CM q = CM(1.0, 0.0) / CM(0.0, 2.0);
  expect_near(q(1), 0.0, -0.5);
  CM h = CM(0.0, 2.0) % CM(2, 2, 4.0);
  expect_near(h(2, 2), 0.0, -2.0);
  EXPECT_FATAL(CM(1.0) / CM(2, 2, 1.0), "A must not be scalar", "operation A / B");
  EXPECT_FATAL(CM(2, 2, 1.0) % CM(1.0), "B must not be scalar", "operation A % B");
}

}  // namespace
