// The value and link checks of run preparation.
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/netlist/prepare_circuit.h"
#include "sdi/base/report.h"

namespace sdi {

namespace {

void faulty(element* e) {
  ++e->selected;
  e->flags.clear(flag_values_set);
}

// Each family checks its own values and links.
void check_rules(element* e) {
  for (int i = e->value_faults(); i > 0; --i) faulty(e);
  if (!e->values_finite()) faulty(e);
}

}  // namespace

int check_values() {
  int count = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e) continue;
    check_rules(e);
    if (!e->flags.test(flag_values_set)) {
      ++e->selected;
      ++count;
      if (e->kind == kind_wire || e->kind == kind_junction) SDI_INTERNAL();
    }
  }
  return count;
}

}  // namespace sdi
