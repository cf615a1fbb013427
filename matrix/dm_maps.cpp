// Element-wise maps of DM through the standard mathematical functions.
#include <cmath>

#include "matrix/dm_ops.h"

DM map(double (*f)(double), const DM& A) {
  DM R(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j) R(i, j) = f(A(i, j));
  return R;
}

DM map_ref(double (*f)(const double*), const DM& A) {
  DM R(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j) R(i, j) = f(&A(i, j));
  return R;
}

DM abs(const DM& A) { return map([](double x) { return std::fabs(x); }, A); }
DM floor(const DM& A) { return map([](double x) { return std::floor(x); }, A); }
DM log(const DM& A) { return map([](double x) { return std::log(x); }, A); }
DM log10(const DM& A) { return map([](double x) { return std::log10(x); }, A); }
DM sin(const DM& A) { return map([](double x) { return std::sin(x); }, A); }
DM cos(const DM& A) { return map([](double x) { return std::cos(x); }, A); }
DM tan(const DM& A) { return map([](double x) { return std::tan(x); }, A); }
DM asin(const DM& A) { return map([](double x) { return std::asin(x); }, A); }
DM acos(const DM& A) { return map([](double x) { return std::acos(x); }, A); }
DM atan(const DM& A) { return map([](double x) { return std::atan(x); }, A); }
