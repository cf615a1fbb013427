// State-space models of small circuits against hand derivations, with the "states.dat"
// and "src.dat" files they leave.
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "simu/model_circuits.h"
#include "simu/model_expect.h"

namespace {

TEST(TopologyCircuits, ParallelCapacitorsGiveOneState) {
  TempDir dir;
  const double R = 100.0, C1 = 1e-6, C2 = 3e-6;
  derived d = derive(circuit().add("V1", 1, 0, 1.0).add("R1", 1, 2, R).add("C1", 2, 0, C1)
                         .add("C2", 2, 0, C2).add("R2", 2, 0, 1e3).out('V', "C2").done());
  const double Ct = C1 + C2;
  expect_matrix(d.rec->A, {{-(1.0 / R + 1.0 / 1e3) / Ct}});
  expect_matrix(d.rec->B, {{1.0 / (R * Ct)}});
  expect_matrix(d.rec->C, {{1.0}});
  EXPECT_EQ(slurp("states.dat"), lines({"V_C1"}));
  expect_matrix(d.tab->initial_mask(), {{1.0, 0.0}});
  DM x0 = setting_of({4.0, 7.0});
  expect_matrix(d.tab->initial_state(x0), {{4.0}});
}

TEST(TopologyCircuits, CapacitorAcrossASourceIsNoState) {
  TempDir dir;
  const double R = 10.0, C2 = 1e-6;
  derived d = derive(circuit().add("V1", 1, 0, 2.0).add("C1", 1, 0, 5e-6).add("R1", 1, 2, R)
                         .add("C2", 2, 0, C2).out('I', "C1").done());
  EXPECT_EQ(slurp("states.dat"), lines({"V_C2"}));
  expect_matrix(d.rec->A, {{-1.0 / (R * C2)}});
  expect_matrix(d.tab->initial_mask(), {{0.0, 1.0}});
  // The source is constant between events: no current into C1.
  expect_matrix(d.rec->D, {{0.0}}, 0.0, 1.0);
}

TEST(TopologyCircuits, CapacitorsInSeriesWithASourceShareOneState) {
  TempDir dir;
  // V1, C1 and C2 form a loop: C2's voltage is V - v_C1, so its current loads C1.
  const double R = 100.0, C1 = 1e-6, C2 = 3e-6, V = 4.0;
  derived d = derive(circuit().add("V1", 1, 0, V).add("C1", 1, 2, C1).add("C2", 2, 0, C2)
                         .add("R1", 2, 0, R).out('V', "R1").done());
  EXPECT_EQ(slurp("states.dat"), lines({"V_C1"}));
  expect_matrix(d.rec->A, {{-1.0 / (R * (C1 + C2))}});
  expect_matrix(d.rec->B, {{1.0 / (R * (C1 + C2))}});
  expect_matrix(d.rec->C, {{-1.0}});
  expect_matrix(d.rec->D, {{1.0}});
}

TEST(TopologyCircuits, InductorInSeriesWithACurrentSourceIsNoState) {
  TempDir dir;
  const double R = 20.0, C = 1e-6, I = 1e-3;
  derived d = derive(circuit().add("I1", 0, 1, I).add("L1", 1, 2, 1e-3).add("R1", 2, 0, R)
                         .add("C1", 2, 0, C).out('V', "C1").done());
  EXPECT_EQ(slurp("states.dat"), lines({"V_C1"}));
  expect_matrix(d.rec->A, {{-1.0 / (R * C)}});
  expect_matrix(d.rec->B, {{1.0 / C}});
  expect_matrix(d.tab->initial_mask(), {{1.0, 0.0}});
}

TEST(TopologyCircuits, MutualInductance) {
  TempDir dir;
  const double R1 = 2.0, R2 = 3.0, L1 = 1e-3, L2 = 2e-3, M = 5e-4, V = 1.0;
  derived d = derive(circuit().add("V1", 1, 0, V).add("R1", 1, 2, R1).add("L1", 2, 0, L1)
                         .add("R2", 3, 0, R2).add("L2", 3, 0, L2).mutual("M1", M, "L1", "L2")
                         .out('V', "R2").done());
  const double det = L1 * L2 - M * M;
  EXPECT_EQ(slurp("states.dat"), lines({"I_L1", "I_L2"}));
  expect_matrix(d.rec->A, {{-R1 * L2 / det, M * R2 / det}, {M * R1 / det, -R2 * L1 / det}});
  expect_matrix(d.rec->B, {{L2 / det}, {-M / det}});
  // v_R2 = R2 i_R2 = -R2 i_L2
  expect_matrix(d.rec->C, {{0.0, -R2}}, 1e-12, R2);
}

TEST(TopologyCircuits, IdealTransformer) {
  TempDir dir;
  // Primary F1_1 carries -(n) times the secondary's current; the secondary E2 is n times
  // the primary voltage. The load seen from the primary is R2 / n^2.
  const double R1 = 10.0, R2 = 8.0, C = 1e-6, n = 0.5, V = 3.0;
  derived d = derive(circuit().add("V1", 1, 0, V).add("R1", 1, 2, R1).add("C1", 2, 0, C)
                         .add("F1_1", 2, 0, -n, "E2").add("E2", 3, 0, n, "F1_1")
                         .add("R2", 3, 0, R2).out('V', "R2").out('I', "R2").done());
  EXPECT_EQ(slurp("states.dat"), lines({"V_C1"}));
  expect_matrix(d.rec->A, {{-(1.0 / R1 + n * n / R2) / C}});
  expect_matrix(d.rec->B, {{1.0 / (R1 * C)}});
  expect_matrix(d.rec->C, {{n}, {n / R2}});
  expect_matrix(d.rec->D, {{0.0}, {0.0}}, 1e-12, 1.0);
}

TEST(TopologyCircuits, ControlledSources) {
  // V1 = 2 V across R1 controls a source of gain g that feeds C1 = 2 uF through R2 (the
  // voltage sources E, H) or C1 = 1 uF in parallel with R2 (the current sources G, F).
  // A = -1 / (R2 C1) and B, D from the controlling voltage 2 V or current 2 V / R1.
  struct row {
    const char* name;
    double g, R1, R2;
    double B, D;
  } rows[] = {
      {"E1", 3.0, 1e3, 50.0, 3.0 / (50.0 * 2e-6), 3.0},
      {"H1", 20.0, 4.0, 50.0, 20.0 / (4.0 * 50.0 * 2e-6), 20.0 / 4.0},
      {"G1", 0.01, 1e3, 500.0, 0.01 / 1e-6, 0.01},
      {"F1", 2.0, 100.0, 500.0, 2.0 / (100.0 * 1e-6), 2.0 / 100.0},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    TempDir dir;
    circuit c;
    c.add("V1", 1, 0, 2.0).add("R1", 1, 0, r.R1);
    const bool voltage = r.name[0] == 'E' || r.name[0] == 'H';
    if (voltage)
      c.add(r.name, 2, 0, r.g, "R1").add("R2", 2, 3, r.R2).add("C1", 3, 0, 2e-6);
    else
      c.add(r.name, 0, 2, r.g, "R1").add("C1", 2, 0, 1e-6).add("R2", 2, 0, r.R2);
    derived d = derive(c.out(voltage ? 'V' : 'I', r.name).done());
    EXPECT_EQ(slurp("states.dat"), lines({"V_C1"}));
    expect_matrix(d.rec->A, {{-1.0 / (r.R2 * (voltage ? 2e-6 : 1e-6))}});
    expect_matrix(d.rec->B, {{r.B}});
    expect_matrix(d.rec->D, {{r.D}});
  }
}

TEST(TopologyCircuits, SelfLoopSourceAndZeroSourcesAreNotSelected) {
  TempDir dir;
  // "ADD" style 1 A source with both ends on one node, a zero voltage probe V01 in series.
  const double R = 10.0, C = 1e-3;
  derived d = derive(circuit().add("I1", 1, 0, 0.5).add("V01", 1, 2, 0.0).add("C1", 2, 0, C)
                         .add("R1", 2, 0, R).add("I2", 2, 2, 1.0).out('I', "V01").done());
  EXPECT_EQ(slurp("src.dat"), lines({"I1", "I2"}));
  EXPECT_EQ(slurp("states.dat"), lines({"V_C1"}));
  expect_matrix(d.rec->A, {{-1.0 / (R * C)}});
  // I1 flows from node 1 into ground: -0.5 A into the capacitor node; I2 does nothing.
  expect_matrix(d.rec->B, {{-1.0 / C, 0.0}}, 1e-12, 1.0 / C);
  expect_matrix(d.rec->D, {{-1.0, 0.0}}, 1e-12, 1.0);
  expect_matrix(d.tab->source_values(), {{0.5}, {1.0}});
}

}  // namespace
