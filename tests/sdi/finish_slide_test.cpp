#include "sdi/finish_slide.h"

#include <gtest/gtest.h>

#include <vector>

TEST(FinishSlide, TwoHundredPixelsMoveFiveAPieceFromFifteenTo170) {
  sdi::finish_slide s;
  EXPECT_EQ(s.bitmap_x, 15);
  sdi::point at = s.paint(200, 100);
  EXPECT_EQ(s.unit_x, 10);
  EXPECT_EQ(s.unit_y, 5);
  EXPECT_EQ(at.x, 15);
  EXPECT_EQ(at.y, 17);  // 3.5 units of 5, truncated
  std::vector<int> xs;
  while (s.timer()) {
    xs.push_back(s.bitmap_x);
    ASSERT_LT(xs.size(), 100u);
  }
  ASSERT_EQ(xs.size(), 31u);  // 15 + 31 x 5 = 170, the first position not left of 17 units
  EXPECT_EQ(xs.front(), 20);
  EXPECT_EQ(xs.back(), 170);
  EXPECT_FALSE(s.timer());
  EXPECT_EQ(s.paint(200, 100).x, 170);
}
