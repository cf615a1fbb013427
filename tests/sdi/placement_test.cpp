// Grid snapping of a placed image and the reports of a symbol element without an image.
#include "sdi/placement.h"

#include <gtest/gtest.h>

#include "capture.h"
#include "sdi/base_elements.h"
#include "sdi/source_elements.h"

using sdi::point;
using sdi::rect;

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
}

