// The complex scalar's arithmetic and elementary functions.
#include "matrix/complex.h"

#include <cmath>

namespace {
const complex I(0.0, 1.0);
const complex one(1.0, 0.0);
}  // namespace

complex operator+(const complex& z, const complex& w) { return complex(z.re + w.re, z.im + w.im); }
complex operator-(const complex& z, const complex& w) { return complex(z.re - w.re, z.im - w.im); }
complex operator-(const complex& z) { return complex(-z.re, -z.im); }

complex operator*(const complex& z, const complex& w) {
  return complex(z.re * w.re - z.im * w.im, z.re * w.im + z.im * w.re);
}

complex operator/(const complex& z, const complex& w) {
  const double x = z.re, y = z.im, u = w.re, v = w.im;
  if (std::fabs(u) >= std::fabs(v)) {
    double r = v / u, d = r * v + u;
    return complex((y * r + x) / d, (y - x * r) / d);
  }
  double r = u / v, d = r * u + v;
  return complex((x * r + y) / d, (y * r - x) / d);
}

complex operator/(double a, const complex& w) {
  const double u = w.re, v = w.im;
  if (std::fabs(u) >= std::fabs(v)) {
    double r = v / u, d = r * v + u;
    return complex(a / d, -a * r / d);
  }
  double r = u / v, d = r * u + v;
  return complex(a * r / d, -a / d);
}

bool operator==(const complex& z, const complex& w) { return z.re == w.re && z.im == w.im; }
bool operator!=(const complex& z, const complex& w) { return !(z == w); }

double norm(const complex& z) { return z.re * z.re + z.im * z.im; }
double abs(const complex& z) { return std::sqrt(z.re * z.re + z.im * z.im); }

double arg(const complex& z) {
  if (z.re == 0.0 && z.im == 0.0) return 0.0;   // also for -0.0, where atan2 gives pi
  return std::atan2(z.im, z.re);
}

complex polar(double r, double t) { return complex(r * std::cos(t), r * std::sin(t)); }

complex sqrt(const complex& z) {
  const double x = z.re, y = z.im;
  if (x == 0.0 && y == 0.0) return complex(0.0, 0.0);
  double t = std::sqrt((std::fabs(x) + abs(z)) * 0.5);
  if (x >= 0.0) return complex(t, y / (2 * t));
  double s = y < 0.0 ? -t : t;   // only y < 0 selects the lower root: -0.0 does not
  return complex(y / (2 * s), s);
}

complex exp(const complex& z) {
  double e = std::exp(z.re);
  return complex(e * std::cos(z.im), e * std::sin(z.im));
}

complex log(const complex& z) { return complex(std::log(abs(z)), arg(z)); }

complex log10(const complex& z) {
  // Both parts are scaled by 1/ln 10.
  return complex(std::log(norm(z)) * 0.2171472409516259, arg(z) * 0.4342944819032518);
}

complex pow(const complex& z, const complex& w) {
  if (w.re == 0.0 && w.im == 0.0) return complex(1.0, 0.0);
  if (z.re == 0.0 && z.im == 0.0) return complex(0.0, 0.0);
  return exp(log(z) * w);
}

complex sin(const complex& z) {
  return complex(std::sin(z.re) * std::cosh(z.im), std::cos(z.re) * std::sinh(z.im));
}

complex cos(const complex& z) {
  return complex(std::cos(z.re) * std::cosh(z.im), -(std::sin(z.re) * std::sinh(z.im)));
}

complex tan(const complex& z) {
  double d = std::cos(2 * z.re) + std::cosh(2 * z.im);
  return complex(std::sin(2 * z.re) / d, std::sinh(2 * z.im) / d);
}

complex sinh(const complex& z) {
  return complex(std::sinh(z.re) * std::cos(z.im), std::cosh(z.re) * std::sin(z.im));
}

complex cosh(const complex& z) {
  return complex(std::cosh(z.re) * std::cos(z.im), std::sinh(z.re) * std::sin(z.im));
}

complex tanh(const complex& z) {
  double d = std::cosh(2 * z.re) + std::cos(2 * z.im);
  return complex(std::sinh(2 * z.re) / d, std::sin(2 * z.im) / d);
}

complex asin(const complex& z) {
  complex l = log(I * z + sqrt(one - z * z));
  return complex(l.im, -l.re);
}

complex acos(const complex& z) {
  complex l = log(z + I * sqrt(one - z * z));
  return complex(l.im, -l.re);
}

complex atan(const complex& z) {
  complex l = log((z + I) / (I - z));
  return complex(-l.im / 2, l.re / 2);
}

complex asinh(const complex& z) {
  complex a = asin(complex(-z.im, z.re));
  return complex(a.im, -a.re);
}

complex atanh(const complex& z) {
  complex a = atan(complex(-z.im, z.re));
  return complex(a.im, -a.re);
}

namespace zorv_matrix {
// The library functions stay accurate where log(a + sqrt(a a + 1)) cancels to log(0).
double asinh(double a) { return std::asinh(a); }
double acosh(double a) { return std::acosh(a); }
double atanh(double a) { return std::atanh(a); }
}  // namespace zorv_matrix
