// Hidden measuring ports: the outputs through which control elements see the
// network. They are temporary outputs with no display name (so no result
// column), named on from the counters of name_elements, and live only while
// one netlist is written. The control families ask for theirs
// (element::request_hidden_ports).
#include "sdi/elements/base_elements.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/netlist_parts.h"
#include "sdi/base/report.h"

namespace sdi {

namespace {

void set_pin(element* e, int pin, int node) {
  if (std::int32_t* slot = e->nodes.list_value_at(pin)) *slot = node;
}

}  // namespace

// Reusing a current port that is merely in series would leave the branch it
// stands for open: only one on exactly (a, b) serves.
int request_port(int kind, int a, int b) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (e && e->kind == kind && node_of(e, 0) == a && node_of(e, 1) == b) return e->id;
  }
  port* p = new port(kind, 1);
  p->nodes.grow(2);
  set_pin(p, 0, a);
  set_pin(p, 1, b);
  std::string name = type_letter(p) + std::to_string(writer.counters[kind]++);
  p->set_netname(name.c_str());
  p->temporary = 1;
  p->selected = 0;
  circuit.append(p);
  circuit.assign_id();
  writer.hidden_ids.push_back(p->id);
  return p->id;
}

int limiter_port(element* e) {
  int a = node_of(e, 0), b = node_of(e, 1);
  // Across a capacitor the port measures the capacitor's own voltage, so
  // limiters on it share one port whichever way round they are drawn.
  if (element* c = capacitor_across(a, b)) return request_port(kind_voltage_port, node_of(c, 0), node_of(c, 1));
  if (inductor_on(a, b)) return request_port(kind_current_port, a, b);
  if (element* cs = sense_feeding_limiters(a)) {
    int id = request_port(kind_current_port, node_of(cs, 0), node_of(cs, 1));
    static_cast<current_sense*>(cs)->port = id;
    return id;
  }
  return request_port(kind_voltage_port, a, 0);
}

void add_hidden_ports() {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    if (n->value) n->value->request_hidden_ports();
  }
}

void remove_hidden_ports() {
  for (int id : writer.hidden_ids) {
    if (!circuit.seek(id)) {
      SDI_ASSERT_FAIL();
      continue;
    }
    delete circuit.remove_current();
  }
  writer.hidden_ids.clear();
}

}  // namespace sdi
