// Balancing (radix 2) and its back-transformation, on row-major arrays.
#include <cmath>

#include "matrix/eig_eispack.h"
#include "matrix/dm.h"

namespace {

struct Bal {
  int nm, n;
  double* a;
  double* scale;
  int k, l;
  double& at(int i, int j) { return a[i * nm + j]; }

  // Moves row/column j to position m; the balanced block is rows/columns k..l.
  void exchange(int m, int j) {
    scale[m] = j;
    if (j == m) return;
    for (int i = 0; i <= l; ++i) {
      double f = at(i, j);
      at(i, j) = at(i, m);
      at(i, m) = f;
    }
    for (int i = k; i < n; ++i) {
      double f = at(j, i);
      at(j, i) = at(m, i);
      at(m, i) = f;
    }
  }
};

}  // namespace

void balance(int nm, int n, double* a, int& low, int& igh, double* scale) {
  const double radix = 2.0;
  const double b2 = radix * radix;
  Bal b{nm, n, a, scale, 0, n - 1};
  int limit = 2 * n > 20 ? 2 * n : 20;
  if (n <= 0) {
    low = 0;
    igh = -1;
    return;
  }

  // Rows isolating an eigenvalue go to the bottom.
  for (;;) {
    int found = -1;
    for (int j = b.l; j >= 0; --j) {
      double r = 0.0;
      for (int i = 0; i <= b.l; ++i)
        if (i != j) r += std::fabs(b.at(j, i));
      if (r == 0.0) {
        found = j;
        break;
      }
    }
    if (found < 0) break;
    b.exchange(b.l, found);
    if (b.l == 0) {  // everything isolated: nothing left to scale
      low = b.k;
      igh = b.l;
      return;
    }
    b.l = b.l - 1;
  }

  // Columns isolating an eigenvalue go to the left.
  for (;;) {
    int found = -1;
    for (int j = b.k; j <= b.l; ++j) {
      double c = 0.0;
      for (int i = b.k; i <= b.l; ++i)
        if (i != j) c += std::fabs(b.at(i, j));
      if (c == 0.0) {
        found = j;
        break;
      }
    }
    if (found < 0) break;
    b.exchange(b.k, found);
    b.k = b.k + 1;
    if (b.k == b.l) break;  // a 1 x 1 block is balanced as it stands
  }

  const int k = b.k, l = b.l;
  for (int i = k; i <= l; ++i) scale[i] = 1.0;
  for (int sweep = 1;; ++sweep) {
    bool noconv = false;
    for (int j = k; j <= l; ++j) {
      double c = 0.0, r = 0.0;
      for (int i = k; i <= l; ++i) {
        if (i == j) continue;
        c += std::fabs(b.at(i, j));
        r += std::fabs(b.at(j, i));
      }
      if (c == 0.0 || r == 0.0) continue;  // underflow guard
      double g = r / radix;
      double f = 1.0;
      double s = c + r;
      while (c < g) {
        f = f * radix;
        c = c * b2;
      }
      g = r * radix;
      // Near the top of the double range the loop above can carry c to infinity, which
      // no division brings back: such a row is left unscaled.
      while (c >= g && std::isfinite(c)) {
        f = f / radix;
        c = c / b2;
      }
      if ((c + r) / f < 0.95 * s) {
        g = 1.0 / f;
        scale[j] = scale[j] * f;
        noconv = true;
        for (int i = k; i < n; ++i) b.at(j, i) = b.at(j, i) * g;
        for (int i = 0; i <= l; ++i) b.at(i, j) = b.at(i, j) * f;
      }
    }
    if (!noconv) break;
    if (sweep == limit + 1) {
      // The scaling reached is an exact similarity recorded in scale[], so the
      // decomposition stays consistent: report and go on with it.
      mat_printf(" balance iteration limit\n");
      break;
    }
  }
  low = k;
  igh = l;
}

void balbak(int nm, int n, int low, int igh, const double* scale, int m, double* z) {
  if (m == 0) return;
  if (igh != low) {
    for (int i = low; i <= igh; ++i) {
      double s = scale[i];
      for (int j = 0; j < m; ++j) z[i * nm + j] = z[i * nm + j] * s;
    }
  }
  for (int ii = 0; ii < n; ++ii) {
    int i = ii;
    if (i >= low && i <= igh) continue;
    if (i < low) i = low - ii - 1;
    int k = static_cast<int>(scale[i]);
    if (k == i) continue;
    for (int j = 0; j < m; ++j) {
      double s = z[i * nm + j];
      z[i * nm + j] = z[k * nm + j];
      z[k * nm + j] = s;
    }
  }
}
