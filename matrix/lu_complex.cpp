// The complex LU object and the complex left division on it.
#include <cmath>

#include "matrix/lu.h"
#include "matrix/lu_twin.h"
#include "matrix/lu_zblas.h"
#include "matrix/lu_zlinpack.h"

CLU::CLU(const CM& A) : lda(A.rows), n(A.cols), rcond(0.0) { lu_factor(*this, A, "CLU"); }

CM CLU::solve(const CM& b) const { return lu_solve(*this, b, "CLU::solve"); }

complex CLU::det() {
  complex d[2];
  z.redim(1, n, false);
  zgedi(a.blk->data, lda, n, ipvt.blk->data, d, z.blk->data, 10);
  if (d[0].re == 0.0 && d[0].im == 0.0) return complex(0.0, 0.0);
  if (!std::isfinite(cabs1(d[0]))) return d[0];
  return d[0] * pow(complex(10.0, 0.0), d[1]);
}

CM CLU::inverse() { return lu_inverse(*this); }

CM Dback_div(const CM& A, const CM& B) { return lu_back_div<CLU>(A, B); }
