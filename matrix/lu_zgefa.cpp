// Complex LU: factor, condition estimate, solve, determinant and inverse.
// Magnitudes are |re| + |im|; -1 / a(k,k) and 1 / a(k,k) use the real-over-complex
// division, the other quotients Smith's division.
#include <cmath>

#include "matrix/lu_zblas.h"
#include "matrix/lu_zlinpack.h"

namespace {
inline complex& at(complex* a, int lda, int i, int j) { return a[(j - 1) * lda + (i - 1)]; }
inline const complex& at(const complex* a, int lda, int i, int j) {
  return a[(j - 1) * lda + (i - 1)];
}
inline int piv(const double* ipvt, int k) { return static_cast<int>(ipvt[k - 1]); }
inline complex conj(const complex& z) { return complex(z.re, -z.im); }
// cabs1(z1) times z2 / cabs1(z2): z1's size with z2's direction.
inline complex csign1(const complex& z1, const complex& z2) {
  double s = cabs1(z1), d = cabs1(z2);
  return complex(s * (z2.re / d), s * (z2.im / d));
}
inline void swap(complex& x, complex& y) {
  complex t = x;
  x = y;
  y = t;
}
}  // namespace

void zgefa(complex* a, int lda, int n, double* ipvt, int& info) {
  info = 0;
  if (n <= 0) return;
  for (int k = 1; k <= n - 1; ++k) {
    int l = izamax(n - k + 1, &at(a, lda, k, k)) + k - 1;
    ipvt[k - 1] = l;
    if (cabs1(at(a, lda, l, k)) == 0.0) {
      info = k;
      continue;
    }
    if (l != k) swap(at(a, lda, l, k), at(a, lda, k, k));
    complex t = -1.0 / at(a, lda, k, k);
    zscal(n - k, t, &at(a, lda, k + 1, k));
    for (int j = k + 1; j <= n; ++j) {
      t = at(a, lda, l, j);
      if (l != k) {
        at(a, lda, l, j) = at(a, lda, k, j);
        at(a, lda, k, j) = t;
      }
      zaxpy(n - k, t, &at(a, lda, k + 1, k), &at(a, lda, k + 1, j));
    }
  }
  ipvt[n - 1] = n;
  if (cabs1(at(a, lda, n, n)) == 0.0) info = n;
}

void zgeco(complex* a, int lda, int n, double* ipvt, double& rcond, complex* z) {
  rcond = 0.0;
  if (n <= 0) return;
  double anorm = 0.0;
  for (int j = 1; j <= n; ++j) anorm = std::fmax(anorm, dzasum(n, &at(a, lda, 1, j)));
  int info = 0;
  zgefa(a, lda, n, ipvt, info);

  // Solve ctrans(U) w = e.
  complex ek(1.0, 0.0);
  for (int j = 0; j < n; ++j) z[j] = complex(0.0, 0.0);
  for (int k = 1; k <= n; ++k) {
    const complex akk = at(a, lda, k, k);
    if (cabs1(z[k - 1]) != 0.0) ek = csign1(ek, -z[k - 1]);
    if (cabs1(ek - z[k - 1]) > cabs1(akk)) {
      double s = cabs1(akk) / cabs1(ek - z[k - 1]);
      zdscal(n, s, z);
      ek = complex(s, 0.0) * ek;
    }
    complex wk = ek - z[k - 1];
    complex wkm = -ek - z[k - 1];
    double s = cabs1(wk);
    double sm = cabs1(wkm);
    if (cabs1(akk) != 0.0) {
      wk = wk / conj(akk);
      wkm = wkm / conj(akk);
    } else {
      wk = complex(1.0, 0.0);
      wkm = complex(1.0, 0.0);
    }
    if (k + 1 <= n) {
      for (int j = k + 1; j <= n; ++j) {
        sm = sm + cabs1(z[j - 1] + wkm * conj(at(a, lda, k, j)));
        z[j - 1] = z[j - 1] + wk * conj(at(a, lda, k, j));
        s = s + cabs1(z[j - 1]);
      }
      if (s < sm) {
        complex t = wkm - wk;
        wk = wkm;
        for (int j = k + 1; j <= n; ++j) z[j - 1] = z[j - 1] + t * conj(at(a, lda, k, j));
      }
    }
    z[k - 1] = wk;
  }
  double s = 1.0 / dzasum(n, z);
  zdscal(n, s, z);

  // Solve ctrans(L) y = w.
  for (int k = n; k >= 1; --k) {
    if (k < n) z[k - 1] = z[k - 1] + zdotc(n - k, &at(a, lda, k + 1, k), &z[k]);
    if (cabs1(z[k - 1]) > 1.0) {
      s = 1.0 / cabs1(z[k - 1]);
      zdscal(n, s, z);
    }
    int l = piv(ipvt, k);
    swap(z[l - 1], z[k - 1]);
  }
  s = 1.0 / dzasum(n, z);
  zdscal(n, s, z);
  double ynorm = 1.0;

  // Solve L v = y.
  for (int k = 1; k <= n; ++k) {
    int l = piv(ipvt, k);
    complex t = z[l - 1];
    z[l - 1] = z[k - 1];
    z[k - 1] = t;
    if (k < n) zaxpy(n - k, t, &at(a, lda, k + 1, k), &z[k]);
    if (cabs1(z[k - 1]) > 1.0) {
      s = 1.0 / cabs1(z[k - 1]);
      zdscal(n, s, z);
      ynorm = s * ynorm;
    }
  }
  s = 1.0 / dzasum(n, z);
  zdscal(n, s, z);
  ynorm = s * ynorm;

  // Solve U z = v.
  for (int k = n; k >= 1; --k) {
    const complex akk = at(a, lda, k, k);
    if (cabs1(z[k - 1]) > cabs1(akk)) {
      s = cabs1(akk) / cabs1(z[k - 1]);
      zdscal(n, s, z);
      ynorm = s * ynorm;
    }
    if (cabs1(akk) != 0.0) z[k - 1] = z[k - 1] / akk;
    if (cabs1(akk) == 0.0) z[k - 1] = complex(1.0, 0.0);
    complex t = -z[k - 1];
    zaxpy(k - 1, t, &at(a, lda, 1, k), z);
  }
  s = 1.0 / dzasum(n, z);
  zdscal(n, s, z);
  ynorm = s * ynorm;
  rcond = anorm != 0.0 ? ynorm / anorm : 0.0;
}

void zgesl(const complex* a, int lda, int n, const double* ipvt, complex* b, int job) {
  if (n <= 0) return;
  if (job == 0) {
    for (int k = 1; k <= n - 1; ++k) {
      int l = piv(ipvt, k);
      complex t = b[l - 1];
      if (l != k) {
        b[l - 1] = b[k - 1];
        b[k - 1] = t;
      }
      zaxpy(n - k, t, &at(a, lda, k + 1, k), &b[k]);
    }
    for (int k = n; k >= 1; --k) {
      b[k - 1] = b[k - 1] / at(a, lda, k, k);
      complex t = -b[k - 1];
      zaxpy(k - 1, t, &at(a, lda, 1, k), b);
    }
    return;
  }
  for (int k = 1; k <= n; ++k) {
    complex t = zdotc(k - 1, &at(a, lda, 1, k), b);
    b[k - 1] = (b[k - 1] - t) / conj(at(a, lda, k, k));
  }
  for (int k = n - 1; k >= 1; --k) {
    b[k - 1] = b[k - 1] + zdotc(n - k, &at(a, lda, k + 1, k), &b[k]);
    int l = piv(ipvt, k);
    if (l != k) swap(b[l - 1], b[k - 1]);
  }
}

void zgedi(complex* a, int lda, int n, const double* ipvt, complex* det, complex* work, int job) {
  if (job / 10 != 0) {
    det[0] = complex(1.0, 0.0);
    det[1] = complex(0.0, 0.0);
    const complex ten(10.0, 0.0);
    for (int i = 1; i <= n; ++i) {
      if (ipvt[i - 1] != static_cast<double>(i)) det[0] = -det[0];
      det[0] = at(a, lda, i, i) * det[0];
      if (cabs1(det[0]) == 0.0) break;
      // An infinite or NaN product cannot be brought into [1, 10) and would never leave
      // the loops below; it is left as it is, and the later pivots still count.
      if (!std::isfinite(cabs1(det[0]))) continue;
      while (cabs1(det[0]) < 1.0) {
        det[0] = ten * det[0];
        det[1] = det[1] - complex(1.0, 0.0);
      }
      while (cabs1(det[0]) >= 10.0) {
        det[0] = det[0] / ten;
        det[1] = det[1] + complex(1.0, 0.0);
      }
    }
  }
  if (job % 10 == 0) return;

  // inverse(U)
  for (int k = 1; k <= n; ++k) {
    at(a, lda, k, k) = 1.0 / at(a, lda, k, k);
    complex t = -at(a, lda, k, k);
    zscal(k - 1, t, &at(a, lda, 1, k));
    for (int j = k + 1; j <= n; ++j) {
      t = at(a, lda, k, j);
      at(a, lda, k, j) = complex(0.0, 0.0);
      zaxpy(k, t, &at(a, lda, 1, k), &at(a, lda, 1, j));
    }
  }
  // inverse(U) * inverse(L)
  for (int k = n - 1; k >= 1; --k) {
    for (int i = k + 1; i <= n; ++i) {
      work[i - 1] = at(a, lda, i, k);
      at(a, lda, i, k) = complex(0.0, 0.0);
    }
    for (int j = k + 1; j <= n; ++j) {
      complex t = work[j - 1];
      zaxpy(n, t, &at(a, lda, 1, j), &at(a, lda, 1, k));
    }
    int l = piv(ipvt, k);
    if (l != k) zswap(n, &at(a, lda, 1, k), &at(a, lda, 1, l));
  }
}
