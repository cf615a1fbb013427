// Element-wise comparisons and logical operators of CM, and find.
#include "matrix/cm_ops.h"

namespace {

typedef double (*callback)(const complex&, const complex&);

DM zip(callback f, const CM& A, const CM& B) {
  DM R(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j) R(i, j) = f(A(i, j), B(i, j));
  return R;
}

DM broadcast_apply(callback f, const char* op, const CM& A, const CM& B) {
  if (A.rows == B.rows && A.cols == B.cols) return zip(f, A, B);
  if (A.n == 1 && B.n > 1) {
    const complex a = A(1);
    return zip(f, CM(B.rows, B.cols, a.re, a.im), B);
  }
  if (A.n > 1 && B.n == 1) {
    const complex b = B(1);
    return zip(f, A, CM(A.rows, A.cols, b.re, b.im));
  }
  matrix_fatal("Must be same shape matrices.", op);
}

bool truth(const complex& z) { return z.re != 0.0 || z.im != 0.0; }
double b(bool v) { return v ? 1.0 : 0.0; }

}  // namespace

DM operator==(const CM& A, const CM& B) {
  return broadcast_apply([](const complex& x, const complex& y) { return b(x.re == y.re && x.im == y.im); },
                         "==", A, B);
}

DM operator!=(const CM& A, const CM& B) {
  return broadcast_apply(
      [](const complex& x, const complex& y) { return b(!(x.re == y.re && x.im == y.im)); }, "!=", A, B);
}

DM operator&&(const CM& A, const CM& B) {
  return broadcast_apply([](const complex& x, const complex& y) { return b(truth(x) && truth(y)); },
                         "&&", A, B);
}

DM operator||(const CM& A, const CM& B) {
  return broadcast_apply([](const complex& x, const complex& y) { return b(truth(x) || truth(y)); },
                         "||", A, B);
}

DM find(const CM& A) {
  uint32_t count = 0;
  for (uint32_t k = 0; k < A.n; ++k)
    if (truth(A.blk->data[k])) ++count;
  DM R;
  if (count == 0) return R;
  if (A.rows == 1 && A.cols >= 1)
    R.redim(1, static_cast<int>(count), false);
  else
    R.redim(static_cast<int>(count), 1, false);
  uint32_t m = 0;
  for (uint32_t k = 0; k < A.n; ++k)
    if (truth(A.blk->data[k])) R.blk->data[m++] = static_cast<double>(k + 1);
  return R;
}
