// Complex level-1 vector kernels: unit stride, sums accumulated left to right.
#include "matrix/lu_zblas.h"

complex zdotc(int n, const complex* x, const complex* y) {
  complex t(0.0, 0.0);
  for (int i = 0; i < n; ++i) t = t + complex(x[i].re, -x[i].im) * y[i];
  return t;
}

void zaxpy(int n, const complex& a, const complex* x, complex* y) {
  if (n <= 0 || cabs1(a) == 0.0) return;
  for (int i = 0; i < n; ++i) y[i] = y[i] + a * x[i];
}

void zswap(int n, complex* x, complex* y) {
  for (int i = 0; i < n; ++i) {
    complex t = x[i];
    x[i] = y[i];
    y[i] = t;
  }
}

double dzasum(int n, const complex* x) {
  double t = 0.0;
  for (int i = 0; i < n; ++i) t = t + cabs1(x[i]);
  return t;
}

void zscal(int n, const complex& a, complex* x) {
  for (int i = 0; i < n; ++i) x[i] = a * x[i];
}

void zdscal(int n, double a, complex* x) {
  for (int i = 0; i < n; ++i) x[i] = complex(a * x[i].re, a * x[i].im);
}

int izamax(int n, const complex* x) {
  if (n < 2) return 1;
  int best = 1;
  double smax = cabs1(x[0]);
  for (int i = 1; i < n; ++i) {
    if (cabs1(x[i]) > smax) {
      best = i + 1;
      smax = cabs1(x[i]);
    }
  }
  return best;
}
