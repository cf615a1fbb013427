#include "sdi/draw/geometry.h"

#include <algorithm>
#include <cstdlib>

#include "sdi/base/report.h"

namespace sdi {

namespace {

enum class axis { vertical, horizontal, diagonal };

axis axis_of(const line& l) {
  if (l.x1 == l.x2) return axis::vertical;
  if (l.y1 == l.y2) return axis::horizontal;
  return axis::diagonal;
}

// Sign of the cross product (b - a) x (c - a), in 64 bits so no coordinate overflows.
int orient(const point& a, const point& b, const point& c) {
  long long v = static_cast<long long>(b.x - a.x) * (c.y - a.y) - static_cast<long long>(b.y - a.y) * (c.x - a.x);
  return (v > 0) - (v < 0);
}

bool within(const point& a, const point& b, const point& p) {
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

// General closed-segment intersection, used when a diagonal meets an edge.
bool segments_cross(const line& s, const line& t) {
  point a = s.first(), b = s.second(), c = t.first(), d = t.second();
  int o1 = orient(a, b, c), o2 = orient(a, b, d), o3 = orient(c, d, a), o4 = orient(c, d, b);
  if (o1 != o2 && o3 != o4) return true;
  return (o1 == 0 && within(a, b, c)) || (o2 == 0 && within(a, b, d)) || (o3 == 0 && within(c, d, a)) ||
         (o4 == 0 && within(c, d, b));
}

// An axis-parallel rectangle edge against a line whose bounds already meet the rectangle.
int edge_meets_line(const line& e, const line& l) {
  axis ea = axis_of(e);
  axis la = axis_of(l);
  if (ea == axis::diagonal) {
    SDI_INTERNAL();
    return 0;
  }
  if (la == axis::diagonal) return segments_cross(e, l) ? 1 : 0;
  if (ea == la) return 1;
  if (ea == axis::vertical) return (l.x1 <= e.x1 && e.x1 <= l.x2) ? 1 : 0;
  return (l.y1 <= e.y1 && e.y1 <= l.y2) ? 1 : 0;
}
}  // namespace

const point zero_point{};
const rect zero_rect{};

rect line::bounds() const { return rect_from_corners(first(), second()); }

std::int32_t line::width() const { return std::abs(x2 - x1) + 1; }

rect rect_from_corners(const point& a, const point& b) {
  return rect(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x) + 1, std::abs(b.y - a.y) + 1);
}

int point_in_rect(const rect& r, const point& p) {
  return (r.x <= p.x && p.x <= r.x + r.w - 1 && r.y <= p.y && p.y <= r.y + r.h - 1) ? 1 : 0;
}

int rects_overlap(const rect& a, const rect& b) {
  if (a.y > b.y + b.h - 1 || a.y + a.h <= b.y || a.x > b.x + b.w - 1 || a.x + a.w <= b.x) return 0;
  return 1;
}

rect rect_intersection(const rect& a, const rect& b) {
  std::int32_t x0 = std::max(a.x, b.x);
  std::int32_t y0 = std::max(a.y, b.y);
  rect r;
  r.x = b.x < a.x ? 0 : x0 - a.x;
  r.y = b.y < a.y ? 0 : y0 - a.y;
  r.w = std::min(a.x + a.w - x0, b.x + b.w - x0);
  r.h = std::min(a.y + a.h - y0, b.y + b.h - y0);
  return r;
}

int point_on_segment(const line& l, const point& p) {
  if (l.x1 == l.x2) return (p.x == l.x1 && std::min(l.y1, l.y2) <= p.y && p.y <= std::max(l.y1, l.y2)) ? 1 : 0;
  if (l.y1 == l.y2) return (p.y == l.y1 && std::min(l.x1, l.x2) <= p.x && p.x <= std::max(l.x1, l.x2)) ? 1 : 0;
  SDI_INTERNAL_CASE();
  return 0;
}

int rect_meets_line(const rect& r, const line& l) {
  if (point_in_rect(r, l.first()) || point_in_rect(r, l.second())) return 1;
  rect b = rect_from_corners(l.first(), l.second());
  if (r.y > b.y + b.h - 1 || r.y + r.h <= b.y || r.x > b.x + b.w - 1 || r.x + r.w <= b.x) return 0;
  const std::int32_t right = r.x + r.w - 1, bottom = r.y + r.h - 1;
  if (edge_meets_line(line(r.x, r.y, r.x, bottom), l)) return 1;
  if (edge_meets_line(line(r.x, r.y, right, r.y), l)) return 1;
  if (edge_meets_line(line(r.x, bottom, right, bottom), l)) return 1;
  return 0;
}

point rotate_point(const point& p, const point& box, int code) {
  const std::int32_t w = box.x, h = box.y;
  switch (code) {
    case 1: return p;
    case 2: return point(h - p.y - 1, p.x);
    case 3: return point(w - p.x - 1, h - p.y - 1);
    case 4: return point(p.y, w - p.x - 1);
    default: SDI_INTERNAL(); return zero_point;
  }
}

line rotate_line(const line& l, const point& box, int code) {
  return line(rotate_point(l.first(), box, code), rotate_point(l.second(), box, code));
}

point mirror_point(const point& p, const point& box) { return point(box.x - p.x - 1, p.y); }

line mirror_line(const line& l, const point& box) {
  return line(mirror_point(l.first(), box), mirror_point(l.second(), box));
}

}  // namespace sdi
