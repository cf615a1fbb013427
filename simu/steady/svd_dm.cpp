// Numerical rank and least-squares solve of DM matrices through svdcmp.
#include <cmath>

#include "simu/steady/svd.h"

namespace {

// a[1..m][1..n], w[1..n], v[1..n][1..n], freed together (also when svdcmp throws).
struct svd_arrays {
  int m, n;
  double** a;
  double* w;
  double** v;
  svd_arrays(const DM& A) : m(A.rows), n(A.cols), a(matrix(1, m, 1, n)), w(vector(1, n)), v(matrix(1, n, 1, n)) {
    for (int i = 1; i <= m; ++i)
      for (int j = 1; j <= n; ++j) a[i][j] = A.blk->data[static_cast<size_t>(j - 1) * m + (i - 1)];
  }
  ~svd_arrays() {
    free_matrix(v, 1, n, 1, n);
    free_vector(w, 1, n);
    free_matrix(a, 1, m, 1, n);
  }
  svd_arrays(const svd_arrays&) = delete;
  svd_arrays& operator=(const svd_arrays&) = delete;
};

}  // namespace

int svd_rank(const DM& A) {
  if (A.rows == 0 || A.cols == 0) return 0;
  double amax = 0.0;
  for (uint32_t k = 0; k < A.n; ++k) amax = std::fmax(amax, std::fabs(A.blk->data[k]));
  svd_arrays s(A);
  svdcmp(s.a, s.m, s.n, s.w, s.v);
  const double tol = (s.m > s.n ? s.m : s.n) * amax * 2e-16;
  int rank = 0;
  for (int j = 1; j <= s.n; ++j)
    if (s.w[j] > tol) ++rank;
  return rank;
}

int svd_least_squares(const DM& A, const DM& b, DM& x) {
  if (b.rows != A.rows || b.cols != 1) return 1;
  const int n = A.cols;
  DM r(n, 1);
  if (n > 0 && A.rows > 0) {
    svd_arrays s(A);
    svdcmp(s.a, s.m, s.n, s.w, s.v);
    double wmax = 0.0;
    for (int j = 1; j <= n; ++j)
      if (s.w[j] > wmax) wmax = s.w[j];
    const double floor = 1e-6 * wmax;
    for (int j = 1; j <= n; ++j)
      if (s.w[j] < floor) s.w[j] = 0.0;
    double* bb = vector(1, s.m);
    double* xx = vector(1, n);
    for (int i = 1; i <= s.m; ++i) bb[i] = b.blk->data[i - 1];
    svd_backsubstitute(s.a, s.w, s.v, s.m, n, bb, xx);
    for (int j = 1; j <= n; ++j) r.blk->data[j - 1] = xx[j];
    free_vector(xx, 1, n);
    free_vector(bb, 1, s.m);
  } else {
    for (int j = 0; j < n; ++j) r.blk->data[j] = 0.0;
  }
  x = r;
  return 0;
}
