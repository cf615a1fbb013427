// Geometry of the schematic: points, lines and rectangles in sheet units.
//
// All coordinates are int32 drawing units on the sheet (grid 8 units, sheet
// 3000 x 3000); y grows downwards. A rect {x, y, w, h} covers columns x..x+w-1
// and rows y..y+h-1 inclusive, so w and h count pixels: two equal corners make
// a 1 x 1 rectangle. Rotation codes: 1 none, 2 quarter turn, 3 half turn,
// 4 three quarters; after codes 2 and 4 the frame's w and h trade places.
#pragma once

#include <cstdint>

namespace sdi {

struct point {
  std::int32_t x = 0;
  std::int32_t y = 0;

  constexpr point() = default;
  constexpr point(std::int32_t x_, std::int32_t y_) : x(x_), y(y_) {}

  bool operator==(const point& p) const { return x == p.x && y == p.y; }
  bool operator!=(const point& p) const { return !(*this == p); }
  point operator+(const point& p) const { return point(x + p.x, y + p.y); }
  point operator-(const point& p) const { return point(x - p.x, y - p.y); }
  point& operator+=(const point& p) { x += p.x; y += p.y; return *this; }
};

struct rect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t w = 0;
  std::int32_t h = 0;

  constexpr rect() = default;
  constexpr rect(std::int32_t x_, std::int32_t y_, std::int32_t w_, std::int32_t h_) : x(x_), y(y_), w(w_), h(h_) {}

  bool operator==(const rect& r) const { return x == r.x && y == r.y && w == r.w && h == r.h; }
  bool operator!=(const rect& r) const { return !(*this == r); }

  point center() const { return point(x + w / 2, y + h / 2); }
  point half_size() const { return point(w / 2, h / 2); }
  void center_on(const point& p) { x = p.x - w / 2; y = p.y - h / 2; }
  std::int32_t right() const { return x + w - 1; }
  std::int32_t bottom() const { return y + h - 1; }
  point grid_point() const { return point(x + w - 1, y + h - 1); }  // inclusive lower-right corner
  bool same_size(const rect& r) const { return w == r.w && h == r.h; }
};

struct line {
  std::int32_t x1 = 0;
  std::int32_t y1 = 0;
  std::int32_t x2 = 0;
  std::int32_t y2 = 0;

  constexpr line() = default;
  constexpr line(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) : x1(a), y1(b), x2(c), y2(d) {}
  constexpr line(const point& a, const point& b) : x1(a.x), y1(a.y), x2(b.x), y2(b.y) {}

  bool operator==(const line& l) const { return x1 == l.x1 && y1 == l.y1 && x2 == l.x2 && y2 == l.y2; }
  bool operator!=(const line& l) const { return !(*this == l); }

  point first() const { return point(x1, y1); }
  point second() const { return point(x2, y2); }
  rect bounds() const;
  std::int32_t width() const;  // abs(x2 - x1) + 1: 1 for a vertical line
};

// The neutral results after an internal error.
extern const point zero_point;
extern const rect zero_rect;

rect rect_from_corners(const point& a, const point& b);
int point_in_rect(const rect& r, const point& p);
int rects_overlap(const rect& a, const rect& b);  // touching edges do not overlap
// The part of a that b covers, in a's own coordinates; meaningful only when they overlap.
rect rect_intersection(const rect& a, const rect& b);
// Axis-parallel segments only; a diagonal one is an internal error and gives 0.
int point_on_segment(const line& l, const point& p);
int rect_meets_line(const rect& r, const line& l);

point rotate_point(const point& p, const point& box, int code);  // box = {w, h} before turning
line rotate_line(const line& l, const point& box, int code);
point mirror_point(const point& p, const point& box);  // x' = w - x - 1
line mirror_line(const line& l, const point& box);

}  // namespace sdi
