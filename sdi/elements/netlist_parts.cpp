// What the element families give the netlist their parts with (netlist_parts.h)
// and the queries of the writer's state (netlist_writer_state.h). The writer
// (sdi/netlist) resets the state for each file and prints what they made.
#include "sdi/elements/netlist_parts.h"

#include <cstring>

#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/node_numbering.h"
#include "sdi/base/report.h"

namespace sdi {

netlist_writer_state writer;

int node_of(element* e, int pin) { return pin_node(e, pin); }

bool has_pin_on(element* e, int node) {
  if (!e || node < 0) return false;
  for (inode* n = e->nodes.head; n; n = static_cast<inode*>(n->next))
    if (n->value == node) return true;
  return false;
}

element* element_by_id(int id) {
  if (id == 0) return nullptr;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->id == id) return n->value;
  return nullptr;
}

std::string netname_of(element* e) {
  const char* s = e && e->kind != kind_wire ? e->netname() : nullptr;
  return s ? std::string(s, strnlen(s, 8)) : std::string();
}

std::string display_name_of(element* e) {
  const char* s = e && e->kind != kind_wire ? e->name() : nullptr;
  return s ? std::string(s, strnlen(s, 8)) : std::string();
}

std::string name_tail(element* e) {
  std::string s = netname_of(e);
  return s.empty() ? s : s.substr(1);
}

int switch_ordinal_of(element* e) {
  auto it = writer.switch_ordinal.find(e);
  return it == writer.switch_ordinal.end() ? 0 : it->second;
}

int output_ordinal_of(element* e) {
  auto it = writer.output_ordinal.find(e);
  return it == writer.output_ordinal.end() ? 0 : it->second;
}

element* sense_feeding_limiters(int node) {
  if (node < 0) return nullptr;
  element* sense = nullptr;
  int senses = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind == kind_mutual || !has_pin_on(e, node)) continue;
    if (e->kind == kind_current_sense) {
      ++senses;
      sense = e;
    } else if (e->kind != kind_upper_limiter && e->kind != kind_lower_limiter) {
      return nullptr;
    }
  }
  if (senses != 1 || node_of(sense, 2) != node) return nullptr;
  return sense;
}

element* capacitor_across(int a, int b) {
  if (a < 0 || b < 0) return nullptr;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind != kind_capacitor) continue;
    int p = node_of(e, 0), q = node_of(e, 1);
    if ((p == a && q == b) || (p == b && q == a)) return e;
  }
  return nullptr;
}

element* inductor_on(int a, int b) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (e && e->kind == kind_inductor && (has_pin_on(e, a) || has_pin_on(e, b))) return e;
  }
  return nullptr;
}

const char* type_letter(element* e) {
  if (!e) {
    SDI_ASSERT_FAIL();
    return "X";
  }
  const kind_descriptor& d = describe(e->kind);
  if (d.letter_reported) SDI_INTERNAL_CASE();
  return d.letter;
}

void type_letter(element* e, char* buffer) { std::strcpy(buffer, type_letter(e)); }

simrec* netlist_row(rlist& rows, const std::string& name, int width) {
  simrec* r = new simrec;
  r->add_string(name, width);
  rows.append(r);
  return r;
}

void add_node(simrec* r, int node) {
  writer.row_nodes.push_back(node);
  r->add_int(node);
}

void add_nodes(simrec* r, element* e) {
  add_node(r, node_of(e, 0));
  add_node(r, node_of(e, 1));
}

int new_internal_node() { return writer.node_count++; }

void two_pin_row(rlist& rows, element* e, double value) {
  simrec* r = netlist_row(rows, netname_of(e), 10);
  add_nodes(r, e);
  r->add_double(value);
  r->set_name(display_name_of(e));
}

condition& new_condition() {
  writer.made_conditions.push_back(condition{});
  writer.made_conditions.back().cy.assign(static_cast<std::size_t>(writer.output_count), 0.0);
  ++writer.conditions;
  return writer.made_conditions.back();
}

void set_cy(condition& c, int output_id, double v) {
  element* out = element_by_id(output_id);
  int k = output_ordinal_of(out);
  if (k < 1) {
    SDI_INTERNAL();
    return;
  }
  c.cy[static_cast<std::size_t>(k - 1)] = v;
}

// A limiter across a capacitor, or touching an inductor, bounds that state;
// the others become switching conditions.
bool limit_row(element* limiter, simrec& r) {
  int a = node_of(limiter, 0), b = node_of(limiter, 1);
  if (element* c = capacitor_across(a, b)) {
    r.add_string("V_" + netname_of(c), 10);
  } else if (element* l = inductor_on(a, b)) {
    r.add_string("I_" + netname_of(l), 10);
  } else {
    return false;
  }
  r.add_double(limiter->values[0]);
  return true;
}

}  // namespace sdi
