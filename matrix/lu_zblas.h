// Level-1 vector kernels under the complex LU routines.
//
// Usage: every vector is a contiguous run of complex values walked with unit stride.
// Lengths n <= 0 do nothing (or give 0); izamax gives 1 for n < 2.
//     zaxpy(n, a, x, y);       // y = y + a x
// Magnitudes are |re| + |im| throughout (cabs1), as the factorisation expects.
#pragma once

#include <cmath>

#include "matrix/complex.h"

//! |re| + |im|: the complex magnitude used for pivots, zero tests and scaling.
inline double cabs1(const complex& z) { return std::fabs(z.re) + std::fabs(z.im); }

complex zdotc(int n, const complex* x, const complex* y);
void zaxpy(int n, const complex& a, const complex* x, complex* y);
void zswap(int n, complex* x, complex* y);
double dzasum(int n, const complex* x);
void zscal(int n, const complex& a, complex* x);
void zdscal(int n, double a, complex* x);
int izamax(int n, const complex* x);
