// Hit tests, overlaps and grid snapping of symbols and lines.
#include <gtest/gtest.h>

#include "capture.h"
#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/elements/source_elements.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/image.h"
#include "sdi/edit/place_element.h"
#include "sdi/elements/placement.h"

using sdi::point;
using sdi::rect;

TEST(HitTest, Coupling) {
  sdi::cmutind m;
  m.shape.set(0, 0, 100, 50, 0, 1, 0, 0);
  EXPECT_EQ(m.hit_test(point(50, 25)), 1);
  EXPECT_EQ(m.hit_test(point(50, 30)), 1);  // 5 below
  EXPECT_EQ(m.hit_test(point(50, 31)), 0);  // 6 below
  EXPECT_EQ(m.hit_test(point(50, 19)), 0);
  EXPECT_EQ(m.hit_test(point(0, 0)), 0);  // strictly between the x values
  EXPECT_EQ(m.hit_test(point(1, 0)), 1);
  EXPECT_EQ(m.hit_test(point(3, 1)), 1);  // y = 1.5 rounds to 2
  m.shape.set(100, 50, 0, 0, 0, 1, 0, 0);
  EXPECT_EQ(m.hit_test(point(50, 25)), 1);
  m.shape.set(10, 0, 10, 100, 0, 1, 0, 0);  // same x: never hit
  EXPECT_EQ(m.hit_test(point(10, 50)), 0);
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

// Flag bit n is 1 << n of the one stored word; numbers outside 0..31 change nothing.
TEST(Flags, BitsOfTheStoredWord) {
  sdi::flagset f;
  for (int bit : {0, 4, 31, 32, -1}) f.set(bit);
  EXPECT_EQ(f.word(), 0x80000011u);
  EXPECT_EQ(f.test(31), 1);
  EXPECT_EQ(f.test(32), 0);
  EXPECT_EQ(f.test(1), 0);
  for (int bit : {4, 32, -1}) f.clear(bit);
  EXPECT_EQ(f.word(), 0x80000001u);
}
