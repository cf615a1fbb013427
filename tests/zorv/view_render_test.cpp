// What the view draws into a frame buffer, pixel by pixel: the grid, scrolling and zoom,
// junction dots, and the page layouts of the clipboard picture and of printing.
#include "sdi/zorv/core/view/view_render.h"

#include <cmath>

#include <gtest/gtest.h>

#include "sdi/draw/draw_context.h"
#include "sdi/edit/place_element.h"
#include "sdi/zorv/core/base/draw_scope.h"
#include "sdi/zorv/core/view/model_link.h"
#include "zorv/render_pixels.h"

namespace {

std::vector<std::uint32_t> Pixels(const sdi::frame_buffer& fb, std::vector<std::pair<int, int>> at) {
  std::vector<std::uint32_t> out;
  for (auto [x, y] : at) out.push_back(fb.pixel(x, y));
  return out;
}

TEST(RenderClient, GridScrollZoomAndTheSheetsEdge) {
  sdi::frame_buffer fb(100, 80);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, Unit(), {0, 0}, true, dots);
  EXPECT_EQ(Pixels(fb, {{8, 8}, {16, 8}, {96, 72}, {0, 0}, {9, 8}, {8, 12}}),
            (std::vector<std::uint32_t>{kGreen, kGreen, kGreen, kWhite, kWhite, kWhite}));
  int green = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) green += fb.pixel(x, y) == kGreen;
  EXPECT_EQ(green, 12 * 9);  // x = 8..96, y = 8..72
  EXPECT_EQ(sdi::pDC, nullptr);
  zorv::RenderClient(fb, Unit(), {4, 20}, true, dots);  // sheet (8, 24) at (4, 4)
  EXPECT_EQ(Pixels(fb, {{4, 4}, {8, 8}}), (std::vector<std::uint32_t>{kGreen, kWhite}));
  zorv::ViewMapping m = Unit();
  m.zoom = 2.0;
  zorv::RenderClient(fb, m, {0, 0}, true, dots);
  EXPECT_EQ(Pixels(fb, {{16, 16}, {32, 48}, {8, 8}}), (std::vector<std::uint32_t>{kGreen, kGreen, kWhite}));
  zorv::RenderClient(fb, Unit(), {1990, 2990}, true, dots);  // (2000, 3000) is the last dot
  EXPECT_EQ(Pixels(fb, {{10, 10}, {18, 10}, {10, 18}}), (std::vector<std::uint32_t>{kGreen, kWhite, kWhite}));
  zorv::RenderClient(fb, Unit(), {0, 0}, false, dots);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(fb.pixel(x, y), kWhite) << x << "," << y;
}

TEST(RenderClient, JunctionDotsAndNestedDrawScopes) {
  sdi::make_junction_image();
  sdi::frame_buffer fb(20, 20), other(1, 1);
  {
    zorv::DrawScope scope(&fb);
    zorv::DrawJunctionDot({10, 10}, 1);  // 3 x 3 in blue
    EXPECT_EQ(Pixels(fb, {{9, 9}, {11, 11}, {12, 10}, {10, 8}}), (std::vector<std::uint32_t>{kBlue, kBlue, kWhite, kWhite}));
    {
      zorv::DrawScope inner(&other);
      EXPECT_EQ(sdi::pDC, &other);
    }
    EXPECT_EQ(sdi::pDC, &fb);
    zorv::DrawJunctionDot({10, 10}, 15);  // erased in white
    EXPECT_EQ(Pixels(fb, {{10, 10}, {9, 9}}), (std::vector<std::uint32_t>{kWhite, kWhite}));
  }
  EXPECT_EQ(sdi::pDC, nullptr);
  sdi::free_placement_state();
}

TEST(PageLayouts, ClipboardAndPrintedPages) {
  zorv::ViewMapping m;
  m.zoom = 1.3;
  m.dpiX = m.dpiY = 120;  // 3120 x 4680 pixels for the sheet
  const zorv::PictureFrame f = zorv::ClipboardPictureFrame({100, 200, 300, 400}, m);
  EXPECT_EQ(std::vector<int>({f.size.w, f.size.h, f.origin.x, f.origin.y}), std::vector<int>({468, 624, 156, 312}));
  m.zoom = 100;
  m.dpiX = m.dpiY = 100;
  const zorv::PictureFrame capped = zorv::ClipboardPictureFrame({0, 0, 80, 8}, m);
  EXPECT_EQ(capped.size.w, zorv::kMaxPictureSide);
  EXPECT_EQ(capped.size.h, 800);

  const zorv::PageLayout l = zorv::FitToPage({100, 100, 200, 100}, {1000, 1000});  // 900 / 200 across
  EXPECT_DOUBLE_EQ(l.mapping.zoom, 4.5);
  const double s = l.mapping.ScaleX();
  EXPECT_EQ(l.scroll.x, static_cast<int>(100 * s - (1000 - 200 * s) / 2));
  EXPECT_GE(100 * s - l.scroll.x, 49);  // the margin is kept
  sdi::frame_buffer fb(1000, 1000);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, l.mapping, l.scroll, true, dots);
  EXPECT_EQ(fb.pixel(l.mapping.ToDeviceX(104) - l.scroll.x, l.mapping.ToDeviceY(104) - l.scroll.y), kGreen);
  EXPECT_DOUBLE_EQ(zorv::FitToPage({0, 0, 0, 0}, {2000, 3000}).mapping.zoom, 0.9);

  // A Letter page at 600 dpi is drawn at 300 dpi; at 300 dpi and below as it is.
  const zorv::PrintedPage hi = zorv::LayOutPrintedPage({0, 0, 1000, 500}, {5100, 6600}, 600, 1.3);
  EXPECT_EQ(std::vector<int>({hi.buffer.w, hi.buffer.h}), std::vector<int>({2550, 3300}));
  const zorv::PrintedPage lo = zorv::LayOutPrintedPage({0, 0, 1000, 500}, {850, 1100}, 100, 1.3);
  EXPECT_EQ(std::vector<int>({lo.buffer.w, lo.buffer.h}), std::vector<int>({850, 1100}));
  // 0.9 x 2550 / 1000 = 2.295 pixels a unit: a text drawn on a screen of 1.3 pixels a
  // unit is 2.295 / 1.3 times as large.
  const zorv::PrintedPage p = zorv::LayOutPrintedPage({100, 100, 1000, 500}, {2550, 3300}, 300, 1.3);
  EXPECT_DOUBLE_EQ(p.layout.mapping.zoom, 2.295);
  EXPECT_DOUBLE_EQ(p.layout.mapping.ScaleX(), 4590.0 / 2000);
  EXPECT_DOUBLE_EQ(p.textScale, (4590.0 / 2000) / 1.3);
}

}  // namespace
