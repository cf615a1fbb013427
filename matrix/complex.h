// complex: the library's own complex scalar (not std::complex; its sqrt, arg, division
// and pow give results of their own in the signed-zero and zero cases).
//
// Usage:
//     complex z(1.0, 2.0);         // re 1, im 2
//     complex w = z * z + 1.0;     // a double converts to (re, 0)
//     complex q = 1.0 / z;         // Smith's division
//     double r = abs(z), t = arg(z);
//
// The elements of CM (matrix/cm.h) are values of this type. No function checks its
// domain: division by zero and log(0) give the IEEE results of their formulas.
#pragma once

struct complex {
  double re;
  double im;
  complex() = default;
  constexpr complex(double r, double i = 0.0) : re(r), im(i) {}
};

complex operator+(const complex& z, const complex& w);
complex operator-(const complex& z, const complex& w);
complex operator-(const complex& z);
complex operator*(const complex& z, const complex& w);
complex operator/(const complex& z, const complex& w);   // Smith's division
complex operator/(double a, const complex& w);
bool operator==(const complex& z, const complex& w);
bool operator!=(const complex& z, const complex& w);

double norm(const complex& z);   // x*x + y*y
double abs(const complex& z);    // sqrt(x*x + y*y), unscaled
double arg(const complex& z);    // atan2(y, x), and 0 for z == 0
complex polar(double r, double t);
complex sqrt(const complex& z);
complex exp(const complex& z);
complex log(const complex& z);
complex log10(const complex& z);
complex pow(const complex& z, const complex& w);   // pow(z, 0) = 1, pow(0, w) = 0
complex sin(const complex& z);
complex cos(const complex& z);
complex tan(const complex& z);
complex sinh(const complex& z);
complex cosh(const complex& z);
complex tanh(const complex& z);
complex asin(const complex& z);
complex acos(const complex& z);
complex atan(const complex& z);
complex asinh(const complex& z);
complex atanh(const complex& z);

// Real inverse hyperbolic functions. They share their names and signatures with the C
// library's, hence the namespace.
namespace zorv_matrix {
double asinh(double a);
double acosh(double a);
double atanh(double a);
}  // namespace zorv_matrix
