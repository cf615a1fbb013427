// Named state bounds and the clamp.
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "simu/console.h"
#include "simu/model_expect.h"
#include "simu/topology.h"

namespace {

const std::vector<std::string> states{"V_C1", "V_C2", "I_L1"};

TEST(TopologyBounds, DefaultsAndNamedEntries) {
  DM b = state_bounds(states, {{"V_C2", -5.0}}, {{"I_L1", 3.0}, {"V_C2", 7.0}}, -1e30, 1e30);
  expect_matrix(b, {{-1e30, 1e30}, {-5.0, 7.0}, {-1e30, 3.0}}, 0.0, 0.0);
}

TEST(TopologyBounds, FirstMatchingEntryOfAListWins) {
  DM b = state_bounds(states, {}, {{"V_C1", 1.0}, {"V_C1", 2.0}}, -1.0, 9.0);
  expect_matrix(b, {{-1.0, 2.0}, {-1.0, 9.0}, {-1.0, 9.0}}, 0.0, 0.0);
}

TEST(TopologyBounds, EveryUnmatchedNameIsReported) {
  TempDir dir;
  redirect_stdio();
  DM b = state_bounds(states, {{"V_C9", 0.0}, {"V_C1", 0.5}}, {{"I_L4", 1.0}}, -1e30, 1e30);
  close_stdio_redirection();
  EXPECT_EQ(slurp("stdout.out"),
            "ERROR: state does not exist: V_C9\nERROR: state does not exist: I_L4\n");
  EXPECT_EQ(b(1, 1), 0.5);
}

TEST(TopologyBounds, ClampUpperThenLower) {
  DM b = state_bounds(states, {{"V_C1", 0.0}, {"I_L1", 5.0}}, {{"V_C1", 10.0}, {"I_L1", 2.0}},
                      -1e30, 1e30);
  DM x(3, 1);
  x(1) = 12.0;
  x(2) = -3e31;
  x(3) = 3.0;
  clamp_states(x, b);
  EXPECT_EQ(x(1), 10.0);
  EXPECT_EQ(x(2), -1e30);
  EXPECT_EQ(x(3), 5.0);   // lower above upper: the lower wins
  x(2) = 4.0;
  clamp_states(x, state_bounds(states, {}, {}, -1e30, 1e30));
  EXPECT_EQ(x(2), 4.0);
}

}  // namespace
