#include "sdi/elements/bl_element.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "sdi/base/byte_io.h"
#include "sdi/draw/drawing.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/netlist_parts.h"
#include "sdi/elements/records.h"
#include "sdi/base/report.h"

namespace sdi {

namespace {

// A zero-length leg counts as vertical.
bool leg_hit(const line& l, const point& p) {
  if (l.x1 == l.x2) {
    const int lo = std::min(l.y1, l.y2), hi = std::max(l.y1, l.y2);
    return std::abs(p.x - l.x1) < 4 && lo - 2 < p.y && p.y < hi + 2;
  }
  if (l.y1 == l.y2) {
    const int lo = std::min(l.x1, l.x2), hi = std::max(l.x1, l.x2);
    return std::abs(p.y - l.y1) < 3 && lo - 2 < p.x && p.x < hi + 2;
  }
  return false;
}
}  // namespace

void bl_element::select() { shape.highlight(); }

int bl_element::hit_test(const point& p) { return (leg_hit(shape.leg1(), p) || leg_hit(shape.leg2(), p)) ? 1 : 0; }

void bl_element::move(const point& offset) {
  shape.x1 += offset.x;
  shape.y1 += offset.y;
  shape.x2 += offset.x;
  shape.y2 += offset.y;
}

void bl_element::write(std::FILE* f) {
  write_common(this, f);
  const std::int32_t words[8] = {shape.x1, shape.y1, shape.x2, shape.y2, shape.colour, shape.style, shape.mode, shape.bend};
  for (std::int32_t w : words) write_int(f, w);
}

bool bl_element::read(std::FILE* f, int) {
  if (!read_common(this, f)) return false;
  std::int32_t* words[8] = {&shape.x1, &shape.y1, &shape.x2, &shape.y2, &shape.colour, &shape.style, &shape.mode, &shape.bend};
  for (std::int32_t* w : words)
    if (!record_int(f, *w)) return false;
  for (int i = 0; i < 4; ++i)
    if (*words[i] < -max_record_position || *words[i] > max_record_position) {
      set_record_error("An element record places its line far outside the sheet (" + std::to_string(shape.x1) + ", " +
                       std::to_string(shape.y1) + ", " + std::to_string(shape.x2) + ", " + std::to_string(shape.y2) +
                       ")");
      return false;
    }
  return true;
}

void bl_element::terminal(point& out, int i) {
  switch (i) {
    case 0: out = point(shape.x1, shape.y1); break;
    case 1: out = point(shape.x2, shape.y2); break;
    default: SDI_INTERNAL_CASE(); out = zero_point; break;
  }
}

int bl_element::has_terminal_at(const point& p) {
  return (p == point(shape.x1, shape.y1) || p == point(shape.x2, shape.y2)) ? 1 : 0;
}

int bl_element::overlaps_rect(const rect& r) { return line_shape_meets_rect(shape, r); }

int bl_element::overlaps(element* e) {
  if (!e) return 0;
  if (is_line_element(e->kind)) return 1;
  i_element* s = static_cast<i_element*>(e);
  return s->image ? line_shape_meets_rect(shape, s->image->bounds()) : 0;
}

void bl_element::clip_to_rect(rect& out, const rect&) { out = zero_rect; }
void bl_element::clip_to_element(rect& out, element*) { out = zero_rect; }
void bl_element::draw_clipped(const rect&) { draw(); }
void bl_element::draw() { shape.draw(selected ? 4 : 1); }
void bl_element::place_at(const point&) { draw(); }

void bl_element::erase() {
  shape.draw(15);
  if (grid_shown) {
    restore_grid_along(shape.leg1());
    restore_grid_along(shape.leg2());
  }
}

cline::cline() : bl_element(kind_wire) {}

cmutind::cmutind() : bl_element(kind_mutual) {}

int cmutind::hit_test(const point& p) {
  const int x1 = shape.x1, y1 = shape.y1, x2 = shape.x2, y2 = shape.y2;
  if (x1 == x2) return 0;
  const double y = y1 + static_cast<double>(y2 - y1) / (x2 - x1) * (p.x - x1);
  const long yr = std::lround(y);
  if (!(std::labs(p.y - yr) < 6)) return 0;
  return (std::min(x1, x2) < p.x && p.x < std::max(x1, x2)) ? 1 : 0;
}

void cmutind::write(std::FILE* f) {
  bl_element::write(f);
  write_int(f, inductor1);
  write_int(f, inductor2);
  write_name_field(f, name_, 8);
  write_name_field(f, netname_, 8);
}

bool cmutind::read(std::FILE* f, int version) {
  if (!bl_element::read(f, version)) return false;
  if (!record_int(f, inductor1) || !record_int(f, inductor2)) return false;
  if (version != circuit_version) return true;
  return read_name_field(f, name_, 8) && read_name_field(f, netname_, 8);
}

void cmutind::netlist_rows(rlist& rows) {
  element* l1 = element_by_id(inductor1);
  element* l2 = element_by_id(inductor2);
  if (!l1 || !l2) {
    SDI_INTERNAL();
    return;
  }
  simrec* r = netlist_row(rows, netname_of(this), 10);
  r->add_double(values[0]);
  r->add_string(netname_of(l1), 4);
  r->add_string(netname_of(l2), 4);
  r->set_name(display_name_of(this));
}

bool cmutind::shift_references(int offset, const std::set<int>& lookup) {
  if (!lookup.count(inductor1) || !lookup.count(inductor2)) {
    show_message("Mutual inductance is copied only if both inductors are also copied.");
    return false;
  }
  inductor1 += offset;
  inductor2 += offset;
  shift_found(links, offset, lookup);
  return true;
}

int cmutind::value_faults() { return inductor1 == 0 || inductor2 == 0 || std::fabs(values[0]) < smallest_value ? 1 : 0; }

// White over the old line; then, unless only erasing, the line between the
// inductors' centres. An inductor that cannot be found leaves its end as it is.
void cmutind::redraw_line(bool erase_only) {
  if (!pDC) return;
  draw_line_hook(shape.x1, shape.y1, shape.x2, shape.y2, 15, 0, 2);
  if (grid_shown) restore_grid_box(line(shape.x1, shape.y1, shape.x2, shape.y2));
  if (erase_only) return;
  if (inductor1 && circuit.find_id(inductor1, 0)) {
    if (i_element* a = as_i_element(circuit.get(inductor1)); a && a->image) {
      point c = a->center();
      shape.x1 = c.x;
      shape.y1 = c.y;
    }
  }
  if (inductor2 && circuit.find_id(inductor2, 0)) {
    if (i_element* b = as_i_element(circuit.get(inductor2)); b && b->image) {
      point c = b->center();
      shape.x2 = c.x;
      shape.y2 = c.y;
    }
  }
  draw_line_hook(shape.x1, shape.y1, shape.x2, shape.y2, selected ? 4 : 1, 0, 2);
}

void cmutind::draw() { redraw_line(false); }
void cmutind::erase() { redraw_line(true); }

}  // namespace sdi
