// The real LU object and the left division on it.
#include "matrix/lu.h"

#include <cmath>
#include <cstring>

#include "matrix/lu_linpack.h"

DLU::DLU(const DM& A) : lda(A.rows), n(A.cols), rcond(0.0) {
  // The kernels walk whole columns from a checked first element: a non-square matrix
  // would take them outside the block.
  if (A.rows != A.cols) matrix_fatal("matrices not conformable!", "DLU");
  a = A;
  ipvt.redim(1, n, false);
  z.redim(1, n, false);
  dgeco(a.blk->data, lda, n, ipvt.blk->data, rcond, z.blk->data);
}

DM DLU::solve(const DM& b) const {
  if (b.n != static_cast<uint32_t>(n)) matrix_fatal("matrices not conformable!", "DLU::solve");
  DM x;
  x = b;
  dgesl(a.blk->data, lda, n, ipvt.blk->data, x.blk->data, 0);
  return x;
}

double DLU::det() {
  double d[2];
  z.redim(1, n, false);
  dgedi(a.blk->data, lda, n, ipvt.blk->data, d, z.blk->data, 10);
  if (d[0] == 0.0) return 0.0;
  if (!std::isfinite(d[0])) return d[0];
  return d[0] * std::pow(10.0, d[1]);
}

DM DLU::inverse() {
  double d[2];
  DM inv;
  inv = a;
  z.redim(1, n, false);
  dgedi(inv.blk->data, lda, n, ipvt.blk->data, d, z.blk->data, 1);
  return inv;
}

DM Dback_div(const DM& A, const DM& B) {
  DM X(B.rows, B.cols);
  if (!(A.cols == A.rows && A.cols == B.rows)) matrix_fatal("matrices not conformable!", "Dback_div");
  DLU lu(A);
  const int n = B.rows;
  if (n == 0) return X;
  DM b(n, 1);
  for (int j = 0; j < B.cols; ++j) {
    std::memcpy(b.blk->data, B.blk->data + static_cast<size_t>(j) * n, sizeof(double) * n);
    DM x = lu.solve(b);
    std::memcpy(X.blk->data + static_cast<size_t>(j) * n, x.blk->data, sizeof(double) * n);
  }
  return X;
}
