// Gauss-Jordan elimination on a private copy, straight on the column-major storage.
#include "matrix/rref.h"

#include <cmath>

DM rref(const DM& A) {
  DM R;
  R = A;
  const int r = R.rows, c = R.cols;
  if (R.n == 0) return R;
  double* a = R.blk->data;
  auto at = [a, r](int i, int j) -> double& { return a[static_cast<size_t>(j) * r + i]; };

  double norm = 0.0;
  for (int j = 0; j < c; ++j) {
    double s = 0.0;
    for (int i = 0; i < r; ++i) s += std::fabs(at(i, j));
    if (s > norm) norm = s;
  }
  const double tol = (r > c ? r : c) * 2.22e-16 * norm;

  int i = 0, j = 0;
  while (i < r && j < c) {
    double best = 0.0;
    int k = i;
    for (int kk = i; kk < r; ++kk) {
      if (std::fabs(at(kk, j)) > best) {
        best = std::fabs(at(kk, j));
        k = kk;
      }
    }
    if (best <= tol) {
      for (int kk = i; kk < r; ++kk) at(kk, j) = 0.0;
      ++j;
      continue;
    }
    for (int t = j; t < c; ++t) {
      double v = at(i, t);
      at(i, t) = at(k, t);
      at(k, t) = v;
    }
    const double pivot = at(i, j);
    for (int t = j; t < c; ++t) at(i, t) = at(i, t) / pivot;
    for (int kk = 0; kk < r; ++kk) {
      if (kk == i) continue;
      const double f = at(kk, j);
      for (int t = j; t < c; ++t) at(kk, t) = at(kk, t) - f * at(i, t);
    }
    ++i;
    ++j;
  }
  return R;
}
