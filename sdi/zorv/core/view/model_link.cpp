#include "sdi/zorv/core/view/model_link.h"

#include "sdi/elements/bl_element.h"
#include "sdi/draw/drawing.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/image.h"
#include "sdi/edit/place_element.h"
#include "sdi/elements/placement.h"
#include "simu/base/console.h"

namespace zorv {

namespace {

// Calls f for every element of the circuit, in list order, on a walk of its own.
template <class F>
void ForEachElement(F f) {
  sdi::elist walk = sdi::circuit;
  if (!walk.list_first()) return;
  do {
    if (sdi::element* e = walk.current()) f(e);
  } while (walk.next());
}

}  // namespace

void StartModel() {
  redirect_stdio();
  sdi::make_junction_image();
}

void StopModel() { sdi::free_placement_state(); }

void DeleteAllElements() { sdi::delete_all_elements(); }

void RedrawCircuit() { sdi::redraw_others(nullptr); }

std::vector<ConnectionItem> CircuitConnections() {
  std::vector<ConnectionItem> items;
  ForEachElement([&](sdi::element* e) {
    ConnectionItem item;
    item.isWire = e->kind == sdi::kind_wire;
    if (item.isWire) {
      item.end0 = e->terminal_at(0);
      item.end1 = e->terminal_at(1);
    }
    item.hasTerminalAt = [e](const sdi::point& p) { return e->has_terminal_at(p) != 0; };
    items.push_back(std::move(item));
  });
  return items;
}

namespace {

ExtentItem ExtentItemOf(sdi::element* e) {
  ExtentItem item;
  item.kind = e->kind;
  if (sdi::is_line_element(e->kind)) {
    item.end0 = e->terminal_at(0);
    item.end1 = e->terminal_at(1);
  } else if (auto* s = dynamic_cast<sdi::i_element*>(e); s && s->image) {
    item.image = s->image->bounds();
  }
  return item;
}

}  // namespace

std::vector<ExtentItem> CircuitExtentItems(bool selectedOnly) {
  std::vector<ExtentItem> items;
  ForEachElement([&](sdi::element* e) {
    if (!selectedOnly || e->selected) items.push_back(ExtentItemOf(e));
  });
  return items;
}

std::vector<ExtentItem> ExtentItemsOf(const sdi::elist& list) {
  std::vector<ExtentItem> items;
  for (sdi::enode* n = list.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value) items.push_back(ExtentItemOf(n->value));
  return items;
}

void DrawJunctionDot(sdi::point p, int colour) {
  sdi::image* dot = sdi::junction_image;
  if (!dot) return;
  dot->center_on(p);
  dot->draw_coloured(sdi::rect(0, 0, dot->w, dot->h), colour);
}

}  // namespace zorv
