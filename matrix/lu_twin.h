// The parts of DLU and CLU (matrix/lu.h) that do not depend on the element type: factoring
// into the object, solving, inverting and the left division. Internal to the library.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

#include "matrix/lu.h"
#include "matrix/lu_kernels.h"
#include "matrix/twin_ops.h"

// F is DLU or CLU with its lda and n already set from A.
template <class F, class M>
void lu_factor(F& f, const M& A, const char* where) {
  // The kernels walk whole columns from a checked first element: a non-square matrix
  // would take them outside the block.
  if (A.rows != A.cols) matrix_fatal("matrices not conformable!", where);
  f.a = A;
  f.ipvt.redim(1, f.n, false);
  f.z.redim(1, f.n, false);
  lu_kernels::geco(f.a.blk->data, f.lda, f.n, f.ipvt.blk->data, f.rcond, f.z.blk->data);
}

template <class F, class M>
M lu_solve(const F& f, const M& b, const char* where) {
  if (b.n != static_cast<uint32_t>(f.n)) matrix_fatal("matrices not conformable!", where);
  M x;
  x = b;
  lu_kernels::gesl(f.a.blk->data, f.lda, f.n, f.ipvt.blk->data, x.blk->data, 0);
  return x;
}

inline double ten_to(double e) { return std::pow(10.0, e); }
inline complex ten_to(const complex& e) { return pow(complex(10.0, 0.0), e); }

// det[0] * 10^det[1]; 0 for a singular matrix, an infinite or NaN det[0] as it is.
template <class F>
auto lu_det(F& f) {
  using T = elem_of<decltype(f.a)>;
  T d[2];
  f.z.redim(1, f.n, false);
  lu_kernels::gedi(f.a.blk->data, f.lda, f.n, f.ipvt.blk->data, d, f.z.blk->data, 10);
  if (lu_kernels::mag(d[0]) == 0.0) return T(0.0);
  if (!std::isfinite(lu_kernels::mag(d[0]))) return d[0];
  return d[0] * ten_to(d[1]);
}

template <class F>
auto lu_inverse(F& f) {
  elem_of<decltype(f.a)> d[2];
  decltype(f.a) inv;
  inv = f.a;
  f.z.redim(1, f.n, false);
  lu_kernels::gedi(inv.blk->data, f.lda, f.n, f.ipvt.blk->data, d, f.z.blk->data, 1);
  return inv;
}

// A X = B: one factorisation, one solve per column of B.
template <class F, class M>
M lu_back_div(const M& A, const M& B) {
  using T = elem_of<M>;
  M X(B.rows, B.cols);
  if (!(A.cols == A.rows && A.cols == B.rows)) matrix_fatal("matrices not conformable!", "Dback_div");
  F lu(A);
  const int n = B.rows;
  if (n == 0) return X;
  M b(n, 1);
  for (int j = 0; j < B.cols; ++j) {
    std::memcpy(static_cast<void*>(b.blk->data), B.blk->data + static_cast<size_t>(j) * n, sizeof(T) * n);
    M x = lu.solve(b);
    std::memcpy(static_cast<void*>(X.blk->data + static_cast<size_t>(j) * n), x.blk->data, sizeof(T) * n);
  }
  return X;
}
