// Test helpers that build circuits in the global circuit list, as placing
// would: each element goes after the list's cursor, gets the smallest free id
// and, for symbols, its reference point on the sheet.
//
//     CircuitGuard guard;                              // empties circuit before and after
//     auto* r = add_symbol(new sdi::basic(sdi::kind_resistor, 1), {200, 160});  // pins (200,136), (200,184)
//     add_wire({200, 184}, {296, 184});
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/source_elements.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/placement.h"
#include "sdi/files/record_stream.h"

struct CircuitGuard {
  CircuitGuard() { clear(); }
  ~CircuitGuard() { clear(); }
  CircuitGuard(const CircuitGuard&) = delete;
  CircuitGuard& operator=(const CircuitGuard&) = delete;
  static void clear() {
    sdi::delete_list_elements(sdi::circuit);
    delete sdi::pending_element;
    sdi::pending_element = nullptr;
  }
};

template <class T>
T* add_symbol(T* e, sdi::point ref, const char* name = nullptr) {
  e->image->place_ref_at(ref);
  e->flags.set(sdi::flag_on_sheet);
  e->selected = 0;
  if (name) e->set_name(name);
  sdi::circuit.insert(e);
  sdi::circuit.assign_id();
  return e;
}

inline sdi::cline* add_wire(sdi::point a, sdi::point b, int bend = 0) {
  auto* w = new sdi::cline;
  w->shape.set(a.x, a.y, b.x, b.y, bend, 1, 0, 0);
  w->selected = 0;
  sdi::circuit.insert(w);
  sdi::circuit.assign_id();
  return w;
}

// A coupling drawn from a to b; the inductors under its ends are found by node numbering.
inline sdi::cmutind* add_coupling(sdi::point a, sdi::point b) {
  auto* m = new sdi::cmutind;
  m->shape.set(a.x, a.y, b.x, b.y, 0, 1, 0, 0);
  sdi::circuit.insert(m);
  sdi::circuit.assign_id();
  return m;
}

// The kinds of the circuit in list order.
inline std::vector<int> circuit_kinds() {
  std::vector<int> out;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) out.push_back(n->value->kind);
  return out;
}

inline std::vector<int> circuit_ids() {
  std::vector<int> out;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) out.push_back(n->value->id);
  return out;
}

inline std::vector<int> node_numbers(sdi::element* e) {
  std::vector<int> out;
  for (sdi::inode* n = e->nodes.head; n; n = static_cast<sdi::inode*>(n->next)) out.push_back(n->value);
  return out;
}

// One element of every network class with links between them: resistor,
// capacitor, two coupled inductors, a transformer, both ports, the four
// controlled sources (controlled by R1), a junction and two wires.
inline void add_network_elements() {
  auto* r = add_symbol(new sdi::basic(sdi::kind_resistor, 1), sdi::point(200, 160), "R1");
  r->values[0] = 1000.0;
  auto* c = add_symbol(new sdi::basic(sdi::kind_capacitor, 1), sdi::point(296, 160), "C1");
  c->values[0] = 1e-6;
  c->initial = 2.5;
  auto* l1 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), sdi::point(400, 160), "L1");
  l1->values[0] = 1e-3;
  auto* l2 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), sdi::point(480, 160), "L2");
  l2->values[0] = 2e-3;
  auto* m = add_coupling(sdi::point(400, 160), sdi::point(480, 160));
  m->inductor1 = l1->id;
  m->inductor2 = l2->id;
  m->values[0] = 0.9;
  m->set_name("M1");
  m->links.append(l1->id);
  m->links.append(l2->id);
  auto* pri = add_symbol(new sdi::xform(sdi::kind_primary, 1), sdi::point(600, 160), "PRI1");
  auto* sec = add_symbol(new sdi::xform(sdi::kind_secondary, 1), sdi::point(680, 160), "SEC1");
  sec->partner = pri->id;
  sec->links.append(pri->id);
  pri->secondaries.append(sec->id);
  pri->links.append(sec->id);
  add_symbol(new sdi::port(sdi::kind_voltage_port, 1), sdi::point(200, 320), "VP1");
  add_symbol(new sdi::port(sdi::kind_current_port, 1), sdi::point(296, 320), "IP1")->rotate();
  for (int k = sdi::kind_icis; k <= sdi::kind_vcvs; ++k) {
    auto* d = add_symbol(new sdi::depsource(k, 1), sdi::point(400 + 80 * (k - sdi::kind_icis), 320));
    d->set_name(("DEP" + std::to_string(k)).c_str());
    d->control = r->id;
    d->links.append(r->id);
    d->values[0] = 2.0;
  }
  add_symbol(new sdi::nodec(1), sdi::point(200, 400));
  add_wire(sdi::point(200, 184), sdi::point(296, 136), 0);
  add_wire(sdi::point(200, 136), sdi::point(296, 400), 1);
}

// One element of every concrete class, with values that differ from the defaults.
inline void add_control_and_sources() {
  auto* clk = add_symbol(new sdi::clockx(1), sdi::point(200, 600), "CLK1");
  clk->values[1] = 1e-6;
  clk->values[2] = 1e-5;
  auto* mod = add_symbol(new sdi::modulator(1), sdi::point(296, 600), "MOD1");
  for (int i = 1; i <= 5; ++i) mod->values[i] = 0.5 * i;
  add_symbol(new sdi::limiter(sdi::kind_upper_limiter, 1), sdi::point(400, 600), "ULIM1")->values[0] = 5.0;
  add_symbol(new sdi::limiter(sdi::kind_lower_limiter, 1), sdi::point(480, 600), "LLIM1")->values[0] = -5.0;
  auto* sw = add_symbol(new sdi::switch2(1), sdi::point(560, 600), "SW1");
  sw->initial_state = 1;
  auto* th = add_symbol(new sdi::threshold(1), sdi::point(640, 600), "THRES1");
  th->coefficients.resize(2);
  *th->coefficients.list_value_at(0) = 1.5;
  *th->coefficients.list_value_at(1) = -2.5;
  *th->table.list_value_at(3) = 4.0;
  th->outputs.append(clk->id);
  th->outputs.append(mod->id);
  th->switch_id = sw->id;
  auto* v = add_symbol(new sdi::vco(1), sdi::point(720, 600), "VCO1");
  v->values[0] = 3.0;
  v->constant = 0.25;
  add_symbol(new sdi::current_sense(1), sdi::point(800, 600), "IS1");
  auto* op = add_symbol(new sdi::op_amp(1), sdi::point(200, 800), "OP1");
  op->Ri = 2e6;
  op->Ro = 10.0;
  op->rotate();
  add_symbol(new sdi::multiplier(1), sdi::point(296, 800), "MULT1");
  add_symbol(new sdi::ground(1), sdi::point(400, 800), "GND1");
  add_symbol(new sdi::diode(1), sdi::point(480, 800), "D1")->rotate();
  auto* lab = add_symbol(new sdi::llabel(1), sdi::point(560, 800), "TML1");
  lab->set_letter('q');
  auto* vs = add_symbol(new sdi::source(sdi::kind_voltage_source, 1), sdi::point(640, 800), "V1");
  vs->values[0] = 12.0;
  vs->n = 2;
  vs->pairs[0][0] = 0.0;
  vs->pairs[0][1] = 12.0;
  vs->pairs[1][0] = 1e-3;
  vs->pairs[1][1] = 6.0;
  add_symbol(new sdi::source(sdi::kind_current_source, 1), sdi::point(720, 800), "I1")->values[0] = 0.5;
  auto* sn = add_symbol(new sdi::sine(1), sdi::point(800, 800), "SINE1");
  sn->values[0] = 10.0;
  sn->frequency = 50.0;
  sn->phase = 30.0;
  add_symbol(new sdi::probe(1), sdi::point(880, 800))->extra = 1.0;
}
