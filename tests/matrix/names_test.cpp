// The library's names that the standard library also uses stay usable beside it.
#include <algorithm>
#include <cmath>
#include <complex>
#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "matrix/matrix.h"

TEST(Names, LibraryAndStandardNamesLiveSideBySide) {
  const double v[] = {0, 4, 0, 2};
  DM A(1, 4, v);
  EXPECT_EQ(max(A), 4.0);
  EXPECT_EQ(min(A), 0.0);
  EXPECT_EQ(find(A).n, 2u);
  EXPECT_EQ(any(A)(1), 1.0);
  EXPECT_EQ(all(A)(1), 0.0);
  EXPECT_EQ(std::max(1.0, 2.0), 2.0);
  std::vector<int> xs{1, 2, 3};
  EXPECT_EQ(*std::find(xs.begin(), xs.end(), 2), 2);
  std::span<const int> s(xs);
  EXPECT_EQ(s.size(), 3u);
  complex z(3, 4);
  std::complex<double> sz(3, 4);
  EXPECT_EQ(abs(z), std::abs(sz));
  EXPECT_EQ(sqrt(2.0), std::sqrt(2.0));   // the C function, not the complex one
  EXPECT_EQ(abs(A)(2), 4.0);
}
