// Concatenation of CM, into a new matrix or in place.
#include <cstring>

#include "matrix/cm_ops.h"

namespace {

int add_dims(int a, int b) {
  int64_t s = static_cast<int64_t>(a) + b;
  if (s > INT32_MAX) matrix_fatal("out of memory", "new_CDB()");
  return static_cast<int>(s);
}

void copy_elems(complex* to, const complex* from, int64_t count) {
  if (count > 0) std::memcpy(static_cast<void*>(to), from, sizeof(complex) * count);
}

}  // namespace

CM hconcat(const CM& A, const CM& B) {
  if (A.n == 0) return B;
  if (B.n == 0) return A;
  if (A.rows != B.rows) matrix_fatal("Must be same number of rows", "Horizontal concat");
  CM R(A.rows, add_dims(A.cols, B.cols));
  copy_elems(R.blk->data, A.blk->data, A.n);
  copy_elems(R.blk->data + A.n, B.blk->data, B.n);
  return R;
}

CM vconcat(const CM& A, const CM& B) {
  if (A.n == 0) return B;
  if (B.n == 0) return A;
  if (A.cols != B.cols) matrix_fatal("Must be same number of columns", "Vertical concat");
  CM R(add_dims(A.rows, B.rows), A.cols);
  complex* r = R.blk->data;
  for (int64_t j = 0; j < A.cols; ++j) {
    copy_elems(r, A.blk->data + j * A.rows, A.rows);
    r += A.rows;
    copy_elems(r, B.blk->data + j * B.rows, B.rows);
    r += B.rows;
  }
  return R;
}

void CM::append_columns(const CM& B) {
  if (B.n == 0) return;
  if (n == 0) {
    *this = B;
    return;
  }
  if (rows != B.rows) matrix_fatal("Must be same number of rows", "Horizontal concat");
  CM src(B);   // B may be this matrix itself
  uint32_t old_n = n;
  redim(rows, add_dims(cols, src.cols), true);
  copy_elems(blk->data + old_n, src.blk->data, src.n);
}

void CM::append_rows(const CM& B) {
  if (B.n == 0) return;
  if (n == 0) {
    *this = B;
    return;
  }
  if (cols != B.cols) matrix_fatal("Must be same number of columns", "Vertical concat");
  CM src(B);
  const int64_t old_rows = rows, b_rows = src.rows;
  redim(add_dims(rows, src.rows), cols, true);
  complex* d = blk->data;
  const complex* b = src.blk->data;
  int64_t w = static_cast<int64_t>(n);
  for (int64_t j = cols - 1; j >= 0; --j) {
    for (int64_t i = b_rows - 1; i >= 0; --i) d[--w] = b[j * b_rows + i];
    for (int64_t i = old_rows - 1; i >= 0; --i) d[--w] = d[j * old_rows + i];
  }
}
