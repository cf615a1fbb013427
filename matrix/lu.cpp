// The real LU object and the left division on it.
#include "matrix/lu.h"

#include <cmath>

#include "matrix/lu_linpack.h"
#include "matrix/lu_twin.h"

DLU::DLU(const DM& A) : lda(A.rows), n(A.cols), rcond(0.0) { lu_factor(*this, A, "DLU"); }

DM DLU::solve(const DM& b) const { return lu_solve(*this, b, "DLU::solve"); }

double DLU::det() {
  double d[2];
  z.redim(1, n, false);
  dgedi(a.blk->data, lda, n, ipvt.blk->data, d, z.blk->data, 10);
  if (d[0] == 0.0) return 0.0;
  if (!std::isfinite(d[0])) return d[0];
  return d[0] * std::pow(10.0, d[1]);
}

DM DLU::inverse() { return lu_inverse(*this); }

DM Dback_div(const DM& A, const DM& B) { return lu_back_div<DLU>(A, B); }
