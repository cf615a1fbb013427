// One-sided Jacobi singular value decomposition.
//
// For A (m >= n) rotations J_pq on the right make every pair of columns orthogonal:
// A V = [b_1 .. b_n] with b_p . b_q = 0, so w_j = |b_j|, U = b_j / w_j, A = U diag(w) V'.
// Each rotation solves the 2 x 2 symmetric eigenproblem of the pair's Gram matrix
// [alpha gamma; gamma beta] with the smaller rotation angle, which converges
// quadratically once the off-diagonal mass is small.
#include <cmath>
#include <limits>

#include "simu/steady/svd.h"

namespace {

constexpr double eps = std::numeric_limits<double>::epsilon();
constexpr int max_sweeps = 30;

double column_dot(double** a, int m, int p, int q) {
  double s = 0.0;
  for (int i = 1; i <= m; ++i) s += a[i][p] * a[i][q];
  return s;
}

void rotate_columns(double** a, int rows, int p, int q, double c, double s) {
  for (int i = 1; i <= rows; ++i) {
    const double ap = a[i][p], aq = a[i][q];
    a[i][p] = c * ap - s * aq;
    a[i][q] = s * ap + c * aq;
  }
}

// Replaces the columns of q (rows x cols) not marked in keep by unit vectors orthogonal
// to every other column, taking e_1, e_2, ... in turn (Gram-Schmidt applied twice).
// Needs cols <= rows.
void complete_basis(double** q, int rows, int cols, const bool* keep) {
  bool* good = new bool[static_cast<size_t>(cols) + 1];
  for (int j = 1; j <= cols; ++j) good[j] = keep[j];
  double* e = new double[static_cast<size_t>(rows) + 1];
  int next = 1;
  for (int j = 1; j <= cols; ++j) {
    if (good[j]) continue;
    while (next <= rows) {
      for (int i = 1; i <= rows; ++i) e[i] = (i == next) ? 1.0 : 0.0;
      ++next;
      for (int pass = 0; pass < 2; ++pass)
        for (int k = 1; k <= cols; ++k) {
          if (!good[k]) continue;
          double d = 0.0;
          for (int i = 1; i <= rows; ++i) d += q[i][k] * e[i];
          for (int i = 1; i <= rows; ++i) e[i] -= d * q[i][k];
        }
      double nrm = 0.0;
      for (int i = 1; i <= rows; ++i) nrm += e[i] * e[i];
      nrm = std::sqrt(nrm);
      // Some unit vector keeps at least 1/sqrt(rows) of its length; 0.5/sqrt(rows) leaves
      // room for rounding.
      if (nrm > 0.5 / std::sqrt(static_cast<double>(rows))) {
        for (int i = 1; i <= rows; ++i) q[i][j] = e[i] / nrm;
        good[j] = true;
        break;
      }
    }
  }
  delete[] e;
  delete[] good;
}

// A (m >= n) in a; U to a, w, V to v.
void jacobi_tall(double** a, int m, int n, double* w, double** v) {
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) v[i][j] = (i == j) ? 1.0 : 0.0;
  double scale = 0.0;
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= n; ++j) {
      if (!std::isfinite(a[i][j])) {
        // Nothing to decompose: the values say so rather than the sweeps running out.
        for (int k = 1; k <= n; ++k) w[k] = std::numeric_limits<double>::quiet_NaN();
        return;
      }
      scale = std::fmax(scale, std::fabs(a[i][j]));
    }
  bool* keep = new bool[static_cast<size_t>(n) + 1];
  if (scale == 0.0) {
    // A zero matrix: w = 0, U any orthonormal columns.
    for (int j = 1; j <= n; ++j) {
      w[j] = 0.0;
      keep[j] = false;
    }
    complete_basis(a, m, n, keep);
    delete[] keep;
    return;
  }
  // Work on A / max|A|: squared column norms neither overflow nor underflow early.
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= n; ++j) a[i][j] /= scale;
  const double tol = eps * m;
  bool converged = (n < 2);
  for (int sweep = 1; sweep <= max_sweeps && !converged; ++sweep) {
    bool rotated = false;
    for (int p = 1; p < n; ++p)
      for (int q = p + 1; q <= n; ++q) {
        const double alpha = column_dot(a, m, p, p);
        const double beta = column_dot(a, m, q, q);
        const double gamma = column_dot(a, m, p, q);
        const double bound = std::sqrt(alpha) * std::sqrt(beta);
        if (gamma == 0.0 || bound == 0.0 || std::fabs(gamma) <= tol * bound) continue;
        rotated = true;
        const double zeta = (beta - alpha) / (2.0 * gamma);
        const double t = std::copysign(1.0, zeta) / (std::fabs(zeta) + std::hypot(1.0, zeta));
        const double c = 1.0 / std::sqrt(1.0 + t * t);
        const double s = c * t;
        rotate_columns(a, m, p, q, c, s);
        rotate_columns(v, n, p, q, c, s);
      }
    converged = !rotated;
  }
  if (!converged) {
    delete[] keep;
    nr_error("no convergence in 30 svdcmp iterations");
  }
  double wmax = 0.0;
  for (int j = 1; j <= n; ++j) {
    w[j] = std::sqrt(column_dot(a, m, j, j));
    wmax = std::fmax(wmax, w[j]);
  }
  // Columns of numerically zero singular values carry only rounding noise: their U
  // columns are rebuilt orthonormal instead of being normalised noise.
  const double negligible = eps * (m > n ? m : n) * wmax;
  for (int j = 1; j <= n; ++j) {
    keep[j] = w[j] > negligible;
    if (keep[j])
      for (int i = 1; i <= m; ++i) a[i][j] /= w[j];
    w[j] *= scale;
  }
  complete_basis(a, m, n, keep);
  delete[] keep;
}

}  // namespace

void svdcmp(double** a, int m, int n, double* w, double** v) {
  if (n <= 0) return;
  if (m >= n) {
    jacobi_tall(a, m, n, w, v);
    return;
  }
  // Wide A: A' = U1 diag(w1) V1' with U1 n x m, so A = V1 diag(w1) U1'.
  double** t = matrix(1, n, 1, m);
  double** v1 = matrix(1, m, 1, m);
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= n; ++j) t[j][i] = a[i][j];
  try {
    jacobi_tall(t, n, m, w, v1);
  } catch (...) {
    free_matrix(v1, 1, m, 1, m);
    free_matrix(t, 1, n, 1, m);
    throw;
  }
  for (int j = m + 1; j <= n; ++j) w[j] = 0.0;
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= n; ++j) a[i][j] = (j <= m) ? v1[i][j] : 0.0;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) v[i][j] = (j <= m) ? t[i][j] : 0.0;
  bool* keep = new bool[static_cast<size_t>(n) + 1];
  for (int j = 1; j <= n; ++j) keep[j] = j <= m;
  complete_basis(v, n, n, keep);
  delete[] keep;
  free_matrix(v1, 1, m, 1, m);
  free_matrix(t, 1, n, 1, m);
}

void svd_backsubstitute(double** u, const double* w, double** v, int m, int n, const double* b, double* x) {
  double* tmp = vector(1, n);
  for (int j = 1; j <= n; ++j) {
    double s = 0.0;
    if (w[j] != 0.0) {
      for (int i = 1; i <= m; ++i) s += u[i][j] * b[i];
      s /= w[j];
    }
    tmp[j] = s;
  }
  for (int j = 1; j <= n; ++j) {
    double s = 0.0;
    for (int jj = 1; jj <= n; ++jj) s += v[j][jj] * tmp[jj];
    x[j] = s;
  }
  free_vector(tmp, 1, n);
}
