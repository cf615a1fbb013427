// The complex scalar: arithmetic, Smith's division and the elementary functions.
#include <cmath>

#include <gtest/gtest.h>

#include "matrix/matrix.h"

namespace {
const double pi = 3.14159265358979323846;

void expect_near(const complex& z, double re, double im, double tol = 1e-14) {
  EXPECT_NEAR(z.re, re, tol);
  EXPECT_NEAR(z.im, im, tol);
}
}  // namespace

TEST(Complex, ProductAndSums) {
  complex z(1.0, 2.0), w(3.0, -1.0);
  complex p = z * w;
  EXPECT_EQ(p.re, 5.0);
  EXPECT_EQ(p.im, 5.0);
  EXPECT_EQ((z + w).re, 4.0);
  EXPECT_EQ((z - w).im, 3.0);
  EXPECT_EQ((-z).re, -1.0);
  complex d = z + 2.0;
  EXPECT_EQ(d.re, 3.0);
  EXPECT_EQ(d.im, 2.0);
  EXPECT_TRUE(complex(1, 2) == complex(1, 2));
  EXPECT_TRUE(complex(1, 2) != complex(1, 3));
}

TEST(Complex, SmithDivision) {
  complex q = complex(1.0, 0.0) / complex(0.0, 2.0);
  EXPECT_EQ(q.re, 0.0);
  EXPECT_EQ(q.im, -0.5);
  complex r = 1.0 / complex(0.0, 2.0);
  EXPECT_EQ(r.re, 0.0);
  EXPECT_EQ(r.im, -0.5);
  // |u| >= |v| branch: (1+2i)/(4+2i) = (8 + 6i) / 20
  complex s = complex(1.0, 2.0) / complex(4.0, 2.0);
  EXPECT_DOUBLE_EQ(s.re, 0.4);
  EXPECT_DOUBLE_EQ(s.im, 0.3);
  complex t = 2.0 / complex(4.0, 2.0);   // 2 (4 - 2i) / 20
  EXPECT_DOUBLE_EQ(t.re, 0.4);
  EXPECT_DOUBLE_EQ(t.im, -0.2);
  // Smith's division does not overflow where the naive formula would.
  complex big = complex(1e300, 1e300) / complex(1e300, 1e300);
  EXPECT_EQ(big.re, 1.0);
  EXPECT_EQ(big.im, 0.0);
}

TEST(Complex, NormAbsArg) {
  EXPECT_EQ(norm(complex(3, 4)), 25.0);
  EXPECT_EQ(abs(complex(3, 4)), 5.0);
  EXPECT_EQ(arg(complex(-1, 0)), pi);
  EXPECT_EQ(arg(complex(0, 1)), pi / 2);
  EXPECT_EQ(arg(complex(0, 0)), 0.0);
  EXPECT_EQ(arg(complex(-0.0, 0.0)), 0.0);
  EXPECT_EQ(arg(complex(-1, -0.0)), -pi);
  complex p = polar(2.0, pi / 2);
  EXPECT_NEAR(p.re, 0.0, 1e-15);
  EXPECT_EQ(p.im, 2.0);
}

TEST(Complex, SqrtBranches) {
  complex a = sqrt(complex(-4, 0));
  EXPECT_EQ(a.re, 0.0);
  EXPECT_FALSE(std::signbit(a.re));
  EXPECT_EQ(a.im, 2.0);
  complex b = sqrt(complex(-4, -0.0));
  EXPECT_EQ(b.re, 0.0);
  EXPECT_TRUE(std::signbit(b.re));
  EXPECT_EQ(b.im, 2.0);
  complex c = sqrt(complex(-4, -1e-300));
  EXPECT_EQ(c.im, -2.0);
  complex d = sqrt(complex(0, 0));
  EXPECT_EQ(d.re, 0.0);
  EXPECT_EQ(d.im, 0.0);
  complex e = sqrt(complex(3, 4));
  EXPECT_EQ(e.re, 2.0);
  EXPECT_EQ(e.im, 1.0);
  complex f = sqrt(complex(-3, -4));
  EXPECT_EQ(f.re, 1.0);
  EXPECT_EQ(f.im, -2.0);
}

TEST(Complex, ExpLogPow) {
  expect_near(exp(complex(0, pi)), -1.0, 0.0);
  expect_near(log(complex(-1, 0)), 0.0, pi);
  complex p = pow(complex(0, 0), complex(0, 0));
  EXPECT_EQ(p.re, 1.0);
  EXPECT_EQ(p.im, 0.0);
  complex q = pow(complex(0, 0), complex(2, 0));
  EXPECT_EQ(q.re, 0.0);
  EXPECT_EQ(q.im, 0.0);
  expect_near(pow(complex(0, 1), complex(2, 0)), -1.0, 0.0);
  expect_near(pow(complex(2, 0), complex(0.5, 0)), std::sqrt(2.0), 0.0);
}

TEST(Complex, Log10ScalesBothParts) {
  complex l = log10(complex(-1, 0));
  EXPECT_EQ(l.re, 0.0);
  EXPECT_NEAR(l.im, pi / std::log(10.0), 1e-15);
  complex h = log10(complex(100, 0));
  EXPECT_NEAR(h.re, 2.0, 1e-15);
}

TEST(Complex, Trigonometric) {
  complex z(0.3, -0.7);
  // Closed forms of sin, cos and their quotient.
  expect_near(sin(z), std::sin(0.3) * std::cosh(-0.7), std::cos(0.3) * std::sinh(-0.7));
  expect_near(cos(z), std::cos(0.3) * std::cosh(-0.7), -std::sin(0.3) * std::sinh(-0.7));
  complex t = tan(z), sc = sin(z) / cos(z);
  expect_near(t, sc.re, sc.im);
  expect_near(sinh(z), std::sinh(0.3) * std::cos(-0.7), std::cosh(0.3) * std::sin(-0.7));
  expect_near(cosh(z), std::cosh(0.3) * std::cos(-0.7), std::sinh(0.3) * std::sin(-0.7));
  complex th = tanh(z), q = sinh(z) / cosh(z);
  expect_near(th, q.re, q.im);
}

TEST(Complex, InverseFunctionsRoundTrip) {
  complex z(0.3, -0.4);
  complex a = sin(asin(z));
  expect_near(a, z.re, z.im);
  complex b = cos(acos(z));
  expect_near(b, z.re, z.im);
  complex c = tan(atan(z));
  expect_near(c, z.re, z.im);
  complex d = sinh(asinh(z));
  expect_near(d, z.re, z.im);
  complex e = tanh(atanh(z));
  expect_near(e, z.re, z.im);
  expect_near(asin(complex(1, 0)), pi / 2, 0.0);
  expect_near(acos(complex(1, 0)), 0.0, 0.0);
  expect_near(atan(complex(1, 0)), pi / 4, 0.0);
}

TEST(Complex, RealInverseHyperbolic) {
  EXPECT_NEAR(zorv_matrix::asinh(-1e10), -std::log(2e10), 1e-12);
  EXPECT_TRUE(std::isfinite(zorv_matrix::asinh(-1e10)));
  EXPECT_NEAR(zorv_matrix::asinh(1.0), std::log(1.0 + std::sqrt(2.0)), 1e-15);
  EXPECT_NEAR(zorv_matrix::acosh(2.0), std::log(2.0 + std::sqrt(3.0)), 1e-15);
  EXPECT_NEAR(zorv_matrix::atanh(0.5), std::log(3.0) / 2, 1e-15);
}
