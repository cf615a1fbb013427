// Storage of the sparse matrix SM: sorted rows of (column, value) entries.
#include "matrix/sparse.h"

#include <algorithm>

namespace {

std::vector<sp_entry>::const_iterator find_col(const std::vector<sp_entry>& r, int j) {
  return std::lower_bound(r.begin(), r.end(), j,
                          [](const sp_entry& e, int c) { return e.col < c; });
}

}  // namespace

SM::SM(int rows, int cols) : rows_(rows < 0 ? 0 : rows), cols_(cols < 0 ? 0 : cols) {
  if (rows < 0 || cols < 0) matrix_fatal("rows,cols out of range allowed", "construct SM(r,c)");
}

int SM::check_row(int i) const {
  if (i < 0 || i >= rows()) matrix_fatal("index out of range", "SM");
  return i;
}

std::size_t SM::nnz() const {
  std::size_t n = 0;
  for (const auto& r : rows_) n += r.size();
  return n;
}

double SM::get(int i, int j) const {
  const std::vector<sp_entry>& r = row(i);
  auto it = find_col(r, j);
  return it != r.end() && it->col == j ? it->val : 0.0;
}

void SM::set(int i, int j, double v) {
  std::vector<sp_entry>& r = row(i);
  if (j < 0 || j >= cols_) matrix_fatal("index out of range", "SM");
  // Rows are mostly built in column order: appending is the common case.
  if (r.empty() || r.back().col < j) {
    r.push_back({j, v});
    return;
  }
  auto it = r.begin() + (find_col(r, j) - r.cbegin());
  if (it->col == j)
    it->val = v;
  else
    r.insert(it, {j, v});
}

void SM::sort_rows() {
  for (auto& r : rows_)
    std::sort(r.begin(), r.end(), [](const sp_entry& a, const sp_entry& b) { return a.col < b.col; });
}

DM SM::dense() const {
  DM D(rows(), cols_);
  for (uint32_t k = 0; k < D.n; ++k) D.blk->data[k] = 0.0;
  for (int i = 0; i < rows(); ++i)
    for (const sp_entry& e : rows_[i]) D(i + 1, e.col + 1) = e.val;
  return D;
}

SM SM::from_dense(const DM& A) {
  SM S(A.rows, A.cols);
  for (int i = 1; i <= A.rows; ++i)
    for (int j = 1; j <= A.cols; ++j)
      if (A(i, j) != 0.0) S.rows_[i - 1].push_back({j - 1, A(i, j)});
  return S;
}
