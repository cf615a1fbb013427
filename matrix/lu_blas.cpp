// Level-1 vector kernels: unit stride, unrolled as the classic reference kernels.
// Sums are accumulated strictly left to right, so the unrolling never changes a result.
#include "matrix/lu_blas.h"

#include <cmath>

void daxpy(int n, double a, const double* x, double* y) {
  if (n <= 0 || a == 0.0) return;
  int m = n % 4;
  for (int i = 0; i < m; ++i) y[i] = y[i] + a * x[i];
  for (int i = m; i < n; i += 4) {
    y[i] = y[i] + a * x[i];
    y[i + 1] = y[i + 1] + a * x[i + 1];
    y[i + 2] = y[i + 2] + a * x[i + 2];
    y[i + 3] = y[i + 3] + a * x[i + 3];
  }
}

double dasum(int n, const double* x) {
  double t = 0.0;
  if (n < 1) return t;
  int m = n % 6;
  for (int i = 0; i < m; ++i) t = t + std::fabs(x[i]);
  for (int i = m; i < n; i += 6)
    t = t + std::fabs(x[i]) + std::fabs(x[i + 1]) + std::fabs(x[i + 2]) + std::fabs(x[i + 3]) +
        std::fabs(x[i + 4]) + std::fabs(x[i + 5]);
  return t;
}

double ddot(int n, const double* x, const double* y) {
  double t = 0.0;
  if (n < 1) return t;
  int m = n % 5;
  for (int i = 0; i < m; ++i) t = t + x[i] * y[i];
  for (int i = m; i < n; i += 5)
    t = t + x[i] * y[i] + x[i + 1] * y[i + 1] + x[i + 2] * y[i + 2] + x[i + 3] * y[i + 3] +
        x[i + 4] * y[i + 4];
  return t;
}

void dscal(int n, double a, double* x) {
  if (n <= 0) return;
  int m = n % 5;
  for (int i = 0; i < m; ++i) x[i] = a * x[i];
  for (int i = m; i < n; i += 5) {
    x[i] = a * x[i];
    x[i + 1] = a * x[i + 1];
    x[i + 2] = a * x[i + 2];
    x[i + 3] = a * x[i + 3];
    x[i + 4] = a * x[i + 4];
  }
}

void dswap(int n, double* x, double* y) {
  if (n <= 0) return;
  int m = n % 3;
  for (int i = 0; i < m; ++i) {
    double t = x[i];
    x[i] = y[i];
    y[i] = t;
  }
  for (int i = m; i < n; i += 3) {
    for (int k = 0; k < 3; ++k) {
      double t = x[i + k];
      x[i + k] = y[i + k];
      y[i + k] = t;
    }
  }
}

int idamax(int n, const double* x) {
  if (n < 1) return 0;
  if (n == 1) return 1;
  int best = 1;
  double dmax = std::fabs(x[0]);
  for (int i = 1; i < n; ++i) {
    if (std::fabs(x[i]) > dmax) {
      best = i + 1;
      dmax = std::fabs(x[i]);
    }
  }
  return best;
}
