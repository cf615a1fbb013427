#include "sdi/geometry.h"

#include <gtest/gtest.h>

#include "capture.h"

using sdi::line;
using sdi::point;
using sdi::rect;

TEST(Geometry, PointArithmetic) {
  point a(3, 4), b(10, -2);
  EXPECT_EQ(a + b, point(13, 2));
  EXPECT_EQ(b - a, point(7, -6));
  a += b;
  EXPECT_EQ(a, point(13, 2));
  EXPECT_NE(a, b);
}

TEST(Geometry, RectAccessors) {
  rect r(10, 20, 7, 4);
  EXPECT_EQ(r.center(), point(13, 22));
  EXPECT_EQ(r.half_size(), point(3, 2));
  EXPECT_EQ(r.right(), 16);
  EXPECT_EQ(r.bottom(), 23);
  EXPECT_EQ(r.grid_point(), point(16, 23));
  r.center_on(point(100, 100));
  EXPECT_EQ(r, rect(97, 98, 7, 4));
  EXPECT_TRUE(r.same_size(rect(0, 0, 7, 4)));
  EXPECT_FALSE(r.same_size(rect(0, 0, 4, 7)));
  // Centre truncates towards zero.
  EXPECT_EQ(rect(-5, -5, 3, 3).center(), point(-4, -4));
}

TEST(Geometry, RectFromCorners) {
  EXPECT_EQ(sdi::rect_from_corners(point(10, 20), point(4, 20)), rect(4, 20, 7, 1));
  EXPECT_EQ(sdi::rect_from_corners(point(5, 5), point(5, 5)), rect(5, 5, 1, 1));
  EXPECT_EQ(line(8, 30, 8, 10).bounds(), rect(8, 10, 1, 21));
  EXPECT_EQ(line(8, 30, 8, 10).width(), 1);
  EXPECT_EQ(line(40, 0, 8, 0).width(), 33);
}

TEST(Geometry, PointInRect) {
  rect r(0, 0, 8, 8);
  EXPECT_EQ(sdi::point_in_rect(r, point(7, 7)), 1);
  EXPECT_EQ(sdi::point_in_rect(r, point(0, 0)), 1);
  EXPECT_EQ(sdi::point_in_rect(r, point(8, 0)), 0);
  EXPECT_EQ(sdi::point_in_rect(r, point(0, 8)), 0);
  EXPECT_EQ(sdi::point_in_rect(r, point(-1, 3)), 0);
}

TEST(Geometry, RectsOverlap) {
  EXPECT_EQ(sdi::rects_overlap(rect(0, 0, 10, 10), rect(10, 0, 5, 5)), 0);
  EXPECT_EQ(sdi::rects_overlap(rect(0, 0, 10, 10), rect(9, 0, 5, 5)), 1);
  EXPECT_EQ(sdi::rects_overlap(rect(0, 0, 10, 10), rect(0, 10, 5, 5)), 0);
  EXPECT_EQ(sdi::rects_overlap(rect(0, 0, 10, 10), rect(-4, -4, 5, 5)), 1);
  EXPECT_EQ(sdi::rects_overlap(rect(0, 0, 10, 10), rect(-5, -5, 5, 5)), 0);
}

TEST(Geometry, RectIntersection) {
  EXPECT_EQ(sdi::rect_intersection(rect(10, 10, 20, 20), rect(0, 15, 15, 30)), rect(0, 5, 5, 15));
  EXPECT_EQ(sdi::rect_intersection(rect(0, 0, 10, 10), rect(2, 3, 4, 4)), rect(2, 3, 4, 4));
  EXPECT_EQ(sdi::rect_intersection(rect(0, 0, 10, 10), rect(0, 0, 10, 10)), rect(0, 0, 10, 10));
}

TEST(Geometry, PointOnSegment) {
  Capture cap;
  EXPECT_EQ(sdi::point_on_segment(line(8, 8, 8, 40), point(8, 40)), 1);
  EXPECT_EQ(sdi::point_on_segment(line(8, 40, 8, 8), point(8, 20)), 1);
  EXPECT_EQ(sdi::point_on_segment(line(8, 40, 8, 8), point(9, 20)), 0);
  EXPECT_EQ(sdi::point_on_segment(line(40, 8, 8, 8), point(8, 8)), 1);
  EXPECT_EQ(sdi::point_on_segment(line(40, 8, 8, 8), point(41, 8)), 0);
  EXPECT_EQ(sdi::point_on_segment(line(8, 8, 8, 8), point(8, 8)), 1);
  EXPECT_TRUE(cap.errors.empty());
  EXPECT_EQ(sdi::point_on_segment(line(0, 0, 8, 8), point(4, 4)), 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Elem_sup: Internal Case"});
}

TEST(Geometry, RectMeetsLine) {
  Capture cap;
  rect r(10, 10, 10, 10);
  EXPECT_EQ(sdi::rect_meets_line(r, line(0, 15, 12, 15)), 1);   // end inside
  EXPECT_EQ(sdi::rect_meets_line(r, line(0, 15, 40, 15)), 1);   // crosses through
  EXPECT_EQ(sdi::rect_meets_line(r, line(40, 15, 0, 15)), 1);   // reversed
  EXPECT_EQ(sdi::rect_meets_line(r, line(15, 0, 15, 40)), 1);   // vertical through
  EXPECT_EQ(sdi::rect_meets_line(r, line(0, 9, 40, 9)), 0);     // just above
  EXPECT_EQ(sdi::rect_meets_line(r, line(0, 20, 40, 20)), 0);   // just below (bottom row is 19)
  EXPECT_EQ(sdi::rect_meets_line(r, line(20, 0, 20, 40)), 0);   // just right
  EXPECT_EQ(sdi::rect_meets_line(r, line(0, 0, 40, 40)), 1);    // diagonal through
  EXPECT_EQ(sdi::rect_meets_line(r, line(0, 30, 5, 0)), 0);     // diagonal, bounds apart
  EXPECT_EQ(sdi::rect_meets_line(r, line(0, 12, 12, 0)), 0);    // diagonal passing the corner
  EXPECT_EQ(sdi::rect_meets_line(r, line(0, 28, 28, 0)), 1);    // diagonal cutting the corner
  EXPECT_TRUE(cap.errors.empty());
}

TEST(Geometry, RotatePoint) {
  point box(51, 13);
  EXPECT_EQ(sdi::rotate_point(point(2, 3), box, 1), point(2, 3));
  EXPECT_EQ(sdi::rotate_point(point(2, 3), box, 2), point(9, 2));
  EXPECT_EQ(sdi::rotate_point(point(2, 3), box, 3), point(48, 9));
  EXPECT_EQ(sdi::rotate_point(point(2, 3), box, 4), point(3, 48));
  Capture cap;
  EXPECT_EQ(sdi::rotate_point(point(2, 3), box, 5), point(0, 0));
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Elem_sup: Internal"});
}

TEST(Geometry, RotateFourQuarterTurnsRestores) {
  point box(51, 13);
  line l(13, 6, 16, 3);
  line r = l;
  point b = box;
  for (int i = 0; i < 4; ++i) {
    r = sdi::rotate_line(r, b, 2);
    b = point(b.y, b.x);
  }
  EXPECT_EQ(r, l);
  // Code 4 undoes code 2 (in the turned frame).
  EXPECT_EQ(sdi::rotate_line(sdi::rotate_line(l, box, 2), point(13, 51), 4), l);
}

TEST(Geometry, Mirror) {
  point box(13, 51);
  EXPECT_EQ(sdi::mirror_point(point(0, 5), box), point(12, 5));
  EXPECT_EQ(sdi::mirror_point(point(6, 25), box), point(6, 25));
  EXPECT_EQ(sdi::mirror_line(line(1, 2, 3, 4), box), line(11, 2, 9, 4));
  EXPECT_EQ(sdi::mirror_line(sdi::mirror_line(line(1, 2, 3, 4), box), box), line(1, 2, 3, 4));
}
