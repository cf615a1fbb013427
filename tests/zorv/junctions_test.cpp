#include "sdi/zorv/core/junctions.h"

#include <gtest/gtest.h>

using zorv::ConnectionItem;
using zorv::FindJunctions;

namespace {

ConnectionItem With(bool isWire, sdi::point a, sdi::point b) {
  ConnectionItem item;
  item.isWire = isWire;
  if (isWire) item.end0 = a, item.end1 = b;
  item.hasTerminalAt = [a, b](const sdi::point& p) { return p == a || p == b; };
  return item;
}
ConnectionItem Wire(int x1, int y1, int x2, int y2) { return With(true, {x1, y1}, {x2, y2}); }
// A resistor standing upright with its reference point at (x, y): terminals 24 above and below.
ConnectionItem Resistor(int x, int y) { return With(false, {x, y - 24}, {x, y + 24}); }

}  // namespace

TEST(FindJunctions, FreeEndsOfALoneWire) {
  const auto dots = FindJunctions({Wire(8, 8, 80, 8)});
  ASSERT_EQ(dots.size(), 2u);
  EXPECT_EQ(dots[0], sdi::point(8, 8));
  EXPECT_EQ(dots[1], sdi::point(80, 8));
}

TEST(FindJunctions, TwoWiresJoinedEndToEndShowNoDotThere) {
  const auto dots = FindJunctions({Wire(8, 8, 80, 8), Wire(80, 8, 80, 96)});
  ASSERT_EQ(dots.size(), 2u);
  EXPECT_EQ(dots[0], sdi::point(8, 8));
  EXPECT_EQ(dots[1], sdi::point(80, 96));
}

TEST(FindJunctions, ThreeWiresMeetingShowOneDot) {
  const auto dots = FindJunctions({Wire(8, 80, 80, 80), Wire(80, 80, 160, 80), Wire(80, 80, 80, 8)});
  // The T point once, and the three free ends.
  ASSERT_EQ(dots.size(), 4u);
  EXPECT_EQ(dots[0], sdi::point(8, 80));
  EXPECT_EQ(dots[1], sdi::point(80, 80));
  EXPECT_EQ(dots[2], sdi::point(160, 80));
  EXPECT_EQ(dots[3], sdi::point(80, 8));
}

TEST(FindJunctions, LCornerOfTwoWiresHasNoDot) {
  const auto dots = FindJunctions({Wire(8, 8, 80, 8), Wire(8, 8, 8, 80)});
  for (const auto& p : dots) EXPECT_NE(p, sdi::point(8, 8));
  EXPECT_EQ(dots.size(), 2u);
}

TEST(FindJunctions, AWireEndingOnATerminalHasNoDotThere) {
  const auto dots = FindJunctions({Resistor(200, 160), Wire(200, 184, 200, 240)});
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_EQ(dots[0], sdi::point(200, 240));
}

TEST(FindJunctions, ATerminalStopsTheCountEvenWithWires) {
  // Two other wires and a terminal at (200, 184): the terminal makes it a plain connection.
  const auto dots =
      FindJunctions({Wire(200, 184, 200, 240), Resistor(200, 160), Wire(200, 184, 280, 184), Wire(120, 184, 200, 184)});
  for (const auto& p : dots) EXPECT_NE(p, sdi::point(200, 184));
}

TEST(FindJunctions, SymbolsAloneGiveNoDots) {
  EXPECT_TRUE(FindJunctions({Resistor(200, 160), Resistor(400, 160)}).empty());
  EXPECT_TRUE(FindJunctions({}).empty());
}

TEST(FindJunctions, ManyJunctionsAreAllKept) {
  std::vector<ConnectionItem> items;
  for (int i = 0; i < 600; ++i) items.push_back(Wire(8, 8 + 8 * i, 16, 8 + 8 * i));
  EXPECT_EQ(FindJunctions(items).size(), 1200u);
}
