#include <gtest/gtest.h>

#include <cstring>

#include "capture.h"
#include "netlist_writer_circuits.h"
#include "sdi/base_elements.h"
#include "sdi/control_elements.h"
#include "sdi/netlist_writer.h"
#include "sdi/source_elements.h"
#include "simu/netlist.h"
#include "simu/sim_params.h"

namespace {
struct ReadBackSettings {
  sim_params p;
  explicit ReadBackSettings(const std::string& file) {
    try {
      read_netlist(file.c_str(), &p);
    } catch (const char* text) {
      ADD_FAILURE() << text;
    }
  }
  ~ReadBackSettings() { free_netlist(); }
};
}  // namespace

TEST(NameElements, SharedCountersAndWindings) {
  WriterCircuit c;
  auto* r1 = c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0});
  auto* f = c.add(new sdi::depsource(sdi::kind_icis, 1), {1, 0});
  auto* pri = c.add(new sdi::xform(sdi::kind_primary, 1), {1, 0});
  auto* e = c.add(new sdi::depsource(sdi::kind_vcvs, 1), {1, 0});
  auto* sin = c.add(new sdi::sine(1), {1, 0});
  auto* sec1 = c.add(new sdi::xform(sdi::kind_secondary, 1), {2, 0});
  auto* sec2 = c.add(new sdi::xform(sdi::kind_secondary, 1), {3, 0});
  auto* r2 = c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0});
  auto* vp = c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0});
  auto* cp = c.add(new sdi::port(sdi::kind_current_port, 1), {1, 0});
  auto* d = c.add(new sdi::diode(1), {1, 0});
  auto* clk = c.add(new sdi::clockx(1), {1000});
  auto* oa = c.add(new sdi::op_amp(1), {1, 0, 2});
  // Windings follow the primary's list, not circuit order.
  pri->secondaries.append(sec2->id);
  pri->secondaries.append(sec1->id);
  sdi::name_elements();
  EXPECT_STREQ(r1->netname(), "R1");
  EXPECT_STREQ(f->netname(), "F1");
  EXPECT_STREQ(pri->netname(), "F2");
  EXPECT_STREQ(e->netname(), "E1");
  EXPECT_STREQ(sin->netname(), "E2");
  EXPECT_STREQ(sec1->netname(), "E3");
  EXPECT_STREQ(sec2->netname(), "E4");
  EXPECT_STREQ(r2->netname(), "R2");
  EXPECT_STREQ(vp->netname(), "I01");
  EXPECT_STREQ(cp->netname(), "V01");
  EXPECT_STREQ(d->netname(), "D1");
  EXPECT_STREQ(clk->netname(), "");  // not a network branch
  EXPECT_STREQ(oa->netname(), "X1");
  EXPECT_EQ(sec2->winding, 1);
  EXPECT_EQ(sec1->winding, 2);
}

TEST(NetlistWriterEdges, SecondLimiterOnOneCapacitorReusesThePort) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::basic(sdi::kind_capacitor, 1), {1, 0}, "C1", 1e-6);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0}, "R1", 1.0);
  c.add(new sdi::limiter(sdi::kind_upper_limiter, 1), {1, 0}, "UL1", 5.0);
  c.add(new sdi::limiter(sdi::kind_lower_limiter, 1), {0, 1}, "LL1", -5.0);
  std::string text = c.write("lim", 2);
  EXPECT_EQ(c.errors, 0);
  EXPECT_NE(text.find("stmin = [ 'V_C1      -5.0000e+00    ' ]\nstmax = [ 'V_C1      5.0000e+00     ' ]\n"),
            std::string::npos);
  EXPECT_NE(text.find("'I01       1   0   0.0000e+00                 ' ]\n"), std::string::npos);
  EXPECT_EQ(text.find("I02"), std::string::npos);
  EXPECT_EQ(text.find("Cy"), std::string::npos);  // state bounds make no condition
}

TEST(NetlistWriterEdges, SeriesCurrentPortIsNotReusedForALimiterBranch) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  c.add(new sdi::basic(sdi::kind_inductor, 1), {1, 2}, "L1", 1e-3);
  c.add(new sdi::port(sdi::kind_current_port, 1), {2, 3}, "IL");  // in series, not on (2, 4)
  c.add(new sdi::limiter(sdi::kind_upper_limiter, 1), {3, 4}, "UL1", 2.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {4, 0}, "R1", 1.0);
  std::string text = c.write("series", 5);
  EXPECT_EQ(c.errors, 0);
  // Nodes 3 and 4 touch no inductor: a control limiter measuring node 3.
  EXPECT_NE(text.find("'I01       3   0   0.0000e+00"), std::string::npos);

  // Beside L1 the limiter bounds its current; its own branch is a new
  // current port on exactly (2, 4), not the user's port in series on (2, 3).
  WriterCircuit d;
  d.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  d.add(new sdi::port(sdi::kind_current_port, 1), {2, 3}, "IL");
  d.add(new sdi::basic(sdi::kind_inductor, 1), {1, 2}, "L1", 1e-3);
  d.add(new sdi::limiter(sdi::kind_upper_limiter, 1), {2, 4}, "UL1", 2.0);
  d.add(new sdi::basic(sdi::kind_resistor, 1), {3, 0}, "R1", 1.0);
  d.add(new sdi::basic(sdi::kind_resistor, 1), {4, 0}, "R2", 1.0);
  text = d.write("series2", 5);
  EXPECT_EQ(d.errors, 0);
  EXPECT_NE(text.find("stmax = [ 'I_L1      2.0000e+00     ' ]\n"), std::string::npos);
  EXPECT_NE(text.find("'V02       2   4   0.0000e+00"), std::string::npos);
}

TEST(NetlistWriterEdges, FileThatCannotBeCreatedIsCounted) {
  TempDir dir;
  Capture cap;
  WriterCircuit c;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0}, "R1", 1.0);
  c.add(new sdi::vco(1), {1, 1000}, "VCO1", 1.0);
  sdi::name_elements();
  int nodes = 2;
  int count = sdi::circuit.count();
  EXPECT_EQ(sdi::write_netlist_file("no/such/folder/x.m", "x", nodes), 1);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simnet: Internal"}));
  EXPECT_EQ(sdi::circuit.count(), count);
}

TEST(NetlistWriterEdges, UnconnectedMultiplierInputIsAnError) {
  TempDir dir;
  Capture cap;
  WriterCircuit c;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0}, "R1", 1.0);
  c.add(new sdi::multiplier(1), {1, -1, 2}, "MUL1", 1.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R2", 1.0);
  c.write("mul", 3);
  EXPECT_EQ(c.errors, 1);
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"Incomplete Circuit"}));
  EXPECT_TRUE(cap.errors.empty());
}

TEST(NetlistWriterEdges, ClockOnBothControlPinsGivesOneRowPerPin) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  c.add(new sdi::diode(1), {0, 1}, "D1");
  c.add(new sdi::switch2(1), {1, 2, 1000, 1000}, "S1");
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R1", 1.0);
  auto* clk = c.add(new sdi::clockx(1), {1000}, "CLK1");
  clk->values[1] = 2e-6;
  clk->values[2] = 1e-5;
  std::string text = c.write("both", 3);
  EXPECT_EQ(c.errors, 0);
  // The switch is the second of the diodes and switches; ON pin kind 1, OFF pin kind 0.
  EXPECT_NE(text.find("tmd = [ 2.0000e-06     1.0000e-05     1   2     \n"
                      "        2.0000e-06     1.0000e-05     0   2    ]\n"),
            std::string::npos)
      << text;
  // A clock makes no switching condition and no thon/thoff line.
  EXPECT_EQ(text.find("thon(2"), std::string::npos);
  EXPECT_EQ(text.find("thoff(2"), std::string::npos);
}

TEST(NetlistWriterEdges, BreakpointsBeyondFiftyPairsAreAllKept) {
  TempDir dir;
  WriterCircuit c;
  for (int k = 0; k < 11; ++k) {
    auto* v = c.add(new sdi::source(sdi::kind_voltage_source, 1), {k + 1, 0}, "V", 1.0);
    c.add(new sdi::basic(sdi::kind_resistor, 1), {k + 1, 0}, "R", 1.0);
    v->n = 5;
    for (int i = 0; i < 5; ++i) {
      v->pairs[i][0] = 1e-6 * (k * 5 + i + 1);
      v->pairs[i][1] = k + i;
    }
  }
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0}, "Vo");
  c.write("many", 12);
  EXPECT_EQ(c.errors, 0);
  ReadBackSettings r("many.m");
  EXPECT_EQ(r.p.tmd.rows, 55);
  EXPECT_EQ(r.p.vgs.rows, 11);
  EXPECT_EQ(r.p.vgs.cols, 55);
  EXPECT_EQ(r.p.tmd(55, 1), 5.5e-5);
  EXPECT_EQ(r.p.tmd(55, 4), 55.0);
  EXPECT_EQ(r.p.vgs(11, 55), 14.0);  // the last source's last value
  EXPECT_EQ(r.p.vgs(1, 55), 4.0);    // the first source keeps its last value
}
