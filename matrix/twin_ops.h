// The operations that DM and CM share, written once over the matrix type M and its
// element type (double or complex). Internal to the library: the public names stay the
// typed functions of matrix/dm_ops.h and matrix/cm_ops.h, which forward here. Sums are
// written s = s + x so that both element types take the same additions in the same order.
#pragma once
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "matrix/cm.h"
#include "matrix/elementwise.h"

template <class M>
using elem_of = std::remove_pointer_t<decltype(std::declval<M&>().blk->data)>;

// The texts that name the matrix type in its messages.
template <class M>
struct twin_names;
template <>
struct twin_names<DM> {
  static constexpr const char* block = "new_DDB()";
};
template <>
struct twin_names<CM> {
  static constexpr const char* block = "new_CDB()";
};

inline bool nonzero(double v) { return v != 0.0; }
inline bool nonzero(const complex& z) { return z.re != 0.0 || z.im != 0.0; }

// A r x c matrix with every element v; r and c are at least 1.
template <class M>
M filled(int r, int c, const elem_of<M>& v) {
  M R(r, c);
  R.fill(v);
  return R;
}

// --- arithmetic ---

template <class M>
M emul_of(const M& A, const M& B) {
  // Walking A.n elements of a B of another shape would read outside B.
  if (A.rows != B.rows || A.cols != B.cols) matrix_fatal("Must be same shape matrices.", "emul");
  M R(A.rows, A.cols);
  for (uint32_t k = 0; k < A.n; ++k) R.blk->data[k] = A.blk->data[k] * B.blk->data[k];
  return R;
}

template <class M>
M scale_of(const elem_of<M>& s, const M& B) {
  M R(B.rows, B.cols);
  for (uint32_t k = 0; k < B.n; ++k) R.blk->data[k] = s * B.blk->data[k];
  return R;
}

template <class M>
M matmul_of(const M& A, const M& B) {
  using T = elem_of<M>;
  if (A.cols != B.rows) matrix_fatal("Matrices do not conform", "*");
  M R(A.rows, B.cols);
  const T* a = A.blk->data;
  const T* b = B.blk->data;
  T* r = R.blk->data;
  const int64_t ar = A.rows, br = B.rows;
  for (int64_t j = 0; j < B.cols; ++j)
    for (int64_t i = 0; i < ar; ++i) {
      T s(0.0);
      for (int64_t k = 0; k < br; ++k) s = s + a[k * ar + i] * b[j * br + k];
      r[j * ar + i] = s;
    }
  return R;
}

template <class M>
M product_of(const M& A, const M& B) {
  switch (shape_class_of(A, B)) {
    case 0:
      matrix_fatal("Matrices do not conform", "*");
    case 1:
      return scale_of(A.blk->data[0], B);
    case 2:
      return scale_of(B.blk->data[0], A);
    case 3:
    case 4:
    case 5:
    case 6:
      if (A.cols != B.rows) matrix_fatal("Matrices do not conform", "*");
      return matmul_of(A, B);
    default:
      matrix_fatal("Internal case error", "operator *");
  }
}

template <class M>
M negated(const M& A) {
  M R(A.rows, A.cols);
  for (uint32_t k = 0; k < A.n; ++k) R.blk->data[k] = -A.blk->data[k];
  return R;
}

template <class M>
M transposed(const M& A) {
  M R(A.cols, A.rows);
  const int64_t r = A.rows, c = A.cols;
  for (int64_t j = 0; j < c; ++j)
    for (int64_t i = 0; i < r; ++i) R.blk->data[i * c + j] = A.blk->data[j * r + i];
  return R;
}

// 1.0 where the element is zero.
template <class M>
DM not_of(const M& A) {
  DM R(A.rows, A.cols);
  for (uint32_t k = 0; k < A.n; ++k) R.blk->data[k] = nonzero(A.blk->data[k]) ? 0.0 : 1.0;
  return R;
}

// --- builders, sums, shape predicates ---

template <class M>
M eye_of(int r, int c) {
  M R(r, c, 0.0);
  int m = r < c ? r : c;
  for (int k = 1; k <= m; ++k) R(k, k) = elem_of<M>(1.0);
  return R;
}

// Repeated addition, not start + k * inc: the last bits are part of the result.
template <class M>
M& seqa_into(M& m, const elem_of<M>& start, int count, const elem_of<M>& inc) {
  if (count < 0 || static_cast<uint32_t>(count) != m.n) matrix_fatal("seqa number != matrix size.", "");
  elem_of<M> v = start;
  for (uint32_t k = 0; k < m.n; ++k) {
    m.blk->data[k] = v;
    v = v + inc;
  }
  return m;
}

template <class M>
M& fill_with(M& m, const elem_of<M>& v) {
  for (uint32_t k = 0; k < m.n; ++k) m.blk->data[k] = v;
  return m;
}

template <class M>
M seqa_of(const elem_of<M>& start, int count, const elem_of<M>& inc) {
  M R(count, 1);
  R.seqa(start, count, inc);
  return R;
}

template <class M>
elem_of<M> sum_of(const M& A) {
  elem_of<M> s(0.0);
  for (uint32_t k = 0; k < A.n; ++k) s = s + A.blk->data[k];
  return s;
}

// Column sums, 1 x cols; the first element of each column goes through the checked access.
template <class M>
M sumc_of(const M& A) {
  M R(1, A.cols);
  for (int j = 1; j <= A.cols; ++j) {
    elem_of<M> s = A(1, j);
    for (int i = 2; i <= A.rows; ++i) s = s + A(i, j);
    R(1, j) = s;
  }
  return R;
}

template <class M>
M sumr_of(const M& A) {
  M R(A.rows, 1);
  for (int i = 1; i <= A.rows; ++i) {
    elem_of<M> s = A(i, 1);
    for (int j = 2; j <= A.cols; ++j) s = s + A(i, j);
    R(i, 1) = s;
  }
  return R;
}

template <class M>
int is1x1_of(const M& A) { return A.rows == A.cols && A.rows == 1; }
template <class M>
int same_shape_of(const M& A, const M& B) { return A.rows == B.rows && A.cols == B.cols; }
template <class M>
int isrow_of(const M& A) { return A.rows == 1 && A.cols >= 1; }
template <class M>
int iscol_of(const M& A) { return A.cols == 1 && A.rows >= 1; }
template <class M>
int isvector_of(const M& A) { return isrow_of(A) || iscol_of(A); }

// --- comparisons, find, maps ---

// R(i, j) = f(A(i, j), B(i, j)) in A's shape, 1.0 / 0.0.
template <class M, class F>
DM zip_of(F f, const M& A, const M& B) {
  DM R(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j) R(i, j) = f(A(i, j), B(i, j)) ? 1.0 : 0.0;
  return R;
}

// A 1 x 1 operand is expanded to the other's shape.
template <class M, class F>
DM compare_of(F f, const char* op, const M& A, const M& B) {
  if (A.rows == B.rows && A.cols == B.cols) return zip_of(f, A, B);
  if (A.n == 1 && B.n > 1) return zip_of(f, filled<M>(B.rows, B.cols, A(1)), B);
  if (A.n > 1 && B.n == 1) return zip_of(f, A, filled<M>(A.rows, A.cols, B(1)));
  matrix_fatal("Must be same shape matrices.", op);
}

// 1-based linear positions of the nonzero elements: a row for a row matrix, else a column.
template <class M>
DM find_of(const M& A) {
  uint32_t count = 0;
  for (uint32_t k = 0; k < A.n; ++k)
    if (nonzero(A.blk->data[k])) ++count;
  DM R;
  if (count == 0) return R;
  if (A.rows == 1 && A.cols >= 1)
    R.redim(1, static_cast<int>(count), false);
  else
    R.redim(static_cast<int>(count), 1, false);
  uint32_t m = 0;
  for (uint32_t k = 0; k < A.n; ++k)
    if (nonzero(A.blk->data[k])) R.blk->data[m++] = static_cast<double>(k + 1);
  return R;
}

// R(i, j) = f(A(i, j)), R of type Out in A's shape.
template <class Out, class M, class F>
Out map_of(F f, const M& A) {
  Out R(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j) R(i, j) = f(A(i, j));
  return R;
}

template <class M, class F>
DM map_ref_of(F f, const M& A) {
  DM R(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j) R(i, j) = f(&A(i, j));
  return R;
}

// --- concatenation ---

// Sum of two dimensions without int overflow; anything past 32 bits cannot be held.
template <class M>
int add_dims(int a, int b) {
  int64_t s = static_cast<int64_t>(a) + b;
  if (s > INT32_MAX) matrix_fatal("out of memory", twin_names<M>::block);
  return static_cast<int>(s);
}

template <class T>
void copy_elems(T* to, const T* from, int64_t count) {
  if (count > 0) std::memcpy(static_cast<void*>(to), from, sizeof(T) * count);
}

// An empty operand makes the result share the other one.
template <class M>
M hconcat_of(const M& A, const M& B) {
  if (A.n == 0) return B;
  if (B.n == 0) return A;
  if (A.rows != B.rows) matrix_fatal("Must be same number of rows", "Horizontal concat");
  M R(A.rows, add_dims<M>(A.cols, B.cols));
  copy_elems(R.blk->data, A.blk->data, A.n);
  copy_elems(R.blk->data + A.n, B.blk->data, B.n);
  return R;
}

template <class M>
M vconcat_of(const M& A, const M& B) {
  if (A.n == 0) return B;
  if (B.n == 0) return A;
  if (A.cols != B.cols) matrix_fatal("Must be same number of columns", "Vertical concat");
  M R(add_dims<M>(A.rows, B.rows), A.cols);
  elem_of<M>* r = R.blk->data;
  for (int64_t j = 0; j < A.cols; ++j) {
    copy_elems(r, A.blk->data + j * A.rows, A.rows);
    r += A.rows;
    copy_elems(r, B.blk->data + j * B.rows, B.rows);
    r += B.rows;
  }
  return R;
}

template <class M>
void append_columns_of(M& self, const M& B) {
  if (B.n == 0) return;
  if (self.n == 0) {
    self = B;
    return;
  }
  if (self.rows != B.rows) matrix_fatal("Must be same number of rows", "Horizontal concat");
  // B may be this matrix itself: hold its old block and size across the resize.
  M src(B);
  uint32_t old_n = self.n;
  self.redim(self.rows, add_dims<M>(self.cols, src.cols), true);
  copy_elems(self.blk->data + old_n, src.blk->data, src.n);
}

template <class M>
void append_rows_of(M& self, const M& B) {
  if (B.n == 0) return;
  if (self.n == 0) {
    self = B;
    return;
  }
  if (self.cols != B.cols) matrix_fatal("Must be same number of columns", "Vertical concat");
  M src(B);
  const int64_t old_rows = self.rows, b_rows = src.rows;
  self.redim(add_dims<M>(self.rows, src.rows), self.cols, true);
  // Rebuild the columns from the back, so that no old element is overwritten before it
  // has moved: column j ends up at (j-1)*rows, at or behind its old place.
  elem_of<M>* d = self.blk->data;
  const elem_of<M>* b = src.blk->data;
  int64_t w = static_cast<int64_t>(self.n);
  for (int64_t j = self.cols - 1; j >= 0; --j) {
    for (int64_t i = b_rows - 1; i >= 0; --i) d[--w] = b[j * b_rows + i];
    for (int64_t i = old_rows - 1; i >= 0; --i) d[--w] = d[j * old_rows + i];
  }
}
