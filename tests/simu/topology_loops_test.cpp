// Loops of capacitors and cut-sets of inductors without any source in them: one state of
// each is dependent and leaves the model; the others carry the loop's or cut-set's share.
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "simu/model_circuits.h"
#include "simu/model_expect.h"

namespace {

TEST(TopologyLoops, LoopOfThreeCapacitorsKeepsTwoStates) {
  TempDir dir;
  // R feeds C1 (node 2 to ground); C2 (2-3) and C3 (3-0) in series across C1 close a loop:
  // v3 = v1 - v2. C2 v2' = C3 (v1' - v2') gives v2' = k v1' with k = C3 / (C2 + C3), and
  // (V - v1) / R = (C1 + C2 C3 / (C2 + C3)) v1'.
  const double V = 1.0, R = 10.0, C1 = 1e-6, C2 = 2e-6, C3 = 3e-6;
  const double k = C3 / (C2 + C3), Ceq = C1 + C2 * C3 / (C2 + C3);
  derived d = derive(circuit().add("V1", 1, 0, V).add("R1", 1, 2, R).add("C1", 2, 0, C1)
                         .add("C2", 2, 3, C2).add("C3", 3, 0, C3).out('V', "C3").done());
  EXPECT_EQ(slurp("states.dat"), lines({"V_C1", "V_C2"}));
  expect_matrix(d.tab->initial_mask(), {{1.0, 1.0, 0.0}});
  const double a = 1.0 / (R * Ceq);
  expect_matrix(d.rec->A, {{-a, 0.0}, {-k * a, 0.0}}, 1e-9, a);
  expect_matrix(d.rec->B, {{a}, {k * a}});
  expect_matrix(d.rec->C, {{1.0, -1.0}});
  expect_matrix(d.rec->D, {{0.0}}, 0.0, 1.0);
}

TEST(TopologyLoops, CutSetOfThreeInductorsKeepsTwoStates) {
  TempDir dir;
  // V and R1 drive L1 into node 3, which L2 (to ground) and L3 with R2 (to ground) share:
  // i1 = i2 + i3. With S = L1 L2 + L1 L3 + L2 L3:
  //   i3' = L2 (V - R1 i2 - (R1 + (L1 + L2) R2 / L2) i3) / S,  i2' = (L3 i3' + R2 i3) / L2.
  // For L = 1, 2, 3 mH, R1 = 1, R2 = 2, V = 1:
  //   A = [-3000 -1000; -2000 -8000] / 11, B = [3000; 2000] / 11.
  derived d = derive(circuit().add("V1", 1, 0, 1.0).add("R1", 1, 2, 1.0).add("L1", 2, 3, 1e-3)
                         .add("L2", 3, 0, 2e-3).add("L3", 3, 4, 3e-3).add("R2", 4, 0, 2.0)
                         .out('I', "L1").done());
  EXPECT_EQ(slurp("states.dat"), lines({"I_L2", "I_L3"}));
  expect_matrix(d.tab->initial_mask(), {{0.0, 1.0, 1.0}});
  expect_matrix(d.rec->A, {{-3000.0 / 11, -1000.0 / 11}, {-2000.0 / 11, -8000.0 / 11}});
  expect_matrix(d.rec->B, {{3000.0 / 11}, {2000.0 / 11}});
  expect_matrix(d.rec->C, {{1.0, 1.0}});
  expect_matrix(d.rec->D, {{0.0}}, 0.0, 1.0);
}

}  // namespace
