// The element matrix "X" and the output matrix "Y". Every row layout of a
// kind is here; widths in the add_string calls, ints 4, doubles 15.
#include <cmath>
#include <vector>

#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/control_elements.h"
#include "sdi/elist.h"
#include "sdi/netlist_writer_state.h"
#include "sdi/report.h"
#include "sdi/simrec.h"
#include "sdi/simrec_matrix.h"
#include "sdi/source_elements.h"

namespace sdi {

namespace {

const char* const tag = "sdi/Simnet";

// Node fields of the rows, checked once the internal nodes are counted: an
// unassigned or control node in the network is a broken netlist.
std::vector<int> written_nodes;

simrec* row(rlist& rows, const std::string& name, int width) {
  simrec* r = new simrec;
  r->add_string(name, width);
  rows.append(r);
  return r;
}

void add_node(simrec* r, int node) {
  written_nodes.push_back(node);
  r->add_int(node);
}

void add_nodes(simrec* r, element* e) {
  add_node(r, node_of(e, 0));
  add_node(r, node_of(e, 1));
}

int new_internal_node() { return writer.node_count++; }

void two_pin_row(rlist& rows, element* e, double value) {
  simrec* r = row(rows, netname_of(e), 10);
  add_nodes(r, e);
  r->add_double(value);
  r->set_name(display_name_of(e));
}

void primary_rows(rlist& rows, xform* p) {
  int k = 0;
  for (inode* s = p->secondaries.head; s; s = static_cast<inode*>(s->next)) {
    ++k;
    element* sec = element_by_id(s->value);
    if (!sec || sec->kind != kind_secondary || p->values[0] == 0.0) {
      SDI_INTERNAL(tag);
      continue;
    }
    simrec* r = row(rows, netname_of(p) + "_" + std::to_string(k), 10);
    add_nodes(r, p);
    r->add_double(-(sec->values[0] / p->values[0]));
    r->add_string(netname_of(sec), 7);
    r->set_name(display_name_of(p));
  }
}

void secondary_row(rlist& rows, xform* s) {
  element* p = element_by_id(s->partner);
  if (!p || p->kind != kind_primary || p->values[0] == 0.0) {
    SDI_INTERNAL(tag);
    return;
  }
  simrec* r = row(rows, netname_of(s), 10);
  add_nodes(r, s);
  r->add_double(s->values[0] / p->values[0]);
  r->add_string(netname_of(p) + "_" + std::to_string(s->winding), 7);
  r->set_name(display_name_of(s));
}

void controlled_row(rlist& rows, depsource* d) {
  element* c = element_by_id(d->control);
  if (!c) {
    SDI_INTERNAL(tag);
    return;
  }
  simrec* r = row(rows, netname_of(d), 10);
  add_nodes(r, d);
  r->add_double(d->values[0]);
  r->add_string(netname_of(c), 6);
  r->set_name(display_name_of(d));
}

void sine_rows(rlist& rows, sine* s) {
  const double pi = 4.0 * std::atan(1.0);
  int m = new_internal_node();
  double x = 1.0 / (2.0 * pi * s->frequency);
  std::string tail = name_tail(s);
  simrec* r = row(rows, "Ls" + tail, 10);
  add_node(r, 0);
  add_node(r, m);
  r->add_double(x);
  r = row(rows, "Cs" + tail, 10);
  add_node(r, m);
  add_node(r, 0);
  r->add_double(x);
  r = row(rows, netname_of(s), 10);
  add_nodes(r, s);
  r->add_double(1.0);
  r->add_string("Cs" + tail, 6);
  r->set_name(display_name_of(s));
}

void op_amp_rows(rlist& rows, op_amp* a) {
  int m = new_internal_node();
  std::string tail = name_tail(a);
  simrec* r = row(rows, "Ri" + tail, 10);
  add_nodes(r, a);
  r->add_double(a->Ri);
  r = row(rows, "Eo" + tail, 10);
  add_node(r, m);
  add_node(r, 0);
  r->add_double(a->values[0]);
  r->add_string("Ri" + tail, 6);
  r = row(rows, "Ro" + tail, 10);
  add_node(r, m);
  add_node(r, node_of(a, 2));
  r->add_double(a->Ro);
}

void sense_rows(rlist& rows, element* cs) {
  // Feeding only limiters, its branch is the hidden current port.
  if (sense_feeding_limiters(node_of(cs, 2)) == cs) return;
  std::string tail = name_tail(cs);
  simrec* r = row(rows, "Vc" + tail, 10);
  add_nodes(r, cs);
  r->add_double(0.0);
  r = row(rows, "Fc" + tail, 10);
  add_node(r, 0);
  add_node(r, node_of(cs, 2));
  r->add_double(1.0);
  r->add_string("Vc" + tail, 6);
}

void multiplier_row(rlist& rows, multiplier* m) {
  simrec* r = row(rows, "V#M1", 10);
  add_node(r, node_of(m, 2));
  add_node(r, 0);
  r->add_double(1.0);
  r->add_double(m->values[0]);
  element* p1 = element_by_id(m->port1);
  element* p2 = element_by_id(m->port2);
  if (!p1 || !p2) SDI_INTERNAL(tag);
  r->add_string(netname_of(p1), 5);
  r->add_string(netname_of(p2), 5);
  r->set_name(display_name_of(m));
}

void mutual_row(rlist& rows, cmutind* m) {
  element* l1 = element_by_id(m->inductor1);
  element* l2 = element_by_id(m->inductor2);
  if (!l1 || !l2) {
    SDI_INTERNAL(tag);
    return;
  }
  simrec* r = row(rows, netname_of(m), 10);
  r->add_double(m->values[0]);
  r->add_string(netname_of(l1), 4);
  r->add_string(netname_of(l2), 4);
  r->set_name(display_name_of(m));
}

void element_rows(rlist& rows, element* e) {
  if (e->flags.test(flag_output) &&
      (e->kind == kind_voltage_port || e->kind == kind_current_port || e->kind == kind_diode)) {
    two_pin_row(rows, e, e->kind == kind_diode ? e->values[0] : 0.0);
    return;
  }
  switch (e->kind) {
    case kind_resistor:
    case kind_capacitor:
    case kind_inductor:
    case kind_switch:
    case kind_voltage_source:
    case kind_current_source: two_pin_row(rows, e, e->values[0]); break;
    case kind_primary: primary_rows(rows, static_cast<xform*>(e)); break;
    case kind_secondary: secondary_row(rows, static_cast<xform*>(e)); break;
    case kind_icis:
    case kind_icvs:
    case kind_vcis:
    case kind_vcvs: controlled_row(rows, static_cast<depsource*>(e)); break;
    case kind_sine: sine_rows(rows, static_cast<sine*>(e)); break;
    case kind_op_amp: op_amp_rows(rows, static_cast<op_amp*>(e)); break;
    case kind_current_sense: sense_rows(rows, e); break;
    case kind_multiplier: multiplier_row(rows, static_cast<multiplier*>(e)); break;
    default: SDI_INTERNAL_CASE(tag); break;
  }
}

}  // namespace

void write_elements() {
  written_nodes.clear();
  rlist rows;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind == kind_mutual) continue;
    if (e->flags.test(flag_output) || e->flags.test(flag_branch)) element_rows(rows, e);
  }
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (e && e->kind == kind_mutual) mutual_row(rows, static_cast<cmutind*>(e));
  }
  write_matrix(writer.out, "X", rows, true, writer.row_width);
  free_rows(rows);
  // A pin that no check caught unconnected (the multiplier's) would reach the
  // engine as node 4294967295.
  for (int node : written_nodes)
    if (node < 0 || node >= writer.node_count) {
      show_message("Incomplete Circuit");
      ++writer.user_errors;
      break;
    }
}

void write_outputs() {
  rlist rows;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || !e->flags.test(flag_output)) continue;
    simrec* r = row(rows, e->kind == kind_voltage_port ? "V" : "I", 10);
    r->add_string(netname_of(e), 10);
    if (e->kind != kind_diode) r->set_name(display_name_of(e));
  }
  write_matrix(writer.out, "Y", rows, true, writer.row_width);
  free_rows(rows);
}

}  // namespace sdi
