// Double-shift QR on an upper Hessenberg matrix, with the eigenvectors found by back
// substitution on the quasi-triangular form and carried back through z.
#include <algorithm>
#include <cmath>

#include "matrix/eig_eispack.h"

void cdiv(double ar, double ai, double br, double bi, double& cr, double& ci) {
  if (std::fabs(br) >= std::fabs(bi)) {
    double r = bi / br, d = r * bi + br;
    cr = (ai * r + ar) / d;
    ci = (ai - ar * r) / d;
  } else {
    double r = br / bi, d = r * br + bi;
    cr = (ar * r + ai) / d;
    ci = (ai * r - ar) / d;
  }
}

namespace {

double g_machep = machep();

inline double sign(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

struct Hqr {
  int nm, n, low, igh;
  double* h;
  double* wr;
  double* wi;
  double* z;
  int* cnt;
  double norm = 0.0;
  double& H(int i, int j) { return h[i * nm + j]; }
  double& Z(int i, int j) { return z[i * nm + j]; }

  int find_roots();
  void back_substitute();
};

// Returns ierr.
int Hqr::find_roots() {
  const double eps = g_machep;
  int k = 0;
  for (int i = 0; i < n; ++i) {
    for (int j = k; j < n; ++j) norm = norm + std::fabs(H(i, j));
    k = i;
    cnt[i] = 0;
    if (i >= low && i <= igh) continue;
    wr[i] = H(i, i);
    wi[i] = 0.0;
  }
  int en = igh;
  double t = 0.0;
  while (en >= low) {
    int its = 0;
    const int na = en - 1;
    const int enm2 = na - 1;
    for (;;) {
      // A single small sub-diagonal element splits the matrix.
      int l = en;
      for (; l > low; --l) {
        double s = std::fabs(H(l - 1, l - 1)) + std::fabs(H(l, l));
        if (s == 0.0) s = norm;
        if (std::fabs(H(l, l - 1)) <= eps * s) break;
      }
      double x = H(en, en);
      if (l == en) {  // one root
        H(en, en) = x + t;
        wr[en] = H(en, en);
        wi[en] = 0.0;
        cnt[en] = its;
        en = na;
        break;
      }
      double y = H(na, na);
      double w = H(en, na) * H(na, en);
      if (l == na) {  // two roots
        double p = (y - x) / 2.0;
        double q = p * p + w;
        double zz = std::sqrt(std::fabs(q));
        H(en, en) = x + t;
        x = H(en, en);
        H(na, na) = y + t;
        cnt[na] = its;
        cnt[en] = -its;
        if (q >= 0.0) {  // real pair
          zz = p + sign(zz, p);
          wr[na] = x + zz;
          wr[en] = wr[na];
          if (zz != 0.0) wr[en] = x - w / zz;
          wi[na] = 0.0;
          wi[en] = 0.0;
          x = H(en, na);
          double s = std::fabs(x) + std::fabs(zz);
          p = x / s;
          q = zz / s;
          double r = std::sqrt(p * p + q * q);
          p = p / r;
          q = q / r;
          for (int j = na; j < n; ++j) {
            zz = H(na, j);
            H(na, j) = q * zz + p * H(en, j);
            H(en, j) = q * H(en, j) - p * zz;
          }
          for (int i = 0; i <= en; ++i) {
            zz = H(i, na);
            H(i, na) = q * zz + p * H(i, en);
            H(i, en) = q * H(i, en) - p * zz;
          }
          for (int i = low; i <= igh; ++i) {
            zz = Z(i, na);
            Z(i, na) = q * zz + p * Z(i, en);
            Z(i, en) = q * Z(i, en) - p * zz;
          }
        } else {  // complex pair
          wr[na] = x + p;
          wr[en] = x + p;
          wi[na] = zz;
          wi[en] = -zz;
        }
        en = enm2;
        break;
      }
      if (its == 30) {
        cnt[en] = 31;
        return en;
      }
      if (its == 10 || its == 20) {  // exceptional shift
        t = t + x;
        for (int i = low; i <= en; ++i) H(i, i) = H(i, i) - x;
        double s = std::fabs(H(en, na)) + std::fabs(H(na, enm2));
        x = 0.75 * s;
        y = x;
        w = -0.4375 * s * s;
      }
      its = its + 1;

      // Two consecutive small sub-diagonal elements.
      int m = enm2;
      double p = 0.0, q = 0.0, r = 0.0, zz = 0.0;
      for (; m >= l; --m) {
        zz = H(m, m);
        r = x - zz;
        double s = y - zz;
        p = (r * s - w) / H(m + 1, m) + H(m, m + 1);
        q = H(m + 1, m + 1) - zz - r - s;
        r = H(m + 2, m + 1);
        s = std::fabs(p) + std::fabs(q) + std::fabs(r);
        p = p / s;
        q = q / s;
        r = r / s;
        if (m == l) break;
        if (std::fabs(H(m, m - 1)) * (std::fabs(q) + std::fabs(r)) <=
            eps * std::fabs(p) *
                (std::fabs(H(m - 1, m - 1)) + std::fabs(zz) + std::fabs(H(m + 1, m + 1))))
          break;
      }
      const int mp2 = m + 2;
      for (int i = mp2; i <= en; ++i) {
        H(i, i - 2) = 0.0;
        if (i != mp2) H(i, i - 3) = 0.0;
      }

      // Double QR step on rows l..en and columns m..en.
      for (int kk = m; kk <= na; ++kk) {
        const bool notlas = kk != na;
        if (kk != m) {
          p = H(kk, kk - 1);
          q = H(kk + 1, kk - 1);
          r = notlas ? H(kk + 2, kk - 1) : 0.0;
          x = std::fabs(p) + std::fabs(q) + std::fabs(r);
          if (x == 0.0) continue;
          p = p / x;
          q = q / x;
          r = r / x;
        }
        double s = sign(std::sqrt(p * p + q * q + r * r), p);
        if (kk != m)
          H(kk, kk - 1) = -s * x;
        else if (l != m)
          H(kk, kk - 1) = -H(kk, kk - 1);
        p = p + s;
        x = p / s;
        y = q / s;
        zz = r / s;
        q = q / p;
        r = r / p;
        for (int j = kk; j < n; ++j) {  // row modification
          p = H(kk, j) + q * H(kk + 1, j);
          if (notlas) {
            p = p + r * H(kk + 2, j);
            H(kk + 2, j) = H(kk + 2, j) - p * zz;
          }
          H(kk + 1, j) = H(kk + 1, j) - p * y;
          H(kk, j) = H(kk, j) - p * x;
        }
        const int jmax = std::min(en, kk + 3);
        for (int i = 0; i <= jmax; ++i) {  // column modification
          p = x * H(i, kk) + y * H(i, kk + 1);
          if (notlas) {
            p = p + zz * H(i, kk + 2);
            H(i, kk + 2) = H(i, kk + 2) - p * r;
          }
          H(i, kk + 1) = H(i, kk + 1) - p * q;
          H(i, kk) = H(i, kk) - p;
        }
        for (int i = low; i <= igh; ++i) {  // accumulate transformations
          p = x * Z(i, kk) + y * Z(i, kk + 1);
          if (notlas) {
            p = p + zz * Z(i, kk + 2);
            Z(i, kk + 2) = Z(i, kk + 2) - p * r;
          }
          Z(i, kk + 1) = Z(i, kk + 1) - p * q;
          Z(i, kk) = Z(i, kk) - p;
        }
      }
    }
  }
  return 0;
}

void Hqr::back_substitute() {
  const double eps = g_machep;
  for (int en = n - 1; en >= 0; --en) {
    double p = wr[en];
    double q = wi[en];
    const int na = en - 1;
    double r = 0.0, s = 0.0, t = 0.0, w = 0.0, x = 0.0, y = 0.0, zz = 0.0;
    if (q == 0.0) {  // real vector
      int m = en;
      H(en, en) = 1.0;
      for (int i = na; i >= 0; --i) {
        w = H(i, i) - p;
        r = 0.0;
        for (int j = m; j <= en; ++j) r = r + H(i, j) * H(j, en);
        if (wi[i] < 0.0) {
          zz = w;
          s = r;
          continue;
        }
        m = i;
        if (wi[i] == 0.0) {
          t = w;
          if (t == 0.0) t = eps * norm;
          H(i, en) = -r / t;
          continue;
        }
        x = H(i, i + 1);
        y = H(i + 1, i);
        q = (wr[i] - p) * (wr[i] - p) + wi[i] * wi[i];
        t = (x * s - zz * r) / q;
        H(i, en) = t;
        if (std::fabs(x) > std::fabs(zz))
          H(i + 1, en) = (-r - w * t) / x;
        else
          H(i + 1, en) = (-s - y * t) / zz;
      }
    } else if (q < 0.0) {  // complex vector, last component chosen imaginary
      int m = na;
      if (std::fabs(H(en, na)) > std::fabs(H(na, en))) {
        H(na, na) = q / H(en, na);
        H(na, en) = -(H(en, en) - p) / H(en, na);
      } else {
        cdiv(0.0, -H(na, en), H(na, na) - p, q, H(na, na), H(na, en));
      }
      H(en, na) = 0.0;
      H(en, en) = 1.0;
      for (int i = na - 1; i >= 0; --i) {
        w = H(i, i) - p;
        double ra = 0.0, sa = 0.0;
        for (int j = m; j <= en; ++j) {
          ra = ra + H(i, j) * H(j, na);
          sa = sa + H(i, j) * H(j, en);
        }
        if (wi[i] < 0.0) {
          zz = w;
          r = ra;
          s = sa;
          continue;
        }
        m = i;
        if (wi[i] == 0.0) {
          cdiv(-ra, -sa, w, q, H(i, na), H(i, en));
          continue;
        }
        x = H(i, i + 1);
        y = H(i + 1, i);
        double vr = (wr[i] - p) * (wr[i] - p) + wi[i] * wi[i] - q * q;
        double vi = (wr[i] - p) * 2.0 * q;
        if (vr == 0.0 && vi == 0.0)
          vr = eps * norm * (std::fabs(w) + std::fabs(q) + std::fabs(x) + std::fabs(y) + std::fabs(zz));
        cdiv(x * r - zz * ra + q * sa, x * s - zz * sa - q * ra, vr, vi, H(i, na), H(i, en));
        if (std::fabs(x) > std::fabs(zz) + std::fabs(q)) {
          H(i + 1, na) = (-ra - w * H(i, na) + q * H(i, en)) / x;
          H(i + 1, en) = (-sa - w * H(i, en) - q * H(i, na)) / x;
        } else {
          cdiv(-r - y * H(i, na), -s - y * H(i, en), zz, q, H(i + 1, na), H(i + 1, en));
        }
      }
    }
  }

  // Vectors of isolated roots.
  for (int i = 0; i < n; ++i) {
    if (i >= low && i <= igh) continue;
    for (int j = i; j < n; ++j) Z(i, j) = H(i, j);
  }
  // Multiply by the transformation to get the vectors of the (balanced) input.
  for (int j = n - 1; j >= low; --j) {
    const int m = std::min(j, igh);
    for (int i = low; i <= igh; ++i) {
      double zz = 0.0;
      for (int k = low; k <= m; ++k) zz = zz + Z(i, k) * H(k, j);
      Z(i, j) = zz;
    }
  }
}

}  // namespace

double machep() {
  double e = 1.0;
  while (1.0 + e > 1.0) e = e / 2.0;
  return 2.0 * e;
}

void set_machep(double eps) { g_machep = eps; }

void hqr2(int nm, int n, int low, int igh, double* a, double* wr2, double* wi2, double* z,
          int& ierr, int* cnt) {
  Hqr q{nm, n, low, igh, a, wr2, wi2, z, cnt};
  ierr = q.find_roots();
  if (ierr != 0) return;
  // An all-zero quasi-triangular form: z already holds independent vectors, and the
  // substitution would divide 0 by 0.
  if (q.norm == 0.0) return;
  q.back_substitute();
}
