#include "simu/model/tableau.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "simu/base/console.h"

const char* const sources_only_row = "Warning check the circuit.\n";

namespace {

const char* const no_unique = "Warning this network has no unique solution\n Check your circuit";

// Whether row i holds a non-zero entry in the columns [from, to).
bool any_in(const SM& T, int i, int from, int to) {
  for (const sp_entry& e : T.row(i))
    if (e.col >= from && e.col < to && e.val != 0.0) return true;
  return false;
}

// Rows nout+ns .. are algebraic constraints z_p + F22 z_r + G2 u = 0 (rref puts the rows
// with a derivative pivot first); puts their pivot unknowns first (columns of dz/dt and
// of z alike, and the names with them).
void pivots_first(SM& T, int nout, int nd, int c0, int k, std::vector<std::string>& names) {
  const int cz = nout + nd, cu = nout + 2 * nd;
  std::vector<int> p = pivot_order(T, c0, k, cz, nd);
  bool ident = true;
  for (int q = 0; q < k && ident; ++q) ident = p[q] == q;
  if (ident) return;
  std::vector<int> to(nd);
  for (int q = 0; q < nd; ++q) to[p[q]] = q;
  for (int i = 0; i < T.rows(); ++i) {
    for (sp_entry& e : T.row(i)) {
      if (e.col < nout || e.col >= cu) continue;
      const int base = e.col < cz ? nout : cz;
      e.col = base + to[e.col - base];
    }
  }
  T.sort_rows();
  std::vector<std::string> nn(nd);
  for (int q = 0; q < nd; ++q) nn[q] = names[p[q]];
  names.swap(nn);
}

// The tableau over the unknowns that remain once the first k (pivots of the constraint
// rows c0 ..) are substituted: E := E12 - E11 F22, F := F(:, k+1..), G, Yz, Yu.
SM substitute(const SM& T, int nout, int nd, int ns, int m) {
  const int k = nd - ns, c0 = nout + ns, cz = nout + nd, cu = nout + 2 * nd, nr = ns;
  SM N(nout + ns, nout + 2 * nr + m);
  auto copy_zu = [&](int from, std::vector<sp_entry>& out) {
    for (const sp_entry& e : T.row(from)) {
      if (e.col >= cu)
        out.push_back({nout + 2 * nr + (e.col - cu), e.val});
      else if (e.col >= cz + k)
        out.push_back({nout + nr + (e.col - cz - k), e.val});
    }
  };
  for (int i = 0; i < nout; ++i) {
    std::vector<sp_entry>& out = N.row(i);
    out.push_back({i, 1.0});
    copy_zu(i, out);
  }
  std::vector<double> e(nr, 0.0), mag(nr, 0.0);
  std::vector<char> used(nr, 0);
  std::vector<int> touched;
  auto touch = [&](int q) {
    if (!used[q]) {
      used[q] = 1;
      touched.push_back(q);
    }
  };
  for (int i = 0; i < ns; ++i) {
    const int ti = nout + i;
    touched.clear();
    for (const sp_entry& a : T.row(ti)) {
      if (a.col >= nout + k && a.col < cz) {
        const int q = a.col - nout - k;
        e[q] = a.val;
        mag[q] = std::fabs(a.val);
        touch(q);
      }
    }
    // Products in ascending s, as the dense sum takes them; zero products change nothing.
    for (const sp_entry& a : T.row(ti)) {
      if (a.col < nout || a.col >= nout + k || a.val == 0.0) continue;
      for (const sp_entry& f : T.row(c0 + a.col - nout)) {
        if (f.col < cz + k || f.col >= cu) continue;
        const int q = f.col - cz - k;
        if (!used[q]) {
          e[q] = 0.0;
          mag[q] = 0.0;
        }
        touch(q);
        const double prod = a.val * f.val;
        e[q] -= prod;
        mag[q] += std::fabs(prod);
      }
    }
    std::sort(touched.begin(), touched.end());
    std::vector<sp_entry>& out = N.row(ti);
    for (int q : touched) {
      used[q] = 0;
      // An entry that cancels to rounding noise becomes zero.
      if (std::fabs(e[q]) <= 4.0 * (k + 1) * 2.22e-16 * mag[q]) continue;
      out.push_back({nout + q, e[q]});
    }
    copy_zu(ti, out);
  }
  return N;
}

}  // namespace

std::vector<int> pivot_order(const SM& R, int r0, int rows, int c0, int cols) {
  std::vector<int> p;
  std::vector<char> taken(cols, 0);
  for (int i = 0; i < rows; ++i) {
    int j = cols;
    for (const sp_entry& e : R.row(r0 + i)) {
      if (e.col >= c0 && e.col < c0 + cols && e.val != 0.0) {
        j = e.col - c0;
        break;
      }
    }
    if (j == cols) throw "rpac - Check your circuit";
    p.push_back(j);
    taken[j] = 1;
  }
  for (int j = 0; j < cols; ++j)
    if (!taken[j]) p.push_back(j);
  return p;
}

DM rref_cols(const DM& A) {
  SM S = SM::from_dense(A);
  rref_in_place(S, column_tolerances(S));
  return S.dense();
}

DM rpac(const DM& R, int rows, int cols) {
  std::vector<int> p = pivot_order(SM::from_dense(R), 0, rows, 0, cols);
  DM out(cols, 1);
  for (int k = 0; k < cols; ++k) out(k + 1, 1) = p[k] + 1;
  return out;
}

void tableau_reduce(const DM& T, int nout, int m, std::vector<std::string>& names, DM& A, DM& B,
                    DM& C, DM& D) {
  tableau_reduce(SM::from_dense(T), nout, m, names, A, B, C, D);
}

void tableau_reduce(SM T, int nout, int m, std::vector<std::string>& names, DM& A, DM& B, DM& C,
                    DM& D) {
  int nd = static_cast<int>(names.size());
  for (;;) {
    rref_in_place(T, column_tolerances(T));
    // Column blocks: y [0, nout), dz [nout, nout+nd), z [nout+nd, nout+2nd), u after.
    const int cz = nout + nd, cu = nout + 2 * nd, rows = T.rows() - nout;
    int ns = 0;
    for (int i = nout; i < T.rows(); ++i)
      if (any_in(T, i, nout, cz)) ++ns;
    if (ns == rows) break;

    for (int i = 0; i < T.rows(); ++i) {
      if (!any_in(T, i, 0, T.cols())) {
        sim_printf("\n\a");
        sim_printf("Warning this network has no unique solution\n");
        throw no_unique;
      }
    }
    for (int i = nout; i < T.rows(); ++i) {
      if (!any_in(T, i, nout, cu) && any_in(T, i, cu, T.cols())) {
        sim_printf("\n\a");
        sim_printf("Warning check the circuit\n");
        throw sources_only_row;
      }
    }
    pivots_first(T, nout, nd, nout + ns, nd - ns, names);
    T = substitute(T, nout, nd, ns, m);
    names.erase(names.begin(), names.begin() + (nd - ns));
    nd = ns;
  }
  const int ns = nd, cz = nout + nd, cu = nout + 2 * nd;
  A = DM(ns, ns);
  B = DM(ns, m);
  C = DM(nout, ns);
  D = DM(nout, m);
  // Entries that are not stored are +0.0, as in a dense tableau, and go through the same
  // sign change and division.
  for (int i = 0; i < ns; ++i) {
    const double e = T.get(nout + i, nout + i);
    const double z = -0.0 / e;
    for (int q = 0; q < ns; ++q) A(i + 1, q + 1) = z;
    for (int q = 0; q < m; ++q) B(i + 1, q + 1) = z;
    for (const sp_entry& x : T.row(nout + i)) {
      if (x.col >= cu)
        B(i + 1, x.col - cu + 1) = -x.val / e;
      else if (x.col >= cz)
        A(i + 1, x.col - cz + 1) = -x.val / e;
    }
  }
  for (int i = 0; i < nout; ++i) {
    for (int q = 0; q < ns; ++q) C(i + 1, q + 1) = -0.0;
    for (int q = 0; q < m; ++q) D(i + 1, q + 1) = -0.0;
    for (const sp_entry& x : T.row(i)) {
      if (x.col >= cu)
        D(i + 1, x.col - cu + 1) = -x.val;
      else if (x.col >= cz)
        C(i + 1, x.col - cz + 1) = -x.val;
    }
  }
}
