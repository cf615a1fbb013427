// Builders, sums and shape predicates of CM.
#include "matrix/cm_ops.h"

CM& CM::seqa(complex start, int count, complex inc) {
  if (count < 0 || static_cast<uint32_t>(count) != n) matrix_fatal("seqa number != matrix size.", "");
  double re = start.re, im = start.im;
  for (uint32_t k = 0; k < n; ++k) {
    blk->data[k] = complex(re, im);
    re += inc.re;
    im += inc.im;
  }
  return *this;
}

CM seqa(complex start, int count, complex inc) {
  CM R(count, 1);
  R.seqa(start, count, inc);
  return R;
}

CM& CM::fill(complex v) {
  for (uint32_t k = 0; k < n; ++k) blk->data[k] = v;
  return *this;
}

CM ceye(int r, int c) {
  CM R(r, c, 0.0, 0.0);
  int m = r < c ? r : c;
  for (int k = 1; k <= m; ++k) R(k, k) = complex(1.0, 0.0);
  return R;
}

complex sum(const CM& A) {
  complex s(0.0, 0.0);
  for (uint32_t k = 0; k < A.n; ++k) s = s + A.blk->data[k];
  return s;
}

CM sumc(const CM& A) {
  CM R(1, A.cols);
  for (int j = 1; j <= A.cols; ++j) {
    complex s = A(1, j);
    for (int i = 2; i <= A.rows; ++i) s = s + A(i, j);
    R(1, j) = s;
  }
  return R;
}

CM sumr(const CM& A) {
  CM R(A.rows, 1);
  for (int i = 1; i <= A.rows; ++i) {
    complex s = A(i, 1);
    for (int j = 2; j <= A.cols; ++j) s = s + A(i, j);
    R(i, 1) = s;
  }
  return R;
}

int is1x1(const CM& A) { return A.rows == A.cols && A.rows == 1; }
int same_shape(const CM& A, const CM& B) { return A.rows == B.rows && A.cols == B.cols; }
int isvector(const CM& A) { return (A.rows == 1 && A.cols >= 1) || (A.rows >= 1 && A.cols == 1); }
int isrow(const CM& A) { return A.rows == 1 && A.cols >= 1; }
int iscol(const CM& A) { return A.cols == 1 && A.rows >= 1; }
