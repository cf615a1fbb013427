// The complex LU object and the complex left division on it.
#include <cmath>
#include <cstring>

#include "matrix/lu.h"
#include "matrix/lu_zblas.h"
#include "matrix/lu_zlinpack.h"

CLU::CLU(const CM& A) : lda(A.rows), n(A.cols), rcond(0.0) {
  if (A.rows != A.cols) matrix_fatal("matrices not conformable!", "CLU");
  a = A;
  ipvt.redim(1, n, false);
  z.redim(1, n, false);
  zgeco(a.blk->data, lda, n, ipvt.blk->data, rcond, z.blk->data);
}

CM CLU::solve(const CM& b) const {
  if (b.n != static_cast<uint32_t>(n)) matrix_fatal("matrices not conformable!", "CLU::solve");
  CM x;
  x = b;
  zgesl(a.blk->data, lda, n, ipvt.blk->data, x.blk->data, 0);
  return x;
}

complex CLU::det() {
  complex d[2];
  z.redim(1, n, false);
  zgedi(a.blk->data, lda, n, ipvt.blk->data, d, z.blk->data, 10);
  if (d[0].re == 0.0 && d[0].im == 0.0) return complex(0.0, 0.0);
  if (!std::isfinite(cabs1(d[0]))) return d[0];
  return d[0] * pow(complex(10.0, 0.0), d[1]);
}

CM CLU::inverse() {
  complex d[2];
  CM inv;
  inv = a;
  z.redim(1, n, false);
  zgedi(inv.blk->data, lda, n, ipvt.blk->data, d, z.blk->data, 1);
  return inv;
}

CM Dback_div(const CM& A, const CM& B) {
  CM X(B.rows, B.cols);
  if (!(A.cols == A.rows && A.cols == B.rows)) matrix_fatal("matrices not conformable!", "Dback_div");
  CLU lu(A);
  const int n = B.rows;
  if (n == 0) return X;
  CM b(n, 1);
  for (int j = 0; j < B.cols; ++j) {
    std::memcpy(b.blk->data, B.blk->data + static_cast<size_t>(j) * n, sizeof(complex) * n);
    CM x = lu.solve(b);
    std::memcpy(X.blk->data + static_cast<size_t>(j) * n, x.blk->data, sizeof(complex) * n);
  }
  return X;
}
