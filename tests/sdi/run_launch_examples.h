// The example circuits in examples/ (other than the buck converter), built in
// code: symbols placed on the grid with their default names, wires drawn from
// terminal to terminal. Every wire route touches terminals only at its ends.
//
//     CircuitGuard guard;
//     build_boost_example();
//     sdi::save_circuit("boost.ckt");
#pragma once

#include <cstdlib>
#include <string>

#include "ckt_builder.h"
#include "sdi/naming.h"
#include "simu/run_settings.h"

namespace examples {

inline std::string path(const std::string& file) { return std::string(ZORV_TEST_DATA) + "/../../../examples/" + file; }

template <class T>
T* put(T* e, sdi::point ref, double value = 0.0, int turns = 0) {
  for (int i = 0; i < turns; ++i) e->rotate();
  add_symbol(e, ref);
  sdi::assign_default_name(e);
  e->values[0] = value;
  e->flags.set(sdi::flag_values_set);
  return e;
}

inline void grounds(std::initializer_list<sdi::point> at) {
  for (sdi::point p : at) put(new sdi::ground(1), p);
}

// RC step: 10 V through 1 kohm into 1 uF; the port "VP1" reads the capacitor.
inline void build_rc_example() {
  run_tsim = 5e-3;
  run_td = 1e-5;
  run_start_si = 0.0;
  run_finish_si = 5e-3;
  auto* v = put(new sdi::source(sdi::kind_voltage_source, 1), {104, 240}, 10.0);  // + (104,216)
  auto* r = put(new sdi::basic(sdi::kind_resistor, 1), {304, 152}, 1000.0, 1);    // (328,152) (280,152)
  auto* c = put(new sdi::basic(sdi::kind_capacitor, 1), {504, 240}, 1e-6);        // (504,216) (504,264)
  auto* vp = put(new sdi::port(sdi::kind_voltage_port, 1), {704, 240});           // (704,216) (704,264)
  grounds({{104, 264}, {504, 264}, {704, 264}});
  add_wire(v->terminal_at(0), r->terminal_at(1), 1);
  add_wire(r->terminal_at(0), c->terminal_at(0), 0);
  add_wire(c->terminal_at(0), vp->terminal_at(0), 0);
}

// Boost converter: 5 V, 100 uH, switch on for the first half of each 20 us
// period (one clock turns it on, another off), diode, 100 uF, 10 ohm.
inline void build_boost_example() {
  run_tsim = 2e-3;
  run_td = 1e-7;
  run_start_si = 0.0;
  run_finish_si = 2e-3;
  auto* v = put(new sdi::source(sdi::kind_voltage_source, 1), {104, 240}, 5.0);  // + (104,216)
  auto* l = put(new sdi::basic(sdi::kind_inductor, 1), {200, 152}, 1e-4, 1);     // (224,152) (176,152)
  auto* s = put(new sdi::switch2(1), {304, 240});            // (304,216) (304,264) on (288,232) off (288,248)
  auto* on = put(new sdi::clockx(1), {208, 232});
  auto* off = put(new sdi::clockx(1), {208, 280});
  on->values[2] = 2e-5;
  off->values[1] = 1e-5;
  off->values[2] = 2e-5;
  auto* d = put(new sdi::diode(1), {400, 152}, 0.0, 3);                     // anode (376,152), cathode (424,152)
  auto* c = put(new sdi::basic(sdi::kind_capacitor, 1), {504, 240}, 1e-4);  // (504,216) (504,264)
  auto* r = put(new sdi::basic(sdi::kind_resistor, 1), {600, 240}, 10.0);
  auto* vp = put(new sdi::port(sdi::kind_voltage_port, 1), {696, 240});
  grounds({{104, 264}, {304, 264}, {504, 264}, {600, 264}, {696, 264}});
  const sdi::point sw_node(304, 152);
  add_wire(v->terminal_at(0), l->terminal_at(1), 1);
  add_wire(l->terminal_at(0), sw_node);
  add_wire(sw_node, d->terminal_at(0));
  add_wire(sw_node, s->terminal_at(0));
  add_wire(on->terminal_at(0), s->terminal_at(2));
  add_wire(off->terminal_at(0), s->terminal_at(3), 1);
  add_wire(d->terminal_at(1), c->terminal_at(0), 0);
  add_wire(c->terminal_at(0), r->terminal_at(0));
  add_wire(r->terminal_at(0), vp->terminal_at(0));
}

// Half-wave rectifier: a 10 V, 50 Hz sine source, an ideal diode and a
// 100 ohm load; the port reads the load.
inline void build_rectifier_example() {
  run_tsim = 0.04;
  run_td = 1e-5;
  run_start_si = 0.0;
  run_finish_si = 0.04;
  auto* src = put(new sdi::sine(1), {104, 240}, 10.0);  // (104,216) (104,264)
  src->frequency = 50.0;
  auto* d = put(new sdi::diode(1), {200, 152}, 0.0, 3);  // anode (176,152), cathode (224,152)
  auto* c = put(new sdi::basic(sdi::kind_capacitor, 1), {304, 240}, 1e-4);
  auto* r = put(new sdi::basic(sdi::kind_resistor, 1), {400, 240}, 100.0);
  auto* vp = put(new sdi::port(sdi::kind_voltage_port, 1), {496, 240});
  grounds({{104, 264}, {304, 264}, {400, 264}, {496, 264}});
  add_wire(src->terminal_at(0), d->terminal_at(0), 1);
  add_wire(d->terminal_at(1), c->terminal_at(0), 0);
  add_wire(c->terminal_at(0), r->terminal_at(0));
  add_wire(r->terminal_at(0), vp->terminal_at(0));
}

}  // namespace examples
