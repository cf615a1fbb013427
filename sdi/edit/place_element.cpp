#include "sdi/edit/place_element.h"

#include "sdi/elements/bl_element.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/image.h"
#include "sdi/elements/naming.h"
#include "sdi/elements/placement.h"
#include "sdi/base/report.h"
#include "sdi/edit/wire_split.h"

namespace sdi {

void make_junction_image() {
  delete junction_image;
  junction_image = image_from_table(shape_for_kind(kind_junction));
}

void free_placement_state() {
  delete junction_image;
  junction_image = nullptr;
  delete pending_element;
  pending_element = nullptr;
}

void place_new_element() {
  element* e = pending_element;
  if (!e) return;
  if (e->id != 0) {
    // Inserting it again would put one element in the list twice.
    show_message("Not a new element is being placed");
    if (circuit.find_id(e->id, 0) && circuit.get(e->id) == e) pending_element = nullptr;
    return;
  }
  assign_default_name(e);
  circuit.insert(e);
  circuit.assign_id();
  pending_element = nullptr;
  split_wires_at_terminals(e);
  circuit_modified = 1;
  create_next_element(e->kind);
}

void set_new_line(const point& a, const point& b, int bend, int colour, int mode, int style) {
  if (!pending_element || !is_line_element(pending_element->kind)) {
    SDI_ASSERT_FAIL();
    return;
  }
  bl_element* l = static_cast<bl_element*>(pending_element);
  l->shape.set(a.x, a.y, b.x, b.y, bend, colour, mode, style);
  l->place_at(zero_point);
}

}  // namespace sdi
