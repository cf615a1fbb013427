// Singular value decomposition on plain 1-based arrays, and the numerical rank and
// least-squares solve that Skelboe's extrapolation takes from it.
//
//     double** a = matrix(1, m, 1, n);   // a[i][j], 1 <= i <= m, 1 <= j <= n
//     double*  w = vector(1, n);
//     double** v = matrix(1, n, 1, n);
//     ... fill a ...
//     svdcmp(a, m, n, w, v);             // A = U diag(w) V', U (m x n) left in a
//     svd_backsubstitute(a, w, v, m, n, b, x);   // x = V diag(1/w) U' b, zero w skipped
//     free_matrix(v, 1, n, 1, n); free_vector(w, 1, n); free_matrix(a, 1, m, 1, n);
//
//     int r = svd_rank(D);                        // DM in, 1-based, column-major
//     DM c; if (svd_least_squares(D, b, c) == 0) ...   // c: n x 1
//
// The decomposition is one-sided Jacobi: plane rotations on the right orthogonalise the
// columns, whose norms are then the singular values. Singular values are non-negative and
// not sorted; U and V have orthonormal columns (a wide A, m < n, is decomposed through its
// transpose, so its w(m+1..n) are exactly 0). Arrays are sized from the matrices, so there
// is no limit on rows or columns. A failure (no convergence in 30 sweeps, no memory) is
// reported by nr_error, which writes its texts to the error stream and ends the run by
// throwing the message (const char*, static storage); the process goes on. An A holding
// Inf or NaN gets NaN singular values.
#pragma once

#include "matrix/dm.h"

// Table of row pointers with a[i][j] valid for rl <= i <= rh, cl <= j <= ch (indices
// from 0 up to the low bound are allocated too, so no pointer leaves its block).
double** matrix(int rl, int rh, int cl, int ch);
double* vector(int l, int h);
void free_matrix(double** m, int rl, int rh, int cl, int ch);
void free_vector(double* v, int l, int h);

// "Numerical Recipes run-time error...", the message and "...now exiting to system..."
// on the error stream, then throws the message: the run ends, not the process.
[[noreturn]] void nr_error(const char* message);

// A (a[1..m][1..n]) = U diag(w) V': on return a holds U (m x n), w[1..n] the singular
// values, v[1..n][1..n] the orthogonal V.
void svdcmp(double** a, int m, int n, double* w, double** v);
// x[1..n] = V diag(1/w) U' b[1..m]; terms whose w is exactly 0 are left out.
void svd_backsubstitute(double** u, const double* w, double** v, int m, int n, const double* b, double* x);

// Number of singular values above max(m, n) * max|A(i,j)| * 2e-16. 0 for an empty A.
int svd_rank(const DM& A);
// Least-squares x (n x 1) of A x = b with singular values below 1e-6 of the largest
// dropped. Returns 1 without touching x when b is not m x 1, else 0.
int svd_least_squares(const DM& A, const DM& b, DM& x);
