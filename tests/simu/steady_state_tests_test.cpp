// Relative steady-state tests and the setting comparison of ss_test.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "simu/cycle.h"
#include "simu/sim_params.h"
#include "simu/steady_state_tests.h"
#include "common/dm_builders.h"

namespace {

const DM tv0 = col({0, 0, 0, 0});

}  // namespace

TEST(SteadyStateTests, ZeroReferenceDividesBy1e14) {
  EXPECT_EQ(relative_test(col({1e-21}), col({0.0}), 1e-6), 1);  // e = 1e-7
  EXPECT_EQ(relative_test(col({1e-7}), col({0.0}), 1e-6), 0);
}

TEST(SteadyStateTests, RelativeToLatestState) {
  EXPECT_EQ(relative_test(col({2.0, 1.0}), col({2.0, 1.0 + 1e-6}), 1e-6), 1);
  EXPECT_EQ(relative_test(col({2.0, 1.0}), col({2.0, 1.0 + 1.1e-6}), 1e-6), 0);
  EXPECT_EQ(relative_test(col({-4.0}), col({-4.0 - 8e-6}), 2e-6), 1);
}

TEST(SteadyStateTests, NanFails) {
  EXPECT_EQ(relative_test(col({std::nan("")}), col({1.0}), 1e9), 0);
  EXPECT_EQ(relative_test(col({1.0}), col({std::nan("")}), 1e9), 0);
}

TEST(SteadyStateTests, NoStatesPass) { EXPECT_EQ(relative_test(DM(0, 1), DM(0, 1), 1e-6), 1); }

TEST(SteadyStateTests, SkelboeThreshold) {
  // Below 2e-16 counts as zero for Skelboe's form, not for the ordinary one.
  EXPECT_EQ(relative_test(col({1.5e-16 + 1e-21}), col({1.5e-16}), 1e-6, nullptr, 2e-16), 1);
  EXPECT_EQ(relative_test(col({1.5e-16 + 1e-21}), col({1.5e-16}), 1e-6), 0);
}

TEST(SteadyStateTests, SsTestComparesSettingWithTransposedReference) {
  DM a = col({1, 0});
  DM s = a.transpose();  // the reference as a row
  EXPECT_EQ(ss_test(a, col({1.0}), s, col({1.0}), 1e-6), 1);
  EXPECT_EQ(ss_test(a, col({1.0}), col({1, 0}), col({1.0}), 1e-6), 0);  // not transposed
  EXPECT_EQ(ss_test(col({1, 1}), col({1.0}), s, col({1.0}), 1e-6), 0);  // one switch differs
  EXPECT_EQ(ss_test(a, col({1.0}), s, col({1.1}), 0.01), 0);
  EXPECT_EQ(ss_test(a, col({1.0}), s, col({1.005}), 0.01), 1);
}

TEST(Cycle, TolerancesFromTheCurrentRecord) {
  CYCLE cyc(col({1}));
  cyc.add_transition(tv0, 0.0, col({1}), col({1.0}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 1.0, col({0}), col({1.5}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 2.0, col({1}), col({1.0 + 5e-3}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.close_enough(), 1);  // defaults: 0.01 coarse, 1e-6 fine
  EXPECT_EQ(cyc.converged(), 0);
  sim_params p;
  p.sstol_c = 1e-3;
  p.sstol_f = 1e-2;
  current_params = &p;
  EXPECT_EQ(cyc.close_enough(), 0);
  EXPECT_EQ(cyc.converged(), 1);
  current_params = nullptr;
}

TEST(SteadyStateTests, StateFloorOfOrdinaryStatesIsOneBillionthOfTheirPeak) {
  DM f = state_floor(col({3.0, -1e-12}), col({4.0, 100.0}), {});
  EXPECT_DOUBLE_EQ(f(1), 4e-9);
  EXPECT_DOUBLE_EQ(f(2), 1e-7);
  DM none = state_floor(col({3.0}), DM(0, 1), {0});
  EXPECT_EQ(none(1), 0.0);
}

TEST(SteadyStateTests, SineStateFloorIsAThousandthOfItsAmplitude) {
  // States V_C1, V_Cs1, I_Ls1: the sine pair (0, 100) has amplitude 100 (peak 1 is ignored).
  const std::vector<int> partners = {0, 3, 2};
  DM f = state_floor(col({5.0, 0.0, 100.0}), col({5.0, 1.0, 1.0}), partners);
  EXPECT_DOUBLE_EQ(f(1), 5e-9);
  EXPECT_DOUBLE_EQ(f(2), 0.1);
  EXPECT_DOUBLE_EQ(f(3), 0.1);
  // 3-4-5: amplitude 5 from the pair.
  DM g = state_floor(col({0.0, 3.0, -4.0}), DM(0, 1), partners);
  EXPECT_DOUBLE_EQ(g(2), 5e-3);
  EXPECT_DOUBLE_EQ(g(3), 5e-3);
  // A sine state whose partner is missing takes its peak as the amplitude.
  DM h = state_floor(col({0.0}), col({200.0}), {-1});
  EXPECT_DOUBLE_EQ(h(1), 0.2);
}

TEST(SteadyStateTests, SineStateAtItsZeroCrossingIsMeasuredAgainstItsAmplitude) {
  // A sine of amplitude 100 anchored at its zero crossing, drifting by 2.5e-8 in one cycle:
  // 2.5e-8 / 0.1 = 2.5e-7 passes 1e-6 (against 1e-9 of the swing it would be 0.25).
  const std::vector<int> partners = {2, 1};
  DM r = col({100.0, 1e-9 + 2.5e-8});
  DM floor = state_floor(r, col({100.0, 100.0}), partners);
  EXPECT_EQ(relative_test_floor(col({100.0, 1e-9}), r, 1e-6, floor), 1);
  EXPECT_EQ(relative_test_floor(col({100.0, 1e-9}), r, 1e-7, floor), 0);
  EXPECT_EQ(relative_test(col({100.0, 1e-9}), r, 1e-6, &floor), 0);
  // Away from the crossing the test is the plain relative one: 50 -> 50 + 6e-5 is 1.2e-6
  // of the latest value (against the amplitude it would be 6e-7).
  DM r2 = col({86.6, 50.0 + 6e-5});
  EXPECT_EQ(relative_test_floor(col({86.6, 50.0}), r2, 1e-6, state_floor(r2, DM(0, 1), partners)), 0);
  EXPECT_EQ(relative_test_floor(col({86.6, 50.0}), r2, 1.3e-6, state_floor(r2, DM(0, 1), partners)), 1);
}

TEST(SteadyStateTests, FloorTestKeepsTheZeroReferenceAndNaN) {
  // With no floor it is the plain test: 1e-21 against 1e-14, NaN fails.
  EXPECT_EQ(relative_test_floor(col({1e-21}), col({0.0}), 1e-6, DM(0, 1)), 1);
  EXPECT_EQ(relative_test_floor(col({1e-7}), col({0.0}), 1e-6, col({0.0})), 0);
  EXPECT_EQ(relative_test_floor(col({std::nan("")}), col({1.0}), 1e9, col({0.0})), 0);
  EXPECT_EQ(relative_test_floor(col({1.5e-16 + 1e-21}), col({1.5e-16}), 1e-6, col({0.0}), 2e-16), 1);
}

TEST(Cycle, SineStateAnchoredAtItsZeroCrossingConverges) {
  // States V_C1, V_Cs1, I_Ls1; the cycle starts where I_Ls1 = 100 cos(90 deg) ~ 0.
  CYCLE cyc(col({1}));
  cyc.set_state_names({"V_C1", "V_Cs1", "I_Ls1"});
  cyc.add_transition(tv0, 0.0, col({1}), col({46.0, 100.0, 1e-10}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 1.0, col({0}), col({47.0, -100.0, 0.0}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 2.0, col({1}), col({46.0, 100.0, 1e-10 + 2.5e-8}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.converged(1e-6), 1);   // 2.5e-8 / 0.1
  EXPECT_EQ(cyc.converged(1e-7), 0);
  // Without the names I_Ls1 is an ordinary state: 2.5e-8 against 1e-9 * 100.
  CYCLE plain(col({1}));
  plain.add_transition(tv0, 0.0, col({1}), col({46.0, 100.0, 1e-10}), col({1}), nullptr, 1);
  plain.add_transition(tv0, 1.0, col({0}), col({47.0, -100.0, 0.0}), col({1}), nullptr, 1);
  plain.add_transition(tv0, 2.0, col({1}), col({46.0, 100.0, 1e-10 + 2.5e-8}), col({1}), nullptr, 1);
  EXPECT_EQ(plain.converged(1e-6), 0);
  // An ordinary state still needs its own relative change: V_C1 moved by 1e-4.
  cyc.add_transition(tv0, 3.0, col({0}), col({47.0, -100.0, 0.0}), col({1}), nullptr, 1);
  cyc.count = 0;
  cyc.add_transition(tv0, 4.0, col({1}), col({46.0, 100.0, 0.0}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 5.0, col({0}), col({47.0, -100.0, 0.0}), col({1}), nullptr, 1);
  cyc.add_transition(tv0, 6.0, col({1}), col({46.0 + 4.6e-3, 100.0, 0.0}), col({1}), nullptr, 1);
  EXPECT_EQ(cyc.converged(1e-6), 0);
}
