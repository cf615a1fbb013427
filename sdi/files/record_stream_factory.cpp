// The element of a record kind, for the readers. The editor's factories go
// through the placement state and refuse a second probe or multiplier; a
// reader must do neither (a file replacing the open circuit may hold the probe
// that the open one also has), so those two and the empty subcircuit are made
// here and the rest borrow the factories with the placement state put back.
#include "sdi/elements/control_elements.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/placement.h"
#include "sdi/files/record_stream.h"
#include "sdi/elements/source_elements.h"
#include "sdi/elements/sub_element.h"

namespace sdi {

namespace {
bool record_kind(int k) { return (k >= 0 && k <= 2) || (k >= 5 && k <= 16 && k != 11) || (k >= 20 && k <= 37); }
}  // namespace

element* new_record_element(int kind) {
  if (!record_kind(kind)) return nullptr;
  if (kind == kind_probe) return new probe(1);
  if (kind == kind_multiplier) return new multiplier(1);
  if (kind == kind_sub) return new sub(1);
  element* saved_pending = pending_element;
  element* saved_previous = previous_pending_element;
  pending_element = nullptr;
  create_element(kind);
  element* e = pending_element;
  pending_element = saved_pending;
  previous_pending_element = saved_previous;
  return e;
}

}  // namespace sdi
