#include "sdi/zorv/core/view_render.h"

#include <cmath>

#include <gtest/gtest.h>

#include "sdi/draw_context.h"
#include "sdi/place_element.h"
#include "sdi/zorv/core/draw_scope.h"
#include "sdi/zorv/core/model_link.h"
#include "zorv/render_pixels.h"

TEST(RenderClient, GridDotsEveryEightUnits) {
  sdi::frame_buffer fb(100, 80);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, Unit(), {0, 0}, true, dots);
  EXPECT_EQ(fb.pixel(8, 8), kGreen);
  EXPECT_EQ(fb.pixel(16, 8), kGreen);
  EXPECT_EQ(fb.pixel(96, 72), kGreen);
  EXPECT_EQ(fb.pixel(0, 0), kWhite);
  EXPECT_EQ(fb.pixel(9, 8), kWhite);
  EXPECT_EQ(fb.pixel(8, 12), kWhite);
  int green = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) green += fb.pixel(x, y) == kGreen;
  EXPECT_EQ(green, 12 * 9);  // x = 8..96, y = 8..72
  EXPECT_EQ(sdi::pDC, nullptr);
}

TEST(RenderClient, ScrollMovesTheSheet) {
  sdi::frame_buffer fb(40, 40);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, Unit(), {4, 20}, true, dots);
  EXPECT_EQ(fb.pixel(4, 4), kGreen);  // sheet (8, 24)
  EXPECT_EQ(fb.pixel(8, 8), kWhite);
}

TEST(RenderClient, ZoomScalesTheGrid) {
  zorv::ViewMapping m = Unit();
  m.zoom = 2.0;
  sdi::frame_buffer fb(60, 60);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, m, {0, 0}, true, dots);
  EXPECT_EQ(fb.pixel(16, 16), kGreen);
  EXPECT_EQ(fb.pixel(32, 48), kGreen);
  EXPECT_EQ(fb.pixel(8, 8), kWhite);
}

TEST(RenderClient, NoGridWhenHidden) {
  sdi::frame_buffer fb(50, 50);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, Unit(), {0, 0}, false, dots);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(fb.pixel(x, y), kWhite) << x << "," << y;
}

TEST(RenderClient, GridStopsAtTheSheetsEdge) {
  sdi::frame_buffer fb(40, 40);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, Unit(), {1990, 2990}, true, dots);
  EXPECT_EQ(fb.pixel(10, 10), kGreen);  // (2000, 3000), the last dot
  EXPECT_EQ(fb.pixel(18, 10), kWhite);  // (2008, 3000) is off the sheet
  EXPECT_EQ(fb.pixel(10, 18), kWhite);
}

TEST(DrawJunctionDot, ThreeByThreeAndErasedInWhite) {
  sdi::make_junction_image();
  sdi::frame_buffer fb(20, 20);
  zorv::DrawScope scope(&fb);
  zorv::DrawJunctionDot({10, 10}, 1);
  for (int y = 9; y <= 11; ++y)
    for (int x = 9; x <= 11; ++x) EXPECT_EQ(fb.pixel(x, y), kBlue) << x << "," << y;
  EXPECT_EQ(fb.pixel(8, 10), kWhite);
  EXPECT_EQ(fb.pixel(12, 10), kWhite);
  EXPECT_EQ(fb.pixel(10, 12), kWhite);
  zorv::DrawJunctionDot({10, 10}, 15);
  EXPECT_EQ(fb.pixel(10, 10), kWhite);
  EXPECT_EQ(fb.pixel(9, 9), kWhite);
  sdi::free_placement_state();
}

TEST(DrawScope, NestsAndRestores) {
  sdi::frame_buffer a(1, 1), b(1, 1);
  EXPECT_EQ(sdi::pDC, nullptr);
  {
    zorv::DrawScope outer(&a);
    EXPECT_EQ(sdi::pDC, &a);
    {
      zorv::DrawScope inner(&b);
      EXPECT_EQ(sdi::pDC, &b);
    }
    EXPECT_EQ(sdi::pDC, &a);
  }
  EXPECT_EQ(sdi::pDC, nullptr);
}

TEST(ClipboardPictureFrame, IncludesTheScreensDpi) {
  zorv::ViewMapping m;
  m.zoom = 1.3;
  m.dpiX = m.dpiY = 120;
  const zorv::PictureFrame f = zorv::ClipboardPictureFrame({100, 200, 300, 400}, m);
  const double sx = static_cast<int>(2000 * 1.3 * 120 / 100) / 2000.0;
  const double sy = static_cast<int>(3000 * 1.3 * 120 / 100) / 3000.0;
  EXPECT_EQ(f.size.w, static_cast<int>(300 * sx));
  EXPECT_EQ(f.size.h, static_cast<int>(400 * sy));
  EXPECT_EQ(f.origin.x, static_cast<int>(std::lround(100 * sx)));
  EXPECT_EQ(f.origin.y, static_cast<int>(std::lround(200 * sy)));
}

TEST(ClipboardPictureFrame, SizeIsCapped) {
  zorv::ViewMapping m;
  m.zoom = 100;
  const zorv::PictureFrame f = zorv::ClipboardPictureFrame({0, 0, 80, 8}, m);
  EXPECT_EQ(f.size.w, zorv::kMaxPictureSide);
  EXPECT_EQ(f.size.h, 800);
}

TEST(FitToPage, CentresTheExtentWithMargins) {
  // 200 x 100 units on a 1000 x 1000 page: 900 / 200 = 4.5 across.
  const zorv::PageLayout l = zorv::FitToPage({100, 100, 200, 100}, {1000, 1000});
  EXPECT_DOUBLE_EQ(l.mapping.zoom, 4.5);
  const double s = l.mapping.ScaleX();
  EXPECT_EQ(l.scroll.x, static_cast<int>(100 * s - (1000 - 200 * s) / 2));
  sdi::frame_buffer fb(1000, 1000);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, l.mapping, l.scroll, true, dots);
  // The extent's corner (104, 104) lands inside the page, the margin is kept.
  EXPECT_EQ(fb.pixel(l.mapping.ToDeviceX(104) - l.scroll.x, l.mapping.ToDeviceY(104) - l.scroll.y), kGreen);
  EXPECT_GE(100 * s - l.scroll.x, 49);
}

TEST(FitToPage, EmptyCircuitPrintsTheSheet) {
  const zorv::PageLayout l = zorv::FitToPage({0, 0, 0, 0}, {2000, 3000});
  EXPECT_DOUBLE_EQ(l.mapping.zoom, 0.9);
}

TEST(LayOutPrintedPage, ReducesPrintersAbove300Dpi) {
  // A Letter page at 600 dpi is drawn at 300 dpi; at 300 dpi and below as it is.
  const zorv::PrintedPage hi = zorv::LayOutPrintedPage({0, 0, 1000, 500}, {5100, 6600}, 600, 1.3);
  EXPECT_EQ(hi.buffer.w, 2550);
  EXPECT_EQ(hi.buffer.h, 3300);
  const zorv::PrintedPage lo = zorv::LayOutPrintedPage({0, 0, 1000, 500}, {850, 1100}, 100, 1.3);
  EXPECT_EQ(lo.buffer.w, 850);
  EXPECT_EQ(lo.buffer.h, 1100);
}

TEST(LayOutPrintedPage, TextsKeepTheirSizeAgainstTheDrawing) {
  // 1000 x 500 units on 2550 x 3300: 0.9 x 2550 / 1000 = 2.295 pixels a unit, so a
  // text drawn on a screen of 1.3 pixels a unit is 2.295 / 1.3 times as large.
  const zorv::PrintedPage p = zorv::LayOutPrintedPage({100, 100, 1000, 500}, {2550, 3300}, 300, 1.3);
  EXPECT_DOUBLE_EQ(p.layout.mapping.zoom, 2.295);
  EXPECT_DOUBLE_EQ(p.layout.mapping.ScaleX(), 4590.0 / 2000);
  EXPECT_DOUBLE_EQ(p.textScale, (4590.0 / 2000) / 1.3);
}
