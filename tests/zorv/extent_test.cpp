#include "sdi/zorv/core/extent.h"

#include <gtest/gtest.h>

using zorv::ElementListExtent;
using zorv::ExtentItem;

namespace {

ExtentItem Wire(int x1, int y1, int x2, int y2) { return {5, {x1, y1}, {x2, y2}, {}}; }
ExtentItem Symbol(int kind, int x, int y, int w, int h) { return {kind, {}, {}, {x, y, w, h}}; }

}  // namespace

TEST(ElementListExtent, EmptyListIsZero) {
  const zorv::SheetRect r = ElementListExtent({});
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, 0);
  EXPECT_EQ(r.w, 0);
  EXPECT_EQ(r.h, 0);
}

TEST(ElementListExtent, SymbolCornersAreWidened) {
  // A resistor image at (194, 135), 13 x 51: corners (174, 115) and (194+12+25, 135+50+10).
  const zorv::SheetRect r = ElementListExtent({Symbol(0, 194, 135, 13, 51)});
  EXPECT_EQ(r.x, 174);
  EXPECT_EQ(r.y, 115);
  EXPECT_EQ(r.w, 231 - 174);
  EXPECT_EQ(r.h, 195 - 115);
}

TEST(ElementListExtent, FirstCornerIsRaisedToZero) {
  const zorv::SheetRect r = ElementListExtent({Symbol(0, 10, 5, 13, 51)});
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, 0);
  EXPECT_EQ(r.w, 10 + 12 + 25);
  EXPECT_EQ(r.h, 5 + 50 + 10);
}

TEST(ElementListExtent, ModulatorReachesFurtherDown) {
  const zorv::SheetRect r = ElementListExtent({Symbol(20, 100, 100, 50, 40)});
  EXPECT_EQ(r.x, 100);
  EXPECT_EQ(r.y, 100);
  EXPECT_EQ(r.w, 49);
  EXPECT_EQ(r.h, 39 + 60);
}

TEST(ElementListExtent, AWireFirstStartsFromItsEnds) {
  const zorv::SheetRect r = ElementListExtent({Wire(400, 300, 480, 300), Symbol(0, 194, 135, 13, 51)});
  EXPECT_EQ(r.x, 174);
  EXPECT_EQ(r.y, 115);
  EXPECT_EQ(r.w, 480 - 174);
  EXPECT_EQ(r.h, 300 - 115);
}

TEST(ElementListExtent, AWireAloneSpansItsEnds) {
  const zorv::SheetRect r = ElementListExtent({Wire(480, 320, 400, 300)});
  EXPECT_EQ(r.x, 400);
  EXPECT_EQ(r.y, 300);
  EXPECT_EQ(r.w, 80);
  EXPECT_EQ(r.h, 20);
}

TEST(ElementListExtent, TheFirstSymbolsOwnImageCornersCount) {
  // A resistor near the top edge, image at (2, -17): its widened corner is raised to
  // (0, 0), but its own top-left corner (2, -17) is part of the extent too.
  const zorv::SheetRect r = ElementListExtent({Symbol(0, 2, -17, 13, 51)});
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, -17);
  EXPECT_EQ(r.w, 2 + 12 + 25);
  EXPECT_EQ(r.h, (-17 + 50 + 10) - (-17));
  // Only the first element's: a later one's image corners are the widened ones alone.
  const zorv::SheetRect s = ElementListExtent({Wire(100, 100, 200, 100), Symbol(0, 2, -17, 13, 51)});
  EXPECT_EQ(s.x, 0);
  EXPECT_EQ(s.y, 0);
}
