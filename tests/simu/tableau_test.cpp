// Row reduction of the tableau: a column that depends on another only through rounding
// must reduce to an exact zero row, or a spurious state appears.
#include <gtest/gtest.h>

#include "common/dm_builders.h"
#include "simu/tableau.h"

TEST(Tableau, RrefDropsRoundingNoiseOfAColumn) {
  // Column 2 is three times column 1, which the decimal fractions miss by rounding.
  DM R = rref_cols(rows_of(2, 2, {0.1, 0.3, 0.7, 2.1}));
  EXPECT_EQ(R(1, 1), 1.0);
  EXPECT_NEAR(R(1, 2), 3.0, 1e-15);
  EXPECT_EQ(R(2, 1), 0.0);
  EXPECT_EQ(R(2, 2), 0.0);
}
