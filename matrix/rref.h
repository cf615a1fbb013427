// Reduced row echelon form by Gauss-Jordan elimination with partial pivoting.
//
// Usage:
//     DM R = rref(A);     // any shape; A is not changed
// Indexing is 1-based, storage column-major, real elements. Pivots not above the
// tolerance max(rows, cols) * 2.22e-16 * (largest column sum of |A|) count as zero: their
// column is cleared below the current row, so a rank-deficient A ends in zero rows.
#pragma once
#include "matrix/dm.h"

DM rref(const DM& A);
