// Netlist writer cases beyond the golden files: expected texts worked out by
// hand from the row layouts and widths (ints 4, doubles 15, names as given).
#include <gtest/gtest.h>

#include "capture.h"
#include "netlist_writer_circuits.h"
#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/control_elements.h"
#include "sdi/netlist_writer.h"
#include "sdi/source_elements.h"

namespace {

const std::string header = "tsim = 1.0000e-03\ntd = 1.0000e-06\npoints = 9999999\n";

}  // namespace

TEST(NetlistWriterConditions, NoOutputElementMeansNoConditionMatrices) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 10.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 2}, "R1", 1.0);
  c.add(new sdi::switch2(1), {2, 0, 1000, -1}, "S1");
  c.add(new sdi::modulator(1), {1, 0, 1000}, "MOD1", 0.5);  // no gains: no hidden port
  std::string text = c.write("noout", 3);
  EXPECT_EQ(c.errors, 0);
  EXPECT_EQ(text, header +
                      "swinit = [ 0     ]\n"
                      "thon(1,:)=[  1   1];\n"
                      "% Circuit name : /home/user/noout\n\n% Circuit Description\n"
                      "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
                      "      'R1        1   2   1.0000e+00                 '   % R1\n"
                      "      'S1        2   0   0.0000e+00                 ' ] % S1\n"
                      "\n% Output Description\n"
                      "\n% Number of nodes\nnumn = 3;\n");
}

TEST(NetlistWriterConditions, ModulatorWithBothGainsMeasuresBothInputs) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 10.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 2}, "R1", 100.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R2", 100.0);
  auto* mod = c.add(new sdi::modulator(1), {1, 2, 1000}, "MOD1", 2.0);
  mod->values[1] = 0.5;    // k1: a new port on node 1
  mod->values[2] = -0.25;  // k2: the user's port on node 2 is reused
  mod->values[3] = 1.5;    // k3
  c.add(new sdi::switch2(1), {1, 3, 1000, -1}, "S1");
  c.add(new sdi::basic(sdi::kind_resistor, 1), {3, 0}, "R3", 10.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {2, 0}, "Vo");
  const int count = sdi::circuit.count();
  std::string text = c.write("mod", 4);
  EXPECT_EQ(c.errors, 0);
  EXPECT_EQ(text, header +
                      "swinit = [ 0     ]\n"
                      "Cy = [ -2.5000e-01    5.0000e-01      ]\n"
                      "Ct = [ 0.0000e+00     0.0000e+00     -2.0000e+00    0.0000e+00      ]\n"
                      "Csw = [ 1    ]\n"
                      "Cc = [ 1.5000e+00      ]\n"
                      "thon(1,:)=[  1   1];\n"
                      "% Circuit name : /home/user/mod\n\n% Circuit Description\n"
                      "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
                      "      'R1        1   2   1.0000e+02                 '   % R1\n"
                      "      'R2        2   0   1.0000e+02                 '   % R2\n"
                      "      'S1        1   3   0.0000e+00                 '   % S1\n"
                      "      'R3        3   0   1.0000e+01                 '   % R3\n"
                      "      'I01       2   0   0.0000e+00                 '   % Vo\n"
                      "      'I02       1   0   0.0000e+00                 ' ]\n"
                      "\n% Output Description\n"
                      "Y = [ 'V         I01                                '   % Vo\n"
                      "      'V         I02                                ' ]\n"
                      "\n% Number of nodes\nnumn = 4;\n");
  EXPECT_EQ(sdi::circuit.count(), count);
  EXPECT_EQ(mod->condition, 1);
}

TEST(NetlistWriterConditions, ThresholdSkipsZeroCoefficientsAndDrivesItsSwitch) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 2}, "R1", 1.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R2", 1.0);
  auto* va = c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0}, "Va");
  auto* vb = c.add(new sdi::port(sdi::kind_voltage_port, 1), {2, 0}, "Vb");
  c.add(new sdi::diode(1), {2, 3}, "D1");
  auto* s = c.add(new sdi::switch2(1), {1, 3, -1, 1000}, "S1");
  c.add(new sdi::basic(sdi::kind_resistor, 1), {3, 0}, "R3", 1.0);
  auto* th = c.add(new sdi::threshold(1), {1000}, "TH1", 0.7);
  th->outputs.append(va->id);
  th->outputs.append(vb->id);
  th->coefficients.append(0.0);  // Va is linked but not weighed
  th->coefficients.append(3.0);
  th->table.resize(4);
  for (int i = 0; i < 4; ++i) *th->table.list_value_at(i) = 0.1 * (i + 1);
  th->switch_id = s->id;
  std::string text = c.write("th", 4);
  EXPECT_EQ(c.errors, 0);
  // Outputs: Va 1, Vb 2, D1 3. Diode conditions 1 and 2, the threshold's 3;
  // its switch S1 is the second of the diodes and switches.
  EXPECT_NE(text.find("Cy = [ 0.0000e+00     0.0000e+00     1.0000e+00       \n"
                      "       0.0000e+00     0.0000e+00     -1.0000e+00      \n"
                      "       0.0000e+00     3.0000e+00     0.0000e+00      ]\n"
                      "Ct = [ 0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00       \n"
                      "       0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00       \n"
                      "       1.0000e-01     2.0000e-01     3.0000e-01     4.0000e-01      ]\n"
                      "Csw = [ 1     \n        1     \n        2    ]\n"
                      "Cc = [ 0.0000e+00       \n       0.0000e+00       \n       7.0000e-01      ]\n"
                      "thon(1,:)=[  1   2];\n"
                      "thoff(1,:)=[  1   1];\n"
                      "thoff(2,:)=[  2   3];\n"),
            std::string::npos)
      << text;
}

TEST(NetlistWriterConditions, ThresholdWithoutItsFourthEntryUsesSwitchOne) {
  TempDir dir;
  Capture cap;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  auto* r = c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0}, "R1", 1.0);
  auto* vo = c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0}, "Vo");
  auto* th = c.add(new sdi::threshold(1), {1000}, "TH1", 0.5);
  th->outputs.append(vo->id);
  th->coefficients.append(1.0);
  th->switch_id = r->id;  // not looked at: the fourth entry is 0
  std::string text = c.write("th1", 2);
  EXPECT_EQ(c.errors, 0);
  EXPECT_NE(text.find("Csw = [ 1    ]\nCc = [ 5.0000e-01      ]\n"), std::string::npos) << text;

  // With the fourth entry set, the linked element must be a switch.
  th->table.resize(4);
  *th->table.list_value_at(3) = 1.0;
  text = c.write("th2", 2);
  EXPECT_EQ(c.errors, 1);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simnet: Internal"}));
  EXPECT_NE(text.find("Csw = [ 1    ]\n"), std::string::npos) << text;
}

TEST(NetlistWriterRows, CurrentSenseFeedingTheNetworkWritesItsTwoRows) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 5.0);
  c.add(new sdi::current_sense(1), {1, 2, 3}, "CS1");
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R1", 10.0);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {3, 0}, "R2", 1.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {3, 0}, "Vs");
  std::string text = c.write("cs", 4);
  EXPECT_EQ(c.errors, 0);
  EXPECT_NE(text.find("X = [ 'V1        1   0   5.0000e+00                 '   % V1\n"
                      "      'Vc1       1   2   0.0000e+00                 '  \n"
                      "      'Fc1       0   3   1.0000e+00     Vc1         '  \n"
                      "      'R1        2   0   1.0000e+01                 '   % R1\n"),
            std::string::npos)
      << text;
}

TEST(NetlistWriterRows, NumnCountsTheInternalNodesOfSinesAndOpAmps) {
  TempDir dir;
  WriterCircuit c;
  auto* s1 = c.add(new sdi::sine(1), {1, 0}, "SIN1", 1.0);
  s1->frequency = 50.0;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0}, "R1", 1.0);
  auto* oa = c.add(new sdi::op_amp(1), {1, 0, 2}, "OA1", 1e5);
  oa->Ri = 1e6;
  oa->Ro = 50.0;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R2", 1.0);
  auto* s2 = c.add(new sdi::sine(1), {3, 0}, "SIN2", 2.0);
  s2->frequency = 100.0;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {3, 0}, "R3", 1.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {3, 0}, "Vo");
  std::string text = c.write("internal", 4);
  EXPECT_EQ(c.errors, 0);
  EXPECT_EQ(c.node_count, 7);
  // Phase 0: the sine terms are 0 and the amplitudes, sines in circuit order.
  EXPECT_NE(text.find("x0 = [ 0.0000e+00       \n"
                      "       0.0000e+00       \n"
                      "       1.0000e+00       \n"
                      "       2.0000e+00      ]\n"),
            std::string::npos)
      << text;
  // New nodes in row order: SIN1 4, OA1 5, SIN2 6. 1/(2 pi 50) = 3.1831e-03, 1/(2 pi 100) = 1.5915e-03.
  EXPECT_NE(text.find("X = [ 'Ls1       0   4   3.1831e-03                 '  \n"
                      "      'Cs1       4   0   3.1831e-03                 '  \n"
                      "      'E1        1   0   1.0000e+00     Cs1         '   % SIN1\n"
                      "      'R1        1   0   1.0000e+00                 '   % R1\n"
                      "      'Ri1       1   0   1.0000e+06                 '  \n"
                      "      'Eo1       5   0   1.0000e+05     Ri1         '  \n"
                      "      'Ro1       5   2   5.0000e+01                 '  \n"
                      "      'R2        2   0   1.0000e+00                 '   % R2\n"
                      "      'Ls2       0   6   1.5915e-03                 '  \n"
                      "      'Cs2       6   0   1.5915e-03                 '  \n"
                      "      'E2        3   0   1.0000e+00     Cs2         '   % SIN2\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("numn = 7;\n"), std::string::npos);
}

TEST(NetlistWriterParams, SwinitTruncatesDiodeValuesTowardZero) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  c.add(new sdi::switch2(1), {1, 2, -1, -1}, "S1")->initial_state = 3;
  c.add(new sdi::diode(1), {2, 0}, "D1", -1.7);
  c.add(new sdi::diode(1), {2, 0}, "D2", 2.9);
  c.add(new sdi::switch2(1), {2, 0, -1, -1}, "S2");
  std::string text = c.write("swinit", 3);
  const std::string expected = header + "swinit = [ 1    -1   2    0     ]\n";
  EXPECT_EQ(text.substr(0, expected.size()), expected);
}

TEST(NetlistWriterParams, SwinitClampsADiodeStateBeyondTheIntRange) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  c.add(new sdi::diode(1), {1, 0}, "D1", 1e300);
  c.add(new sdi::diode(1), {1, 0}, "D2", -1e300);
  std::string text = c.write("swinit", 3);
  const std::string expected = header + "swinit = [ 2147483647  -2147483648   ]\n";
  EXPECT_EQ(text.substr(0, expected.size()), expected);
}

TEST(NetlistWriterParams, LaterPairAtOneTimeOfOneSourceWins) {
  TempDir dir;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_current_source, 1), {0, 1}, "I1", 0.5);  // no pairs: one value row
  auto* v = c.add(new sdi::source(sdi::kind_voltage_source, 1), {2, 0}, "V1", 1.0);
  v->n = 2;
  v->pairs[0][0] = 1e-4;
  v->pairs[0][1] = 2.0;
  v->pairs[1][0] = 1e-4;
  v->pairs[1][1] = 3.0;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 2}, "R1", 1.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0}, "Vo");
  std::string text = c.write("pairs", 3);
  EXPECT_EQ(c.errors, 0);
  // Voltage sources come first in "vgs", whatever the circuit order.
  EXPECT_NE(text.find("\ntmd = [ 1.0000e-04     1.0000e+05     2   1    ]\n"
                      "vgs = [ 3.0000e+00       \n"
                      "        5.0000e-01      ]\n%"),
            std::string::npos)
      << text;
}

TEST(NetlistWriterParams, ClockOnASwitchsMainPinIsReportedAndCounted) {
  TempDir dir;
  Capture cap;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  c.add(new sdi::switch2(1), {1, 2, 3, -1}, "S1");
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R1", 1.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {2, 0}, "Vo");
  auto* clk = c.add(new sdi::clockx(1), {2}, "CLK1");
  clk->values[2] = 1e-5;
  std::string text = c.write("clk", 4);
  EXPECT_EQ(c.errors, 1);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simnet: Internal"}));
  EXPECT_EQ(text.find("tmd"), std::string::npos);  // no row for pin 1
  EXPECT_NE(text.find("numn = 4;\n"), std::string::npos);  // writing went on
}

TEST(NetlistWriterRows, MissingPartnersAreReportedAndTheirRowsLeftOut) {
  TempDir dir;
  Capture cap;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  auto* l1 = c.add(new sdi::basic(sdi::kind_inductor, 1), {1, 2}, "L1", 1e-3);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R1", 1.0);
  auto* e = c.add(new sdi::depsource(sdi::kind_vcvs, 1), {3, 0}, "E1", 2.0);
  e->control = 99;  // no such element
  c.add(new sdi::basic(sdi::kind_resistor, 1), {3, 0}, "R2", 1.0);
  auto* m = new sdi::cmutind;
  m->set_name("M1");
  m->values[0] = 0.5;
  m->inductor1 = l1->id;
  m->inductor2 = 98;  // no such element
  m->selected = 0;
  sdi::circuit.append(m);
  sdi::circuit.assign_id();
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {2, 0}, "Vo");
  std::string text = c.write("partners", 4);
  EXPECT_EQ(c.errors, 2);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simnet: Internal", "sdi/Simnet: Internal"}));
  EXPECT_EQ(text.find("'E1"), std::string::npos);
  EXPECT_EQ(text.find("'M1"), std::string::npos);
  EXPECT_NE(text.find("      'I01       2   0   0.0000e+00                 ' ] % Vo\n"), std::string::npos) << text;
}

TEST(NetlistWriterRows, RatioThatOverflowsStopsTheRun) {
  TempDir dir;
  Capture cap;
  WriterCircuit c;
  c.add(new sdi::source(sdi::kind_voltage_source, 1), {1, 0}, "V1", 1.0);
  auto* p = c.add(new sdi::xform(sdi::kind_primary, 1), {1, 0}, "PRI1", 1e-13);  // the smallest value that passes
  auto* s = c.add(new sdi::xform(sdi::kind_secondary, 1), {2, 0}, "SEC1", 1e300);
  p->secondaries.append(s->id);
  s->partner = p->id;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R1", 1.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {2, 0}, "Vo");
  c.write("ratio", 3);
  // The turns ratio 1e313 is no number the engine can read: both winding rows report it.
  EXPECT_EQ(c.errors, 2);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simrec: Internal", "sdi/Simrec: Internal"}));
}
