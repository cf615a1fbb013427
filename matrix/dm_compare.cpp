// Element-wise comparisons and logical operators of DM, and find.
#include <cmath>

#include "matrix/dm_ops.h"

namespace {

typedef double (*callback)(double, double);

DM zip(callback f, const DM& A, const DM& B) {
  DM R(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j) R(i, j) = f(A(i, j), B(i, j));
  return R;
}

// Truncation toward zero without converting to int, which is undefined for NaN and for
// values beyond 32 bits; the truth of the truncated value is the same.
DM zip_int(callback f, const DM& A, const DM& B) {
  DM R(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j) R(i, j) = f(std::trunc(A(i, j)), std::trunc(B(i, j)));
  return R;
}

// A 1 x 1 operand is expanded to the other's shape.
DM broadcast_apply(callback f, DM (*driver)(callback, const DM&, const DM&), const char* op,
                   const DM& A, const DM& B) {
  if (A.rows == B.rows && A.cols == B.cols) return driver(f, A, B);
  if (A.n == 1 && B.n > 1) return driver(f, DM(B.rows, B.cols, A(1)), B);
  if (A.n > 1 && B.n == 1) return driver(f, A, DM(A.rows, A.cols, B(1)));
  matrix_fatal("Must be same shape matrices.", op);
}

double b(bool v) { return v ? 1.0 : 0.0; }

}  // namespace

DM operator==(const DM& A, const DM& B) {
  return broadcast_apply([](double a, double c) { return b(a == c); }, zip, "==", A, B);
}

DM operator!=(const DM& A, const DM& B) {
  return broadcast_apply([](double a, double c) { return b(!(a == c)); }, zip, "!=", A, B);
}

DM operator<(const DM& A, const DM& B) {
  return broadcast_apply([](double a, double c) { return b(a < c); }, zip, "<", A, B);
}

DM operator>(const DM& A, const DM& B) {
  return broadcast_apply([](double a, double c) { return b(a > c); }, zip, ">", A, B);
}

DM operator<=(const DM& A, const DM& B) {
  return broadcast_apply([](double a, double c) { return b(a <= c); }, zip, "<=", A, B);
}

DM operator>=(const DM& A, const DM& B) {
  return broadcast_apply([](double a, double c) { return b(a >= c); }, zip, ">=", A, B);
}

DM operator&&(const DM& A, const DM& B) {
  return broadcast_apply([](double a, double c) { return b(a != 0.0 && c != 0.0); }, zip_int,
                         "&&", A, B);
}

DM operator||(const DM& A, const DM& B) {
  return broadcast_apply([](double a, double c) { return b(a != 0.0 || c != 0.0); }, zip_int,
                         "||", A, B);
}

DM find(const DM& A) {
  uint32_t count = 0;
  for (uint32_t k = 0; k < A.n; ++k)
    if (A.blk->data[k] != 0.0) ++count;
  DM R;
  if (count == 0) return R;
  if (A.rows == 1 && A.cols >= 1)
    R.redim(1, static_cast<int>(count), false);
  else
    R.redim(static_cast<int>(count), 1, false);
  uint32_t m = 0;
  for (uint32_t k = 0; k < A.n; ++k)
    if (A.blk->data[k] != 0.0) R.blk->data[m++] = static_cast<double>(k + 1);
  return R;
}
