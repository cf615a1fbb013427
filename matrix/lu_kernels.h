// The LINPACK LU kernels (factor, condition estimate, solve, determinant, inverse),
// written once for real (T = double) and complex (T = complex) elements; the public
// dge*/zge* entries of matrix/lu_linpack.h and matrix/lu_zlinpack.h instantiate them.
// The helpers below give each element type its own expressions (|x| against |re| + |im|,
// conj as the identity for real), so that both keep their results to the last bit.
// Magnitudes are |re| + |im|; -1 / a(k,k) and 1 / a(k,k) use the real-over-complex
// division, the other complex quotients Smith's division.
#pragma once
#include <cmath>

#include "matrix/lu_blas.h"
#include "matrix/lu_zblas.h"

namespace lu_kernels {

// Column-major element (i, j), 1-based.
template <class T>
inline T& at(T* a, int lda, int i, int j) { return a[(j - 1) * lda + (i - 1)]; }
template <class T>
inline const T& at(const T* a, int lda, int i, int j) { return a[(j - 1) * lda + (i - 1)]; }
inline int piv(const double* ipvt, int k) { return static_cast<int>(ipvt[k - 1]); }

inline double mag(double x) { return std::fabs(x); }
inline double mag(const complex& z) { return cabs1(z); }
inline double conj(double x) { return x; }
inline complex conj(const complex& z) { return complex(z.re, -z.im); }
// a's size with b's direction.
inline double sign_of(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }
inline complex sign_of(const complex& z1, const complex& z2) {
  double s = cabs1(z1), d = cabs1(z2);
  return complex(s * (z2.re / d), s * (z2.im / d));
}
inline double times(double s, double x) { return s * x; }
inline complex times(double s, const complex& z) { return complex(s, 0.0) * z; }
template <class T>
inline void swap(T& x, T& y) {
  T t = x;
  x = y;
  y = t;
}

// The level-1 kernels under one name per operation.
inline int iamax(int n, const double* x) { return idamax(n, x); }
inline int iamax(int n, const complex* x) { return izamax(n, x); }
inline double asum(int n, const double* x) { return dasum(n, x); }
inline double asum(int n, const complex* x) { return dzasum(n, x); }
inline double dotc(int n, const double* x, const double* y) { return ddot(n, x, y); }
inline complex dotc(int n, const complex* x, const complex* y) { return zdotc(n, x, y); }
inline void axpy(int n, double a, const double* x, double* y) { daxpy(n, a, x, y); }
inline void axpy(int n, const complex& a, const complex* x, complex* y) { zaxpy(n, a, x, y); }
inline void scal(int n, double a, double* x) { dscal(n, a, x); }
inline void scal(int n, const complex& a, complex* x) { zscal(n, a, x); }
inline void rscal(int n, double a, double* x) { dscal(n, a, x); }
inline void rscal(int n, double a, complex* x) { zdscal(n, a, x); }
inline void swap_vec(int n, double* x, double* y) { dswap(n, x, y); }
inline void swap_vec(int n, complex* x, complex* y) { zswap(n, x, y); }

template <class T>
void gefa(T* a, int lda, int n, double* ipvt, int& info) {
  info = 0;
  if (n <= 0) return;
  for (int k = 1; k <= n - 1; ++k) {
    int l = iamax(n - k + 1, &at(a, lda, k, k)) + k - 1;
    ipvt[k - 1] = l;
    if (mag(at(a, lda, l, k)) == 0.0) {
      info = k;
      continue;
    }
    if (l != k) swap(at(a, lda, l, k), at(a, lda, k, k));
    T t = -1.0 / at(a, lda, k, k);
    scal(n - k, t, &at(a, lda, k + 1, k));
    for (int j = k + 1; j <= n; ++j) {
      t = at(a, lda, l, j);
      if (l != k) {
        at(a, lda, l, j) = at(a, lda, k, j);
        at(a, lda, k, j) = t;
      }
      axpy(n - k, t, &at(a, lda, k + 1, k), &at(a, lda, k + 1, j));
    }
  }
  ipvt[n - 1] = n;
  if (mag(at(a, lda, n, n)) == 0.0) info = n;
}

template <class T>
void geco(T* a, int lda, int n, double* ipvt, double& rcond, T* z) {
  rcond = 0.0;
  if (n <= 0) return;
  double anorm = 0.0;
  for (int j = 1; j <= n; ++j) anorm = std::fmax(anorm, asum(n, &at(a, lda, 1, j)));
  int info = 0;
  gefa(a, lda, n, ipvt, info);

  // Solve ctrans(U) w = e (the transpose for real T), choosing the signs of e to make w grow.
  T ek(1.0);
  for (int j = 0; j < n; ++j) z[j] = T(0.0);
  for (int k = 1; k <= n; ++k) {
    const T akk = at(a, lda, k, k);
    if (mag(z[k - 1]) != 0.0) ek = sign_of(ek, -z[k - 1]);
    if (mag(ek - z[k - 1]) > mag(akk)) {
      double s = mag(akk) / mag(ek - z[k - 1]);
      rscal(n, s, z);
      ek = times(s, ek);
    }
    T wk = ek - z[k - 1];
    T wkm = -ek - z[k - 1];
    double s = mag(wk);
    double sm = mag(wkm);
    if (mag(akk) != 0.0) {
      wk = wk / conj(akk);
      wkm = wkm / conj(akk);
    } else {
      wk = T(1.0);
      wkm = T(1.0);
    }
    if (k + 1 <= n) {
      for (int j = k + 1; j <= n; ++j) {
        sm = sm + mag(z[j - 1] + wkm * conj(at(a, lda, k, j)));
        z[j - 1] = z[j - 1] + wk * conj(at(a, lda, k, j));
        s = s + mag(z[j - 1]);
      }
      if (s < sm) {
        T t = wkm - wk;
        wk = wkm;
        for (int j = k + 1; j <= n; ++j) z[j - 1] = z[j - 1] + t * conj(at(a, lda, k, j));
      }
    }
    z[k - 1] = wk;
  }
  double s = 1.0 / asum(n, z);
  rscal(n, s, z);

  // Solve ctrans(L) y = w.
  for (int k = n; k >= 1; --k) {
    if (k < n) z[k - 1] = z[k - 1] + dotc(n - k, &at(a, lda, k + 1, k), &z[k]);
    if (mag(z[k - 1]) > 1.0) {
      s = 1.0 / mag(z[k - 1]);
      rscal(n, s, z);
    }
    int l = piv(ipvt, k);
    swap(z[l - 1], z[k - 1]);
  }
  s = 1.0 / asum(n, z);
  rscal(n, s, z);
  double ynorm = 1.0;

  // Solve L v = y.
  for (int k = 1; k <= n; ++k) {
    int l = piv(ipvt, k);
    T t = z[l - 1];
    z[l - 1] = z[k - 1];
    z[k - 1] = t;
    if (k < n) axpy(n - k, t, &at(a, lda, k + 1, k), &z[k]);
    if (mag(z[k - 1]) > 1.0) {
      s = 1.0 / mag(z[k - 1]);
      rscal(n, s, z);
      ynorm = s * ynorm;
    }
  }
  s = 1.0 / asum(n, z);
  rscal(n, s, z);
  ynorm = s * ynorm;

  // Solve U z = v.
  for (int k = n; k >= 1; --k) {
    const T akk = at(a, lda, k, k);
    if (mag(z[k - 1]) > mag(akk)) {
      s = mag(akk) / mag(z[k - 1]);
      rscal(n, s, z);
      ynorm = s * ynorm;
    }
    if (mag(akk) != 0.0) z[k - 1] = z[k - 1] / akk;
    if (mag(akk) == 0.0) z[k - 1] = T(1.0);
    T t = -z[k - 1];
    axpy(k - 1, t, &at(a, lda, 1, k), z);
  }
  s = 1.0 / asum(n, z);
  rscal(n, s, z);
  ynorm = s * ynorm;
  rcond = anorm != 0.0 ? ynorm / anorm : 0.0;
}

template <class T>
void gesl(const T* a, int lda, int n, const double* ipvt, T* b, int job) {
  if (n <= 0) return;
  if (job == 0) {
    for (int k = 1; k <= n - 1; ++k) {
      int l = piv(ipvt, k);
      T t = b[l - 1];
      if (l != k) {
        b[l - 1] = b[k - 1];
        b[k - 1] = t;
      }
      axpy(n - k, t, &at(a, lda, k + 1, k), &b[k]);
    }
    for (int k = n; k >= 1; --k) {
      b[k - 1] = b[k - 1] / at(a, lda, k, k);
      T t = -b[k - 1];
      axpy(k - 1, t, &at(a, lda, 1, k), b);
    }
    return;
  }
  for (int k = 1; k <= n; ++k) {
    T t = dotc(k - 1, &at(a, lda, 1, k), b);
    b[k - 1] = (b[k - 1] - t) / conj(at(a, lda, k, k));
  }
  for (int k = n - 1; k >= 1; --k) {
    b[k - 1] = b[k - 1] + dotc(n - k, &at(a, lda, k + 1, k), &b[k]);
    int l = piv(ipvt, k);
    if (l != k) swap(b[l - 1], b[k - 1]);
  }
}

template <class T>
void gedi(T* a, int lda, int n, const double* ipvt, T* det, T* work, int job) {
  if (job / 10 != 0) {
    det[0] = T(1.0);
    det[1] = T(0.0);
    const T ten(10.0);
    for (int i = 1; i <= n; ++i) {
      if (ipvt[i - 1] != static_cast<double>(i)) det[0] = -det[0];
      det[0] = at(a, lda, i, i) * det[0];
      if (mag(det[0]) == 0.0) break;
      // An infinite or NaN product cannot be brought into [1, 10) and would never leave
      // the loops below; it is left as it is, and the later pivots still count.
      if (!std::isfinite(mag(det[0]))) continue;
      while (mag(det[0]) < 1.0) {
        det[0] = ten * det[0];
        det[1] = det[1] - T(1.0);
      }
      while (mag(det[0]) >= 10.0) {
        det[0] = det[0] / ten;
        det[1] = det[1] + T(1.0);
      }
    }
  }
  if (job % 10 == 0) return;

  // inverse(U)
  for (int k = 1; k <= n; ++k) {
    at(a, lda, k, k) = 1.0 / at(a, lda, k, k);
    T t = -at(a, lda, k, k);
    scal(k - 1, t, &at(a, lda, 1, k));
    for (int j = k + 1; j <= n; ++j) {
      t = at(a, lda, k, j);
      at(a, lda, k, j) = T(0.0);
      axpy(k, t, &at(a, lda, 1, k), &at(a, lda, 1, j));
    }
  }
  // inverse(U) * inverse(L)
  for (int k = n - 1; k >= 1; --k) {
    for (int i = k + 1; i <= n; ++i) {
      work[i - 1] = at(a, lda, i, k);
      at(a, lda, i, k) = T(0.0);
    }
    for (int j = k + 1; j <= n; ++j) {
      T t = work[j - 1];
      axpy(n, t, &at(a, lda, 1, j), &at(a, lda, 1, k));
    }
    int l = piv(ipvt, k);
    if (l != k) swap_vec(n, &at(a, lda, 1, k), &at(a, lda, 1, l));
  }
}

}  // namespace lu_kernels
