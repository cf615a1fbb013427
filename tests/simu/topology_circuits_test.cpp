// State-space models of small circuits against hand derivations, with the "states.dat"
// and "src.dat" files they leave.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/temp_dir.h"
#include "simu/model_circuits.h"
#include "simu/model_expect.h"

namespace {

TEST(TopologyCircuits, StatesAndMatricesOfSmallNetworks) {
  using M = std::vector<std::vector<double>>;
  const double R = 100.0, C1 = 1e-6, C2 = 3e-6, Ct = C1 + C2, L1 = 1e-3, L2 = 2e-3, Mu = 5e-4, det = L1 * L2 - Mu * Mu;
  const double n = 0.5;   // the ideal transformer's ratio, into R2 = 8 ohm: 2 ohm seen from the primary
  const struct {
    const char* label;
    circuit c;
    const char* states;
    M A, B, C, D;   // an empty matrix is not checked
  } rows[] = {
      {"parallel capacitors give one state",
       circuit().add("V1", 1, 0, 1.0).add("R1", 1, 2, R).add("C1", 2, 0, C1).add("C2", 2, 0, C2).add("R2", 2, 0, 1e3)
           .out('V', "C2"),
       "V_C1\n", {{-(1.0 / R + 1.0 / 1e3) / Ct}}, {{1.0 / (R * Ct)}}, {{1.0}}, {}},
      {"a capacitor across a source is no state; no current into it",
       circuit().add("V1", 1, 0, 2.0).add("C1", 1, 0, 5e-6).add("R1", 1, 2, 10.0).add("C2", 2, 0, C1).out('I', "C1"),
       "V_C2\n", {{-1.0 / (10.0 * C1)}}, {}, {}, {{0.0}}},
      {"capacitors in a loop with a source share one state",
       circuit().add("V1", 1, 0, 4.0).add("C1", 1, 2, C1).add("C2", 2, 0, C2).add("R1", 2, 0, R).out('V', "R1"),
       "V_C1\n", {{-1.0 / (R * Ct)}}, {{1.0 / (R * Ct)}}, {{-1.0}}, {{1.0}}},
      {"an inductor in series with a current source is no state",
       circuit().add("I1", 0, 1, 1e-3).add("L1", 1, 2, 1e-3).add("R1", 2, 0, 20.0).add("C1", 2, 0, C1).out('V', "C1"),
       "V_C1\n", {{-1.0 / (20.0 * C1)}}, {{1.0 / C1}}, {}, {}},
      {"mutual inductance; v_R2 = -R2 i_L2",
       circuit().add("V1", 1, 0, 1.0).add("R1", 1, 2, 2.0).add("L1", 2, 0, L1).add("R2", 3, 0, 3.0).add("L2", 3, 0, L2)
           .mutual("M1", Mu, "L1", "L2").out('V', "R2"),
       "I_L1\nI_L2\n", {{-2.0 * L2 / det, Mu * 3.0 / det}, {Mu * 2.0 / det, -3.0 * L1 / det}}, {{L2 / det}, {-Mu / det}},
       {{0.0, -3.0}}, {}},
      {"ideal transformer: F1_1 carries -n times the secondary's current, E2 is n times the primary voltage",
       circuit().add("V1", 1, 0, 3.0).add("R1", 1, 2, 10.0).add("C1", 2, 0, C1).add("F1_1", 2, 0, -n, "E2")
           .add("E2", 3, 0, n, "F1_1").add("R2", 3, 0, 8.0).out('V', "R2").out('I', "R2"),
       "V_C1\n", {{-(1.0 / 10.0 + n * n / 8.0) / C1}}, {{1.0 / (10.0 * C1)}}, {{n}, {n / 8.0}}, {{0.0}, {0.0}}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    TempDir dir;
    circuit c = r.c;
    derived d = derive(c.done());
    EXPECT_EQ(slurp("states.dat"), r.states);
    const DM* got[] = {&d.rec->A, &d.rec->B, &d.rec->C, &d.rec->D};
    const M* want[] = {&r.A, &r.B, &r.C, &r.D};
    for (int k = 0; k < 4; ++k) {
      if (want[k]->empty()) continue;
      ASSERT_EQ(got[k]->rows, static_cast<int>(want[k]->size()));
      for (int i = 1; i <= got[k]->rows; ++i)
        for (int j = 1; j <= got[k]->cols; ++j) {
          const double v = (*want[k])[i - 1].at(static_cast<std::size_t>(j - 1));
          EXPECT_NEAR((*got[k])(i, j), v, 1e-9 * std::fmax(std::fabs(v), std::fabs((*want[k])[i - 1][0]) + 1.0))
              << "ABCD"[k] << "(" << i << ", " << j << ")";
        }
    }
  }
  // The initial states: the mask of independent capacitors and the states of a setting.
  TempDir dir;
  derived d = derive(circuit().add("V1", 1, 0, 1.0).add("R1", 1, 2, R).add("C1", 2, 0, C1).add("C2", 2, 0, C2)
                         .add("R2", 2, 0, 1e3).out('V', "C2").done());
  expect_matrix(d.tab->initial_mask(), {{1.0, 0.0}});
  expect_matrix(d.tab->initial_state(col({4.0, 7.0})), {{4.0}});
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
    EXPECT_EQ(slurp("states.dat"), "V_C1\n");
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
  EXPECT_EQ(slurp("src.dat"), "I1\nI2\n");
  EXPECT_EQ(slurp("states.dat"), "V_C1\n");
  expect_matrix(d.rec->A, {{-1.0 / (R * C)}});
  // I1 flows from node 1 into ground: -0.5 A into the capacitor node; I2 does nothing.
  expect_matrix(d.rec->B, {{-1.0 / C, 0.0}}, 1e-12, 1.0 / C);
  expect_matrix(d.rec->D, {{-1.0, 0.0}}, 1e-12, 1.0);
  expect_matrix(d.tab->source_values(), {{0.5}, {1.0}});
}

}  // namespace
