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

TEST(FinishSlide, UnitsFollowTheClientSizeAtEachPaint) {
  sdi::finish_slide s;
  s.paint(59, 39);  // units 2 x 1: one pixel per tick, up to 34
  EXPECT_EQ(s.unit_x, 2);
  EXPECT_EQ(s.paint(59, 39).y, 3);
  int ticks = 0;
  while (s.timer()) ++ticks;
  EXPECT_EQ(ticks, 19);
  EXPECT_EQ(s.bitmap_x, 34);
  s.paint(400, 40);  // wider: it slides on from where it stands
  EXPECT_TRUE(s.timer());
  EXPECT_EQ(s.bitmap_x, 44);
  sdi::finish_slide narrow;
  narrow.paint(19, 19);  // no unit: it stays
  EXPECT_FALSE(narrow.timer());
  EXPECT_EQ(narrow.bitmap_x, 15);
}
