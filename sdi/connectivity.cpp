#include "sdi/connectivity.h"

#include <map>
#include <string>

#include "sdi/element.h"
#include "sdi/elist.h"
#include "sdi/node_errors.h"
#include "sdi/node_numbering.h"

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

namespace {

void check_unconnected_pin(element* e, int pin) {
  const int k = e->kind;
  if (k == kind_clock) netlist_error("Clock must be connected to a switch control");
  if (k == kind_threshold) netlist_error("Threshold must be connected to a switch control");
  if (pin == 0 || pin == 1) {
    const char* what = nullptr;
    switch (k) {
      case kind_upper_limiter:
      case kind_lower_limiter: what = "Limiter"; break;
      case kind_vco: what = "VCO"; break;
      case kind_diode: what = "Diode"; break;
      case kind_voltage_source: what = "Voltage source"; break;
      case kind_current_source: what = "Current source"; break;
      case kind_sine: what = "Sine wave generator"; break;
      default: break;
    }
    if (k < 19) netlist_error("Element must be connected at both nodes");
    else if (what) netlist_error((std::string(what) + " must be connected at both nodes").c_str());
    else if (k == kind_switch) netlist_error("Switch must be connected at first 2 nodes");
  }
  switch (k) {
    case kind_modulator:
      if (pin == 2) netlist_error("Modulator must have output connected to switch control");
      if ((e->values[1] != 0.0 && !pin_connected(e, 0)) || (e->values[2] != 0.0 && !pin_connected(e, 1)))
        netlist_error("Modulator must have input connected when corresponding k != 0");
      break;
    case kind_current_sense: netlist_error("Current sense must have all 3 nodes connected"); break;
    case kind_op_amp: netlist_error("Op-Amp must have all 3 nodes connected"); break;
    // Without this an open multiplier pin reaches the netlist as node -1.
    case kind_multiplier: netlist_error("Multiplier must have all 3 nodes connected"); break;
    case kind_switch:
      if (!pin_connected(e, 2)) netlist_error("Switch must have ON connected");
      if (!pin_connected(e, 3)) netlist_error("Switch must have OFF connected");
      break;
    default: break;
  }
}

void check_control_output(element* e, int pin, const char* text) {
  if (!kind_on_pin_node(e, pin, kind_switch)) netlist_error(text);
}

}  // namespace

void check_pins() {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind == kind_mutual) continue;
    const int pins = e->nodes.count();
    for (int i = 0; i < pins; ++i) {
      if (pin_connected(e, i)) continue;
      check_unconnected_pin(e, i);
      if (run_error_count != 0) return;
    }
    if (e->kind == kind_modulator) check_control_output(e, 2, "Modulator output may only be connected to switch control");
    if (e->kind == kind_threshold) check_control_output(e, 0, "Threshold may only be connected to switch control");
    if (e->kind == kind_clock) check_control_output(e, 0, "Clock may only be connected to switch control");
  }
}

namespace {

enum class node_role { undecided, control, network };

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
    switch (e->kind) {
      case kind_modulator:
        if (first == 2) return node_role::control;
        break;
      case kind_clock:
      case kind_threshold:
        return node_role::control;
      case kind_switch:
        if (first == 2 || first == 3) return node_role::control;
        break;
      case kind_current_sense: {
        if (first != 2) return node_role::network;
        // An output that feeds only limiters is a control signal.
        for (enode* m = circuit.head; m; m = static_cast<enode*>(m->next)) {
          element* o = m->value;
          if (!o || o == e || o->kind == kind_mutual || o->kind == kind_upper_limiter || o->kind == kind_lower_limiter)
            continue;
          for (inode* p = o->nodes.head; p; p = static_cast<inode*>(p->next))
            if (p->value == v) return node_role::network;
        }
        return node_role::control;
      }
      default:
        break;
    }
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
