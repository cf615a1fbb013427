#include "simu/tableau.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "simu/console.h"

namespace {

const char* const no_unique = "Warning this network has no unique solution\n Check your circuit";
const char* const check_circuit = "Warning check the circuit.\n";

// Column-major work copy; the reduction runs on it without the checked access.
struct work {
  int r = 0, c = 0;
  std::vector<double> a;
  work(int rows, int cols) : r(rows), c(cols), a(static_cast<size_t>(rows) * cols, 0.0) {}
  double& operator()(int i, int j) { return a[static_cast<size_t>(j) * r + i]; }   // 0-based
  double operator()(int i, int j) const { return a[static_cast<size_t>(j) * r + i]; }
};

work to_work(const DM& M) {
  work w(M.rows, M.cols);
  for (int j = 0; j < w.c; ++j)
    for (int i = 0; i < w.r; ++i) w(i, j) = M(i + 1, j + 1);
  return w;
}

DM to_dm(const work& w) {
  DM M(w.r, w.c);
  for (int j = 0; j < w.c; ++j)
    for (int i = 0; i < w.r; ++i) M(i + 1, j + 1) = w(i, j);
  return M;
}

void reduce(work& A) {
  const int r = A.r, c = A.c;
  const double scale = std::max(r, c) * 2.22e-16;
  std::vector<double> tol(c, 0.0);
  for (int j = 0; j < c; ++j) {
    double mx = 0.0;
    for (int i = 0; i < r; ++i) mx = std::max(mx, std::fabs(A(i, j)));
    tol[j] = scale * mx;
  }
  int i = 0, j = 0;
  while (i < r && j < c) {
    double best = 0.0;
    int p = i;
    for (int k = i; k < r; ++k) {
      if (std::fabs(A(k, j)) > best) {
        best = std::fabs(A(k, j));
        p = k;
      }
    }
    if (best <= tol[j]) {
      for (int k = i; k < r; ++k) A(k, j) = 0.0;
      ++j;
      continue;
    }
    if (p != i)
      for (int t = j; t < c; ++t) std::swap(A(i, t), A(p, t));
    const double piv = A(i, j);
    for (int t = j; t < c; ++t) A(i, t) /= piv;
    for (int k = 0; k < r; ++k) {
      if (k == i) continue;
      const double f = A(k, j);
      if (f == 0.0) continue;
      for (int t = j; t < c; ++t) A(k, t) -= f * A(i, t);
    }
    ++i;
    ++j;
  }
}

std::vector<int> pivots(const work& R, int r0, int rows, int c0, int cols) {
  std::vector<int> p;
  std::vector<char> used(cols, 0);
  for (int i = 0; i < rows; ++i) {
    int j = 0;
    while (j < cols && R(r0 + i, c0 + j) == 0.0) ++j;
    if (j == cols) throw "rpac - Check your circuit";
    p.push_back(j);
    used[j] = 1;
  }
  for (int j = 0; j < cols; ++j)
    if (!used[j]) p.push_back(j);
  return p;
}

}  // namespace

DM rref_cols(const DM& A) {
  work w = to_work(A);
  reduce(w);
  return to_dm(w);
}

DM rpac(const DM& R, int rows, int cols) {
  work w = to_work(R);
  std::vector<int> p = pivots(w, 0, rows, 0, cols);
  DM out(cols, 1);
  for (int k = 0; k < cols; ++k) out(k + 1, 1) = p[k] + 1;
  return out;
}

void tableau_reduce(DM Tin, int nout, int m, std::vector<std::string>& names, DM& A, DM& B, DM& C,
                    DM& D) {
  work T = to_work(Tin);
  int nd = static_cast<int>(names.size());
  for (;;) {
    reduce(T);
    // Column blocks: y [0, nout), dz [nout, nout+nd), z [nout+nd, nout+2nd), u after.
    const int cz = nout + nd, cu = nout + 2 * nd, rows = T.r - nout;
    auto row_zero = [&](int i, int from, int to) {
      for (int j = from; j < to; ++j)
        if (T(i, j) != 0.0) return false;
      return true;
    };
    int ns = 0;
    for (int i = nout; i < T.r; ++i)
      if (!row_zero(i, nout, cz)) ++ns;
    if (ns == rows) break;

    for (int i = 0; i < T.r; ++i) {
      if (row_zero(i, 0, T.c)) {
        sim_printf("\n\a");
        sim_printf("Warning this network has no unique solution\n");
        throw no_unique;
      }
    }
    for (int i = nout; i < T.r; ++i) {
      if (row_zero(i, nout, cu) && !row_zero(i, cu, T.c)) {
        sim_printf("\n\a");
        sim_printf("Warning check the circuit\n");
        throw check_circuit;
      }
    }
    // Rows nout+ns .. are algebraic constraints z_p + F22 z_r + G2 u = 0 (rref puts the
    // rows with a derivative pivot first); eliminate their pivot unknowns.
    const int k = nd - ns;
    const int c0 = nout + ns;
    std::vector<int> p = pivots(T, c0, k, cz, nd);
    bool ident = true;
    for (int q = 0; q < k && ident; ++q) ident = p[q] == q;
    if (!ident) {
      work P = T;
      for (int q = 0; q < nd; ++q) {
        for (int i = 0; i < T.r; ++i) {
          P(i, nout + q) = T(i, nout + p[q]);
          P(i, cz + q) = T(i, cz + p[q]);
        }
      }
      T = std::move(P);
      std::vector<std::string> nn(nd);
      for (int q = 0; q < nd; ++q) nn[q] = names[p[q]];
      names.swap(nn);
    }
    const int nr = nd - k;   // == ns
    work N(nout + ns, nout + 2 * nr + m);
    for (int i = 0; i < nout; ++i) {
      N(i, i) = 1.0;
      for (int q = 0; q < nr; ++q) N(i, nout + nr + q) = T(i, cz + k + q);
      for (int q = 0; q < m; ++q) N(i, nout + 2 * nr + q) = T(i, cu + q);
    }
    for (int i = 0; i < ns; ++i) {
      const int ti = nout + i;
      for (int q = 0; q < nr; ++q) {
        // E := E12 - E11 F22; an entry that cancels to rounding noise becomes zero.
        double e = T(ti, nout + k + q), mag = std::fabs(e);
        for (int s = 0; s < k; ++s) {
          const double prod = T(ti, nout + s) * T(c0 + s, cz + k + q);
          e -= prod;
          mag += std::fabs(prod);
        }
        if (std::fabs(e) <= 4.0 * (k + 1) * 2.22e-16 * mag) e = 0.0;
        N(nout + i, nout + q) = e;
        N(nout + i, nout + nr + q) = T(ti, cz + k + q);
      }
      for (int q = 0; q < m; ++q) N(nout + i, nout + 2 * nr + q) = T(ti, cu + q);
    }
    names.erase(names.begin(), names.begin() + k);
    T = std::move(N);
    nd = nr;
  }
  const int ns = nd, cz = nout + nd, cu = nout + 2 * nd;
  A = DM(ns, ns);
  B = DM(ns, m);
  C = DM(nout, ns);
  D = DM(nout, m);
  for (int i = 0; i < ns; ++i) {
    const double e = T(nout + i, nout + i);
    for (int q = 0; q < ns; ++q) A(i + 1, q + 1) = -T(nout + i, cz + q) / e;
    for (int q = 0; q < m; ++q) B(i + 1, q + 1) = -T(nout + i, cu + q) / e;
  }
  for (int i = 0; i < nout; ++i) {
    for (int q = 0; q < ns; ++q) C(i + 1, q + 1) = -T(i, cz + q);
    for (int q = 0; q < m; ++q) D(i + 1, q + 1) = -T(i, cu + q);
  }
}
