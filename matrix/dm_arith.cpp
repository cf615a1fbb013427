// Sums, differences, products and quotients of DM.
#include "matrix/dm_ops.h"
#include "matrix/elementwise.h"

int shape_class(const DM& A, const DM& B) { return shape_class_of(A, B); }

DM operator+(const DM& A, const DM& B) {
  return elementwise(A, B, "+", [](double a, double b) { return a + b; });
}

DM operator-(const DM& A, const DM& B) {
  return elementwise(A, B, "-", [](double a, double b) { return a - b; });
}

DM ediv(const DM& A, const DM& B) {
  return elementwise(A, B, "/", [](double a, double b) { return a / b; });
}

DM emul(const DM& A, const DM& B) {
  // Walking A.n elements of a B of another shape would read outside B.
  if (A.rows != B.rows || A.cols != B.cols) matrix_fatal("Must be same shape matrices.", "emul");
  DM R(A.rows, A.cols);
  for (uint32_t k = 0; k < A.n; ++k) R.blk->data[k] = A.blk->data[k] * B.blk->data[k];
  return R;
}

DM scale(double s, const DM& B) {
  DM R(B.rows, B.cols);
  for (uint32_t k = 0; k < B.n; ++k) R.blk->data[k] = s * B.blk->data[k];
  return R;
}

DM matmul(const DM& A, const DM& B) {
  if (A.cols != B.rows) matrix_fatal("Matrices do not conform", "*");
  DM R(A.rows, B.cols);
  const double* a = A.blk->data;
  const double* b = B.blk->data;
  double* r = R.blk->data;
  const int64_t ar = A.rows, br = B.rows;
  for (int64_t j = 0; j < B.cols; ++j)
    for (int64_t i = 0; i < ar; ++i) {
      double s = 0.0;
      for (int64_t k = 0; k < br; ++k) s += a[k * ar + i] * b[j * br + k];
      r[j * ar + i] = s;
    }
  return R;
}

DM operator*(const DM& A, const DM& B) {
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

DM DM::operator-() const {
  DM R(rows, cols);
  for (uint32_t k = 0; k < n; ++k) R.blk->data[k] = -blk->data[k];
  return R;
}

DM DM::transpose() const {
  DM R(cols, rows);
  const int64_t r = rows, c = cols;
  for (int64_t j = 0; j < c; ++j)
    for (int64_t i = 0; i < r; ++i) R.blk->data[i * c + j] = blk->data[j * r + i];
  return R;
}

DM DM::operator!() const {
  DM R(rows, cols);
  for (uint32_t k = 0; k < n; ++k) R.blk->data[k] = blk->data[k] == 0.0 ? 1.0 : 0.0;
  return R;
}
