// The matrix divisions of DM and CM: scalar cases scale, the others go through one LU.
#include "matrix/cm_ops.h"
#include "matrix/dm_ops.h"
#include "matrix/lu.h"

namespace {

// The real and complex divisions follow one rule; M is DM or CM.
template <class M>
M right_divide(const M& A, const M& B) {
  switch (shape_class(A, B)) {
    case 1:
      if (!is1x1(B)) matrix_fatal("A must not be scalar", "operation A / B");
      return scale(1.0 / B(1), A);
    case 2:
      return scale(1.0 / B(1), A);
    case 0:
    case 3:
    case 4:
    case 5:
    case 6:
      return Dback_div(B.transpose(), A.transpose()).transpose();
    default:
      matrix_fatal("Internal case error", "operator /");
  }
}

template <class M>
M left_divide(const M& A, const M& B) {
  switch (shape_class(A, B)) {
    case 1:
      return scale(1.0 / A(1), B);
    case 2:
      matrix_fatal("B must not be scalar", "operation A % B");
    case 0:
    case 3:
    case 4:
    case 5:
    case 6:
      return Dback_div(A, B);
    default:
      matrix_fatal("Internal case error", "operator %");
  }
}

}  // namespace

DM operator/(const DM& A, const DM& B) { return right_divide(A, B); }

DM operator%(const DM& A, const DM& B) { return left_divide(A, B); }

CM operator/(const CM& A, const CM& B) { return right_divide(A, B); }

CM operator%(const CM& A, const CM& B) { return left_divide(A, B); }
