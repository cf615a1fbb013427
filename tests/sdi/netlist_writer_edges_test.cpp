// Netlist writer cases beyond the three large golden circuits: each small
// circuit's whole netlist against its golden file (tests/sdi/data/netlists/
// edge_<label>.m, worked out by hand once from the row layouts and widths),
// with the faults it reports.
#include <gtest/gtest.h>

#include <functional>

#include "capture.h"
#include "netlist_writer_circuits.h"
#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/elements/control_elements.h"
#include "sdi/netlist/netlist_writer.h"
#include "sdi/elements/source_elements.h"

namespace {
using Texts = std::vector<std::string>;
using sdi::kind_resistor;

sdi::basic* resistor(WriterCircuit& c, std::initializer_list<int> nodes, const char* name, double r = 1.0) {
  return c.add(new sdi::basic(kind_resistor, 1), nodes, name, r);
}
sdi::source* vsource(WriterCircuit& c, std::initializer_list<int> nodes, double v = 1.0) {
  return c.add(new sdi::source(sdi::kind_voltage_source, 1), nodes, "V1", v);
}
sdi::port* vport(WriterCircuit& c, std::initializer_list<int> nodes, const char* name = "Vo") {
  return c.add(new sdi::port(sdi::kind_voltage_port, 1), nodes, name);
}

// A threshold weighing its outputs, with the table's fourth entry given or not.
sdi::threshold* threshold(WriterCircuit& c, double level, std::vector<sdi::element*> outs, std::vector<double> k) {
  auto* th = c.add(new sdi::threshold(1), {1000}, "TH1", level);
  for (auto* o : outs) th->outputs.append(o->id);
  for (double x : k) th->coefficients.append(x);
  return th;
}

struct Row {
  const char* label;
  int nodes, nodes_after;
  Texts errors, messages;
  std::function<void(WriterCircuit&)> build;
};

const Row rows[] = {
    {"noout: no output element, no condition matrices", 3, 3, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0}, 10.0);
       resistor(c, {1, 2}, "R1");
       c.add(new sdi::switch2(1), {2, 0, 1000, -1}, "S1");
       c.add(new sdi::modulator(1), {1, 0, 1000}, "MOD1", 0.5);  // no gains: no hidden port
     }},
    {"mod: both gains measure both inputs, the user's port reused", 4, 4, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0}, 10.0);
       resistor(c, {1, 2}, "R1", 100.0);
       resistor(c, {2, 0}, "R2", 100.0);
       auto* mod = c.add(new sdi::modulator(1), {1, 2, 1000}, "MOD1", 2.0);
       mod->values[1] = 0.5;
       mod->values[2] = -0.25;
       mod->values[3] = 1.5;
       c.add(new sdi::switch2(1), {1, 3, 1000, -1}, "S1");
       resistor(c, {3, 0}, "R3", 10.0);
       vport(c, {2, 0});
     }},
    {"th: zero coefficients skipped, its switch driven", 4, 4, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       resistor(c, {1, 2}, "R1");
       resistor(c, {2, 0}, "R2");
       auto* va = vport(c, {1, 0}, "Va");
       auto* vb = vport(c, {2, 0}, "Vb");
       c.add(new sdi::diode(1), {2, 3}, "D1");
       auto* s = c.add(new sdi::switch2(1), {1, 3, -1, 1000}, "S1");
       resistor(c, {3, 0}, "R3");
       auto* th = threshold(c, 0.7, {va, vb}, {0.0, 3.0});
       th->table.resize(4);
       for (int i = 0; i < 4; ++i) *th->table.list_value_at(i) = 0.1 * (i + 1);
       th->switch_id = s->id;
     }},
    {"th1: no fourth entry, switch one", 2, 2, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       auto* r = resistor(c, {1, 0}, "R1");
       threshold(c, 0.5, {vport(c, {1, 0})}, {1.0})->switch_id = r->id;  // not looked at
     }},
    {"th2: fourth entry set, the linked element no switch", 2, 2, {"sdi/elements/control_elements.cpp: Internal"}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       auto* r = resistor(c, {1, 0}, "R1");
       auto* th = threshold(c, 0.5, {vport(c, {1, 0})}, {1.0});
       th->switch_id = r->id;
       th->table.resize(4);
       *th->table.list_value_at(3) = 1.0;
     }},
    {"th3: a weighed element that is no output is reported, its weight left out", 2, 2,
     {"sdi/elements/netlist_parts.cpp: Internal"}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       auto* r = resistor(c, {1, 0}, "R1");
       threshold(c, 0.5, {vport(c, {1, 0}), r}, {1.0, 2.0});
     }},
    {"cs: current sense feeding the network writes two rows", 4, 4, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0}, 5.0);
       c.add(new sdi::current_sense(1), {1, 2, 3}, "CS1");
       resistor(c, {2, 0}, "R1", 10.0);
       resistor(c, {3, 0}, "R2");
       vport(c, {3, 0}, "Vs");
     }},
    {"internal: sines and op-amps add nodes in row order", 4, 7, {}, {},
     [](WriterCircuit& c) {
       c.add(new sdi::sine(1), {1, 0}, "SIN1", 1.0)->frequency = 50.0;
       resistor(c, {1, 0}, "R1");
       auto* oa = c.add(new sdi::op_amp(1), {1, 0, 2}, "OA1", 1e5);
       oa->Ri = 1e6;
       oa->Ro = 50.0;
       resistor(c, {2, 0}, "R2");
       c.add(new sdi::sine(1), {3, 0}, "SIN2", 2.0)->frequency = 100.0;
       resistor(c, {3, 0}, "R3");
       vport(c, {3, 0});
     }},
    {"swinit: diode values truncated toward zero, clamped to the int range", 3, 3, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       c.add(new sdi::switch2(1), {1, 2, -1, -1}, "S1")->initial_state = 3;
       c.add(new sdi::diode(1), {2, 0}, "D1", -1.7);
       c.add(new sdi::diode(1), {2, 0}, "D2", 2.9);
       c.add(new sdi::diode(1), {1, 0}, "D3", 1e300);
       c.add(new sdi::diode(1), {1, 0}, "D4", -1e300);
       c.add(new sdi::switch2(1), {2, 0, -1, -1}, "S2");
     }},
    {"pairs: the later pair at one time wins, voltage sources first", 3, 3, {}, {},
     [](WriterCircuit& c) {
       c.add(new sdi::source(sdi::kind_current_source, 1), {0, 1}, "I1", 0.5);
       auto* v = vsource(c, {2, 0});
       v->n = 2;
       v->pairs[0][0] = v->pairs[1][0] = 1e-4;
       v->pairs[0][1] = 2.0;
       v->pairs[1][1] = 3.0;
       resistor(c, {1, 2}, "R1");
       vport(c, {1, 0});
     }},
    {"clk: a clock on a switch's main pin is reported, writing goes on", 4, 4,
     {"sdi/netlist/netlist_writer_params.cpp: Internal"}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       c.add(new sdi::switch2(1), {1, 2, 3, -1}, "S1");
       resistor(c, {2, 0}, "R1");
       vport(c, {2, 0});
       c.add(new sdi::clockx(1), {2}, "CLK1")->values[2] = 1e-5;
     }},
    {"both: a clock on both control pins gives one row a pin", 3, 3, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       c.add(new sdi::diode(1), {0, 1}, "D1");
       c.add(new sdi::switch2(1), {1, 2, 1000, 1000}, "S1");
       resistor(c, {2, 0}, "R1");
       auto* clk = c.add(new sdi::clockx(1), {1000}, "CLK1");
       clk->values[1] = 2e-6;
       clk->values[2] = 1e-5;
     }},
    {"partners: missing partners reported, their rows left out", 4, 4, {"sdi/elements/base_elements.cpp: Internal", "sdi/elements/bl_element.cpp: Internal"}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       auto* l1 = c.add(new sdi::basic(sdi::kind_inductor, 1), {1, 2}, "L1", 1e-3);
       resistor(c, {2, 0}, "R1");
       c.add(new sdi::depsource(sdi::kind_vcvs, 1), {3, 0}, "E1", 2.0)->control = 99;  // no such element
       resistor(c, {3, 0}, "R2");
       auto* m = new sdi::cmutind;
       m->set_name("M1");
       m->values[0] = 0.5;
       m->inductor1 = l1->id;
       m->inductor2 = 98;
       m->selected = 0;
       sdi::circuit.append(m);
       sdi::circuit.assign_id();
       vport(c, {2, 0});
     }},
    {"ratio: a turns ratio of 1e313 fails both winding rows", 3, 3,
     {"sdi/elements/simrec.cpp: Internal", "sdi/elements/simrec.cpp: Internal"}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       auto* p = c.add(new sdi::xform(sdi::kind_primary, 1), {1, 0}, "PRI1", 1e-13);  // the smallest that passes
       auto* s = c.add(new sdi::xform(sdi::kind_secondary, 1), {2, 0}, "SEC1", 1e300);
       p->secondaries.append(s->id);
       s->partner = p->id;
       resistor(c, {2, 0}, "R1");
       vport(c, {2, 0});
     }},
    {"lim: a second limiter on one capacitor reuses the port, no condition", 2, 2, {}, {},
     [](WriterCircuit& c) {
       c.add(new sdi::basic(sdi::kind_capacitor, 1), {1, 0}, "C1", 1e-6);
       resistor(c, {1, 0}, "R1");
       c.add(new sdi::limiter(sdi::kind_upper_limiter, 1), {1, 0}, "UL1", 5.0);
       c.add(new sdi::limiter(sdi::kind_lower_limiter, 1), {0, 1}, "LL1", -5.0);
     }},
    {"series: a limiter away from inductors measures its node", 5, 5, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       c.add(new sdi::basic(sdi::kind_inductor, 1), {1, 2}, "L1", 1e-3);
       c.add(new sdi::port(sdi::kind_current_port, 1), {2, 3}, "IL");
       c.add(new sdi::limiter(sdi::kind_upper_limiter, 1), {3, 4}, "UL1", 2.0);
       resistor(c, {4, 0}, "R1");
     }},
    {"series2: beside an inductor a new port on its own branch, not the user's in series", 5, 5, {}, {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       c.add(new sdi::port(sdi::kind_current_port, 1), {2, 3}, "IL");
       c.add(new sdi::basic(sdi::kind_inductor, 1), {1, 2}, "L1", 1e-3);
       c.add(new sdi::limiter(sdi::kind_upper_limiter, 1), {2, 4}, "UL1", 2.0);
       resistor(c, {3, 0}, "R1");
       resistor(c, {4, 0}, "R2");
     }},
    {"xf: windings of a zero primary and a lone secondary are reported, their rows left out", 4, 4,
     Texts(3, "sdi/elements/base_elements.cpp: Internal"), {},
     [](WriterCircuit& c) {
       vsource(c, {1, 0});
       auto* p = c.add(new sdi::xform(sdi::kind_primary, 1), {1, 0}, "PRI1", 0.0);
       auto* s = c.add(new sdi::xform(sdi::kind_secondary, 1), {2, 0}, "SEC1", 2.0);
       p->secondaries.append(s->id);
       s->partner = p->id;
       c.add(new sdi::xform(sdi::kind_secondary, 1), {3, 0}, "SEC2", 2.0)->partner = 98;  // no such primary
       resistor(c, {2, 0}, "R1");
       resistor(c, {3, 0}, "R2");
       vport(c, {2, 0});
     }},
    {"mul: an open multiplier input", 3, 3, {}, {"Incomplete Circuit"},
     [](WriterCircuit& c) {
       resistor(c, {1, 0}, "R1");
       c.add(new sdi::multiplier(1), {1, -1, 2}, "MUL1", 1.0);
       resistor(c, {2, 0}, "R2");
     }},
};

}  // namespace

TEST(NetlistWriterEdges, EachCircuitWritesItsGoldenNetlist) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    TempDir dir;
    Capture cap;
    WriterCircuit c;
    row.build(c);
    const int count = sdi::circuit.count();
    const std::string name = std::string(row.label).substr(0, std::string(row.label).find(':'));
    const std::string text = c.write(name, row.nodes);
    EXPECT_EQ(c.errors, static_cast<int>(row.errors.size() + row.messages.size()));
    EXPECT_EQ(cap.errors, row.errors);
    EXPECT_EQ(cap.messages, row.messages);
    EXPECT_EQ(c.node_count, row.nodes_after);
    EXPECT_EQ(sdi::circuit.count(), count);  // hidden ports gone again
    expect_golden(text, "edge_" + name + ".m");
  }
}
