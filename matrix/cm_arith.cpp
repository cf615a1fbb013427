// Sums, differences, products and quotients of CM; negation, transpose, real and imag.
#include "matrix/cm_ops.h"
#include "matrix/twin_ops.h"

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

CM emul(const CM& A, const CM& B) { return emul_of(A, B); }
CM scale(const complex& s, const CM& B) { return scale_of(s, B); }
CM matmul(const CM& A, const CM& B) { return matmul_of(A, B); }
CM operator*(const CM& A, const CM& B) { return product_of(A, B); }
CM CM::operator-() const { return negated(*this); }
CM CM::transpose() const { return transposed(*this); }
DM CM::operator!() const { return not_of(*this); }

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
