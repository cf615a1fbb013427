// Complex LU factor, condition estimate, solve, determinant and inverse, on raw
// column-major storage: the twins of matrix/lu_linpack.h.
//
// Usage:
//     zgeco(a, lda, n, ipvt, rcond, z);
//     zgesl(a, lda, n, ipvt, b, 0);          // job != 0: the conjugate-transposed system
//     zgedi(a, lda, n, ipvt, det, work, 11); // det = det[0] * 10^(det[1].re), and inverse
// Indexing: element (i, j), 1-based, is a[(j-1)*lda + (i-1)]; callers pass lda == n.
// ipvt holds whole numbers as doubles. Magnitudes are |re| + |im|.
#pragma once

#include "matrix/complex.h"

void zgefa(complex* a, int lda, int n, double* ipvt, int& info);
void zgeco(complex* a, int lda, int n, double* ipvt, double& rcond, complex* z);
void zgesl(const complex* a, int lda, int n, const double* ipvt, complex* b, int job);
//! det[1] holds the power of ten in its real part.
void zgedi(complex* a, int lda, int n, const double* ipvt, complex* det, complex* work, int job);
