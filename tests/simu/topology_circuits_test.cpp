// State-space models against hand derivations, with the "states.dat" and "src.dat" files
// they leave: small circuits, and a resistor chain of thousands of branches into one
// capacitor. Networks the model builder refuses, and the texts it throws.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "simu/model_circuits.h"
#include "simu/base/console.h"

namespace {

TEST(TopologyCircuits, StatesAndMatricesOfSmallNetworks) {
  using M = matrix_rows;
  const double R = 100.0, C1 = 1e-6, C2 = 3e-6, Ct = C1 + C2, L1 = 1e-3, L2 = 2e-3, Mu = 5e-4, det = L1 * L2 - Mu * Mu;
  const double n = 0.5;   // the ideal transformer's ratio, into R2 = 8 ohm: 2 ohm seen from the primary
  struct {
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
      // V1 = 2 V across R1 controls a source of gain g that feeds C1 = 2 uF through R2 (the
      // voltage sources E, H) or C1 = 1 uF in parallel with R2 (the current sources G, F).
      {"E", circuit().add("V1", 1, 0, 2.0).add("R1", 1, 0, 1e3).add("E1", 2, 0, 3.0, "R1").add("R2", 2, 3, 50.0)
                .add("C1", 3, 0, 2e-6).out('V', "E1"),
       "V_C1\n", {{-1.0 / (50.0 * 2e-6)}}, {{3.0 / (50.0 * 2e-6)}}, {}, {{3.0}}},
      {"H", circuit().add("V1", 1, 0, 2.0).add("R1", 1, 0, 4.0).add("H1", 2, 0, 20.0, "R1").add("R2", 2, 3, 50.0)
                .add("C1", 3, 0, 2e-6).out('V', "H1"),
       "V_C1\n", {{-1.0 / (50.0 * 2e-6)}}, {{20.0 / (4.0 * 50.0 * 2e-6)}}, {}, {{5.0}}},
      {"G", circuit().add("V1", 1, 0, 2.0).add("R1", 1, 0, 1e3).add("G1", 0, 2, 0.01, "R1").add("C1", 2, 0, 1e-6)
                .add("R2", 2, 0, 500.0).out('I', "G1"),
       "V_C1\n", {{-1.0 / (500.0 * 1e-6)}}, {{0.01 / 1e-6}}, {}, {{0.01}}},
      {"F", circuit().add("V1", 1, 0, 2.0).add("R1", 1, 0, 100.0).add("F1", 0, 2, 2.0, "R1").add("C1", 2, 0, 1e-6)
                .add("R2", 2, 0, 500.0).out('I', "F1"),
       "V_C1\n", {{-1.0 / (500.0 * 1e-6)}}, {{2.0 / (100.0 * 1e-6)}}, {}, {{2.0 / 100.0}}},
      // The controlling branch is the first row: V1's current, node 1 to 0 through it, is -V1/R1.
      {"F of the first row", circuit().add("V1", 1, 0, 2.0).add("R1", 1, 0, 100.0).add("F1", 0, 2, 2.0, "V1")
                .add("C1", 2, 0, 1e-6).add("R2", 2, 0, 500.0).out('I', "F1"),
       "V_C1\n", {{-1.0 / (500.0 * 1e-6)}}, {{-2.0 / (100.0 * 1e-6)}}, {}, {{-2.0 / 100.0}}},
      // A 1 A source with both ends on one node does nothing; I1 flows from node 1 into
      // ground through the zero probe V01: -0.5 A into the capacitor node.
      {"self loop and zero source",
       circuit().add("I1", 1, 0, 0.5).add("V01", 1, 2, 0.0).add("C1", 2, 0, 1e-3).add("R1", 2, 0, 10.0)
           .add("I2", 2, 2, 1.0).out('I', "V01"),
       "V_C1\n", {{-1.0 / (10.0 * 1e-3)}}, {{-1.0 / 1e-3, 0.0}}, {}, {{-1.0, 0.0}}},
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
      SCOPED_TRACE("ABCD"[k]);
      if (!want[k]->empty()) expect_matrix(*got[k], *want[k]);
    }
  }
  // The initial states: the mask of independent capacitors and the states of a setting.
  TempDir dir;
  derived d = derive(circuit().add("V1", 1, 0, 1.0).add("R1", 1, 2, R).add("C1", 2, 0, C1).add("C2", 2, 0, C2)
                         .add("R2", 2, 0, 1e3).out('V', "C2").done());
  expect_matrix(d.tab->initial_mask(), {{1.0, 0.0}});
  expect_matrix(d.tab->initial_state(col({4.0, 7.0})), {{4.0}});
  // The sources of the self-loop row, zero ones too.
  d = derive(std::move(rows[std::size(rows) - 1].c).done());
  EXPECT_EQ(slurp("src.dat"), "I1\nI2\n");
  expect_matrix(d.tab->source_values(), {{0.5}, {1.0}});
}

}  // namespace

namespace {

TEST(LargeNetwork, ResistorChainIntoOneCapacitorFollowsItsTimeConstant) {
  TempDir dir;
  const int n = 3000;
  const double tau = n * 1e-6, h = tau / 50;   // N resistors of 1 ohm, 1 uF
  circuit c;
  c.add("V1", 1, 0, 10.0);
  for (int k = 1; k <= n; ++k) c.add("R" + std::to_string(k), k, k + 1, 1.0);
  c.add("C1", n + 1, 0, 1e-6).out('V', "C1").out('I', "R1");
  derived d = derive(c.done(), DM(), h);
  ASSERT_EQ(d.rec->A.rows, 1);
  EXPECT_EQ(slurp("states.dat"), "V_C1\n");
  // Vout = 10 (1 - e^(-t/tau)) from x = 0, stepped with the discretised model; the
  // chain current is (10 - Vout) / N ohm.
  double x = 0.0;
  for (int k = 1; k <= 100; ++k) {
    x = d.rec->Phi(1, 1) * x + d.rec->Gamma(1, 1) * 10.0;
    const double v = 10.0 * (1.0 - std::exp(-k * h / tau));
    ASSERT_NEAR(d.rec->C(1, 1) * x + d.rec->D(1, 1) * 10.0, v, 1e-9) << "step " << k;
    ASSERT_NEAR(d.rec->C(2, 1) * x + d.rec->D(2, 1) * 10.0, (10.0 - v) / n, 1e-12) << "step " << k;
  }
}

}  // namespace

namespace {

std::string thrown_by(model_netlist net, const DM& setting = DM()) {
  try {
    derive(std::move(net), setting);
  } catch (const char* text) {
    return text;
  }
  return "(nothing thrown)";
}

const char* const no_unique = "Warning this network has no unique solution\n Check your circuit";

TEST(TopologyWarnings, EveryRefusedNetworkThrowsItsText) {
  struct row {
    const char* label;
    model_netlist net;
    DM setting;
    const char* text;
  } rows[] = {
      {"different sources in parallel",
       circuit().add("V1", 1, 0, 5.0).add("V2", 1, 0, 3.0).add("R1", 1, 0, 1.0).out('V', "R1").done(), DM(),
       "Warning check the circuit.\nThe loop V2 V1 holds only voltage sources, which fix no current around it: the "
       "circuit has no unique solution, whatever their values.\n"},
      // The loop named is the sources' own, not one through the switch that is on beside them.
      {"equal sources in parallel beside an on switch",
       circuit().add("S1", 1, 0, 0.0).add("V1", 1, 0, 5.0).add("V2", 1, 0, 5.0).out('V', "S1").done(), col({1.0}),
       "Warning check the circuit.\nThe loop V2 V1 holds only voltage sources, which fix no current around it: the "
       "circuit has no unique solution, whatever their values.\n"},
      {"current probes side by side",
       circuit().add("I1", 0, 1, 1.0).add("V01", 1, 0, 0.0).add("V02", 1, 0, 0.0).out('I', "V01").done(), DM(),
       no_unique},
      {"row of unknown letter",
       circuit().add("V1", 1, 0, 5.0).add("R1", 1, 2, 1.0).add("P1", 2, 0, 1.0).add("C1", 2, 0, 1e-6)
           .out('V', "C1").done(),
       DM(), no_unique},
      {"missing controller",
       circuit().add("V1", 1, 0, 5.0).add("E1", 2, 0, 2.0, "R9").add("R1", 2, 0, 1.0).out('V', "R1").done(), DM(),
       "Internal simulation problem.  Element not found. R9"},
      {"missing coupled inductor",
       circuit().add("V1", 1, 0, 5.0).add("L1", 1, 0, 1e-3).mutual("M1", 1e-4, "L1", "L7").out('V', "L1").done(),
       DM(), "Internal simulation problem.  Element not found. L7"},
      {"missing output branch", circuit().add("V1", 1, 0, 5.0).add("R1", 1, 0, 1.0).out('I', "R2").done(), DM(),
       "Internal simulation problem.  Element not found. R2"},
      {"element named twice",
       circuit().add("V1", 1, 0, 5.0).add("L1", 1, 2, 1e-3).add("L1", 1, 2, 1e-3).add("R1", 2, 0, 1.0)
           .out('V', "R1").done(),
       DM(), "Internal simulation problem.  Element named twice. L1"},
      // node 2 is joined only to itself: the incidence matrix has a zero row
      {"floating node", circuit().add("V1", 1, 0, 5.0).add("R1", 1, 0, 1.0).add("R2", 2, 2, 1.0).out('V', "R1").done(),
       DM(), "rpac - Check your circuit"},
      {"setting of wrong length",
       circuit().add("V1", 1, 0, 5.0).add("S1", 1, 2, 0.0).add("R1", 2, 0, 1.0).out('V', "R1").done(),
       col({1.0, 0.0}), "Internal simulation problem.  swinit has 2 entries for 1 switches."},
  };
  TempDir dir;
  redirect_stdio();   // warnings are also printed, with a bell
  for (row& r : rows) EXPECT_EQ(thrown_by(std::move(r.net), r.setting), r.text) << r.label;
  close_stdio_redirection();
  EXPECT_EQ(slurp("stdout.out"), "\n\aWarning check the circuit\n\n\aWarning check the circuit\n"
                                 "\n\aWarning this network has no unique solution\n"
                                 "\n\aWarning this network has no unique solution\n");
}

TEST(TopologyWarnings, LaterSettingOfWrongLengthKeepsTheTable) {
  TempDir dir;
  derived d = derive(circuit().add("V1", 1, 0, 5.0).add("S1", 1, 2, 0.0).add("D1", 2, 0, 0.0)
                         .add("R1", 2, 0, 1.0).out('V', "R1").done(),
                     col({1.0, 0.0}));
  std::string text;
  try {
    d.tab->find_eqns(col({0.0}), 1e-6);
  } catch (const char* t) {
    text = t;
  }
  EXPECT_EQ(text, "Internal simulation problem.  The setting has 1 entries for 2 switches.");
  EXPECT_EQ(d.tab->record_count(), 1);
  topology* r = d.tab->find_eqns(col({0.0, 1.0}), 1e-6);
  EXPECT_EQ(r, d.tab->record(2));
}

}  // namespace
