// Relative steady-state tests and the setting comparison of ss_test.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "simu/cycle.h"
#include "simu/sim_params.h"
#include "simu/steady_state_tests.h"

namespace {

DM col(std::initializer_list<double> v) {
  DM m(static_cast<int>(v.size()), 1);
  int i = 1;
  for (double x : v) m(i++) = x;
  return m;
}

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
