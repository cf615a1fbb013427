// Sums, differences, products and quotients of DM.
#include "matrix/dm_ops.h"
#include "matrix/twin_ops.h"

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

DM emul(const DM& A, const DM& B) { return emul_of(A, B); }
DM scale(double s, const DM& B) { return scale_of(s, B); }
DM matmul(const DM& A, const DM& B) { return matmul_of(A, B); }
DM operator*(const DM& A, const DM& B) { return product_of(A, B); }
DM DM::operator-() const { return negated(*this); }
DM DM::transpose() const { return transposed(*this); }
DM DM::operator!() const { return not_of(*this); }
