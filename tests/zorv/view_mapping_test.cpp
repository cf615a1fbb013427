#include "sdi/zorv/core/view_mapping.h"

#include <gtest/gtest.h>

#include <cmath>

using zorv::ViewMapping;

TEST(ViewMapping, ViewportExtentIsTheSheetInPixels) {
  ViewMapping m;
  m.zoom = 1.0;
  EXPECT_EQ(m.ViewportExtent().w, 2000);
  EXPECT_EQ(m.ViewportExtent().h, 3000);
  m.zoom = 1.3;
  m.dpiX = 96;
  m.dpiY = 120;
  EXPECT_EQ(m.ViewportExtent().w, static_cast<int>(2000 * 1.3 * 96 / 100));
  EXPECT_EQ(m.ViewportExtent().h, static_cast<int>(3000 * 1.3 * 120 / 100));
}

TEST(ViewMapping, OneUnitIsOnePixelAtZoomOne) {
  ViewMapping m;
  m.zoom = 1.0;
  EXPECT_EQ(m.ToDeviceX(8), 8);
  EXPECT_EQ(m.ToDeviceY(3000), 3000);
  EXPECT_EQ(m.ToSheetX(1234), 1234);
}

TEST(ViewMapping, EightZoomInStepsThenNoMore) {
  ViewMapping m;
  EXPECT_DOUBLE_EQ(m.zoom, 1.3);
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(m.ZoomIn()) << i;
  EXPECT_NEAR(m.zoom, 1.3 * std::pow(1.2, 8), 1e-9);
  EXPECT_NEAR(m.zoom, 5.59, 0.005);
  EXPECT_FALSE(m.ZoomIn());
  EXPECT_NEAR(m.zoom, 1.3 * std::pow(1.2, 8), 1e-9);
}

TEST(ViewMapping, SixZoomOutStepsThenNoMore) {
  ViewMapping m;
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(m.ZoomOut()) << i;
  EXPECT_NEAR(m.zoom, 1.3 / std::pow(1.2, 6), 1e-9);
  EXPECT_NEAR(m.zoom, 0.435, 0.001);
  EXPECT_FALSE(m.ZoomOut());
}

namespace {

// The sheet point under the client's centre.
double CentreX(const zorv::ScrollState& s, zorv::Size client) {
  return (s.pos.x + client.w / 2.0) / (static_cast<double>(s.total.w) / zorv::kSheetCx);
}
double CentreY(const zorv::ScrollState& s, zorv::Size client) {
  return (s.pos.y + client.h / 2.0) / (static_cast<double>(s.total.h) / zorv::kSheetCy);
}

}  // namespace

TEST(ResetScrollSizes, FirstResetSetsTheSizesAndKeepsTheOrigin) {
  ViewMapping m;  // 1.3 at 100 dpi
  const zorv::ScrollState s = zorv::ResetScrollSizes({}, m, {800, 600}, true);
  EXPECT_EQ(s.total.w, 2600);
  EXPECT_EQ(s.total.h, 3900);
  EXPECT_EQ(s.page.w, 260);
  EXPECT_EQ(s.page.h, 390);
  EXPECT_EQ(s.line.w, 26);
  EXPECT_EQ(s.line.h, 39);
  EXPECT_EQ(s.pos.x, 0);
  EXPECT_EQ(s.pos.y, 0);
}

TEST(ResetScrollSizes, ZoomingKeepsTheCentre) {
  const zorv::Size client{800, 600};
  ViewMapping m;
  zorv::ScrollState s = zorv::ResetScrollSizes({}, m, client, true);
  s.pos = {1000, 1500};
  const double startX = CentreX(s, client), startY = CentreY(s, client);
  // Each step keeps the centre to within the pixel that the position is rounded to.
  auto step = [&](bool in, int i) {
    const double cx = CentreX(s, client), cy = CentreY(s, client);
    ASSERT_TRUE(in ? m.ZoomIn() : m.ZoomOut());
    s = zorv::ResetScrollSizes(s, m, client, false);
    const double scaleX = static_cast<double>(s.total.w) / 2000, scaleY = static_cast<double>(s.total.h) / 3000;
    EXPECT_NEAR(CentreX(s, client), cx, 0.5 / scaleX) << (in ? "in " : "out ") << i;
    EXPECT_NEAR(CentreY(s, client), cy, 0.5 / scaleY) << (in ? "in " : "out ") << i;
  };
  for (int i = 0; i < 8; ++i) step(true, i);
  for (int i = 0; i < 8; ++i) step(false, i);
  // Back at the starting zoom, the centre is where it was.
  EXPECT_NEAR(m.zoom, 1.3, 1e-12);
  EXPECT_NEAR(CentreX(s, client), startX, 2.0);
  EXPECT_NEAR(CentreY(s, client), startY, 2.0);
}

TEST(ResetScrollSizes, PositionStaysOnTheSheet) {
  const zorv::Size client{800, 600};
  ViewMapping m;
  zorv::ScrollState s = zorv::ResetScrollSizes({}, m, client, true);
  s.pos = {0, 0};
  m.ZoomOut();
  s = zorv::ResetScrollSizes(s, m, client, false);
  EXPECT_EQ(s.pos.x, 0);
  EXPECT_EQ(s.pos.y, 0);
  // At the far corner a zoom out cannot scroll past the end.
  s.pos = {s.total.w - client.w, s.total.h - client.h};
  m.ZoomOut();
  s = zorv::ResetScrollSizes(s, m, client, false);
  EXPECT_LE(s.pos.x, s.total.w - client.w);
  EXPECT_LE(s.pos.y, s.total.h - client.h);
}

TEST(ZoomAll, EmptyExtentGivesTheStartingZoom) {
  EXPECT_DOUBLE_EQ(zorv::ZoomAllFactor({0, 0, 0, 0}, {1000, 700}, 100), 1.3);
  EXPECT_DOUBLE_EQ(zorv::ZoomAllFactor({0, 0, 0, 0}, {1000, 700}, 120), 1.3 * 0.8);
  EXPECT_DOUBLE_EQ(zorv::ZoomAllFactor({0, 0, 0, 0}, {1000, 700}, 96), 1.3);
}

TEST(ZoomAll, FitsTheSmallerRatio) {
  // 1000/500 = 2 across, 700/200 = 3.5 down: 0.9 x 2.
  EXPECT_DOUBLE_EQ(zorv::ZoomAllFactor({100, 100, 500, 200}, {1000, 700}, 100), 1.8);
  EXPECT_DOUBLE_EQ(zorv::ZoomAllFactor({100, 100, 500, 200}, {1000, 700}, 144), 1.8 * 0.8);
  // 1000/1000 = 1 across, 700/100 = 7 down.
  EXPECT_DOUBLE_EQ(zorv::ZoomAllFactor({0, 0, 1000, 100}, {1000, 700}, 100), 0.9);
}

TEST(ZoomAll, ScrollTargetGoesThroughTheDrawingScale) {
  ViewMapping m;
  m.zoom = 2.0;
  m.dpiX = m.dpiY = 100;
  const zorv::Pos p = zorv::ZoomAllScrollTarget({500, 1000, 100, 200}, m);
  EXPECT_EQ(p.x, static_cast<int>((500 - 0.2 * 100) * 2.0));
  EXPECT_EQ(p.y, static_cast<int>((1000 - 0.1 * 200) * 2.0));
  m.dpiX = m.dpiY = 150;
  const zorv::Pos q = zorv::ZoomAllScrollTarget({500, 1000, 100, 200}, m);
  EXPECT_EQ(q.x, static_cast<int>((500 - 0.2 * 100) * 3.0));
  EXPECT_EQ(q.y, static_cast<int>((1000 - 0.1 * 200) * 3.0));
}

TEST(ClampScroll, KeepsWithinTheScrollableRange) {
  EXPECT_EQ(zorv::ClampScroll({-5, 10}, {1000, 1000}, {800, 600}).x, 0);
  EXPECT_EQ(zorv::ClampScroll({500, 500}, {1000, 1000}, {800, 600}).x, 200);
  EXPECT_EQ(zorv::ClampScroll({500, 500}, {1000, 1000}, {800, 600}).y, 400);
  EXPECT_EQ(zorv::ClampScroll({500, 500}, {100, 100}, {800, 600}).y, 0);
}
