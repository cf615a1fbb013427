#include "sdi/frame_buffer.h"

#include <gtest/gtest.h>

namespace {
constexpr sdi::colorref white = 0xFFFFFF;
constexpr sdi::colorref blue = 0xFF0000;
constexpr sdi::colorref red = 0x0000FF;

int count_colour(const sdi::frame_buffer& fb, sdi::colorref c) {
  int n = 0;
  for (int y = 0; y < fb.height(); ++y)
    for (int x = 0; x < fb.width(); ++x) n += fb.pixel(x, y) == c;
  return n;
}
}  // namespace

TEST(FrameBuffer, StartsWhite) {
  sdi::frame_buffer fb(10, 5);
  EXPECT_EQ(fb.width(), 10);
  EXPECT_EQ(fb.height(), 5);
  EXPECT_EQ(count_colour(fb, white), 50);
  EXPECT_EQ(fb.pixel(10, 0), 0xFFFFFFFFu);
  EXPECT_EQ(fb.pixel(-1, 0), 0xFFFFFFFFu);
}

TEST(FrameBuffer, RgbIsColorref) {
  EXPECT_EQ(sdi::rgb(0, 0, 255), 0xFF0000u);
  EXPECT_EQ(sdi::rgb(200, 0, 0), 0x0000C8u);
  EXPECT_EQ(sdi::rgb(0, 128, 0), 0x008000u);
}

TEST(FrameBuffer, LineLeavesOutLastPixel) {
  sdi::frame_buffer fb(20, 20);
  fb.select_pen({blue, sdi::pen_style::solid});
  fb.move_to(2, 5);
  fb.line_to(8, 5);
  for (int x = 2; x < 8; ++x) EXPECT_EQ(fb.pixel(x, 5), blue) << x;
  EXPECT_EQ(fb.pixel(8, 5), white);
  EXPECT_EQ(fb.pixel(1, 5), white);
  EXPECT_EQ(count_colour(fb, blue), 6);
  // Backwards and vertical: the start is drawn, the end is not.
  fb.move_to(10, 9);
  fb.line_to(10, 3);
  for (int y = 4; y <= 9; ++y) EXPECT_EQ(fb.pixel(10, y), blue) << y;
  EXPECT_EQ(fb.pixel(10, 3), white);
  // A zero-length line draws nothing.
  fb.move_to(15, 15);
  fb.line_to(15, 15);
  EXPECT_EQ(fb.pixel(15, 15), white);
}

TEST(FrameBuffer, DiagonalLine) {
  sdi::frame_buffer fb(20, 20);
  fb.select_pen({red, sdi::pen_style::solid});
  fb.move_to(0, 0);
  fb.line_to(4, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(fb.pixel(i, i), red);
  EXPECT_EQ(fb.pixel(4, 4), white);
  EXPECT_EQ(count_colour(fb, red), 4);
}

TEST(FrameBuffer, ConnectedLinesHaveNoGapOrDoubleCorner) {
  sdi::frame_buffer fb(20, 20);
  fb.select_pen({blue, sdi::pen_style::solid});
  fb.set_rop2(sdi::rop2::not_xor_pen);
  fb.move_to(2, 2);
  fb.line_to(10, 2);
  fb.line_to(10, 10);
  // With the end excluded the corner is drawn exactly once, by the second line.
  EXPECT_EQ(fb.pixel(10, 2), blue);
  EXPECT_EQ(fb.pixel(10, 9), blue);
  EXPECT_EQ(fb.pixel(10, 10), white);
  EXPECT_EQ(count_colour(fb, blue), 16);
}

TEST(FrameBuffer, NotXorTwiceRestores) {
  sdi::frame_buffer fb(30, 30);
  fb.select_pen({blue, sdi::pen_style::solid});
  fb.move_to(0, 10);
  fb.line_to(30, 10);  // a blue line under the highlight
  std::vector<std::uint32_t> before(fb.data(), fb.data() + 900);
  fb.select_pen({red, sdi::pen_style::solid});
  fb.set_rop2(sdi::rop2::not_xor_pen);
  for (int pass = 0; pass < 2; ++pass) {
    fb.move_to(5, 0);
    fb.line_to(5, 25);
    fb.move_to(0, 5);
    fb.line_to(25, 28);
  }
  EXPECT_EQ(std::vector<std::uint32_t>(fb.data(), fb.data() + 900), before);
}

TEST(FrameBuffer, NotXorColours) {
  sdi::frame_buffer fb(4, 4);
  fb.set_rop2(sdi::rop2::not_xor_pen);
  fb.select_pen({red, sdi::pen_style::solid});
  fb.move_to(0, 0);
  fb.line_to(1, 0);
  // ~(red ^ white) = red: on white the highlight shows the pen's colour.
  EXPECT_EQ(fb.pixel(0, 0), red);
  fb.move_to(0, 0);
  fb.line_to(1, 0);
  EXPECT_EQ(fb.pixel(0, 0), white);
}

TEST(FrameBuffer, NotRectangleInvertsOutlineOnce) {
  sdi::frame_buffer fb(20, 20);
  fb.set_rop2(sdi::rop2::not_);
  fb.rectangle(2, 3, 8, 7);  // columns 2..7, rows 3..6
  EXPECT_EQ(fb.pixel(2, 3), 0u);
  EXPECT_EQ(fb.pixel(7, 3), 0u);
  EXPECT_EQ(fb.pixel(2, 6), 0u);
  EXPECT_EQ(fb.pixel(7, 6), 0u);
  EXPECT_EQ(fb.pixel(8, 3), white);
  EXPECT_EQ(fb.pixel(2, 7), white);
  EXPECT_EQ(fb.pixel(4, 5), white);  // inside untouched: null brush
  EXPECT_EQ(count_colour(fb, 0), 2 * 6 + 2 * 2);
  fb.rectangle(8, 7, 2, 3);  // same rectangle, corners swapped
  EXPECT_EQ(count_colour(fb, white), 400);
}

TEST(FrameBuffer, FillRectExcludesRightAndBottom) {
  sdi::frame_buffer fb(20, 20);
  fb.set_rop2(sdi::rop2::not_);  // ignored by fills
  fb.fill_rect(3, 4, 6, 9, 0x123456);
  EXPECT_EQ(count_colour(fb, 0x123456), 3 * 5);
  EXPECT_EQ(fb.pixel(3, 4), 0x123456u);
  EXPECT_EQ(fb.pixel(5, 8), 0x123456u);
  EXPECT_EQ(fb.pixel(6, 8), white);
  EXPECT_EQ(fb.pixel(5, 9), white);
  fb.fill_rect(-5, -5, 100, 100, 0x010203);  // clipped
  EXPECT_EQ(count_colour(fb, 0x010203), 400);
}

TEST(FrameBuffer, SetPixelIgnoresRasterMode) {
  sdi::frame_buffer fb(10, 10);
  fb.set_rop2(sdi::rop2::not_xor_pen);
  fb.set_pixel(8, 8, sdi::rgb(0, 128, 0));
  fb.set_pixel(8, 8, sdi::rgb(0, 128, 0));
  EXPECT_EQ(fb.pixel(8, 8), 0x008000u);
  fb.set_pixel(50, 50, 0);  // clipped silently
  EXPECT_TRUE(fb.pt_visible(9, 9));
  EXPECT_FALSE(fb.pt_visible(10, 9));
}

TEST(FrameBuffer, DottedAndDashedPens) {
  sdi::frame_buffer fb(40, 3);
  fb.select_pen({blue, sdi::pen_style::dot});
  fb.move_to(0, 0);
  fb.line_to(12, 0);
  std::string dots;
  for (int x = 0; x < 12; ++x) dots += fb.pixel(x, 0) == blue ? '#' : '.';
  EXPECT_EQ(dots, "###...###...");
  fb.select_pen({blue, sdi::pen_style::dash});
  fb.move_to(0, 1);
  fb.line_to(30, 1);
  std::string dashes;
  for (int x = 0; x < 30; ++x) dashes += fb.pixel(x, 1) == blue ? '#' : '.';
  EXPECT_EQ(dashes, "##################......######");
}

TEST(FrameBuffer, PensAndModesReturnPrevious) {
  sdi::frame_buffer fb(4, 4);
  sdi::pen p{red, sdi::pen_style::dash};
  EXPECT_EQ(fb.select_pen(p), (sdi::pen{0, sdi::pen_style::solid}));
  EXPECT_EQ(fb.current_pen(), p);
  EXPECT_EQ(fb.set_rop2(sdi::rop2::not_), sdi::rop2::copy_pen);
  EXPECT_EQ(fb.set_rop2(sdi::rop2::copy_pen), sdi::rop2::not_);
  EXPECT_EQ(fb.set_text_colour(0x0000C8), 0u);
}

TEST(FrameBuffer, AnisotropicMapping) {
  sdi::frame_buffer fb(100, 100);
  fb.set_window_ext(2000, 3000);
  fb.set_viewport_ext(1000, 1500);  // half scale
  fb.set_viewport_org(-10, -20);    // scrolled
  int x = 200, y = 160;
  fb.lp_to_dp(x, y);
  EXPECT_EQ(x, 90);
  EXPECT_EQ(y, 60);
  fb.dp_to_lp(x, y);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 160);
  x = 3;  // 1.5 rounds up, -0.5 rounds up to 0
  y = -1;
  fb.set_viewport_org(0, 0);
  fb.lp_to_dp(x, y);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 0);
  fb.select_pen({blue, sdi::pen_style::solid});
  fb.move_to(20, 20);
  fb.line_to(40, 20);  // device 10..19
  EXPECT_EQ(fb.pixel(10, 10), blue);
  EXPECT_EQ(fb.pixel(19, 10), blue);
  EXPECT_EQ(fb.pixel(20, 10), white);
  fb.set_identity_mapping();
  x = 7;
  y = 9;
  fb.lp_to_dp(x, y);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 9);
}

TEST(FrameBuffer, TextIsRecordedAndHooked) {
  sdi::frame_buffer fb(50, 50);
  fb.set_window_ext(2, 2);
  fb.set_viewport_ext(1, 1);
  std::vector<std::string> seen;
  fb.text_hook = [&](sdi::frame_buffer& b, const sdi::frame_buffer::text_item& t) {
    seen.push_back(t.text);
    b.put_pixel(t.x, t.y, 0);
  };
  fb.set_text_colour(0x0000C8);
  fb.select_var_pitch_font();
  fb.text_out(20, 30, "R1");
  ASSERT_EQ(fb.texts().size(), 1u);
  EXPECT_EQ(fb.texts()[0].x, 10);
  EXPECT_EQ(fb.texts()[0].y, 15);
  EXPECT_EQ(fb.texts()[0].colour, 0x0000C8u);
  EXPECT_EQ(fb.texts()[0].text, "R1");
  EXPECT_EQ(seen, std::vector<std::string>{"R1"});
  EXPECT_EQ(fb.pixel(10, 15), 0u);
  fb.clear();
  EXPECT_TRUE(fb.texts().empty());
  EXPECT_EQ(fb.pixel(10, 15), white);
}

// Coordinates from a corrupt file must not make drawing walk billions of pixels.
TEST(FrameBuffer, HugeCoordinatesAreClippedCheaply) {
  sdi::frame_buffer fb(40, 30);
  fb.select_pen({blue, sdi::pen_style::solid});
  fb.move_to(-2000000000, 5);
  fb.line_to(2000000000, 5);
  EXPECT_EQ(count_colour(fb, blue), 40);
  fb.clear();
  fb.move_to(10, -2000000000);
  fb.line_to(10, 2000000000);
  EXPECT_EQ(count_colour(fb, blue), 30);
  fb.clear();
  fb.move_to(-2000000000, -2000000000);
  fb.line_to(2000000000, 2000000000);
  EXPECT_EQ(count_colour(fb, blue), 30);  // the diagonal through the buffer
  EXPECT_EQ(fb.pixel(7, 7), blue);
  fb.clear();
  fb.set_rop2(sdi::rop2::not_);
  fb.rectangle(-2000000000, 2, 2000000000, 20);
  EXPECT_EQ(count_colour(fb, 0), 2 * 40);
}

TEST(FrameBuffer, ClippedLineKeepsItsPixels) {
  // Clipping never moves a pixel: the part inside is the same as when drawn whole.
  sdi::frame_buffer big(200, 200), small(50, 50);
  for (auto* fb : {&big, &small}) {
    fb->select_pen({red, sdi::pen_style::dot});
    fb->move_to(3, 170);
    fb->line_to(180, 7);
  }
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) EXPECT_EQ(small.pixel(x, y), big.pixel(x, y)) << x << "," << y;
}
