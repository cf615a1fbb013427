#include "sdi/zorv/core/finish_slide.h"

#include <gtest/gtest.h>

TEST(FinishSlide, FiveByFiveFromFifteenToOneSeventy) {
  // A client 200 pixels wide: units of 10, steps of 5, stopping at 17 units.
  zorv::FinishSlide slide;
  slide.Resize({200, 120});
  EXPECT_EQ(slide.UnitX(), 10);
  EXPECT_EQ(slide.UnitY(), 6);
  EXPECT_EQ(slide.Picture().x, 15);
  EXPECT_EQ(slide.Picture().y, 21);  // 6 x 3.5
  int ticks = 0;
  while (slide.Tick()) {
    ++ticks;
    EXPECT_EQ(slide.Picture().x, 15 + 5 * ticks);
  }
  EXPECT_EQ(slide.Picture().x, 170);
  EXPECT_EQ(ticks, 31);
  EXPECT_FALSE(slide.Tick());
  EXPECT_EQ(slide.Picture().x, 170);
}

TEST(FinishSlide, OddUnitsAreTruncated) {
  // 215 / 20 = 10 units, 0.5 x 10 = 5; 77 / 20 = 3, 3 x 3.5 = 10.5 -> 10.
  zorv::FinishSlide slide;
  slide.Resize({215, 77});
  EXPECT_EQ(slide.Picture().y, 10);
  ASSERT_TRUE(slide.Tick());
  EXPECT_EQ(slide.Picture().x, 20);
  // 39 / 20 = 1 unit: half a unit truncates to 0, so the picture stays at 15, left
  // of 17, and is redrawn at each tick; with no unit at all it is past 0 and stays.
  zorv::FinishSlide narrow;
  narrow.Resize({39, 40});
  EXPECT_TRUE(narrow.Tick());
  EXPECT_EQ(narrow.Picture().x, 15);
  narrow.Resize({18, 40});
  EXPECT_FALSE(narrow.Tick());
}
