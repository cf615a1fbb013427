// The complex scalar against closed forms: arithmetic, Smith's division, the branch and
// zero cases of sqrt, arg and pow, the elementary functions and their inverses.
#include <cmath>

#include <gtest/gtest.h>

#include "matrix/matrix.h"

namespace {

const double pi = M_PI;

struct ZRow {
  const char* label;
  complex got, want;
  double tol;
};

TEST(Complex, AgainstClosedForms) {
  const complex z(0.3, -0.7), w(0.3, -0.4);
  const double s = std::sin(0.3), c = std::cos(0.3), sh = std::sinh(-0.7), ch = std::cosh(-0.7);
  const ZRow rows[] = {
      {"product", complex(1, 2) * complex(3, -1), complex(5, 5), 0},
      {"sum", complex(1, 2) + complex(3, -1), complex(4, 1), 0},
      {"difference", complex(1, 2) - complex(3, -1), complex(-2, 3), 0},
      {"negation", -complex(1, -2), complex(-1, 2), 0},
      {"plus a double", complex(1, 2) + 2.0, complex(3, 2), 0},
      {"1 / 2i", complex(1, 0) / complex(0, 2), complex(0, -0.5), 0},
      {"double / 2i", 1.0 / complex(0, 2), complex(0, -0.5), 0},
      {"|c| >= |d| branch", complex(1, 2) / complex(4, 2), complex(0.4, 0.3), 1e-16},
      {"double, |c| >= |d|", 2.0 / complex(4, 2), complex(0.4, -0.2), 1e-16},
      {"no overflow", complex(1e300, 1e300) / complex(1e300, 1e300), complex(1, 0), 0},
      {"polar", polar(2.0, pi / 2), complex(0, 2), 1e-15},
      {"sqrt(-4)", sqrt(complex(-4, 0)), complex(0, 2), 0},
      {"sqrt(-4 - tiny i)", sqrt(complex(-4, -1e-300)), complex(0, -2), 1e-300},
      {"sqrt(0)", sqrt(complex(0, 0)), complex(0, 0), 0},
      {"sqrt(3 + 4i)", sqrt(complex(3, 4)), complex(2, 1), 0},
      {"sqrt(-3 - 4i)", sqrt(complex(-3, -4)), complex(1, -2), 0},
      {"exp(i pi)", exp(complex(0, pi)), complex(-1, 0), 1e-15},
      {"exp(1 + i)", exp(complex(1, 1)), complex(std::exp(1.0) * std::cos(1.0), std::exp(1.0) * std::sin(1.0)), 1e-15},
      {"log(-1)", log(complex(-1, 0)), complex(0, pi), 1e-15},
      {"log(-e)", log(complex(-std::exp(1.0), 0)), complex(1, pi), 1e-15},
      {"log10(-1)", log10(complex(-1, 0)), complex(0, pi / std::log(10.0)), 1e-15},
      {"log10(100)", log10(complex(100, 0)), complex(2, 0), 1e-15},
      {"pow(0, 0)", pow(complex(0, 0), complex(0, 0)), complex(1, 0), 0},
      {"pow(0, 2)", pow(complex(0, 0), complex(2, 0)), complex(0, 0), 0},
      {"pow(i, 2)", pow(complex(0, 1), complex(2, 0)), complex(-1, 0), 1e-15},
      {"pow(2, 0.5)", pow(complex(2, 0), complex(0.5, 0)), complex(std::sqrt(2.0), 0), 1e-15},
      {"sin", sin(z), complex(s * ch, c * sh), 1e-15},
      {"cos", cos(z), complex(c * ch, -s * sh), 1e-15},
      {"tan", tan(z), sin(z) / cos(z), 1e-15},
      {"sinh", sinh(z), complex(std::sinh(0.3) * std::cos(-0.7), std::cosh(0.3) * std::sin(-0.7)), 1e-15},
      {"cosh", cosh(z), complex(std::cosh(0.3) * std::cos(-0.7), std::sinh(0.3) * std::sin(-0.7)), 1e-15},
      {"tanh", tanh(z), sinh(z) / cosh(z), 1e-15},
      {"sin asin", sin(asin(w)), w, 1e-15},
      {"cos acos", cos(acos(w)), w, 1e-15},
      {"tan atan", tan(atan(w)), w, 1e-15},
      {"sinh asinh", sinh(asinh(w)), w, 1e-15},
      {"tanh atanh", tanh(atanh(w)), w, 1e-15},
      {"asin(1)", asin(complex(1, 0)), complex(pi / 2, 0), 1e-14},
      {"acos(1)", acos(complex(1, 0)), complex(0, 0), 1e-14},
      {"atan(1)", atan(complex(1, 0)), complex(pi / 4, 0), 1e-14},
      {"asin(2), lower branch", asin(complex(2, 0)), complex(pi / 2, -std::log(2 + std::sqrt(3.0))), 1e-14},
      {"atan(i / 2)", atan(complex(0, 0.5)), complex(0, std::log(3.0) / 2), 1e-14},
  };
  for (const ZRow& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_NEAR(r.got.re, r.want.re, r.tol);
    EXPECT_NEAR(r.got.im, r.want.im, r.tol);
  }
}

TEST(Complex, SignedZerosModulusAndRealInverses) {
  EXPECT_FALSE(std::signbit(sqrt(complex(-4, 0)).re));
  EXPECT_TRUE(std::signbit(sqrt(complex(-4, -0.0)).re));
  EXPECT_EQ(sqrt(complex(-4, -0.0)).im, 2.0);
  EXPECT_EQ(norm(complex(3, 4)), 25.0);
  EXPECT_EQ(abs(complex(3, 4)), 5.0);
  EXPECT_EQ(arg(complex(-1, 0)), pi);
  EXPECT_EQ(arg(complex(0, 1)), pi / 2);
  EXPECT_EQ(arg(complex(0, 0)), 0.0);
  EXPECT_EQ(arg(complex(-0.0, 0.0)), 0.0);
  EXPECT_EQ(arg(complex(-1, -0.0)), -pi);
  EXPECT_TRUE(complex(1, 2) == complex(1, 2));
  EXPECT_FALSE(complex(1, 2) == complex(1, 3));
  EXPECT_TRUE(complex(1, 2) != complex(2, 2));
  EXPECT_FALSE(complex(1, 2) != complex(1, 2));
  EXPECT_NEAR(zorv_matrix::asinh(-1e10), -std::log(2e10), 1e-12);
  EXPECT_NEAR(zorv_matrix::asinh(1.0), std::log(1.0 + std::sqrt(2.0)), 1e-15);
  EXPECT_NEAR(zorv_matrix::acosh(2.0), std::log(2.0 + std::sqrt(3.0)), 1e-15);
  EXPECT_NEAR(zorv_matrix::atanh(0.5), std::log(3.0) / 2, 1e-15);
  // The library's names live beside the standard library's.
  EXPECT_EQ(sqrt(2.0), std::sqrt(2.0));
  EXPECT_EQ(std::max(1.0, 2.0), 2.0);
}

}  // namespace
