// Eigenvalues and eigenvectors of a real general (non-symmetric) square matrix.
//
// Usage:
//     CM D, V;
//     eig(A, D, V);             // A V = V D; always returns 0
//     CM d = eigvalue(A);       // D alone
//     CM v = eigvector(A);      // V alone
// Indexing is 1-based, storage column-major. D is n x n diagonal, D(j, j) the j-th
// eigenvalue, in the order the QR iteration finds them (not sorted). Column j of V is
// its eigenvector, scaled to unit Euclidean length. A complex pair comes with the
// positive imaginary part first and its conjugate (value and vector) in the next column.
// Failures are fatal: a non-square or non-finite A, and a QR iteration that does not
// converge. Not reentrant (see matrix/eig_eispack.h).
#pragma once
#include "matrix/cm.h"
#include "matrix/dm.h"

int eig(const DM& A, CM& D, CM& V);
CM eigvalue(const DM& A);
CM eigvector(const DM& A);
