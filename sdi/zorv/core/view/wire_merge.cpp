#include "sdi/zorv/core/view/wire_merge.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "sdi/elements/bl_element.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/base/report.h"
#include "sdi/edit/wire_split.h"
#include "sdi/zorv/core/base/messages.h"

namespace zorv {

namespace {

// A bound far above any real circuit: a split that kept finding work would hang.
constexpr int kMaxSplitPasses = 10000;

sdi::cline* AsWire(sdi::element* e) {
  return e && e->kind == sdi::kind_wire ? static_cast<sdi::cline*>(e) : nullptr;
}

bool Horizontal(const sdi::line_shape& s) { return s.y1 == s.y2 && s.x1 != s.x2; }
bool Vertical(const sdi::line_shape& s) { return s.x1 == s.x2 && s.y1 != s.y2; }

void Normalise(sdi::line_shape& s) {
  if (s.x1 > s.x2 || (s.x1 == s.x2 && s.y1 > s.y2)) {
    std::swap(s.x1, s.x2);
    std::swap(s.y1, s.y2);
  }
}

// Ids of the circuit's elements, selected ones only or wires only, taken before
// anything changes the list.
std::vector<int> Ids(bool selectedOnly, bool wiresOnly) {
  std::vector<int> ids;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) {
    sdi::element* e = n->value;
    if (!e || (selectedOnly && !e->selected) || (wiresOnly && e->kind != sdi::kind_wire)) continue;
    ids.push_back(e->id);
  }
  return ids;
}

sdi::element* Live(int id) { return id && sdi::circuit.find_id(id, 0) ? sdi::circuit.get(id) : nullptr; }

// Takes a wire out of the circuit, off the sheet, and deletes it.
void DropWire(sdi::cline* w) {
  w->erase();
  delete sdi::delete_element(w->id);
}

}  // namespace

bool WireJointOccupied(const sdi::point& p, const sdi::element* w, const sdi::element* o) {
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value && n->value != w && n->value != o && n->value->has_terminal_at(p)) return true;
  return false;
}

int MergeWireSpans(int a1, int a2, int b1, int b2, sdi::cline* o, bool horizontal) {
  if (a1 > a2 || b1 > b2 || !o) {
    SDI_ASSERT_FAIL();
    return 0;
  }
  if (a1 > b2 || b1 > a2) return 0;
  if (b1 <= a1 && a2 <= b2) return 1;
  o->erase();
  const int lo = std::min(a1, b1), hi = std::max(a2, b2);
  if (horizontal) {
    o->shape.x1 = lo;
    o->shape.x2 = hi;
  } else {
    o->shape.y1 = lo;
    o->shape.y2 = hi;
  }
  ++o->selected;
  o->draw();
  return 1;
}

sdi::cline* CombineWireWithNeighbours(sdi::element* e) {
  sdi::cline* w = AsWire(e);
  if (!w) {
    SDI_ASSERT_FAIL();
    return nullptr;
  }
  Normalise(w->shape);
  const sdi::line_shape& a = w->shape;
  for (int id : Ids(false, true)) {
    sdi::cline* o = AsWire(Live(id));
    if (!o || o == w) continue;
    Normalise(o->shape);
    const sdi::line_shape& b = o->shape;
    const bool horizontal = Horizontal(a) && Horizontal(b) && a.y1 == b.y1;
    const bool vertical = Vertical(a) && Vertical(b) && a.x1 == b.x1;
    if (!horizontal && !vertical) continue;
    if (WireJointOccupied(sdi::point(a.x1, a.y1), w, o)) continue;
    const int merged = horizontal ? MergeWireSpans(a.x1, a.x2, b.x1, b.x2, o, true)
                                  : MergeWireSpans(a.y1, a.y2, b.y1, b.y2, o, false);
    if (!merged) continue;
    DropWire(w);
    // The combining that follows may take o into a further wire in turn.
    sdi::cline* further = CombineSelectedWires();
    sdi::cline* kept = AsWire(Live(id));
    return kept ? kept : further;
  }
  return nullptr;
}

sdi::cline* CombineSelectedWires() {
  for (int id : Ids(true, true))
    if (sdi::element* w = Live(id))
      if (sdi::cline* kept = CombineWireWithNeighbours(w)) return kept;
  return nullptr;
}

void JoinCollinearWires() {
  for (int id : Ids(false, true)) {
    sdi::cline* w = AsWire(Live(id));
    if (!w) continue;
    for (int end = 0; end < 2; ++end) {
      const sdi::point p = w->terminal_at(end);
      sdi::element* only = nullptr;
      int touching = 0;
      for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
        if (n->value && n->value != w && n->value->has_terminal_at(p)) {
          ++touching;
          only = n->value;
        }
      // A join that joins nothing (legs at right angles) must not end the scan.
      if (touching == 1 && AsWire(only) && CombineLines(w, AsWire(only))) return;
    }
  }
}

bool CombineLines(sdi::cline* w, sdi::cline* o) {
  if (!w || !o || w == o) return false;
  const bool horizontal = Horizontal(w->shape) && Horizontal(o->shape);
  const bool vertical = Vertical(w->shape) && Vertical(o->shape);
  if (!horizontal && !vertical) return false;
  sdi::line_shape& s = w->shape;
  const sdi::point w1(s.x1, s.y1), w2(s.x2, s.y2);
  const sdi::point o1(o->shape.x1, o->shape.y1), o2(o->shape.x2, o->shape.y2);
  sdi::point* moving = nullptr;
  sdi::point target;
  sdi::point ends[2] = {w1, w2};
  if (w1 == o1 || w1 == o2) {
    moving = &ends[0];
    target = w1 == o1 ? o2 : o1;
  } else if (w2 == o1 || w2 == o2) {
    moving = &ends[1];
    target = w2 == o1 ? o2 : o1;
  }
  if (!moving) {
    ShowMessage("Error in CombineLines()");
    return false;
  }
  w->erase();
  *moving = target;
  s.x1 = ends[0].x;
  s.y1 = ends[0].y;
  s.x2 = ends[1].x;
  s.y2 = ends[1].y;
  DropWire(o);
  w->draw();
  JoinCollinearWires();
  return true;
}

void SplitWiresAtSelection() {
  for (int pass = 0; pass < kMaxSplitPasses; ++pass) {
    bool split = false;
    for (int id : Ids(true, false)) {
      sdi::element* e = Live(id);
      if (!e) continue;
      if (e->kind == sdi::kind_wire)
        split = sdi::split_after_wire_drawn(e) != 0 || split;
      else
        split = sdi::split_wires_at_terminals(e) != 0 || split;
    }
    if (!split) return;
  }
}

}  // namespace zorv
