// LU factorisation with partial pivoting, linear solves, determinant, inverse, and the
// matrix divisions A / B and A % B (A \ B).
//
// Usage:
//     DLU lu(A);               // factor once (A square, copied; A itself is untouched)
//     DM x = lu.solve(b);      // A x = b, b with A.rows elements
//     double d = lu.det();     // 0.0 for a singular A
//     DM Ai = lu.inverse();    // the factors stay intact for later solves
//     DM X = Dback_div(A, B);  // A X = B, one factorisation, one solve per column of B
//     DM Y = B / A;            // Y A = B;  DM Z = A % B;  // A Z = B
// Indexing is 1-based, storage column-major. DLU works on real DM, CLU on complex CM
// (magnitudes |re| + |im|). A singular matrix is not reported: solves and inverses then
// hold infinities or NaNs. An empty (0 x 0) matrix factors to nothing: det 1, inverse 0 x 0.
#pragma once
#include "matrix/cm.h"
#include "matrix/dm.h"

class DLU {
public:
  DM ipvt;       // 1 x n pivot rows, whole numbers as doubles
  DM a;          // the factors: negated multipliers below the diagonal, U on and above
  DM z;          // work space of the condition estimate, the determinant and the inverse
  int lda;
  int n;
  double rcond;  // reciprocal condition estimate; informative only

  explicit DLU(const DM& A);
  DM solve(const DM& b) const;
  double det();
  DM inverse();
};

class CLU {
public:
  DM ipvt;       // 1 x n pivot rows, whole numbers as doubles
  CM a;          // the factors
  CM z;          // work space
  int lda;
  int n;
  double rcond;

  explicit CLU(const CM& A);
  CM solve(const CM& b) const;
  complex det();
  CM inverse();
};

//! A \ B: X with A X = B. A square with A.rows == B.rows.
DM Dback_div(const DM& A, const DM& B);
CM Dback_div(const CM& A, const CM& B);

//! Right division A / B = A B^-1 (1 x 1 operands scale).
DM operator/(const DM& A, const DM& B);
//! Left division A % B = A^-1 B (a 1 x 1 A scales B).
DM operator%(const DM& A, const DM& B);
//! The complex divisions: the same rules, transposes without conjugation.
CM operator/(const CM& A, const CM& B);
CM operator%(const CM& A, const CM& B);
