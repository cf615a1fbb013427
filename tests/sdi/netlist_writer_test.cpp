#include "sdi/netlist/netlist_writer.h"

#include <gtest/gtest.h>

#include "capture.h"
#include "netlist_writer_circuits.h"
#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/source_elements.h"

namespace {

// Sources with breakpoints (two at one time), a sine source, a transformer
// with two secondaries, a coupling, a controlled source.
void build_sources(WriterCircuit& c) {
  run_tsim = 5e-4;
  run_td = 1e-6;
  run_points = 1000;
  auto* v = c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 10.0);
  v->n = 2;
  v->pairs[0][0] = 3e-4;
  v->pairs[0][1] = 0.0;
  v->pairs[1][0] = 1e-4;
  v->pairs[1][1] = 5.0;
  auto* i = c.add(new sdi::source(sdi::kind_current_source, 1), {0, 2}, "I1", 1e-3);
  i->n = 1;
  i->pairs[0][0] = 1e-4;
  i->pairs[0][1] = 2e-3;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 2}, "R1", 1000.0);
  auto* cap = c.add(new sdi::basic(sdi::kind_capacitor, 1), {2, 0}, "C1", 1e-6);
  cap->initial = 1.5;
  auto* s = c.add(new sdi::sine(1), {3, 0}, "SIN1", 2.0);
  s->frequency = 50.0;
  s->phase = 30.0;
  auto* l1 = c.add(new sdi::basic(sdi::kind_inductor, 1), {3, 4}, "L1", 1e-3);
  l1->initial = 0.25;
  auto* l2 = c.add(new sdi::basic(sdi::kind_inductor, 1), {5, 0}, "L2", 2e-3);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {4, 0}, "R2", 10.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {5, 0}, "R3", 10.0);
  auto* p = c.add(new sdi::xform(sdi::kind_primary, 1), {2, 0}, "PRI1", 1.0);
  auto* s1 = c.add(new sdi::xform(sdi::kind_secondary, 1), {6, 0}, "SEC1", 2.0);
  auto* s2 = c.add(new sdi::xform(sdi::kind_secondary, 1), {7, 0}, "SEC2", 0.5);
  for (sdi::xform* sec : {s1, s2}) {
    p->secondaries.append(sec->id);
    sec->partner = p->id;
  }
  c.add(new sdi::basic(sdi::kind_resistor, 1), {6, 0}, "R4", 100.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {7, 0}, "R5", 100.0);
  auto* e = c.add(new sdi::depsource(sdi::kind_vcvs, 1), {8, 0}, "VCVS1", 3.0);
  e->control = cap->id;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {8, 0}, "R6", 1e3);
  auto* m = new sdi::cmutind;
  m->set_name("M1");
  m->values[0] = 0.9;
  m->inductor1 = l1->id;
  m->inductor2 = l2->id;
  m->selected = 0;
  sdi::circuit.append(m);
  sdi::circuit.assign_id();
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {2, 0}, "Vc");
  c.add(new sdi::port(sdi::kind_current_port, 1), {4, 0}, "IL");
}

// The control elements: a modulator on the ON pin and a control limiter on
// the OFF pin of S1, a VCO and a threshold on S2, a current sense feeding only
// a limiter on S3, a limiter across a capacitor (a state bound), an op-amp and
// the multiplier.
void build_control(WriterCircuit& c) {
  run_tsim = 1e-3;
  run_td = 1e-6;
  run_points = 9999999;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 10.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 2}, "R1", 100.0);
  c.add(new sdi::basic(sdi::kind_capacitor, 1), {2, 0}, "C1", 1e-6);
  auto* mod = c.add(new sdi::modulator(1), {2, 3, 1000}, "MOD1", 0.5);
  mod->values[1] = 1.0;
  mod->values[3] = 0.25;
  mod->values[5] = 1e-4;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {3, 0}, "R2", 1e3);
  c.add(new sdi::switch2(1), {1, 4, 1000, 1001}, "S1");
  c.add(new sdi::limiter(sdi::kind_lower_limiter, 1), {4, 1001}, "LL1", -2.0);
  c.add(new sdi::limiter(sdi::kind_upper_limiter, 1), {2, 0}, "UL1", 12.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {4, 5}, "R3", 10.0);
  c.add(new sdi::diode(1), {0, 4}, "D1", 1.0);
  auto* vc = c.add(new sdi::vco(1), {5, 1002}, "VCO1", 1e3);
  vc->constant = 0.5;
  auto* s2 = c.add(new sdi::switch2(1), {5, 6, 1002, 1003}, "S2");
  auto* th = c.add(new sdi::threshold(1), {1003}, "TH1", 4.0);
  auto* out = c.add(new sdi::port(sdi::kind_voltage_port, 1), {2, 0}, "Vc");
  th->outputs.append(out->id);
  th->coefficients.append(2.0);
  th->table.resize(4);
  *th->table.list_value_at(3) = 1.0;
  th->switch_id = s2->id;
  c.add(new sdi::current_sense(1), {6, 7, 8}, "CS1");
  c.add(new sdi::basic(sdi::kind_resistor, 1), {7, 0}, "R4", 5.0);
  c.add(new sdi::limiter(sdi::kind_upper_limiter, 1), {8, 1004}, "UL2", 3.0);
  c.add(new sdi::switch2(1), {5, 0, 1004, -1}, "S3");
  auto* oa = c.add(new sdi::op_amp(1), {2, 0, 9}, "OA1", 1e4);
  oa->Ri = 2e6;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {9, 0}, "R5", 1e3);
  c.add(new sdi::multiplier(1), {1, 2, 10}, "MUL1", 0.1);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {10, 0}, "R6", 1e3);
}

}  // namespace

TEST(NetlistWriter, SourcesByteForByte) {
  TempDir dir;
  WriterCircuit c;
  build_sources(c);
  std::string text = c.write("sources", 9);
  EXPECT_EQ(c.errors, 0);
  EXPECT_EQ(c.node_count, 10);  // the sine's internal node
  expect_golden(text, "sources.m");
}

TEST(NetlistWriter, ControlByteForByte) {
  TempDir dir;
  WriterCircuit c;
  build_control(c);
  int before = sdi::circuit.count();
  std::string text = c.write("control", 11);
  EXPECT_EQ(c.errors, 0);
  EXPECT_EQ(c.node_count, 12);  // the op-amp's internal node
  expect_golden(text, "control.m");
  EXPECT_EQ(sdi::circuit.count(), before);  // hidden ports gone again
}
