#include "sdi/edit/wire_split.h"

#include <cstdlib>

#include "sdi/elements/bl_element.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/placement.h"
#include "sdi/base/report.h"

namespace sdi {

namespace {

bl_element* wire_of(int id) {
  if (!id || !circuit.find_id(id, 0)) return nullptr;
  element* e = circuit.get(id);
  return e && e->kind == kind_wire ? static_cast<bl_element*>(e) : nullptr;
}

point first_end(const bl_element* w) { return point(w->shape.x1, w->shape.y1); }
point second_end(const bl_element* w) { return point(w->shape.x2, w->shape.y2); }

bool on_route(const bl_element* w, const point& p) {
  return point_on_segment(w->shape.leg1(), p) || point_on_segment(w->shape.leg2(), p);
}

}  // namespace

int new_wire_piece(const line& l, int bend) {
  if (pending_element) SDI_ASSERT_FAIL();
  cline* piece = new cline;
  piece->shape.set(l.x1, l.y1, l.x2, l.y2, bend, 1, 0, 0);
  circuit.insert(piece);
  circuit.assign_id();
  return piece->id;
}

wire_pieces split_wire(int w, const point& p1, const point& p2, const point& p3, int bend) {
  if (p1 == p2 || p2 == p3) return {w, w};
  const int a = new_wire_piece(line(p1, p2), bend);
  const int b = new_wire_piece(line(p2, p3), bend);
  if (!circuit.find_id(w, 0)) {
    SDI_ASSERT_FAIL();
    return {a, b};
  }
  element* old = circuit.remove_by_id(w);
  unlink_element(w);
  delete old;
  return {a, b};
}

int find_wire_through(const point& p, element* skip) {
  int first = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e == skip || e->kind != kind_wire) continue;
    const bl_element* w = static_cast<bl_element*>(e);
    if (!on_route(w, p)) continue;
    // A wire that merely ends at p would not be split; one passing through would.
    if (p != first_end(w) && p != second_end(w)) return e->id;
    if (!first) first = e->id;
  }
  return first;
}

int split_wires_at_terminals(element* e) {
  int result = 0;
  if (!e || e->kind == kind_mutual) return 0;
  const int terminals = e->kind == kind_junction ? 1 : e->nodes.count();
  for (int i = 0; i < terminals; ++i) {
    const point p = e->terminal_at(i);
    const int w = find_wire_through(p, e);
    bl_element* wire = wire_of(w);
    if (!wire) continue;
    if (split_wire(w, first_end(wire), p, second_end(wire), wire->shape.bend).second != w) result = 1;
  }
  return result;
}

void split_wire_at(int piece, const point& p) {
  element* skip = circuit.find_id(piece, 0) ? circuit.get(piece) : nullptr;
  const int w = find_wire_through(p, skip);
  if (bl_element* wire = wire_of(w)) split_wire(w, first_end(wire), p, second_end(wire), wire->shape.bend);
}

namespace {

// Wires read from files may lie anywhere; the walk runs only on grid routes
// near the sheet, so it always ends.
bool walkable(const bl_element* w) {
  const std::int32_t v[4] = {w->shape.x1, w->shape.y1, w->shape.x2, w->shape.y2};
  for (std::int32_t c : v)
    if (c % 8 != 0 || c < -8 || c > 3008) return false;
  return true;
}

// The first point after from, stepping by 8 towards to (to included), where an
// element has a terminal and that is neither skip end; false when none.
bool first_terminal_on(const point& from, const point& to, const point& a, const point& b, point& found) {
  const bool horizontal = from.y == to.y;
  const int start = horizontal ? from.x : from.y;
  const int end = horizontal ? to.x : to.y;
  const int step = end < start ? -8 : 8;
  for (int v = start + step; step > 0 ? v <= end : v >= end; v += step) {
    const point p = horizontal ? point(v, from.y) : point(from.x, v);
    if (p == a || p == b) continue;
    if (circuit.terminal_at(p, 0)) {
      found = p;
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<int> split_wire_at_route_terminals(int w) {
  std::vector<int> pieces;
  while (bl_element* wire = wire_of(w)) {
    if (!walkable(wire)) break;
    const point a = first_end(wire), b = second_end(wire), corner = wire->shape.corner();
    point p;
    if (!first_terminal_on(a, corner, a, b, p) && !first_terminal_on(corner, b, a, b, p)) break;
    const int bend = wire->shape.bend;
    const wire_pieces made = split_wire(w, a, p, b, bend);
    if (made.second == w) break;
    pieces.push_back(made.first);
    pieces.push_back(made.second);
    w = made.second;
  }
  return pieces;
}

int split_after_wire_drawn(element* w) {
  if (!w || w->kind != kind_wire || w->id == 0) {
    SDI_ASSERT_FAIL();
    return 0;
  }
  const bl_element* drawn = static_cast<bl_element*>(w);
  const point a = first_end(drawn), b = second_end(drawn);
  const std::vector<int> pieces = split_wire_at_route_terminals(w->id);  // w may be deleted from here on
  if (pieces.empty()) return split_wires_at_terminals(w);
  int piece_a = 0, piece_b = 0;
  for (int id : pieces) {
    element* piece = circuit.find_id(id, 0) ? circuit.get(id) : nullptr;
    if (!piece) continue;
    if (!piece_a && piece->has_terminal_at(a)) piece_a = id;
    if (!piece_b && piece->has_terminal_at(b)) piece_b = id;
  }
  if (piece_a) split_wire_at(piece_a, a);
  else SDI_ASSERT_FAIL();
  if (piece_b && circuit.find_id(piece_b, 0)) split_wire_at(piece_b, b);
  else SDI_ASSERT_FAIL();
  return 1;
}

}  // namespace sdi
