// Element-wise comparisons and logical operators of DM, and find.
#include <cmath>

#include "matrix/dm_ops.h"
#include "matrix/twin_ops.h"

// && and || truncate toward zero without converting to int, which is undefined for NaN and
// for values beyond 32 bits; the truth of the truncated value is the same.
DM operator==(const DM& A, const DM& B) {
  return compare_of([](double a, double c) { return a == c; }, "==", A, B);
}

DM operator!=(const DM& A, const DM& B) {
  return compare_of([](double a, double c) { return !(a == c); }, "!=", A, B);
}

DM operator<(const DM& A, const DM& B) {
  return compare_of([](double a, double c) { return a < c; }, "<", A, B);
}

DM operator>(const DM& A, const DM& B) {
  return compare_of([](double a, double c) { return a > c; }, ">", A, B);
}

DM operator<=(const DM& A, const DM& B) {
  return compare_of([](double a, double c) { return a <= c; }, "<=", A, B);
}

DM operator>=(const DM& A, const DM& B) {
  return compare_of([](double a, double c) { return a >= c; }, ">=", A, B);
}

DM operator&&(const DM& A, const DM& B) {
  return compare_of([](double a, double c) { return std::trunc(a) != 0.0 && std::trunc(c) != 0.0; },
                    "&&", A, B);
}

DM operator||(const DM& A, const DM& B) {
  return compare_of([](double a, double c) { return std::trunc(a) != 0.0 || std::trunc(c) != 0.0; },
                    "||", A, B);
}

DM find(const DM& A) { return find_of(A); }
