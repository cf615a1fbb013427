#include "sdi/elements/placement.h"

#include <algorithm>

#include "sdi/elements/bl_element.h"
#include "sdi/draw/drawing.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/i_element.h"

namespace sdi {

element* pending_element = nullptr;
element* previous_pending_element = nullptr;

void remember_new_element() { previous_pending_element = pending_element; }

point snap_to_grid(int x, int y) {
  rect bounds(1, 1, 3000, 3000);
  if (pending_element && !is_line_element(pending_element->kind)) {
    const image* im = static_cast<i_element*>(pending_element)->image;
    if (im) bounds = rect(1 + im->ref_x, 1 + im->ref_y, 3000 - im->w, 3000 - im->h);
  }
  x = std::min(x, bounds.right());
  y = std::min(y, bounds.bottom());
  x = std::max(x, bounds.x);
  y = std::max(y, bounds.y);
  return point((x + 4) & ~7, (y + 4) & ~7);
}

namespace {
template <class F>
void each_other(element* e, F f) {
  // Symbols first, then lines, so wires are drawn over symbols.
  for (int pass = 0; pass < 2; ++pass)
    for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
      element* o = n->value;
      if (!o || (e && o->id == e->id)) continue;
      if (is_line_element(o->kind) == (pass == 1)) f(o);
    }
}
}  // namespace

void redraw_others(element* e) {
  if (!pDC) return;
  each_other(e, [](element* o) { o->draw(); });
}

void redraw_around(element* e) {
  if (!pDC || !e) return;
  each_other(e, [e](element* o) {
    if (!o->overlaps(e)) return;
    rect clip;
    o->clip_to_element(clip, e);
    o->draw_clipped(clip);
  });
}

void erase_element(element* e) {
  if (!e || !pDC) return;
  if (is_line_element(e->kind)) {
    static_cast<bl_element*>(e)->erase();
    redraw_around(e);
  } else {
    static_cast<i_element*>(e)->erase();
  }
}

}  // namespace sdi
