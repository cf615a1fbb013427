// identical and pow10.
#include <gtest/gtest.h>

#include <cmath>

#include "matrix/linalg_extra.h"

namespace {

TEST(Identical, ShapesValuesAndNaN) {
  const double a[] = {1.0, 2.0, 0.0, 4.0};
  const double b[] = {1.0, 2.0, -0.0, 4.0};
  EXPECT_EQ(identical(DM(2, 2, a), DM(2, 2, b)), 1);
  EXPECT_EQ(identical(DM(2, 2, a), DM(1, 4, a)), 0);
  const double c[] = {1.0, std::nan(""), 0.0, 4.0};
  EXPECT_EQ(identical(DM(2, 2, c), DM(2, 2, c)), 0);
  EXPECT_EQ(identical(DM(0, 3), DM(0, 3)), 1);
  EXPECT_EQ(identical(DM(0, 3), DM(3, 0)), 0);
}

TEST(Pow10, ScalarAndElementWise) {
  EXPECT_EQ(pow10(2.0), 100.0);
  EXPECT_EQ(pow10(-1.0), 0.1);
  const double v[] = {0.0, 3.0};
  DM P = pow10(DM(1, 2, v));
  EXPECT_EQ(P(1), 1.0);
  EXPECT_EQ(P(2), 1000.0);
}

}  // namespace
