// Element-wise maps of DM through the standard mathematical functions.
#include <cmath>

#include "matrix/dm_ops.h"
#include "matrix/twin_ops.h"

DM map(double (*f)(double), const DM& A) { return map_of<DM>(f, A); }
DM map_ref(double (*f)(const double*), const DM& A) { return map_ref_of(f, A); }

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
