// Real LU: factor, condition estimate, solve, determinant and inverse.
#include <cmath>

#include "matrix/lu_blas.h"
#include "matrix/lu_linpack.h"

namespace {
// Column-major element (i, j), 1-based.
inline double& at(double* a, int lda, int i, int j) { return a[(j - 1) * lda + (i - 1)]; }
inline const double& at(const double* a, int lda, int i, int j) { return a[(j - 1) * lda + (i - 1)]; }
inline int piv(const double* ipvt, int k) { return static_cast<int>(ipvt[k - 1]); }
inline double sign(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }
}  // namespace

void dgefa(double* a, int lda, int n, double* ipvt, int& info) {
  info = 0;
  if (n <= 0) return;
  for (int k = 1; k <= n - 1; ++k) {
    int l = idamax(n - k + 1, &at(a, lda, k, k)) + k - 1;
    ipvt[k - 1] = l;
    if (at(a, lda, l, k) == 0.0) {
      info = k;
      continue;
    }
    if (l != k) {
      double t = at(a, lda, l, k);
      at(a, lda, l, k) = at(a, lda, k, k);
      at(a, lda, k, k) = t;
    }
    double t = -1.0 / at(a, lda, k, k);
    dscal(n - k, t, &at(a, lda, k + 1, k));
    for (int j = k + 1; j <= n; ++j) {
      t = at(a, lda, l, j);
      if (l != k) {
        at(a, lda, l, j) = at(a, lda, k, j);
        at(a, lda, k, j) = t;
      }
      daxpy(n - k, t, &at(a, lda, k + 1, k), &at(a, lda, k + 1, j));
    }
  }
  ipvt[n - 1] = n;
  if (at(a, lda, n, n) == 0.0) info = n;
}

void dgeco(double* a, int lda, int n, double* ipvt, double& rcond, double* z) {
  rcond = 0.0;
  if (n <= 0) return;
  double anorm = 0.0;
  for (int j = 1; j <= n; ++j) anorm = std::fmax(anorm, dasum(n, &at(a, lda, 1, j)));
  int info = 0;
  dgefa(a, lda, n, ipvt, info);

  // Solve trans(U) w = e, choosing the signs of e to make w grow.
  double ek = 1.0;
  for (int j = 0; j < n; ++j) z[j] = 0.0;
  for (int k = 1; k <= n; ++k) {
    if (z[k - 1] != 0.0) ek = sign(ek, -z[k - 1]);
    if (std::fabs(ek - z[k - 1]) > std::fabs(at(a, lda, k, k))) {
      double s = std::fabs(at(a, lda, k, k)) / std::fabs(ek - z[k - 1]);
      dscal(n, s, z);
      ek = s * ek;
    }
    double wk = ek - z[k - 1];
    double wkm = -ek - z[k - 1];
    double s = std::fabs(wk);
    double sm = std::fabs(wkm);
    if (at(a, lda, k, k) != 0.0) {
      wk = wk / at(a, lda, k, k);
      wkm = wkm / at(a, lda, k, k);
    } else {
      wk = 1.0;
      wkm = 1.0;
    }
    if (k + 1 <= n) {
      for (int j = k + 1; j <= n; ++j) {
        sm = sm + std::fabs(z[j - 1] + wkm * at(a, lda, k, j));
        z[j - 1] = z[j - 1] + wk * at(a, lda, k, j);
        s = s + std::fabs(z[j - 1]);
      }
      if (s < sm) {
        double t = wkm - wk;
        wk = wkm;
        for (int j = k + 1; j <= n; ++j) z[j - 1] = z[j - 1] + t * at(a, lda, k, j);
      }
    }
    z[k - 1] = wk;
  }
  double s = 1.0 / dasum(n, z);
  dscal(n, s, z);

  // Solve trans(L) y = w.
  for (int k = n; k >= 1; --k) {
    if (k < n) z[k - 1] = z[k - 1] + ddot(n - k, &at(a, lda, k + 1, k), &z[k]);
    if (std::fabs(z[k - 1]) > 1.0) {
      s = 1.0 / std::fabs(z[k - 1]);
      dscal(n, s, z);
    }
    int l = piv(ipvt, k);
    double t = z[l - 1];
    z[l - 1] = z[k - 1];
    z[k - 1] = t;
  }
  s = 1.0 / dasum(n, z);
  dscal(n, s, z);
  double ynorm = 1.0;

  // Solve L v = y.
  for (int k = 1; k <= n; ++k) {
    int l = piv(ipvt, k);
    double t = z[l - 1];
    z[l - 1] = z[k - 1];
    z[k - 1] = t;
    if (k < n) daxpy(n - k, t, &at(a, lda, k + 1, k), &z[k]);
    if (std::fabs(z[k - 1]) > 1.0) {
      s = 1.0 / std::fabs(z[k - 1]);
      dscal(n, s, z);
      ynorm = s * ynorm;
    }
  }
  s = 1.0 / dasum(n, z);
  dscal(n, s, z);
  ynorm = s * ynorm;

  // Solve U z = v.
  for (int k = n; k >= 1; --k) {
    double akk = at(a, lda, k, k);
    if (std::fabs(z[k - 1]) > std::fabs(akk)) {
      s = std::fabs(akk) / std::fabs(z[k - 1]);
      dscal(n, s, z);
      ynorm = s * ynorm;
    }
    if (akk != 0.0) z[k - 1] = z[k - 1] / akk;
    if (akk == 0.0) z[k - 1] = 1.0;
    double t = -z[k - 1];
    daxpy(k - 1, t, &at(a, lda, 1, k), z);
  }
  s = 1.0 / dasum(n, z);
  dscal(n, s, z);
  ynorm = s * ynorm;
  rcond = anorm != 0.0 ? ynorm / anorm : 0.0;
}

void dgesl(const double* a, int lda, int n, const double* ipvt, double* b, int job) {
  if (n <= 0) return;
  if (job == 0) {
    for (int k = 1; k <= n - 1; ++k) {
      int l = piv(ipvt, k);
      double t = b[l - 1];
      if (l != k) {
        b[l - 1] = b[k - 1];
        b[k - 1] = t;
      }
      daxpy(n - k, t, &at(a, lda, k + 1, k), &b[k]);
    }
    for (int k = n; k >= 1; --k) {
      b[k - 1] = b[k - 1] / at(a, lda, k, k);
      double t = -b[k - 1];
      daxpy(k - 1, t, &at(a, lda, 1, k), b);
    }
    return;
  }
  for (int k = 1; k <= n; ++k) {
    double t = ddot(k - 1, &at(a, lda, 1, k), b);
    b[k - 1] = (b[k - 1] - t) / at(a, lda, k, k);
  }
  for (int k = n - 1; k >= 1; --k) {
    b[k - 1] = b[k - 1] + ddot(n - k, &at(a, lda, k + 1, k), &b[k]);
    int l = piv(ipvt, k);
    if (l != k) {
      double t = b[l - 1];
      b[l - 1] = b[k - 1];
      b[k - 1] = t;
    }
  }
}

void dgedi(double* a, int lda, int n, const double* ipvt, double* det, double* work, int job) {
  if (job / 10 != 0) {
    det[0] = 1.0;
    det[1] = 0.0;
    const double ten = 10.0;
    for (int i = 1; i <= n; ++i) {
      if (ipvt[i - 1] != static_cast<double>(i)) det[0] = -det[0];
      det[0] = at(a, lda, i, i) * det[0];
      if (det[0] == 0.0) break;
      // An infinite or NaN product cannot be brought into [1, 10) and would never leave
      // the loops below; it is left as it is, and the later pivots still give its sign.
      if (!std::isfinite(det[0])) continue;
      while (std::fabs(det[0]) < 1.0) {
        det[0] = ten * det[0];
        det[1] = det[1] - 1.0;
      }
      while (std::fabs(det[0]) >= ten) {
        det[0] = det[0] / ten;
        det[1] = det[1] + 1.0;
      }
    }
  }
  if (job % 10 == 0) return;

  // inverse(U)
  for (int k = 1; k <= n; ++k) {
    at(a, lda, k, k) = 1.0 / at(a, lda, k, k);
    double t = -at(a, lda, k, k);
    dscal(k - 1, t, &at(a, lda, 1, k));
    for (int j = k + 1; j <= n; ++j) {
      t = at(a, lda, k, j);
      at(a, lda, k, j) = 0.0;
      daxpy(k, t, &at(a, lda, 1, k), &at(a, lda, 1, j));
    }
  }
  // inverse(U) * inverse(L)
  for (int k = n - 1; k >= 1; --k) {
    for (int i = k + 1; i <= n; ++i) {
      work[i - 1] = at(a, lda, i, k);
      at(a, lda, i, k) = 0.0;
    }
    for (int j = k + 1; j <= n; ++j) {
      double t = work[j - 1];
      daxpy(n, t, &at(a, lda, 1, j), &at(a, lda, 1, k));
    }
    int l = piv(ipvt, k);
    if (l != k) dswap(n, &at(a, lda, 1, k), &at(a, lda, 1, l));
  }
}
