#include "sdi/edit/edit_delete.h"

#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/placement.h"
#include "sdi/base/report.h"

namespace sdi {

void delete_all_elements() {
  while (circuit.list_first()) delete circuit.remove_current();
}

element* delete_element(int id) {
  if (!circuit.find_id(id, 0)) {
    SDI_ASSERT_FAIL();
    return nullptr;
  }
  element* e = circuit.remove_by_id(id);
  if (!e) return nullptr;
  unlink_element(id);
  return e;
}

void remove_element_from_sheet(element* e) {
  if (!e) return;
  erase_element(e);
  if (e->id != 0) {
    // Only e itself leaves the circuit: an element that kept an id it no longer
    // holds there must not take out the one that holds it now.
    element* holder = circuit.find_id(e->id, 0) ? circuit.get(e->id) : nullptr;
    if (holder == e) delete_element(e->id);
    else SDI_ASSERT_FAIL();
  }
  delete e;
}

}  // namespace sdi
