// Exact comparison of two matrices and powers of ten.
//
// Usage:
//     int same = identical(A, B);   // 1 when shapes and every element compare equal
//     DM P = pow10(A);              // 10^A(i, j) element by element
// Indexing is 1-based, storage column-major, real elements. identical uses the
// floating-point ==: a NaN differs from everything, 0.0 equals -0.0.
#pragma once
#include "matrix/dm.h"

int identical(const DM& A, const DM& B);
double pow10(double x);
DM pow10(const DM& A);
