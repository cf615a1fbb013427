#include "sdi/edit/select_ops.h"

#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"

namespace sdi {

int select_in_rect(const rect& r) {
  int inside = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e) continue;
    const int pins = e->nodes.count();
    bool in = false;
    if (pins > 0) {
      in = true;
      for (int i = 0; i < pins && in; ++i) in = point_in_rect(r, e->terminal_at(i)) != 0;
    } else if (e->kind == kind_probe) {
      in = e->overlaps_rect(r) != 0;
    }
    if (in) {
      ++e->selected;
      ++inside;
    }
  }
  return inside;
}

void deselect_all() {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value) n->value->selected = 0;
}

}  // namespace sdi
