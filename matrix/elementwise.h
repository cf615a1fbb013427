// Shared by the real and complex arithmetic (DM and CM): the shape classes of two
// operands and the 1 x 1 / same-shape rule of +, - and ediv. Internal to the library.
#pragma once
#include <cstdint>

#include "matrix/dm.h"

// 1: A is 1 x 1; 2: B is 1 x 1; 6: same shape; 3: row times column; 4: column times
// row; 5: inner dimensions agree; 0: none. Tested in this order.
template <class M>
int shape_class_of(const M& A, const M& B) {
  if (A.rows == 1 && A.cols == 1) return 1;
  if (B.rows == 1 && B.cols == 1) return 2;
  if (A.rows == B.rows && A.cols == B.cols) return 6;
  if (A.rows == 1 && B.cols == 1) return 3;
  if (A.cols == 1 && B.rows == 1) return 4;
  if (A.cols == B.rows) return 5;
  return 0;
}

template <class M, class Op>
M elementwise(const M& A, const M& B, const char* op, Op f) {
  switch (shape_class_of(A, B)) {
    case 1: {
      M R(B.rows, B.cols);
      const auto a = A.blk->data[0];
      for (uint32_t k = 0; k < B.n; ++k) R.blk->data[k] = f(a, B.blk->data[k]);
      return R;
    }
    case 2: {
      M R(A.rows, A.cols);
      const auto b = B.blk->data[0];
      for (uint32_t k = 0; k < A.n; ++k) R.blk->data[k] = f(A.blk->data[k], b);
      return R;
    }
    case 6: {
      M R(A.rows, A.cols);
      for (uint32_t k = 0; k < A.n; ++k) R.blk->data[k] = f(A.blk->data[k], B.blk->data[k]);
      return R;
    }
    default:
      matrix_fatal("Incompatible matrices for", op);
  }
}
