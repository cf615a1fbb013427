// Switch adjustment on real topologies: a diode cascade settled at one instant, the
// on-time and time-vector bookkeeping, and the end of an endless search.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "common/temp_dir.h"
#include "matrix/dm_ops.h"
#include "model_circuits.h"
#include "simu/cycle.h"
#include "simu/switch_cond.h"
#include "simu/switch_table.h"
#include "simu/switch_table_adjust.h"
#include "simu/topology.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"

namespace {

// V1 drives node 2 through R1. D1 (anode 0, cathode 2) starts on and carries reverse
// current; once it is off, node 2 rises and D2 (2 -> 3, R2 to ground) must turn on.
model_netlist cascade() {
  return circuit()
      .add("V1", 1, 0, 10.0)
      .add("R1", 1, 2, 1e3)
      .add("D1", 0, 2, 0.0)
      .add("D2", 2, 3, 0.0)
      .add("R2", 3, 0, 1e3)
      .out('I', "D1")
      .out('I', "D2")
      .done();
}

// Diode conditions on the outputs [i_D1; i_D2]: 1 off D1, 2 on D1, 3 off D2, 4 on D2.
struct diode_conditions {
  DM Cy = rows_of(4, 2, {1, 0, -1, 0, 0, 1, 0, -1});
  DM Ct = zeros(4, 4);
  DM Cc = zeros(4, 1);
  DM Csw = rows_of(4, 1, {1, 1, 2, 2});
  DM thoff = rows_of(2, 2, {1, 1, 2, 3});
  DM thon = rows_of(2, 2, {1, 2, 2, 4});
};

}  // namespace

TEST(SwitchAdjustment, Budget) {
  EXPECT_EQ(adjustment_budget(0), 1ULL);
  EXPECT_EQ(adjustment_budget(3), 8ULL);
  EXPECT_EQ(adjustment_budget(40), 1ULL << 40);
  EXPECT_EQ(adjustment_budget(100), 1ULL << 62);
}

TEST(SwitchAdjustment, DiodeCascadeSettlesInOneInstant) {
  TempDir dir;  // the model writes "states.dat" and "src.dat"
  model_netlist net = cascade();
  topology_table topo(net);
  DM swinit = rows_of(1, 2, {1, 0});
  DM drive_out, drive_pos;
  double gain = 0.0;
  topology* first = topo.first_eqns(swinit, 1e-6, drive_out, drive_pos, gain);
  diode_conditions dc;
  sw_condition cond(dc.Cy, dc.Ct, dc.Cc, dc.Csw);
  sw_table swt(swinit, DM(), dc.thon, dc.thoff, 4.0);
  swt.on_time(1) = 7e-6;
  swt.on_time(2) = 3e-6;
  CYCLE cyc(swinit.transpose());
  DM x(0, 1);
  DM u = topo.source_values();
  DM y = first->C * x + first->D * u;
  DM tv = rows_of(4, 1, {1e-3, 2e-4, 5e-5, 1e-3});

  topology* rec = switch_adjustment(swt, cond, x, u, y, tv, 1e-6, topo, cyc);

  EXPECT_EQ(swt.state(1), 0.0);
  EXPECT_EQ(swt.state(2), 1.0);
  EXPECT_EQ(swt.previous(1), 0.0);
  EXPECT_EQ(swt.previous(2), 1.0);
  EXPECT_EQ(rec, topo.find_eqns(rows_of(2, 1, {0, 1}), 1e-6));
  // Outputs of the accepted setting: D1 off (1e6 + 0.001 ohm) beside D2 on + R2.
  const double off = 1e6 + 0.001, on_branch = 0.001 + 1e3;
  const double par = off * on_branch / (off + on_branch);
  const double v2 = 10.0 * par / (1e3 + par);
  EXPECT_NEAR(y(2), v2 / on_branch, 1e-12);
  EXPECT_NEAR(y(1), -v2 / off, 1e-15);
  EXPECT_EQ(swt.on_time(1), 7e-6);   // turned off: keeps its time
  EXPECT_EQ(swt.on_time(2), 0.0);    // turned on now
  EXPECT_EQ(tv(3), 0.0);             // the topology changed
  EXPECT_EQ(tv(2), 2e-4);            // no cycle closed (the store is empty)
  EXPECT_EQ(tv(1), 1e-3);
  // Every condition was evaluated for the accepted setting and taken as previous.
  for (int j = 1; j <= 4; ++j) EXPECT_EQ(cond.previous(j), cond.present(j));
  EXPECT_NEAR(cond.previous(3), y(2), 1e-15);
  EXPECT_NEAR(cond.previous(2), -y(1), 1e-15);
}

TEST(SwitchAdjustment, ConsistentSettingIsAcceptedAtOnce) {
  TempDir dir;
  model_netlist net = cascade();
  topology_table topo(net);
  DM swinit = rows_of(1, 2, {0, 1});
  DM drive_out, drive_pos;
  double gain = 0.0;
  topology* first = topo.first_eqns(swinit, 1e-6, drive_out, drive_pos, gain);
  diode_conditions dc;
  sw_condition cond(dc.Cy, dc.Ct, dc.Cc, dc.Csw);
  sw_table swt(swinit, DM(), dc.thon, dc.thoff, 4.0);
  CYCLE cyc(swinit.transpose());
  DM x(0, 1), u = topo.source_values(), y;
  DM tv = rows_of(4, 1, {1, 2, 3, 4});
  topology* rec = switch_adjustment(swt, cond, x, u, y, tv, 1e-6, topo, cyc);
  EXPECT_EQ(rec, first);
  EXPECT_EQ(tv(3), 3.0);
  EXPECT_EQ(swt.state(2), 1.0);
}

TEST(SwitchAdjustment, EndlessToggleFailsWithoutWalkingTheBudget) {
  TempDir dir;
  // A switch whose on and off conditions both always fire, beside 40 idle switches
  // (a budget of 2^41 passes).
  circuit c;
  c.add("V1", 1, 0, 1.0).add("R1", 1, 2, 1e3);
  for (int k = 1; k <= 41; ++k) c.add("S" + std::to_string(k), 2, 0, 0.0);
  c.out('V', "R1");
  model_netlist net = c.done();
  topology_table topo(net);
  DM swinit = zeros(1, 41);
  swinit(1) = 1.0;
  DM drive_out, drive_pos;
  double gain = 0.0;
  topo.first_eqns(swinit, 1e-6, drive_out, drive_pos, gain);
  DM Cy = zeros(2, 1), Ct = zeros(2, 4), Cc = rows_of(2, 1, {-1, -1}), Csw = rows_of(2, 1, {1, 1});
  sw_condition cond(Cy, Ct, Cc, Csw);
  sw_table swt(swinit, DM(), rows_of(1, 2, {1, 1}), rows_of(1, 2, {1, 2}), 2.0);
  CYCLE cyc(swinit.transpose());
  DM x(0, 1), u = topo.source_values(), y;
  DM tv = zeros(4, 1);
  EXPECT_EQ(fatal_of([&] { switch_adjustment(swt, cond, x, u, y, tv, 1e-6, topo, cyc); }),
            "Fatal Error : Switch Adjustment - No valid combination found!\n");
}

TEST(SwitchAdjustment, OneSwitchHasTwoPasses) {
  TempDir dir;
  // One switch whose on and off conditions always fire: pass 0 turns it off, pass 1 may
  // not turn it back, pass 2 would exceed the budget of 2^1 passes.
  model_netlist net =
      circuit().add("V1", 1, 0, 1.0).add("R1", 1, 2, 1e3).add("S1", 2, 0, 0.0).out('V', "R1").done();
  topology_table topo(net);
  DM swinit = rows_of(1, 1, {1});
  DM drive_out, drive_pos;
  double gain = 0.0;
  topo.first_eqns(swinit, 1e-6, drive_out, drive_pos, gain);
  DM Cy = zeros(2, 1), Ct = zeros(2, 4), Cc = rows_of(2, 1, {-1, -1}), Csw = rows_of(2, 1, {1, 1});
  sw_condition cond(Cy, Ct, Cc, Csw);
  sw_table swt(swinit, DM(), rows_of(1, 2, {1, 1}), rows_of(1, 2, {1, 2}), 2.0);
  CYCLE cyc(swinit.transpose());
  DM x(0, 1), u = topo.source_values(), y;
  DM tv = zeros(4, 1);
  EXPECT_EQ(fatal_of([&] { switch_adjustment(swt, cond, x, u, y, tv, 1e-6, topo, cyc); }),
            "Fatal Error : Switch Adjustment - No valid combination found!\n");
}
