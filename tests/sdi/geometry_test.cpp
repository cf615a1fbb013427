// Sheet geometry: rectangles from corners, inclusion, overlap and
// intersection, turned and flipped points, points on segments and segments
// against rectangles, with the edges each takes or leaves out.
#include "sdi/draw/geometry.h"

#include <gtest/gtest.h>

#include "capture.h"

using sdi::line;
using sdi::point;
using sdi::rect;

TEST(Geometry, RectanglesFromCornersInclusionAndOverlap) {
  EXPECT_EQ(sdi::rect_from_corners(point(10, 20), point(4, 20)), rect(4, 20, 7, 1));
  point p = point(1, 2) + point(3, -5);
  EXPECT_EQ(p += point(10, 10), point(14, 7));
  EXPECT_EQ(line(3, 0, 0, 5).bounds(), rect(0, 0, 4, 6));
  EXPECT_EQ(line(3, 0, 0, 5).width(), 4);
  const struct { point p; int in; } points[] = {{{0, 0}, 1}, {{7, 7}, 1}, {{8, 0}, 0}, {{0, 8}, 0}, {{-1, 3}, 0}, {{3, -1}, 0}};
  for (const auto& r : points) EXPECT_EQ(sdi::point_in_rect(rect(0, 0, 8, 8), r.p), r.in) << r.p.x << "," << r.p.y;
  const struct { rect b; int meets; } others[] = {
      {{10, 0, 5, 5}, 0}, {{9, 0, 5, 5}, 1}, {{-5, 0, 5, 5}, 0}, {{-4, 0, 5, 5}, 1},
      {{0, 10, 5, 5}, 0}, {{0, 9, 5, 5}, 1}, {{0, -5, 5, 5}, 0}, {{0, -4, 5, 5}, 1},
  };
  for (const auto& r : others)
    EXPECT_EQ(sdi::rects_overlap(rect(0, 0, 10, 10), r.b), r.meets) << r.b.x << "," << r.b.y;
  // The shared part, relative to the first rectangle.
  EXPECT_EQ(sdi::rect_intersection(rect(10, 10, 20, 20), rect(0, 15, 15, 30)), rect(0, 5, 5, 15));
  EXPECT_EQ(sdi::rect_intersection(rect(10, 10, 20, 20), rect(12, 4, 100, 10)), rect(2, 0, 18, 4));
}

TEST(Geometry, TurnedAndFlippedPoints) {
  const point box(51, 13);
  const struct { int code; point out; } rows[] = {{1, {2, 3}}, {2, {9, 2}}, {3, {48, 9}}, {4, {3, 48}}};
  for (const auto& r : rows) EXPECT_EQ(sdi::rotate_point(point(2, 3), box, r.code), r.out) << r.code;
  EXPECT_EQ(sdi::rotate_line(line(2, 3, 4, 5), box, 2), line(9, 2, 7, 4));
  EXPECT_EQ(sdi::mirror_point(point(2, 3), box), point(48, 3));
  EXPECT_EQ(sdi::mirror_line(line(2, 3, 50, 0), box), line(48, 3, 0, 0));
  Capture cap;
  EXPECT_EQ(sdi::rotate_point(point(2, 3), box, 5), point(0, 0));
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/draw/geometry.cpp: Internal"});
}

TEST(Geometry, PointsOnSegments) {
  const struct { line l; point p; int on; } rows[] = {
      {{5, 0, 5, 10}, {5, 10}, 1}, {{5, 10, 5, 0}, {5, 0}, 1}, {{5, 0, 5, 10}, {5, 11}, 0}, {{5, 0, 5, 10}, {6, 5}, 0},
      {{10, 3, 0, 3}, {0, 3}, 1},  {{10, 3, 0, 3}, {-1, 3}, 0}, {{10, 3, 0, 3}, {11, 3}, 0}, {{10, 3, 0, 3}, {5, 4}, 0},
  };
  for (const auto& r : rows) EXPECT_EQ(sdi::point_on_segment(r.l, r.p), r.on) << r.p.x << "," << r.p.y;
  Capture cap;
  EXPECT_EQ(sdi::point_on_segment(line(0, 0, 4, 4), point(2, 2)), 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/draw/geometry.cpp: Internal Case"});
}

// A segment meets the rectangle x 10..19, y 10..19 when any point of it lies inside.
TEST(Geometry, SegmentsAgainstARectangle) {
  const struct { const char* label; line l; int meets; } rows[] = {
      {"an end inside", {15, 15, 40, 15}, 1},
      {"across, upright", {15, 0, 15, 30}, 1},
      {"across, level", {0, 12, 30, 12}, 1},
      {"level, just above", {0, 9, 30, 9}, 0},
      {"upright, just right", {20, 0, 20, 30}, 0},
      {"diagonal through the middle", {0, 0, 30, 30}, 1},
      {"diagonal through a corner only", {0, 38, 38, 0}, 1},
      {"diagonal just past the corner", {0, 39, 39, 0}, 0},
      {"diagonal over the near corner", {0, 20, 20, 0}, 1},
      {"diagonal short of it", {0, 19, 19, 0}, 0},
      {"diagonal across the bottom edge only", {8, 22, 22, 15}, 1},
  };
  for (const auto& r : rows) EXPECT_EQ(sdi::rect_meets_line(rect(10, 10, 10, 10), r.l), r.meets) << r.label;
}
