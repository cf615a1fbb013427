// Element-wise comparisons and logical operators of CM, and find. A value is true when
// re != 0 or im != 0.
#include "matrix/cm_ops.h"
#include "matrix/twin_ops.h"

namespace {

bool same(const complex& x, const complex& y) { return x.re == y.re && x.im == y.im; }

}  // namespace

DM operator==(const CM& A, const CM& B) {
  return compare_of([](const complex& x, const complex& y) { return same(x, y); }, "==", A, B);
}

DM operator!=(const CM& A, const CM& B) {
  return compare_of([](const complex& x, const complex& y) { return !same(x, y); }, "!=", A, B);
}

DM operator&&(const CM& A, const CM& B) {
  return compare_of([](const complex& x, const complex& y) { return nonzero(x) && nonzero(y); }, "&&", A,
                    B);
}

DM operator||(const CM& A, const CM& B) {
  return compare_of([](const complex& x, const complex& y) { return nonzero(x) || nonzero(y); }, "||", A,
                    B);
}

DM find(const CM& A) { return find_of(A); }
