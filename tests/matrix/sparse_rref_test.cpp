// The sparse elimination against the dense rref: the same pivots and, entry for entry,
// the same arithmetic, so the results must agree bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "fatal_expect.h"
#include "matrix/rref.h"
#include "matrix/sparse.h"

namespace {

// rref's own tolerance, for every column.
std::vector<double> dense_tolerance(const DM& A) {
  double norm = 0.0;
  for (int j = 1; j <= A.cols; ++j) {
    double s = 0.0;
    for (int i = 1; i <= A.rows; ++i) s += std::fabs(A(i, j));
    norm = std::fmax(norm, s);
  }
  return std::vector<double>(A.cols, std::max(A.rows, A.cols) * 2.22e-16 * norm);
}

struct shape {
  const char* label;
  int rows, cols;
  double density;
  bool long_row, repeated_rows, ties;
};

DM random_matrix(const shape& s, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  DM A(s.rows, s.cols, 0.0);
  for (int i = 1; i <= s.rows; ++i)
    for (int j = 1; j <= s.cols; ++j) {
      const bool on = u(gen) < s.density || (s.long_row && i == s.rows);
      if (on) A(i, j) = s.ties ? (u(gen) < 0.5 ? 3.0 : -3.0) : (u(gen) - 0.5) * std::pow(10.0, 6 * u(gen) - 3);
    }
  if (s.repeated_rows)
    for (int j = 1; j <= s.cols; ++j) A(s.rows, j) = 2.0 * A(1, j);
  return A;
}

TEST(SparseRref, MatchesTheDenseEliminationBitForBit) {
  const shape shapes[] = {
      {"square sparse", 30, 30, 0.1, false, false, false},
      {"wide, a long row", 20, 60, 0.05, true, false, false},
      {"tall, rank-deficient", 40, 15, 0.15, false, true, false},
      {"equal magnitudes", 25, 25, 0.12, false, false, true},
      {"dense", 12, 14, 0.9, false, true, false},
  };
  for (const shape& s : shapes) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
      SCOPED_TRACE(std::string(s.label) + ", seed " + std::to_string(seed));
      DM A = random_matrix(s, seed);
      DM R = rref(A);
      SM S = SM::from_dense(A);
      rref_in_place(S, dense_tolerance(A));
      DM Rs = S.dense();
      for (int i = 1; i <= A.rows; ++i)
        for (int j = 1; j <= A.cols; ++j)
          ASSERT_EQ(Rs(i, j), R(i, j)) << "element (" << i << ", " << j << ")";
    }
  }
}

TEST(SparseRref, ColumnTolerancesScaleByEachColumnsLargestEntry) {
  SM A(2, 3);
  A.set(1, 0, -4.0);
  A.set(0, 0, 2.0);
  A.set(0, 2, 1e-9);
  std::vector<double> tol = column_tolerances(A);
  EXPECT_EQ(tol, (std::vector<double>{3 * 2.22e-16 * 4.0, 0.0, 3 * 2.22e-16 * 1e-9}));
  EXPECT_EQ(A.get(0, 0), 2.0);
  EXPECT_EQ(A.get(0, 1), 0.0);
  EXPECT_EQ(A.nnz(), 3u);
}

TEST(SparseRref, IndicesOutsideTheMatrixAreFatal) {
  SM A(2, 2);
  EXPECT_FATAL(A.set(2, 0, 1.0), "index out of range", "SM");
  EXPECT_FATAL(A.set(0, 2, 1.0), "index out of range", "SM");
  EXPECT_FATAL(A.get(-1, 0), "index out of range", "SM");
}

}  // namespace
