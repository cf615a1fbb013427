// Arithmetic, comparisons, reductions, builders, concatenation and maps of CM.
//
// Usage:
//     CM P = A * B;                 // complex matrix product; a 1 x 1 operand scales
//     DM same = (A == B);           // element-wise 1.0 / 0.0, 1 x 1 operands expanded
//     CM L = log(A);                // element-wise complex logarithm
//
// Indexing is 1-based, storage is column-major, elements are `complex`. The shape rules
// and messages are those of the real operations (matrix/dm_ops.h). CM has no <, >, <=,
// >=, abs, floor, extrema, any or all. The divisions / and % rest on the complex LU.
#pragma once
#include "matrix/cm.h"
#include "matrix/dm_ops.h"

int shape_class(const CM& A, const CM& B);

CM operator+(const CM& A, const CM& B);
CM operator-(const CM& A, const CM& B);
CM operator*(const CM& A, const CM& B);
CM ediv(const CM& A, const CM& B);   // element-wise, Smith's division
CM emul(const CM& A, const CM& B);   // element-wise product, same shapes only
CM scale(const complex& s, const CM& B);
CM matmul(const CM& A, const CM& B);

// Element-wise comparisons and logic on the complex values as they are (no truncation):
// a value is true when re != 0 or im != 0.
DM operator==(const CM& A, const CM& B);
DM operator!=(const CM& A, const CM& B);
DM operator&&(const CM& A, const CM& B);
DM operator||(const CM& A, const CM& B);

DM find(const CM& A);

complex sum(const CM& A);
CM sumc(const CM& A);
CM sumr(const CM& A);

CM seqa(complex start, int count, complex inc);   // count x 1
// The complex identity. The real eye(r, c) has the same arguments, so this one carries
// its own name: (1, 0) on the diagonal, (0, 0) elsewhere, 1..15000 each.
CM ceye(int r, int c);

CM hconcat(const CM& A, const CM& B);
CM vconcat(const CM& A, const CM& B);

// Maps from CM to DM, and the element-wise complex functions.
DM map(double (*f)(complex), const CM& A);
DM map_ref(double (*f)(const complex*), const CM& A);
CM log(const CM& A);
CM log10(const CM& A);
CM sin(const CM& A);
CM cos(const CM& A);
CM tan(const CM& A);
CM asin(const CM& A);
CM acos(const CM& A);
CM atan(const CM& A);

int is1x1(const CM& A);
int same_shape(const CM& A, const CM& B);
int isvector(const CM& A);
int isrow(const CM& A);
int iscol(const CM& A);
