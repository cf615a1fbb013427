// Shape and elements of a result against the expected matrix written row by row, as it
// reads on the page: expect_dm(R, 2, 3, {1, 2, 3, 4, 5, 6}). Exact unless a tolerance is
// given; a failing element names its row and column.
#pragma once
#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>

#include "matrix/cm.h"
#include "matrix/dm.h"

inline void expect_dm(const DM& A, int r, int c, std::initializer_list<double> v, double tol = 0) {
  ASSERT_EQ(A.rows, r);
  ASSERT_EQ(A.cols, c);
  ASSERT_EQ(v.size(), static_cast<size_t>(r) * c);
  int k = 0;
  for (double x : v) {
    const double got = A(k / c + 1, k % c + 1);
    if (tol == 0)
      EXPECT_EQ(got, x) << "at (" << k / c + 1 << ", " << k % c + 1 << ")";
    else
      EXPECT_NEAR(got, x, tol) << "at (" << k / c + 1 << ", " << k % c + 1 << ")";
    ++k;
  }
}

inline void expect_cm(const CM& A, int r, int c, std::initializer_list<complex> v, double tol = 0) {
  ASSERT_EQ(A.rows, r);
  ASSERT_EQ(A.cols, c);
  ASSERT_EQ(v.size(), static_cast<size_t>(r) * c);
  int k = 0;
  for (complex x : v) {
    const complex got = A(k / c + 1, k % c + 1);
    EXPECT_NEAR(got.re, x.re, tol) << "re at (" << k / c + 1 << ", " << k % c + 1 << ")";
    EXPECT_NEAR(got.im, x.im, tol) << "im at (" << k / c + 1 << ", " << k % c + 1 << ")";
    ++k;
  }
}
