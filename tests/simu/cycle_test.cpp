// Cycle store: recording rules, cycle detection over the reference setting, switching rows.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "simu/cycle.h"
#include "simu/topology.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"

namespace {

const DM tv0 = col({0, 0, 0, 0});

}  // namespace

TEST(Cycle, DmEqual) {
  DM a = col({1, 2});
  EXPECT_EQ(dm_equal(a, col({1, 2})), 1);
  EXPECT_EQ(dm_equal(a, col({1, 3})), 0);
  EXPECT_EQ(dm_equal(a, a.transpose()), 0);
  EXPECT_EQ(dm_equal(DM(0, 1), DM(0, 1)), 1);
  EXPECT_EQ(dm_equal(DM(0, 1), DM(1, 0)), 0);
}

TEST(Cycle, TransitionsBeforeTheReferenceAreIgnored) {
  CYCLE cyc(col({1, 0}));
  cyc.add_transition(tv0, 1.0, col({0, 0}), col({5}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.count, 0);
  EXPECT_EQ(cyc.started, 0);
  cyc.add_transition(tv0, 2.0, col({1, 0}), col({6}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.started, 1);
  EXPECT_EQ(cyc.count, 1);
  EXPECT_EQ(cyc.entry(1).t, 2.0);
}

TEST(Cycle, SameSettingOverwritesNewest) {
  CYCLE cyc(col({1}));
  cyc.add_transition(tv0, 1.0, col({1}), col({5}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 2.0, col({0}), col({6}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 3.0, col({0}), col({7}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.count, 2);
  EXPECT_EQ(cyc.entry(2).t, 3.0);
  EXPECT_EQ(cyc.entry(2).x(1), 7.0);
}

TEST(Cycle, OutsideCycleModeAtMostTwoEntriesAndNoCycle) {
  CYCLE cyc(col({1}));
  for (int k = 0; k < 6; ++k) {
    cyc.add_transition(tv0, k, col({k % 2 == 0 ? 1.0 : 0.0}), col({double(k)}), col({1}), nullptr, 0);
    EXPECT_LE(cyc.count, 2);
    EXPECT_EQ(cyc.cycle_found(), 0);
  }
  EXPECT_EQ(cyc.cycles, 0);
}

TEST(Cycle, CycleFoundFromThreeEntriesCountedOnce) {
  CYCLE cyc(col({1, 0}));
  cyc.add_transition(tv0, 0.0, col({1, 0}), col({1}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 1.0, col({0, 1}), col({2}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.cycle_found(), 0);
  cyc.add_transition(tv0, 2.0, col({0, 0}), col({3}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.cycle_found(), 0);
  cyc.add_transition(tv0, 3.0, col({1, 0}), col({1}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.cycle_found(), 1);
  EXPECT_EQ(cyc.cycle_found(), 1);
  EXPECT_EQ(cyc.cycles, 1);
  EXPECT_EQ(cyc.found, 1);
  // The driver starts the next cycle from the present point.
  cyc.count = 0;
  cyc.add_transition(tv0, 3.0, col({1, 0}), col({1}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.found, 0);
  EXPECT_EQ(cyc.count, 1);
  EXPECT_EQ(cyc.cycle_found(), 0);
  EXPECT_EQ(cyc.cycles, 1);
}

TEST(Cycle, WouldCloseAsksWithoutRecording) {
  CYCLE cyc(col({1}));
  cyc.add_transition(tv0, 0.0, col({1}), col({1}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.would_close(col({1})), 0);  // a second entry cannot close a cycle
  cyc.add_transition(tv0, 1.0, col({0}), col({2}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.would_close(col({1})), 1);
  EXPECT_EQ(cyc.would_close(col({0})), 0);
  EXPECT_EQ(cyc.count, 2);
  EXPECT_EQ(cyc.cycles, 0);
  EXPECT_EQ(cyc.found, 0);
  EXPECT_EQ(cyc.cycle_found(), 0);
}

TEST(Cycle, SwitchingRowIsConditionRowTimesC) {
  topology rec;
  rec.C = DM(2, 3);
  for (int i = 1; i <= 6; ++i) rec.C(i) = i;  // [1 3 5; 2 4 6]
  CYCLE cyc(col({1}));
  cyc.add_hi_mi(DM(1, 2, 1.0), 1.0, 1);  // no entry yet: nothing stored
  cyc.add_transition(tv0, 0.0, col({1}), col({1, 2, 3}), col({1}), &rec, 1);
  ASSERT_EQ(cyc.entry(1).h.cols, 3);
  EXPECT_EQ(cyc.entry(1).h(2), 0.0);
  EXPECT_EQ(cyc.entry(1).kind, -1);
  DM row(1, 2);
  row(1) = 1.0;
  row(2) = -1.0;
  cyc.add_hi_mi(row, 2.5, 4);
  EXPECT_EQ(cyc.entry(1).h(1), -1.0);
  EXPECT_EQ(cyc.entry(1).h(2), -1.0);
  EXPECT_EQ(cyc.entry(1).h(3), -1.0);
  EXPECT_EQ(cyc.entry(1).c, 2.5);
  EXPECT_EQ(cyc.entry(1).kind, 4);
  cyc.add_hi_mi(DM(), 0.0, 0);  // a clock edge
  EXPECT_EQ(cyc.entry(1).h(1), 0.0);
  EXPECT_EQ(cyc.entry(1).kind, 0);
  // A new entry starts with a cleared row, whatever came before.
  cyc.add_hi_mi(row, 2.5, 4);
  cyc.add_transition(tv0, 1.0, col({0}), col({1, 2, 3}), col({1}), &rec, 1);
  EXPECT_EQ(cyc.entry(2).h(1), 0.0);
  EXPECT_EQ(cyc.entry(2).c, 0.0);
  EXPECT_EQ(cyc.entry(2).kind, -1);
  EXPECT_EQ(cyc.entry(1).h(1), -1.0);
}

TEST(Cycle, ConvergedIsRelativeToLatestState) {
  CYCLE cyc(col({1}));
  cyc.add_transition(tv0, 0.0, col({1}), col({1.0, 2.0}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 1.0, col({0}), col({1.5, 2.5}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 2.0, col({1}), col({1.0 + 5e-7, 2.0}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.converged(1e-6), 1);
  EXPECT_EQ(cyc.converged(1e-7), 0);
  EXPECT_EQ(cyc.close_enough(0.01), 1);
}

TEST(Cycle, TinyAnchorValueMeasuredAgainstTheCycleSwing) {
  CYCLE cyc(col({1}));
  cyc.add_transition(tv0, 0.0, col({1}), col({1e-12}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 1.0, col({0}), col({100.0}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 2.0, col({1}), col({1e-12 + 5e-14}), col({1}), nullptr, 1);
  // 5e-14 against 1e-9 * 100: 5e-7 (against 1e-12 alone it would be 0.05).
  EXPECT_EQ(cyc.converged(1e-6), 1);
  EXPECT_EQ(cyc.converged(1e-7), 0);
}

TEST(Cycle, NoteStateWidensTheSwing) {
  CYCLE cyc(col({1}));
  cyc.add_transition(tv0, 0.0, col({1}), col({1e-12}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 1.0, col({0}), col({1e-12}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 2.0, col({1}), col({1e-12 + 5e-14}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.converged(1e-6), 0);
  cyc.note_state(col({-100.0}));
  EXPECT_EQ(cyc.converged(1e-6), 1);
}

TEST(Cycle, ConvergedMeasuresFromWhereTheCycleBegan) {
  // The start entry is overwritten 0.3 s later by a transition that keeps the setting;
  // the cycle ends where it began (x = 1, 2), so it is converged, though the state at 0.3 s
  // (1.5, 2.5) differs by a third.
  CYCLE cyc(col({1}));
  cyc.add_transition(tv0, 0.0, col({1}), col({1.0, 2.0}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 0.3, col({1}), col({1.5, 2.5}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.entry(1).x(1), 1.5);   // the store keeps the later state
  cyc.add_transition(tv0, 1.0, col({0}), col({3.0, 3.0}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 2.0, col({1}), col({1.0, 2.0 + 1e-6}), col({1}), nullptr, 1);
  ASSERT_EQ(cyc.cycle_found(), 1);
  EXPECT_EQ(cyc.converged(1e-6), 1);   // 1e-6 / (2 + 1e-6)
  EXPECT_EQ(cyc.converged(4e-7), 0);
  EXPECT_EQ(cyc.close_enough(0.01), 1);
}

TEST(Cycle, TheSwingCountsFromWhereTheCycleBegan) {
  // The state swings to 100 early in the cycle; a later transition that keeps the start
  // setting must not forget that swing.
  CYCLE cyc(col({1}));
  cyc.add_transition(tv0, 0.0, col({1}), col({1e-12}), col({1}), nullptr, 1);
  cyc.note_state(col({100.0}));
  cyc.add_transition(tv0, 0.5, col({1}), col({1e-12}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 1.0, col({0}), col({1e-12}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 2.0, col({1}), col({1e-12 + 5e-14}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.converged(1e-6), 1);   // 5e-14 against 1e-9 * 100
  // A new cycle starts its own swing.
  cyc.count = 0;
  cyc.add_transition(tv0, 2.0, col({1}), col({1e-12}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 3.0, col({0}), col({1e-12}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 4.0, col({1}), col({1e-12 + 5e-14}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.converged(1e-6), 0);
}
