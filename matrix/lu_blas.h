// Level-1 vector kernels under the real LU routines.
//
// Usage: every vector is a contiguous run of doubles walked with unit stride, for
// example one column segment of a column-major matrix from element (k, j) downward.
// Lengths n <= 0 are allowed and do nothing (or give 0).
//     daxpy(n, a, x, y);       // y = y + a x
//     int i = idamax(n, x);    // 1-based, first of equal maxima, 0 when n < 1
#pragma once

void daxpy(int n, double a, const double* x, double* y);
double dasum(int n, const double* x);
double ddot(int n, const double* x, const double* y);
void dscal(int n, double a, double* x);
void dswap(int n, double* x, double* y);
int idamax(int n, const double* x);
