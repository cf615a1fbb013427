// Id references of pasted and merged elements, and the small list operations
// that paste and run preparation share.
#include <set>

#include "sdi/elements/element.h"
#include "sdi/netlist/prepare_circuit.h"
#include "sdi/base/report.h"

namespace sdi {

elist paste_check_list;

void MarkElements(elist& list) {
  for (enode* n = list.head; n; n = static_cast<enode*>(n->next))
    if (n->value) ++n->value->temporary;
}

void DeleteFlaggedElements() {
  enode* n = circuit.head;
  while (n) {
    enode* after = static_cast<enode*>(n->next);
    element* e = n->value;
    if (e && e->temporary) {
      circuit.current_ = n;
      circuit.remove_current();
      delete e;
    }
    n = after;
  }
  circuit.current_ = circuit.head ? static_cast<enode*>(list_last(circuit.head)) : nullptr;
}

int GetMaxElementId() {
  int m = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->id > m) m = n->value->id;
  return m;
}

int FixPastedReferences(element* e, int offset, const std::set<int>& lookup) {
  if (!e) return 0;
  if (!e->shift_references(offset, lookup)) {
    delete e;
    return 0;
  }
  return 1;
}

int FixPastedReferences(element* e, int offset) {
  std::set<int> lookup;
  for (enode* n = paste_check_list.head; n; n = static_cast<enode*>(n->next))
    if (n->value) lookup.insert(n->value->id);
  return FixPastedReferences(e, offset, lookup);
}

}  // namespace sdi
