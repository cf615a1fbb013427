#include "sdi/image.h"

#include <gtest/gtest.h>

#include <memory>

#include "capture.h"
#include "sdi/drawing.h"
#include "sdi/frame_buffer.h"

namespace {
using sdi::line;
using sdi::point;
using sdi::rect;

std::vector<line> strokes(const sdi::image& im) {
  std::vector<line> v;
  for (sdi::list* p = im.parts->strokes; p; p = p->next) v.push_back(static_cast<sdi::line_list*>(p)->l);
  return v;
}

std::vector<point> pins(const sdi::image& im) {
  std::vector<point> v;
  for (sdi::list* p = im.parts->pins; p; p = p->next) {
    auto* n = static_cast<sdi::node*>(p);
    v.push_back(point(n->x, n->y));
  }
  return v;
}

std::vector<rect> glyph_rects(const sdi::image& im) {
  std::vector<rect> v;
  for (sdi::list* p = im.parts->glyphs; p; p = p->next) v.push_back(static_cast<sdi::label*>(p)->r);
  return v;
}

// Records every line drawn through the hook.
struct LineLog {
  struct entry {
    int x1, y1, x2, y2, colour, mode, style;
  };
  static inline std::vector<entry>* log = nullptr;
  std::vector<entry> lines;
  sdi::draw_line_fn old;
  LineLog() : old(sdi::draw_line_hook) {
    log = &lines;
    sdi::draw_line_hook = [](int a, int b, int c, int d, int col, int m, int s) { log->push_back({a, b, c, d, col, m, s}); };
  }
  ~LineLog() {
    sdi::draw_line_hook = old;
    log = nullptr;
  }
};
}  // namespace

TEST(Image, ResistorTable) {
  const sdi::shape* s = sdi::shape_for_kind(0);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->w, 51);
  EXPECT_EQ(s->h, 13);
  EXPECT_EQ(s->ref_x, 25);
  EXPECT_EQ(s->ref_y, 6);
  ASSERT_EQ(s->segments.size(), 17u);
  EXPECT_EQ(s->segments[0], line(13, 6, 16, 3));
  EXPECT_EQ(s->segments[7], line(50, 6, 37, 6));
  EXPECT_EQ(s->segments[16], line(2, 7, 2, 5));
}

TEST(Image, ShapeForUnknownKind) {
  Capture cap;
  EXPECT_EQ(sdi::shape_for_kind(5), nullptr);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Image: Internal Case"});
}

TEST(Image, EveryStandardTableKeepsItsFrame) {
  for (int k : {0, 1, 2, 3, 4, 6, 7, 9, 10, 11, 12, 13, 14, 15, 18}) {
    const sdi::shape* s = sdi::shape_for_kind(k);
    ASSERT_NE(s, nullptr) << k;
    EXPECT_EQ(s->w, 51) << k;
    EXPECT_EQ(s->h, 13) << k;
    EXPECT_EQ(s->ref_x, 25) << k;
    EXPECT_EQ(s->ref_y, 6) << k;
    for (const line& l : s->segments) {
      EXPECT_TRUE(l.x1 >= 0 && l.x1 < 51 && l.x2 >= 0 && l.x2 < 51) << k;
      EXPECT_TRUE(l.y1 >= 0 && l.y1 < 13 && l.y2 >= 0 && l.y2 < 13) << k;
    }
  }
  EXPECT_EQ(sdi::shape_for_kind(16)->segments.size(), 5u);
}

TEST(Image, StandardGeometry) {
  std::unique_ptr<sdi::image> im(sdi::standard_image(0));
  EXPECT_EQ(im->w, 13);
  EXPECT_EQ(im->h, 51);
  EXPECT_EQ(im->ref_x, 6);
  EXPECT_EQ(im->ref_y, 25);
  EXPECT_EQ(pins(*im), (std::vector<point>{point(6, 1), point(6, 49)}));
  im->place_ref_at(point(200, 160));
  EXPECT_EQ(point(im->x, im->y), point(194, 135));
  EXPECT_EQ(im->ref_point(), point(200, 160));
  EXPECT_EQ(im->center(), point(200, 160));
  // The first resistor stroke (13, 6)-(16, 3) after the quarter turn.
  EXPECT_EQ(strokes(*im)[0], line(6, 13, 9, 16));
}

TEST(Image, RotationKeepsReferencePoint) {
  std::unique_ptr<sdi::image> im(sdi::standard_image(0));
  im->place_ref_at(point(200, 160));
  auto s0 = strokes(*im);
  im->rotate(2);
  EXPECT_EQ(im->w, 51);
  EXPECT_EQ(im->h, 13);
  EXPECT_EQ(im->ref_point(), point(200, 160));
  EXPECT_EQ(pins(*im), (std::vector<point>{point(49, 6), point(1, 6)}));
  for (int i = 0; i < 3; ++i) im->rotate(2);
  EXPECT_EQ(strokes(*im), s0);
  EXPECT_EQ(pins(*im), (std::vector<point>{point(6, 1), point(6, 49)}));
  EXPECT_EQ(point(im->x, im->y), point(194, 135));
  EXPECT_EQ(im->w, 13);
  // Half turn, then its inverse.
  im->rotate(3);
  EXPECT_EQ(im->w, 13);
  EXPECT_EQ(im->ref_point(), point(200, 160));
  EXPECT_EQ(pins(*im), (std::vector<point>{point(6, 49), point(6, 1)}));
  im->rotate(3);
  EXPECT_EQ(strokes(*im), s0);
  // Three quarters then one quarter.
  im->rotate(4);
  im->rotate(2);
  EXPECT_EQ(strokes(*im), s0);
  Capture cap;
  im->rotate(7);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Image: Internal"});
  EXPECT_EQ(strokes(*im), s0);
}

TEST(Image, MirrorTwiceRestores) {
  std::unique_ptr<sdi::image> im(sdi::image_with_mark(7));
  im->place_ref_at(point(200, 160));
  auto s0 = strokes(*im);
  auto g0 = glyph_rects(*im);
  im->mirror();
  EXPECT_EQ(im->ref_point(), point(200, 160));
  EXPECT_EQ(point(im->x, im->y), point(194, 135));
  EXPECT_EQ(strokes(*im)[0], sdi::mirror_line(s0[0], point(13, 51)));
  // The glyph "S" centred at (9, 39) is re-centred at (3, 39), not flipped.
  EXPECT_EQ(glyph_rects(*im), (std::vector<rect>{rect(1, 36, 5, 7)}));
  im->mirror();
  EXPECT_EQ(strokes(*im), s0);
  EXPECT_EQ(glyph_rects(*im), g0);
}

TEST(Image, MarksAndGlyphs) {
  std::unique_ptr<sdi::image> p(sdi::image_with_mark(6));
  EXPECT_EQ(glyph_rects(*p), (std::vector<rect>{rect(1, 36, 5, 7)}));
  std::unique_ptr<sdi::image> v(sdi::image_with_mark(9));
  EXPECT_EQ(glyph_rects(*v), (std::vector<rect>{rect(4, 22, 5, 7)}));
  // A glyph moves with a turn but its strokes stay upright.
  auto strokes_of_first_glyph = [](const sdi::image& im) {
    std::vector<line> out;
    for (sdi::list* q = static_cast<sdi::label*>(im.parts->glyphs)->strokes; q; q = q->next)
      out.push_back(static_cast<sdi::line_list*>(q)->l);
    return out;
  };
  auto before = strokes_of_first_glyph(*p);
  p->rotate(2);
  EXPECT_EQ(strokes_of_first_glyph(*p), before);
  // Old centre (3, 39) in the 13 x 51 frame turns to (51 - 39 - 1, 3) = (11, 3).
  EXPECT_EQ(glyph_rects(*p), (std::vector<rect>{rect(9, 0, 5, 7)}));
  Capture cap;
  std::unique_ptr<sdi::image> r(sdi::image_with_mark(0));
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Image: Internal Case"});
  EXPECT_EQ(r->parts->glyphs, nullptr);
}

TEST(Image, GlyphTables) {
  for (char c : std::string("PSIVabcdefghijklmnopqrstuvwxyz")) {
    const sdi::shape* g = sdi::glyph_for_char(c);
    ASSERT_NE(g, nullptr) << c;
    EXPECT_EQ(g->w, 5);
    EXPECT_EQ(g->h, 7);
    EXPECT_FALSE(g->segments.empty());
  }
  EXPECT_EQ(sdi::glyph_for_char('P')->segments.size(), 4u);
  EXPECT_EQ(sdi::glyph_for_char('S')->segments.size(), 5u);
  EXPECT_EQ(sdi::glyph_for_char('I')->segments.size(), 3u);
  EXPECT_EQ(sdi::glyph_for_char('V')->segments.size(), 4u);
  EXPECT_NE(sdi::glyph_for_char('r')->segments, sdi::glyph_for_char('e')->segments);
  EXPECT_EQ(sdi::glyph_for_char('A'), nullptr);
  EXPECT_EQ(sdi::glyph_for_char('{'), nullptr);
}

TEST(Image, JunctionImages) {
  std::unique_ptr<sdi::image> j(sdi::junction_element_image());
  EXPECT_EQ(j->w, 3);
  EXPECT_EQ(j->h, 3);
  EXPECT_EQ(pins(*j), (std::vector<point>{point(1, 1), point(1, 1)}));
  std::unique_ptr<sdi::image> dot(sdi::image_from_table(sdi::shape_for_kind(16)));
  EXPECT_EQ(dot->parts->pins, nullptr);
  EXPECT_EQ(strokes(*dot).size(), 5u);
  // The dot covers its 3 x 3 square exactly.
  sdi::frame_buffer fb(10, 10);
  sdi::pDC = &fb;
  dot->center_on(point(5, 5));
  dot->draw(rect(0, 0, 3, 3));
  sdi::pDC = nullptr;
  int blue = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) blue += fb.pixel(x, y) == 0xFF0000u;
  EXPECT_EQ(blue, 9);
  EXPECT_EQ(fb.pixel(4, 4), 0xFF0000u);
  EXPECT_EQ(fb.pixel(6, 6), 0xFF0000u);
}

TEST(Image, DrawWholeAndClipped) {
  std::unique_ptr<sdi::image> im(sdi::standard_image(0));
  im->place_ref_at(point(200, 160));
  {
    LineLog log;
    im->draw(rect(0, 0, 13, 51));
    EXPECT_EQ(log.lines.size(), 17u);
    EXPECT_EQ(log.lines[0].x1, 194 + 6);
    EXPECT_EQ(log.lines[0].y1, 135 + 13);
    EXPECT_EQ(log.lines[0].colour, 1);
    EXPECT_EQ(log.lines[0].mode, 0);
  }
  {
    LineLog log;
    im->draw_coloured(rect(0, 0, 1, 1), 4);
    // Only strokes whose bounds hold (0, 0): none in the resistor.
    EXPECT_EQ(log.lines.size(), 0u);
  }
  {
    LineLog log;
    im->draw_coloured(rect(6, 0, 1, 1), 4);
    // (6, 0) is on the upper lead (6, 0)-(6, 13) and the upper terminal square's top edge.
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0].colour, 4);
  }
}

TEST(Image, EraseWhitensAndRestoresGrid) {
  std::unique_ptr<sdi::image> im(sdi::standard_image(0));
  im->place_ref_at(point(200, 160));
  sdi::frame_buffer fb(300, 300);
  fb.fill_rect(0, 0, 300, 300, 0);
  sdi::pDC = &fb;
  sdi::grid_shown = 1;
  im->erase();
  sdi::pDC = nullptr;
  EXPECT_EQ(fb.pixel(193, 134), 0xFFFFFFu);
  EXPECT_EQ(fb.pixel(206, 185), 0xFFFFFFu);
  EXPECT_EQ(fb.pixel(192, 134), 0u);
  EXPECT_EQ(fb.pixel(207, 185), 0u);
  EXPECT_EQ(fb.pixel(206, 186), 0u);
  int dots = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x)
      if (fb.pixel(x, y) == 0x008000u) {
        ++dots;
        EXPECT_TRUE(x == 192 || x == 200);
        EXPECT_TRUE(y >= 128 && y <= 184 && y % 8 == 0);
      }
  EXPECT_EQ(dots, 2 * 8);
}

TEST(Image, InitTurns) {
  sdi::image im;
  im.init(new sdi::part_holder, 51, 13, 25, 6, 1);
  EXPECT_EQ(im.w, 13);
  EXPECT_EQ(im.h, 51);
  EXPECT_EQ(point(im.ref_x, im.ref_y), point(6, 25));
  im.init(nullptr, 51, 13, 25, 6, 2);
  EXPECT_EQ(im.w, 51);
  EXPECT_EQ(point(im.ref_x, im.ref_y), point(25, 6));
  EXPECT_EQ(point(im.x, im.y), point(0, 0));
}

TEST(LineShape, CornerAndHighlight) {
  sdi::line_shape s;
  s.set(8, 8, 40, 24, 0, 1, 0, 0);
  EXPECT_EQ(s.corner(), point(40, 8));
  s.bend = 1;
  EXPECT_EQ(s.corner(), point(8, 24));
  sdi::frame_buffer fb(64, 64);
  sdi::pDC = &fb;
  s.draw(1);
  std::vector<std::uint32_t> before(fb.data(), fb.data() + 64 * 64);
  s.highlight();
  EXPECT_EQ(fb.pixel(5, 16), 0xFF0000u);  // ~(blue ^ white) is blue
  EXPECT_EQ(fb.pixel(4, 16), 0xFFFFFFu);
  std::vector<std::uint32_t> mid(fb.data(), fb.data() + 64 * 64);
  EXPECT_NE(mid, before);
  EXPECT_EQ(fb.pixel(8, 16), 0xFF0000u);  // the centre line is drawn twice: unchanged
  s.highlight();
  sdi::pDC = nullptr;
  EXPECT_EQ(std::vector<std::uint32_t>(fb.data(), fb.data() + 64 * 64), before);
}

TEST(LineShape, WideStrokeDrawsEightTimes) {
  LineLog log;
  sdi::draw_wide_stroke(line(8, 8, 8, 40), 1, 3, 0);
  ASSERT_EQ(log.lines.size(), 8u);
  EXPECT_EQ(log.lines[1].x1, 5);
  EXPECT_EQ(log.lines[7].x1, 11);
  EXPECT_EQ(log.lines[4].x1, 8);
  log.lines.clear();
  sdi::draw_wide_stroke(line(8, 8, 40, 8), 1, 3, 0);
  EXPECT_EQ(log.lines[1].y1, 5);
  EXPECT_EQ(log.lines[1].x1, 8);
}

TEST(LineShape, MeetsRect) {
  sdi::line_shape s;
  s.set(8, 8, 40, 24, 0, 1, 0, 0);
  EXPECT_EQ(sdi::line_shape_meets_rect(s, rect(36, 14, 8, 4)), 1);   // second leg
  EXPECT_EQ(sdi::line_shape_meets_rect(s, rect(10, 20, 10, 10)), 0);
  s.bend = 1;
  EXPECT_EQ(sdi::line_shape_meets_rect(s, rect(10, 20, 10, 10)), 1);
}

TEST(Image, SegmentCountsOfTheStandardTables) {
  const std::pair<int, std::size_t> counts[] = {{0, 17}, {1, 16}, {2, 31},  {3, 24},  {4, 22},  {6, 32},
                                                {7, 32}, {9, 21}, {10, 21}, {11, 14}, {12, 17}, {13, 19},
                                                {14, 17}, {15, 19}, {16, 5}, {18, 12}};
  for (auto [kind, n] : counts) {
    const sdi::shape* s = sdi::shape_for_kind(kind);
    ASSERT_NE(s, nullptr) << kind;
    EXPECT_EQ(s->segments.size(), n) << "kind " << kind;
  }
}
