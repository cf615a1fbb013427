// Sums, extrema, any/all and next_above of DM.
#include "matrix/dm_ops.h"
#include "matrix/twin_ops.h"

namespace {

// Running extremum: among equal values the last one stays, and a NaN replaces the
// running value.
inline double keep_max(double run, double x) { return run > x ? run : x; }
inline double keep_min(double run, double x) { return x > run ? run : x; }

double extremum(const DM& A, double (*keep)(double, double)) {
  double run = A(1);
  for (uint32_t k = 1; k <= A.n; ++k) run = keep(run, A(k));
  return run;
}

DM column_extrema(const DM& A, double (*keep)(double, double)) {
  DM R(1, A.cols);
  for (int j = 1; j <= A.cols; ++j) {
    double run = A(1, j);
    for (int i = 1; i <= A.rows; ++i) run = keep(run, A(i, j));
    R(1, j) = run;
  }
  return R;
}

DM row_extrema(const DM& A, double (*keep)(double, double)) {
  DM R(A.rows, 1);
  for (int i = 1; i <= A.rows; ++i) {
    double run = A(i, 1);
    for (int j = 1; j <= A.cols; ++j) run = keep(run, A(i, j));
    R(i, 1) = run;
  }
  return R;
}

}  // namespace

double sum(const DM& A) { return sum_of(A); }
DM sumc(const DM& A) { return sumc_of(A); }
DM sumr(const DM& A) { return sumr_of(A); }

double max(const DM& A) { return extremum(A, keep_max); }
double min(const DM& A) { return extremum(A, keep_min); }
DM maxc(const DM& A) { return column_extrema(A, keep_max); }
DM minc(const DM& A) { return column_extrema(A, keep_min); }
DM maxr(const DM& A) { return row_extrema(A, keep_max); }
DM minr(const DM& A) { return row_extrema(A, keep_min); }

DM any(const DM& A) {
  if (A.rows != 1) return maxc(abs(A)) > DM(0.0);
  return maxr(abs(A)) > DM(0.0);
}

DM all(const DM& A) {
  if (A.rows != 1) return minc(abs(A)) > DM(0.0);
  return minr(abs(A)) > DM(0.0);
}

double next_above(const DM& A, double x) {
  double m = max(A);
  for (uint32_t k = 0; k < A.n; ++k) {
    double e = A.blk->data[k];
    if (e > x && e < m) m = e;
  }
  return m == x ? -1.0 : m;
}
