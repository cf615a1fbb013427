// The editor's sheet geometry without a display: the circuit's extent, junction dots,
// zoom steps and scroll sizes, zoom-all and the finish picture's slide.
#include <gtest/gtest.h>

#include <cmath>

#include "sdi/zorv/core/view/extent.h"
#include "sdi/zorv/core/dialogs/finish_slide.h"
#include "sdi/zorv/core/view/junctions.h"
#include "sdi/zorv/core/view/view_mapping.h"

namespace {

zorv::ExtentItem W(int x1, int y1, int x2, int y2) { return {5, {x1, y1}, {x2, y2}, {}}; }
zorv::ExtentItem S(int kind, int x, int y, int w, int h) { return {kind, {}, {}, {x, y, w, h}}; }

TEST(Geometry, Extent) {
  struct { const char* label; std::vector<zorv::ExtentItem> items; int x, y, w, h; } rows[] = {
      {"empty", {}, 0, 0, 0, 0},
      // A resistor image at (194, 135), 13 x 51: corners (174, 115) and (194+12+25, 135+50+10).
      {"symbol corners widened", {S(0, 194, 135, 13, 51)}, 174, 115, 231 - 174, 195 - 115},
      {"first corner raised to zero", {S(0, 10, 5, 13, 51)}, 0, 0, 47, 65},
      {"modulator reaches further down", {S(20, 100, 100, 50, 40)}, 100, 100, 49, 99},
      {"wire first", {W(400, 300, 480, 300), S(0, 194, 135, 13, 51)}, 174, 115, 480 - 174, 300 - 115},
      {"wire alone", {W(480, 320, 400, 300)}, 400, 300, 80, 20},
      // The first symbol's own image corner (2, -17) counts; a later one's does not.
      {"first symbol's own corner", {S(0, 2, -17, 13, 51)}, 0, -17, 39, 60},
      {"later symbol's own corner", {W(100, 100, 200, 100), S(0, 2, -17, 13, 51)}, 0, 0, 200, 100},
  };
  for (auto& r : rows) {
    const zorv::SheetRect e = zorv::ElementListExtent(r.items);
    EXPECT_EQ(std::vector<int>({e.x, e.y, e.w, e.h}), std::vector<int>({r.x, r.y, r.w, r.h})) << r.label;
  }
}

zorv::ConnectionItem Item(bool isWire, sdi::point a, sdi::point b) {
  zorv::ConnectionItem item;
  item.isWire = isWire;
  if (isWire) item.end0 = a, item.end1 = b;
  item.hasTerminalAt = [a, b](const sdi::point& p) { return p == a || p == b; };
  return item;
}
zorv::ConnectionItem Wire(int x1, int y1, int x2, int y2) { return Item(true, {x1, y1}, {x2, y2}); }
zorv::ConnectionItem Resistor(int x, int y) { return Item(false, {x, y - 24}, {x, y + 24}); }

TEST(Geometry, JunctionDots) {
  struct { const char* label; std::vector<zorv::ConnectionItem> items; std::vector<sdi::point> dots; } rows[] = {
      {"free ends of a lone wire", {Wire(8, 8, 80, 8)}, {{8, 8}, {80, 8}}},
      {"end to end: no dot there", {Wire(8, 8, 80, 8), Wire(80, 8, 80, 96)}, {{8, 8}, {80, 96}}},
      {"L corner", {Wire(8, 8, 80, 8), Wire(8, 8, 8, 80)}, {{80, 8}, {8, 80}}},
      {"three wires meet once", {Wire(8, 80, 80, 80), Wire(80, 80, 160, 80), Wire(80, 80, 80, 8)},
       {{8, 80}, {80, 80}, {160, 80}, {80, 8}}},
      {"wire ending on a terminal", {Resistor(200, 160), Wire(200, 184, 200, 240)}, {{200, 240}}},
      {"a terminal stops the count",
       {Wire(200, 184, 200, 240), Resistor(200, 160), Wire(200, 184, 280, 184), Wire(120, 184, 200, 184)},
       {{200, 240}, {280, 184}, {120, 184}}},
      {"symbols alone", {Resistor(200, 160), Resistor(400, 160)}, {}},
      {"nothing", {}, {}},
  };
  for (auto& r : rows) EXPECT_EQ(zorv::FindJunctions(r.items), r.dots) << r.label;
  std::vector<zorv::ConnectionItem> many;
  for (int i = 0; i < 600; ++i) many.push_back(Wire(8, 8 + 8 * i, 16, 8 + 8 * i));
  EXPECT_EQ(zorv::FindJunctions(many).size(), 1200u);
}

TEST(Geometry, ZoomLimitsAndSheetMapping) {
  zorv::ViewMapping in, out;
  int steps = 0;
  while (in.ZoomIn()) ++steps;
  EXPECT_EQ(steps, 8);
  EXPECT_NEAR(in.zoom, 1.3 * std::pow(1.2, 8), 1e-9);
  for (steps = 0; out.ZoomOut();) ++steps;
  EXPECT_EQ(steps, 6);
  EXPECT_NEAR(out.zoom, 1.3 / std::pow(1.2, 6), 1e-9);
  zorv::ViewMapping u;
  u.zoom = 1.0;
  EXPECT_EQ(std::vector<int>({u.ViewportExtent().w, u.ViewportExtent().h, u.ToDeviceY(3000), u.ToSheetX(1234)}),
            std::vector<int>({2000, 3000, 3000, 1234}));
  u.zoom = 1.3;
  u.dpiX = 96;
  u.dpiY = 120;
  EXPECT_EQ(std::vector<int>({u.ViewportExtent().w, u.ViewportExtent().h}), std::vector<int>({2496, 4680}));
}

double Centre(int pos, int client, int total, int sheet) { return (pos + client / 2.0) / (double(total) / sheet); }

TEST(Geometry, ScrollSizesKeepTheCentreAndTheSheet) {
  const zorv::Size client{800, 600};
  zorv::ViewMapping m;  // 1.3 at 100 dpi
  zorv::ScrollState s = zorv::ResetScrollSizes({}, m, client, true);
  EXPECT_EQ(std::vector<int>({s.total.w, s.total.h, s.page.w, s.page.h, s.line.w, s.line.h, s.pos.x, s.pos.y}),
            std::vector<int>({2600, 3900, 260, 390, 26, 39, 0, 0}));
  s.pos = {1000, 1500};
  for (int i = 0; i < 16; ++i) {  // each step keeps the centre to the rounded pixel
    SCOPED_TRACE(i);
    const double cx = Centre(s.pos.x, client.w, s.total.w, 2000), cy = Centre(s.pos.y, client.h, s.total.h, 3000);
    ASSERT_TRUE(i < 8 ? m.ZoomIn() : m.ZoomOut());
    s = zorv::ResetScrollSizes(s, m, client, false);
    EXPECT_NEAR(Centre(s.pos.x, client.w, s.total.w, 2000), cx, 0.5 * 2000 / s.total.w);
    EXPECT_NEAR(Centre(s.pos.y, client.h, s.total.h, 3000), cy, 0.5 * 3000 / s.total.h);
  }
  s.pos = {s.total.w - client.w, s.total.h - client.h};  // no zoom scrolls past the end
  m.ZoomOut();
  s = zorv::ResetScrollSizes(s, m, client, false);
  EXPECT_LE(s.pos.x, s.total.w - client.w);
  EXPECT_LE(s.pos.y, s.total.h - client.h);
  EXPECT_EQ(zorv::ClampScroll({-5, 10}, {1000, 1000}, {800, 600}).x, 0);
  EXPECT_EQ(std::make_pair(zorv::ClampScroll({500, 500}, {1000, 1000}, {800, 600}).x, zorv::ClampScroll({500, 500}, {1000, 1000}, {800, 600}).y),
            std::make_pair(200, 400));
  EXPECT_EQ(zorv::ClampScroll({500, 500}, {100, 100}, {800, 600}).y, 0);
}

TEST(Geometry, ZoomAll) {
  struct { zorv::SheetRect extent; int dpi; double zoom; } rows[] = {
      {{0, 0, 0, 0}, 100, 1.3}, {{0, 0, 0, 0}, 120, 1.3 * 0.8}, {{0, 0, 0, 0}, 96, 1.3},
      {{100, 100, 500, 200}, 100, 1.8},  // 1000 / 500 = 2 across, 700 / 200 = 3.5 down: 0.9 x 2
      {{100, 100, 500, 200}, 144, 1.8 * 0.8}, {{0, 0, 1000, 100}, 100, 0.9},
      {{0, 0, 80, 0}, 100, 1.3},  // a lone horizontal wire has no height to fit
  };
  for (auto& r : rows) EXPECT_DOUBLE_EQ(zorv::ZoomAllFactor(r.extent, {1000, 700}, r.dpi), r.zoom) << r.dpi;
  zorv::ViewMapping m;
  m.zoom = 2.0;
  m.dpiX = m.dpiY = 100;
  const zorv::Pos p = zorv::ZoomAllScrollTarget({500, 1000, 100, 200}, m);
  EXPECT_EQ(p.x, 960);  // (500 - 0.2 x 100) x 2
  EXPECT_EQ(p.y, 1960);  // (1000 - 0.1 x 200) x 2
  m.dpiX = m.dpiY = 150;
  const zorv::Pos q = zorv::ZoomAllScrollTarget({500, 1000, 100, 200}, m);
  EXPECT_EQ(q.x, 1440);
  EXPECT_EQ(q.y, 2940);
}

TEST(Geometry, FinishSlide) {
  zorv::FinishSlide slide;  // 200 pixels wide: units of 10, steps of 5, stopping at 17 units
  slide.Resize({200, 120});
  EXPECT_EQ(std::vector<int>({slide.UnitX(), slide.UnitY(), slide.Picture().y}), std::vector<int>({10, 6, 21}));
  int ticks = 0;
  for (; slide.Picture().x == 15 + 5 * ticks && slide.Tick(); ++ticks) {}
  EXPECT_EQ(ticks, 31);
  EXPECT_EQ(slide.Picture().x, 170);
  EXPECT_FALSE(slide.Tick());
  zorv::FinishSlide odd;  // 10 units, 77 / 20 = 3, 3 x 3.5 = 10.5 -> 10
  odd.Resize({215, 77});
  EXPECT_EQ(odd.Picture().y, 10);
  ASSERT_TRUE(odd.Tick());
  EXPECT_EQ(odd.Picture().x, 20);
  zorv::FinishSlide narrow;  // one unit: half a unit truncates to 0, redrawn at each tick
  narrow.Resize({39, 40});
  EXPECT_TRUE(narrow.Tick());
  EXPECT_EQ(narrow.Picture().x, 15);
  narrow.Resize({18, 40});  // no unit at all: past 0 and stays
  EXPECT_FALSE(narrow.Tick());
}

}  // namespace
