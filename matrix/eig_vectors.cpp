// The handbook driver and the unpacking and scaling of the eigenvectors.
#include <cmath>

#include "matrix/eig_eispack.h"
#include "matrix/dm.h"

int rg(int nm, int n, double* a, int* inter, double* scale, double* z, double* wr2, double* wi2,
       int matz, int* cnt) {
  int low = 0, igh = n - 1;
  if (matz != 0) balance(nm, n, a, low, igh, scale);
  elmhes(nm, n, low, igh, a, inter);
  elmtrans(nm, n, low, igh, a, inter, z);
  int ierr = 0;
  hqr2(nm, n, low, igh, a, wr2, wi2, z, ierr, cnt);
  if (ierr != 0) {
    mat_printf(" ierr=%d\n", ierr);
    return ierr;
  }
  if (matz != 0) balbak(nm, n, low, igh, scale, n, z);
  return 0;
}

void eigen_driver(double* a, int n, double* wr, double* wi, double* vr, double* vi, int matz,
                  double* wr2, double* wi2, double* z, double* scale, int* inter, int* cnt) {
  set_machep(machep());
  // A failed QR iteration leaves eigenvalues and vectors that are not valid: stop here
  // rather than hand them on as a result.
  if (rg(n, n, a, inter, scale, z, wr2, wi2, matz, cnt) != 0)
    matrix_fatal("eig : no convergence in 30 iterations", "hqr2");
  for (int i = 0; i < n; ++i) {
    wr[i] = wr2[i];
    wi[i] = wi2[i];
  }
  unpack_eigenvectors(z, wi2, vr, vi, n);
  normalise_eigenvectors(wi2, vr, vi, n);
}

void unpack_eigenvectors(const double* z, const double* wi2, double* vr, double* vi, int n) {
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      const int ij = i * n + j;
      if (wi2[j] == 0.0) {
        vr[ij] = z[ij];
        vi[ij] = 0.0;
      } else if (wi2[j] > 0.0) {
        vr[ij] = z[ij];
        vi[ij] = z[ij + 1];
      } else if (j > 0) {
        vr[ij] = vr[ij - 1];
        vi[ij] = -vi[ij - 1];
      }
    }
  }
}

void normalise_eigenvectors(const double* wi2, double* vr, double* vi, int n) {
  for (int j = 0; j < n; ++j) {
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
      const int ij = i * n + j;
      if (wi2[j] == 0.0)
        sum = sum + vr[ij] * vr[ij];
      else
        sum = sum + (vr[ij] * vr[ij] + vi[ij] * vi[ij]);
    }
    double s = std::sqrt(sum);
    if (s == 0.0) continue;  // nothing to scale; 0/0 would make the column NaN
    for (int i = 0; i < n; ++i) {
      vr[i * n + j] = vr[i * n + j] / s;
      vi[i * n + j] = vi[i * n + j] / s;
    }
  }
}

void normalise_by_largest(int nm, int n, double* z, const double* /*unused*/, const double* wi) {
  for (int j = 0; j < n; ++j) {
    if (wi[j] == 0.0) {
      double big = 0.0;
      int at = -1;
      for (int i = 0; i < n; ++i) {
        if (std::fabs(z[i * nm + j]) > big) {
          big = std::fabs(z[i * nm + j]);
          at = i;
        }
      }
      if (at < 0) continue;
      const double d = z[at * nm + j];
      for (int i = 0; i < n; ++i) z[i * nm + j] = z[i * nm + j] / d;
      continue;
    }
    if (j + 1 >= n) break;
    double big = 0.0;
    int at = -1;
    for (int i = 0; i < n; ++i) {
      double re = z[i * nm + j], im = z[i * nm + j + 1];
      double mod = std::sqrt(re * re + im * im);
      if (mod > big) {
        big = mod;
        at = i;
      }
    }
    if (at >= 0) {
      const double br = z[at * nm + j], bi = z[at * nm + j + 1];
      for (int i = 0; i < n; ++i) {
        double ar = z[i * nm + j], ai = z[i * nm + j + 1], cr, ci;
        cdiv(ar, ai, br, bi, cr, ci);
        z[i * nm + j] = cr;
        z[i * nm + j + 1] = ci;
      }
    }
    ++j;  // the conjugate column is done with its pair
  }
}
