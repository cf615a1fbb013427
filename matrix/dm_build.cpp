// Builders of DM: sequences, filling, identity; and the shape predicates.
#include "matrix/dm_ops.h"

DM& DM::seqa(double start, int count, double inc) {
  if (count < 0 || static_cast<uint32_t>(count) != n) matrix_fatal("seqa number != matrix size.", "");
  // Repeated addition, not start + k * inc: the last bits are part of the result.
  double v = start;
  for (uint32_t k = 0; k < n; ++k) {
    blk->data[k] = v;
    v += inc;
  }
  return *this;
}

DM seqa(double start, int count, double inc) {
  DM R(count, 1);
  R.seqa(start, count, inc);
  return R;
}

DM& DM::fill(double v) {
  for (uint32_t k = 0; k < n; ++k) blk->data[k] = v;
  return *this;
}

DM eye(int r, int c) {
  DM R(r, c, 0.0);
  int m = r < c ? r : c;
  for (int k = 1; k <= m; ++k) R(k, k) = 1.0;
  return R;
}

int is1x1(const DM& A) { return A.rows == A.cols && A.rows == 1; }
int same_shape(const DM& A, const DM& B) { return A.rows == B.rows && A.cols == B.cols; }
int isvector(const DM& A) { return (A.rows == 1 && A.cols >= 1) || (A.rows >= 1 && A.cols == 1); }
int isrow(const DM& A) { return A.rows == 1 && A.cols >= 1; }
int iscol(const DM& A) { return A.cols == 1 && A.rows >= 1; }
