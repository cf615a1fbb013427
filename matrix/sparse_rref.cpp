// Gauss-Jordan elimination on sparse rows. Each entry goes through the same operations
// as in the dense rref (divide by the pivot, subtract f times the pivot row), so the
// results are bitwise those of the dense elimination; entries that stay zero there are
// simply never stored here.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <utility>

#include "matrix/sparse.h"

namespace {

double* value_at(std::vector<sp_entry>& r, int j) {
  auto it = std::lower_bound(r.begin(), r.end(), j,
                             [](const sp_entry& e, int c) { return e.col < c; });
  return it != r.end() && it->col == j ? &it->val : nullptr;
}

}  // namespace

void rref_in_place(SM& A, const std::vector<double>& tol) {
  const int r = A.rows(), c = A.cols();
  // Row swaps move positions only: at[position] is the stored row, pos[row] its position.
  std::vector<int> at(r), pos(r);
  std::iota(at.begin(), at.end(), 0);
  std::iota(pos.begin(), pos.end(), 0);
  // Rows holding an entry in each column; fill-in appends. An entry is dropped only in
  // the column being eliminated, so no row is listed twice.
  std::vector<std::vector<int>> in_col(c);
  for (int p = 0; p < r; ++p)
    for (const sp_entry& e : A.row(p)) in_col[e.col].push_back(p);

  std::vector<std::pair<int, double>> hits;
  std::vector<sp_entry> merged, fill;
  int i = 0, j = 0;
  while (i < r && j < c) {
    hits.clear();
    for (int p : in_col[j]) {
      const double* v = value_at(A.row(p), j);
      if (v && *v != 0.0) hits.push_back({p, *v});
    }
    std::vector<int>().swap(in_col[j]);   // column j is settled either way

    // The largest |entry| at or below position i; the topmost among equals.
    double best = 0.0;
    int pp = i;
    for (const auto& [p, v] : hits) {
      const int q = pos[p];
      if (q < i) continue;
      const double a = std::fabs(v);
      if (a > best || (a == best && a > 0.0 && q < pp)) {
        best = a;
        pp = q;
      }
    }
    if (best <= tol[j]) {
      for (const auto& [p, v] : hits)
        if (pos[p] >= i) *value_at(A.row(p), j) = 0.0;   // as the dense zeroing
      ++j;
      continue;
    }
    const int P = at[pp];
    std::swap(at[i], at[pp]);
    pos[at[i]] = i;
    pos[at[pp]] = pp;

    std::vector<sp_entry>& prow = A.row(P);
    const double piv = *value_at(prow, j);
    for (sp_entry& e : prow)
      if (e.col >= j) e.val = e.val / piv;
    const auto from = std::lower_bound(prow.begin(), prow.end(), j,
                                       [](const sp_entry& e, int col) { return e.col < col; });

    const std::size_t plen = prow.end() - from;
    for (const auto& [p, f] : hits) {
      if (p == P) continue;
      std::vector<sp_entry>& row = A.row(p);
      if (row.size() > 8 * plen) {
        // A long row (a loop through many branches) meets a short pivot row: update in
        // place and merge only the fill, so the cost follows the pivot row.
        fill.clear();
        for (auto b = from; b != prow.end(); ++b) {
          auto a = std::lower_bound(row.begin(), row.end(), b->col,
                                    [](const sp_entry& e, int c) { return e.col < c; });
          if (a != row.end() && a->col == b->col)
            a->val = b->col == j ? 0.0 : a->val - f * b->val;
          else if (b->val != 0.0)
            fill.push_back({b->col, 0.0 - f * b->val});
        }
        if (fill.empty()) continue;
        merged.clear();
        merged.reserve(row.size() + fill.size());
        std::merge(row.begin(), row.end(), fill.begin(), fill.end(), std::back_inserter(merged),
                   [](const sp_entry& x, const sp_entry& y) { return x.col < y.col; });
        for (const sp_entry& e : fill) in_col[e.col].push_back(p);
        row.swap(merged);
        continue;
      }
      merged.clear();
      merged.reserve(row.size() + plen);
      auto a = row.begin();
      for (auto b = from; b != prow.end(); ++b) {
        for (; a != row.end() && a->col < b->col; ++a)
          if (a->val != 0.0 || a->col > j) merged.push_back(*a);   // drops settled zeros
        if (a != row.end() && a->col == b->col) {
          if (b->col != j) merged.push_back({b->col, a->val - f * b->val});   // column j: f - f = 0
          ++a;
        } else if (b->val != 0.0) {
          merged.push_back({b->col, 0.0 - f * b->val});
          in_col[b->col].push_back(p);
        }
      }
      merged.insert(merged.end(), a, row.end());
      row.swap(merged);
    }
    ++i;
    ++j;
  }
  // Store the rows in their final positions.
  std::vector<std::vector<sp_entry>> placed(r);
  for (int q = 0; q < r; ++q) placed[q].swap(A.row(at[q]));
  for (int q = 0; q < r; ++q) A.row(q).swap(placed[q]);
}

std::vector<double> column_tolerances(const SM& A) {
  const int r = A.rows(), c = A.cols();
  std::vector<double> mx(c, 0.0);
  for (int p = 0; p < r; ++p)
    for (const sp_entry& e : A.row(p)) mx[e.col] = std::max(mx[e.col], std::fabs(e.val));
  const double scale = std::max(r, c) * 2.22e-16;
  for (double& t : mx) t = scale * t;
  return mx;
}
