#include "sdi/netlist/connectivity.h"

#include <map>
#include <string>

#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"

namespace sdi {

void merge_wires() {
  enode* n = circuit.head;
  while (n) {
    enode* after = static_cast<enode*>(n->next);
    element* e = n->value;
    if (!e || (e->kind != kind_wire && e->kind != kind_junction)) {
      n = after;
      continue;
    }
    const int a = pin_node(e, 0);
    const int b = pin_node(e, 1);
    if (pin_count(a) < 2 || pin_count(b) < 2) {
      netlist_error("Line must be connected at both nodes");
      return;
    }
    if (a != 0) circuit.replace_node(a, b);
    else circuit.replace_node(b, 0);
    // Out of the working list; the walk goes on with the element after it.
    circuit.current_ = n;
    circuit.remove_current();
    if (e->temporary) delete e;
    n = after;
  }
}

void check_pins() {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind == kind_mutual) continue;
    const int pins = e->nodes.count();
    for (int i = 0; i < pins; ++i) {
      if (pin_connected(e, i)) continue;
      e->report_open_pin(i);
      if (run_error_count != 0) return;
    }
    e->check_control_output();
  }
}

namespace {

// How the first element that decides sees v, through its first pin on v.
node_role role_of(int v) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind == kind_mutual) continue;
    int first = -1, i = 0;
    for (inode* p = e->nodes.head; p; p = static_cast<inode*>(p->next), ++i)
      if (p->value == v) {
        first = i;
        break;
      }
    if (first < 0) continue;
    const node_role r = e->pin_role(first, v);
    if (r != node_role::undecided) return r;
  }
  return node_role::undecided;
}

bool node_used(int v) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->kind != kind_mutual)
      for (inode* p = n->value->nodes.head; p; p = static_cast<inode*>(p->next))
        if (p->value == v) return true;
  return false;
}

}  // namespace

void renumber_nodes() {
  if (next_free_node < 1) {
    numn = 0;
    return;
  }
  // Decide every node first, then rename once: moving a control node up by
  // 1000 must not land on a node that is still to be looked at.
  std::map<int, int> renamed;
  int c = 0;
  for (int v = 0; v < next_free_node; ++v) {
    if (role_of(v) == node_role::control) renamed[v] = v + 1000;
    else if (node_used(v)) renamed[v] = c++;
  }
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->kind != kind_mutual)
      for (inode* p = n->value->nodes.head; p; p = static_cast<inode*>(p->next)) {
        auto it = renamed.find(p->value);
        if (it != renamed.end()) p->value = it->second;
      }
  numn = c;
}

void check_nodes() {
  number_nodes();
  merge_wires();
  if (run_error_count != 0) return;
  check_pins();
  if (run_error_count != 0) return;
  renumber_nodes();
}

}  // namespace sdi
