// seqa builds its column by repeated addition, so the last bits follow the running sum.
#include <gtest/gtest.h>

#include "matrix/dm_ops.h"

namespace {

TEST(Seqa, TenthsEndBelowOne) {
  DM s = seqa(0.0, 11, 0.1);
  ASSERT_EQ(s.rows, 11);
  ASSERT_EQ(s.cols, 1);
  EXPECT_EQ(s(11), 0.9999999999999999);
  EXPECT_EQ(s(5), 0.1 + 0.1 + 0.1 + 0.1);
}

TEST(Seqa, IndexColumnsForViews) {
  DM I = seqa(4.0, 3, 1.0);
  EXPECT_EQ(I(1), 4.0);
  EXPECT_EQ(I(3), 6.0);
  DM E = seqa(1.0, 0, 1.0);
  EXPECT_EQ(E.rows, 0);
  EXPECT_EQ(E.cols, 1);
}

}  // namespace
