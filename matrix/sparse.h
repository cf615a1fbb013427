// SM: a real sparse matrix stored by rows, for the structural reductions of large,
// nearly empty systems (a circuit's tableau has a few entries per row).
//
// Usage:
//     SM A(3, 4);                 // 3 x 4, no entries
//     A.set(0, 2, 5.0);           // element (row 0, column 2) = 5.0
//     double v = A.get(0, 1);     // 0.0 where no entry is stored
//     for (const sp_entry& e : A.row(0)) ... e.col, e.val
//     rref_in_place(A, column_tolerances(A));   // as a dense Gauss-Jordan elimination
//     DM D = A.dense();           // 1-based DM of the same shape
//
// Unlike DM, indexing is 0-based. Each row holds its entries in ascending column order;
// an entry may hold 0.0 (a value that cancelled), which every test here reads as zero.
// Memory grows with the number of entries, not with rows * cols. Out-of-range indices
// take the library's fatal path ("index out of range", "SM").
#pragma once

#include <cstddef>
#include <vector>

#include "matrix/dm.h"

struct sp_entry {
  int col;
  double val;
};

class SM {
public:
  SM() = default;
  SM(int rows, int cols);

  int rows() const { return static_cast<int>(rows_.size()); }
  int cols() const { return cols_; }
  std::size_t nnz() const;

  double get(int i, int j) const;
  void set(int i, int j, double v);   // stores the entry even when v is 0.0
  const std::vector<sp_entry>& row(int i) const { return rows_[check_row(i)]; }
  std::vector<sp_entry>& row(int i) { return rows_[check_row(i)]; }

  // Puts every row back in column order, after entries were appended out of order.
  void sort_rows();

  DM dense() const;
  static SM from_dense(const DM& A);

private:
  int check_row(int i) const;
  std::vector<std::vector<sp_entry>> rows_;
  int cols_ = 0;
};

// Reduced row echelon form by Gauss-Jordan elimination with partial pivoting: the
// elimination of rref(const DM&) on sparse rows, entry for entry the same arithmetic.
// Columns in order, the largest |entry| at or below the current row as pivot (the
// topmost among equals), every other row cleared in the pivot column. A column whose
// best pivot is at most tol[j] is zeroed from the current row down and skipped. tol
// has one entry per column.
void rref_in_place(SM& A, const std::vector<double>& tol);

// The zero test scaled per column: max(rows, cols) * 2.22e-16 * the largest |entry| of
// each column of the input.
std::vector<double> column_tolerances(const SM& A);
