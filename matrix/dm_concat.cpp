// Concatenation of DM, into a new matrix or in place.
#include <cstring>

#include "matrix/dm_ops.h"

namespace {

// Sum of two dimensions without int overflow; anything past 32 bits cannot be held.
int add_dims(int a, int b) {
  int64_t s = static_cast<int64_t>(a) + b;
  if (s > INT32_MAX) matrix_fatal("out of memory", "new_DDB()");
  return static_cast<int>(s);
}

}  // namespace

DM hconcat(const DM& A, const DM& B) {
  if (A.n == 0) return B;
  if (B.n == 0) return A;
  if (A.rows != B.rows) matrix_fatal("Must be same number of rows", "Horizontal concat");
  DM R(A.rows, add_dims(A.cols, B.cols));
  std::memcpy(R.blk->data, A.blk->data, sizeof(double) * A.n);
  std::memcpy(R.blk->data + A.n, B.blk->data, sizeof(double) * B.n);
  return R;
}

DM vconcat(const DM& A, const DM& B) {
  if (A.n == 0) return B;
  if (B.n == 0) return A;
  if (A.cols != B.cols) matrix_fatal("Must be same number of columns", "Vertical concat");
  DM R(add_dims(A.rows, B.rows), A.cols);
  double* r = R.blk->data;
  for (int64_t j = 0; j < A.cols; ++j) {
    std::memcpy(r, A.blk->data + j * A.rows, sizeof(double) * A.rows);
    r += A.rows;
    std::memcpy(r, B.blk->data + j * B.rows, sizeof(double) * B.rows);
    r += B.rows;
  }
  return R;
}

void DM::append_columns(const DM& B) {
  if (B.n == 0) return;
  if (n == 0) {
    *this = B;
    return;
  }
  if (rows != B.rows) matrix_fatal("Must be same number of rows", "Horizontal concat");
  // B may be this matrix itself: hold its old block and size across the resize.
  DM src(B);
  uint32_t old_n = n;
  redim(rows, add_dims(cols, src.cols), true);
  std::memcpy(blk->data + old_n, src.blk->data, sizeof(double) * src.n);
}

void DM::append_rows(const DM& B) {
  if (B.n == 0) return;
  if (n == 0) {
    *this = B;
    return;
  }
  if (cols != B.cols) matrix_fatal("Must be same number of columns", "Vertical concat");
  DM src(B);
  const int64_t old_rows = rows, b_rows = src.rows;
  redim(add_dims(rows, src.rows), cols, true);
  // Rebuild the columns from the back, so that no old element is overwritten before it
  // has moved: column j ends up at (j-1)*rows, at or behind its old place.
  double* d = blk->data;
  const double* b = src.blk->data;
  int64_t w = static_cast<int64_t>(n);
  for (int64_t j = cols - 1; j >= 0; --j) {
    for (int64_t i = b_rows - 1; i >= 0; --i) d[--w] = b[j * b_rows + i];
    for (int64_t i = old_rows - 1; i >= 0; --i) d[--w] = d[j * old_rows + i];
  }
}
