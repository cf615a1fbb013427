// Circuits drawn in code for the run preparation and launcher tests: symbols
// placed on the sheet and wires drawn from terminal to terminal, so that node
// numbering finds the nodes by geometry as it does for a drawn circuit.
//
//     CircuitGuard guard;
//     build_rc();                        // V1 10 V, R1 1k, C1 1u, port "Vc", ground
//     std::string bytes = circuit_bytes();
#pragma once

#include <cstdio>
#include <string>

#include "capture.h"
#include "ckt_builder.h"
#include "record_bytes.h"
#include "common/temp_dir.h"
#include "sdi/files/circuit_file.h"
#include "sdi/elements/sub_element.h"
#include "simu/input/run_settings.h"

// The wire from terminal i of a to terminal j of b.
inline sdi::cline* join(sdi::element* a, int i, sdi::element* b, int j) {
  return add_wire(a->terminal_at(i), b->terminal_at(j));
}

// A symbol whose values were entered.
template <class T>
T* add_valued(T* e, sdi::point ref, const char* name, double value) {
  add_symbol(e, ref, name);
  e->values[0] = value;
  e->flags.set(sdi::flag_values_set);
  return e;
}

// The circuit as its file holds it (header and records).
inline std::string circuit_bytes() {
  const Bytes b = circuit_file_bytes();
  return std::string(b.begin(), b.end());
}

// Restores the run settings a test changes; the final time, step and points
// start from the program's defaults.
struct SettingsGuard {
  SettingsGuard() {
    run_tsim = 1e-3;
    run_td = 1e-6;
    run_points = 9999999;
  }
  sdi::circuit_settings kept = sdi::current_circuit_settings();
  int ssmethod = run_ssmethod, none_c = run_none_c, togo = run_cycles_togo, one_c = run_one_c;
  std::string base = base_name;
  ~SettingsGuard() {
    sdi::apply_circuit_settings(kept);
    run_ssmethod = ssmethod;
    run_none_c = none_c;
    run_cycles_togo = togo;
    run_one_c = one_c;
    base_name = base;
  }
};

// RC step: V1 10 V through R1 1 kohm into C1 1 uF (tau 1 ms); "Vc" reads C1.
// A given middle element (placed at (304,160)) stands in for R1.
inline void build_rc(sdi::element* middle = nullptr) {
  auto* v = add_valued(new sdi::source(sdi::kind_voltage_source, 1), {104, 240}, "V1", 10.0);
  sdi::element* r = middle ? middle : add_valued(new sdi::basic(sdi::kind_resistor, 1), {304, 160}, "R1", 1000.0);
  auto* c = add_valued(new sdi::basic(sdi::kind_capacitor, 1), {504, 240}, "C1", 1e-6);
  auto* vp = add_symbol(new sdi::port(sdi::kind_voltage_port, 1), {704, 240}, "Vc");
  auto* g = add_symbol(new sdi::ground(1), {304, 400}, "GND1");
  join(v, 0, r, 0);
  join(r, 1, c, 0);
  join(c, 0, vp, 0);
  join(v, 1, g, 0);
  join(c, 1, g, 0);
  join(vp, 1, g, 0);
}

// Four labels join two elements of a subcircuit in series: a on x's first pin,
// c on x's second and y's first, b on y's second. The list gets the labels, then
// x and y, numbered from first_id, each with its values entered.
inline void chain_through_labels(sdi::elist& inner, sdi::element* x, sdi::element* y, int first_id) {
  auto* a = new sdi::llabel(1);
  auto* b = new sdi::llabel(1);
  auto* c1 = new sdi::llabel(1);
  auto* c2 = new sdi::llabel(1);
  for (sdi::element* e : std::initializer_list<sdi::element*>{a, b, c1, c2, x, y}) inner.append(e);
  int id = first_id;
  for (sdi::enode* n = inner.head; n; n = static_cast<sdi::enode*>(n->next)) {
    n->value->id = id++;
    n->value->flags.set(sdi::flag_values_set);
  }
  a->set_letter('a');
  b->set_letter('b');
  c1->set_letter('c');
  c2->set_letter('c');
  auto on = [](sdi::llabel* l, sdi::element* e, int pin) {
    sdi::point t = e->terminal_at(pin);
    sdi::point now = l->terminal_at(0);
    l->move({t.x - now.x, t.y - now.y});
  };
  on(a, x, 0);
  on(c1, x, 1);
  on(c2, y, 0);
  on(b, y, 1);
}

// A subcircuit "rsub" in the current folder: two resistors in series from pin
// a to pin b through an inner label "c", and its symbol (pins at (8, 0) and
// (8, 48) of a 16 x 49 box).
inline void write_rsub(double r1, double r2) {
  std::FILE* sym = std::fopen("rsub.sym", "w");
  std::fputs("RSUB\n16,49,8,24\n1\n0,0,15,48\n2\n8,0\n8,48\n0\n", sym);
  std::fclose(sym);
  sdi::elist inner;
  auto* ra = new sdi::basic(sdi::kind_resistor, 1);
  auto* rb = new sdi::basic(sdi::kind_resistor, 1);
  ra->image->place_ref_at({100, 100});
  rb->image->place_ref_at({200, 100});
  ra->values[0] = r1;
  rb->values[0] = r2;
  chain_through_labels(inner, ra, rb, 1);
  ra->set_name("RA");
  rb->set_name("RB");
  sdi::write_element_file("rsub.sct", inner);
  sdi::delete_list_elements(inner);
}
