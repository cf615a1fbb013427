// Sums, differences, products and quotients of CM; negation, transpose, real and imag.
#include "matrix/cm_ops.h"
#include "matrix/elementwise.h"

int shape_class(const CM& A, const CM& B) { return shape_class_of(A, B); }

CM operator+(const CM& A, const CM& B) {
  return elementwise(A, B, "+", [](const complex& a, const complex& b) { return a + b; });
}

CM operator-(const CM& A, const CM& B) {
  return elementwise(A, B, "-", [](const complex& a, const complex& b) { return a - b; });
}

CM ediv(const CM& A, const CM& B) {
  return elementwise(A, B, "/", [](const complex& a, const complex& b) { return a / b; });
}

CM emul(const CM& A, const CM& B) {
  if (A.rows != B.rows || A.cols != B.cols) matrix_fatal("Must be same shape matrices.", "emul");
  CM R(A.rows, A.cols);
  for (uint32_t k = 0; k < A.n; ++k) R.blk->data[k] = A.blk->data[k] * B.blk->data[k];
  return R;
}

CM scale(const complex& s, const CM& B) {
  CM R(B.rows, B.cols);
  for (uint32_t k = 0; k < B.n; ++k) R.blk->data[k] = s * B.blk->data[k];
  return R;
}

CM matmul(const CM& A, const CM& B) {
  if (A.cols != B.rows) matrix_fatal("Matrices do not conform", "*");
  CM R(A.rows, B.cols);
  const complex* a = A.blk->data;
  const complex* b = B.blk->data;
  complex* r = R.blk->data;
  const int64_t ar = A.rows, br = B.rows;
  for (int64_t j = 0; j < B.cols; ++j)
    for (int64_t i = 0; i < ar; ++i) {
      complex s(0.0, 0.0);
      for (int64_t k = 0; k < br; ++k) s = s + a[k * ar + i] * b[j * br + k];
      r[j * ar + i] = s;
    }
  return R;
}

CM operator*(const CM& A, const CM& B) {
  switch (shape_class(A, B)) {
    case 0:
      matrix_fatal("Matrices do not conform", "*");
    case 1:
      return scale(A.blk->data[0], B);
    case 2:
      return scale(B.blk->data[0], A);
    case 3:
    case 4:
    case 5:
    case 6:
      if (A.cols != B.rows) matrix_fatal("Matrices do not conform", "*");
      return matmul(A, B);
    default:
      matrix_fatal("Internal case error", "operator *");
  }
}

CM CM::operator-() const {
  CM R(rows, cols);
  for (uint32_t k = 0; k < n; ++k) R.blk->data[k] = -blk->data[k];
  return R;
}

CM CM::transpose() const {
  CM R(cols, rows);
  const int64_t r = rows, c = cols;
  for (int64_t j = 0; j < c; ++j)
    for (int64_t i = 0; i < r; ++i) R.blk->data[i * c + j] = blk->data[j * r + i];
  return R;
}

DM CM::operator!() const {
  DM R(rows, cols);
  for (uint32_t k = 0; k < n; ++k) {
    const complex& z = blk->data[k];
    R.blk->data[k] = (z.re == 0.0 && z.im == 0.0) ? 1.0 : 0.0;
  }
  return R;
}

DM CM::real() const {
  DM R(rows, cols);
  for (uint32_t k = 0; k < n; ++k) R.blk->data[k] = blk->data[k].re;
  return R;
}

DM CM::imag() const {
  DM R(rows, cols);
  for (uint32_t k = 0; k < n; ++k) R.blk->data[k] = blk->data[k].im;
  return R;
}
