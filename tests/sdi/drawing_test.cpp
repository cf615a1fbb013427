#include "sdi/drawing.h"

#include <gtest/gtest.h>

#include "sdi/frame_buffer.h"

namespace {
constexpr sdi::colorref white = 0xFFFFFF;

// Sets pDC for one test and clears it after.
struct OnBuffer {
  sdi::frame_buffer fb;
  OnBuffer(int w, int h) : fb(w, h) { sdi::pDC = &fb; }
  ~OnBuffer() { sdi::pDC = nullptr; }
};

std::vector<std::uint32_t> pixels(const sdi::frame_buffer& fb) {
  return std::vector<std::uint32_t>(fb.data(), fb.data() + fb.width() * fb.height());
}
}  // namespace

TEST(Drawing, NothingWithoutContext) {
  sdi::pDC = nullptr;
  sdi::default_draw_line(0, 0, 10, 10, 1, 0, 0);
  sdi::draw_rectangle(0, 0, 10, 10, 0, 3);
  sdi::erase_rect(0, 0, 10, 10);
  sdi::restore_grid_box(sdi::line(0, 0, 100, 100));
  SUCCEED();
}

TEST(Drawing, LineColourCodes) {
  OnBuffer b(40, 40);
  sdi::draw_line_hook(0, 1, 5, 1, 1, 0, 0);
  sdi::draw_line_hook(0, 2, 5, 2, 2, 0, 0);
  sdi::draw_line_hook(0, 3, 5, 3, 4, 0, 0);
  EXPECT_EQ(b.fb.pixel(0, 1), 0xFF0000u);  // blue
  EXPECT_EQ(b.fb.pixel(0, 2), 0x00FF00u);  // green
  EXPECT_EQ(b.fb.pixel(0, 3), 0x0000FFu);  // red
  EXPECT_EQ(b.fb.pixel(5, 1), white);
  sdi::draw_line_hook(0, 1, 5, 1, 15, 0, 0);
  EXPECT_EQ(b.fb.pixel(0, 1), white);
  // The pen selected before is selected again afterwards.
  EXPECT_EQ(b.fb.current_pen(), (sdi::pen{0, sdi::pen_style::solid}));
  EXPECT_EQ(b.fb.get_rop2(), sdi::rop2::copy_pen);
}

TEST(Drawing, ColourZeroUsesAndKeepsSelectedPen) {
  OnBuffer b(20, 20);
  b.fb.select_pen({0x123456, sdi::pen_style::solid});
  sdi::draw_line_hook(0, 0, 4, 0, 0, 0, 2);  // style ignored: the pen stays as it is
  EXPECT_EQ(b.fb.pixel(3, 0), 0x123456u);
  EXPECT_EQ(b.fb.current_pen(), (sdi::pen{0x123456, sdi::pen_style::solid}));
  sdi::draw_line_hook(0, 1, 4, 1, 7, 0, 0);
  EXPECT_EQ(b.fb.pixel(3, 1), 0x123456u);
}

TEST(Drawing, DottedStyle) {
  OnBuffer b(20, 4);
  sdi::draw_line_hook(0, 0, 12, 0, 1, 0, 2);
  EXPECT_EQ(b.fb.pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(b.fb.pixel(3, 0), white);
  sdi::draw_line_hook(0, 1, 12, 1, 1, 0, 4);
  EXPECT_EQ(b.fb.pixel(11, 1), 0xFF0000u);
}

TEST(Drawing, Mode3TwiceRestores) {
  OnBuffer b(30, 30);
  sdi::draw_line_hook(0, 10, 30, 10, 1, 0, 0);
  auto before = pixels(b.fb);
  sdi::draw_line_hook(5, 0, 5, 29, 4, 3, 0);
  EXPECT_NE(pixels(b.fb), before);
  EXPECT_EQ(b.fb.get_rop2(), sdi::rop2::copy_pen);
  sdi::draw_line_hook(5, 0, 5, 29, 4, 3, 0);
  EXPECT_EQ(pixels(b.fb), before);
}

TEST(Drawing, InvertingRectangle) {
  OnBuffer b(30, 30);
  auto before = pixels(b.fb);
  sdi::draw_rectangle(2, 2, 12, 9, 4, 3);
  EXPECT_EQ(b.fb.pixel(2, 2), 0u);
  EXPECT_EQ(b.fb.pixel(11, 8), 0u);
  EXPECT_EQ(b.fb.pixel(12, 8), white);
  EXPECT_EQ(b.fb.get_rop2(), sdi::rop2::copy_pen);
  sdi::draw_rectangle(2, 2, 12, 9, 4, 3);
  EXPECT_EQ(pixels(b.fb), before);
}

TEST(Drawing, EraseRectCoversOneMoreLeftAndTop) {
  OnBuffer b(30, 30);
  b.fb.fill_rect(0, 0, 30, 30, 0);
  sdi::erase_rect(10, 10, 5, 4);
  EXPECT_EQ(b.fb.pixel(9, 9), white);
  EXPECT_EQ(b.fb.pixel(14, 13), white);
  EXPECT_EQ(b.fb.pixel(8, 9), 0u);
  EXPECT_EQ(b.fb.pixel(15, 13), 0u);  // x + w is excluded
  EXPECT_EQ(b.fb.pixel(14, 14), 0u);  // y + h is excluded
}

TEST(Drawing, RestoreGridBox) {
  OnBuffer b(60, 60);
  sdi::restore_grid_box(sdi::line(20, 30, 12, 10));
  // x indices (12-5)/8 = 0 .. (20+5)/8 = 3; y indices (10-5)/8 = 0 .. (30+5)/8 = 4.
  int dots = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x)
      if (b.fb.pixel(x, y) == 0x008000u) {
        ++dots;
        EXPECT_EQ(x % 8, 0);
        EXPECT_EQ(y % 8, 0);
        EXPECT_LE(x, 24);
        EXPECT_LE(y, 32);
      }
  EXPECT_EQ(dots, 4 * 5);
}

TEST(Drawing, RestoreGridAlong) {
  OnBuffer b(60, 60);
  sdi::restore_grid_along(sdi::line(21, 40, 21, 16));  // vertical at x 16
  int dots = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) dots += b.fb.pixel(x, y) == 0x008000u;
  EXPECT_EQ(dots, 5);  // y indices 1..5
  EXPECT_EQ(b.fb.pixel(16, 8), 0x008000u);
  EXPECT_EQ(b.fb.pixel(16, 40), 0x008000u);
  b.fb.clear();
  sdi::restore_grid_along(sdi::line(3, 9, 30, 9));  // horizontal at y 8
  EXPECT_EQ(b.fb.pixel(0, 8), 0x008000u);
  EXPECT_EQ(b.fb.pixel(32, 8), 0x008000u);
  EXPECT_EQ(b.fb.pixel(40, 8), white);
}

TEST(Drawing, GridRestoreStaysOnTheSheet) {
  OnBuffer b(40, 40);
  sdi::restore_grid_box(sdi::line(-2000000000, -2000000000, 2000000000, 2000000000));
  int dots = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) dots += b.fb.pixel(x, y) == 0x008000u;
  EXPECT_EQ(dots, 5 * 5);  // 0, 8, ..., 32
  b.fb.clear();
  sdi::restore_grid_along(sdi::line(16, -2000000000, 16, 2000000000));
  EXPECT_EQ(b.fb.pixel(16, 0), 0x008000u);
  EXPECT_EQ(b.fb.pixel(16, 32), 0x008000u);
  b.fb.clear();
  sdi::restore_grid_box(sdi::line(-100, -100, -60, -60));  // entirely off the sheet: nothing
  int any = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) any += b.fb.pixel(x, y) != white;
  EXPECT_EQ(any, 0);
}
