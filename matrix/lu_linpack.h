// LU factor, condition estimate, solve, determinant and inverse of a general square
// matrix with partial pivoting (real), on raw column-major storage.
//
// Usage (the complex twins in matrix/lu_zlinpack.h take complex* for a, b, z, det, work):
//     dgeco(a, lda, n, ipvt, rcond, z);   // or dgefa(a, lda, n, ipvt, info)
//     dgesl(a, lda, n, ipvt, b, 0);       // b := A^-1 b
//     dgedi(a, lda, n, ipvt, det, work, 10);  // det = det[0] * 10^det[1]
// Indexing: element (i, j), 1-based, is a[(j-1)*lda + (i-1)]; callers pass lda == n.
// ipvt holds n pivot rows as doubles with whole values 1..n. Multipliers are stored
// negated below the diagonal, U on and above it. A singular matrix is not reported
// except through info / rcond: solves and inverses then hold infinities or NaNs.
// n == 0 does nothing (det stays 1 x 10^0).
#pragma once

void dgefa(double* a, int lda, int n, double* ipvt, int& info);
void dgeco(double* a, int lda, int n, double* ipvt, double& rcond, double* z);
void dgesl(const double* a, int lda, int n, const double* ipvt, double* b, int job);
//! job / 10 != 0: determinant into det[0..1]; job % 10 != 0: inverse over a.
void dgedi(double* a, int lda, int n, const double* ipvt, double* det, double* work, int job);
