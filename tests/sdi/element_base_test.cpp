// Hit tests, overlaps and grid snapping of symbols and lines.
#include <gtest/gtest.h>

#include "capture.h"
#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/source_elements.h"
#include "sdi/elist.h"
#include "sdi/image.h"
#include "sdi/place_element.h"
#include "sdi/placement.h"

using sdi::point;
using sdi::rect;

TEST(HitTest, WireLegsAtTheirMargins) {
  sdi::cline w;
  w.shape.set(8, 8, 40, 24, 0, 1, 0, 0);  // corner (40, 8)
  EXPECT_EQ(w.hit_test(point(20, 10)), 1);
  EXPECT_EQ(w.hit_test(point(20, 11)), 0);  // |py - y| < 3
  EXPECT_EQ(w.hit_test(point(20, 6)), 1);
  EXPECT_EQ(w.hit_test(point(20, 5)), 0);
  EXPECT_EQ(w.hit_test(point(7, 8)), 1);   // x1 - 2 < px
  EXPECT_EQ(w.hit_test(point(6, 8)), 0);
  EXPECT_EQ(w.hit_test(point(43, 16)), 1);  // vertical leg: |px - x| < 4
  EXPECT_EQ(w.hit_test(point(44, 16)), 0);
  EXPECT_EQ(w.hit_test(point(37, 16)), 1);
  EXPECT_EQ(w.hit_test(point(36, 16)), 0);
  EXPECT_EQ(w.hit_test(point(40, 25)), 1);  // y2 + 2 > py
  EXPECT_EQ(w.hit_test(point(40, 26)), 0);
  w.shape.bend = 1;  // corner (8, 24)
  EXPECT_EQ(w.hit_test(point(20, 10)), 0);
  EXPECT_EQ(w.hit_test(point(20, 24)), 1);
}

TEST(HitTest, SymbolRectangle) {
  sdi::basic r(0, 1);
  r.image->place_ref_at(point(200, 160));  // 194..206 x 135..185
  EXPECT_EQ(r.hit_test(point(194, 135)), 1);
  EXPECT_EQ(r.hit_test(point(206, 185)), 1);
  EXPECT_EQ(r.hit_test(point(207, 185)), 0);
  EXPECT_EQ(r.hit_test(point(193, 150)), 0);
  EXPECT_EQ(r.terminal_at(0), point(200, 136));
  EXPECT_EQ(r.terminal_at(1), point(200, 184));
  EXPECT_EQ(r.has_terminal_at(point(200, 184)), 1);
  Capture cap;
  EXPECT_EQ(r.terminal_at(2), point(0, 0));
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/I_elem: Internal Assertion"});
}

TEST(Overlap, SymbolsAndLines) {
  sdi::basic a(0, 1), b(0, 1);
  a.image->place_ref_at(point(200, 160));
  b.image->place_ref_at(point(212, 160));  // 206..218: one column shared
  EXPECT_EQ(a.overlaps(&b), 1);
  rect clip;
  a.clip_to_element(clip, &b);
  EXPECT_EQ(clip, rect(12, 0, 1, 51));
  b.image->place_ref_at(point(213, 160));
  EXPECT_EQ(a.overlaps(&b), 0);
  sdi::cline w;
  w.shape.set(100, 130, 300, 170, 0, 1, 0, 0);  // the straight chord crosses the resistor
  EXPECT_EQ(a.overlaps(&w), 1);
  a.clip_to_element(clip, &w);
  EXPECT_EQ(clip, rect(0, 0, 13, 51));
  EXPECT_EQ(w.overlaps(&a), 0);  // the L runs along y 130 (above it), then down x 300
  w.shape.set(100, 130, 300, 170, 1, 1, 0, 0);  // down x 100 first, then along y 170 through it
  EXPECT_EQ(w.overlaps(&a), 1);
  w.shape.set(100, 150, 200, 170, 0, 1, 0, 0);  // corner at (200, 150) inside
  EXPECT_EQ(w.overlaps(&a), 1);
  EXPECT_EQ(w.overlaps(&w), 1);
  a.clip_to_rect(clip, rect(190, 180, 10, 20));
  EXPECT_EQ(clip, rect(0, 45, 6, 6));
  w.clip_to_rect(clip, rect(0, 0, 5, 5));
  EXPECT_EQ(clip, rect(0, 0, 0, 0));
  EXPECT_EQ(a.overlaps_rect(rect(206, 185, 3, 3)), 1);
  EXPECT_EQ(a.overlaps_rect(rect(207, 185, 3, 3)), 0);
}

TEST(Snap, WithoutPendingSymbol) {
  sdi::pending_element = nullptr;
  EXPECT_EQ(sdi::snap_to_grid(3, 5), point(0, 8));
  EXPECT_EQ(sdi::snap_to_grid(3003, 0), point(3000, 0));
  EXPECT_EQ(sdi::snap_to_grid(12, 12), point(16, 16));
  EXPECT_EQ(sdi::snap_to_grid(11, 11), point(8, 8));
}

// snap_image takes its bounds from the element being placed, not from the
// element itself: a ground snapped while a resistor is pending stays clear of
// the sheet's edge by the resistor's reference offsets.
TEST(Snap, SnapImageUsesThePendingElementsBounds) {
  sdi::ground g(1);  // 17 x 15, reference (8, 0)
  g.image->place_ref_at(point(0, 0));
  sdi::pending_element = nullptr;
  g.snap_image();
  EXPECT_EQ(g.ref_point(), point(0, 0));  // clamped to (1, 1), rounded to (0, 0)
  sdi::basic r(sdi::kind_resistor, 1);  // 13 x 51, reference (6, 25)
  sdi::pending_element = &r;
  g.snap_image();
  EXPECT_EQ(g.ref_point(), point(8, 24));
  g.image->place_ref_at(point(3000, 3000));
  g.snap_image();
  EXPECT_EQ(g.ref_point(), point(2992, 2976));
  sdi::pending_element = nullptr;
  g.snap_image();
  EXPECT_EQ(g.ref_point(), point(2992, 2976));
  g.image->place_ref_at(point(2999, 13));
  g.snap_image();
  EXPECT_EQ(g.ref_point(), point(3000, 16));
  sdi::basic turned(sdi::kind_resistor, 1);  // a turn snaps too
  turned.image->place_ref_at(point(3, 13));
  turned.rotate();
  EXPECT_EQ(turned.ref_point(), point(0, 16));
}
