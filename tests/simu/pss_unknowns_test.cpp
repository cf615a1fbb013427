#include "simu/pss_unknowns.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(PssUnknowns, SineGeneratorStatesAreLeftOut) {
  EXPECT_EQ(is_sine_state("V_Cs3"), 1);
  EXPECT_EQ(is_sine_state("I_Ls3"), 1);
  EXPECT_EQ(is_sine_state("V_C1"), 0);
  EXPECT_EQ(is_sine_state("I_L1"), 0);
  EXPECT_EQ(is_sine_state("I_Cs3"), 0);   // a capacitor's state is its voltage
  EXPECT_EQ(is_sine_state("V_Ls3"), 0);
  EXPECT_EQ(pss_unknowns({"V_C1", "V_Cs2", "I_L1", "I_Ls2", "I_L3"}), (std::vector<int>{1, 3, 5}));
  EXPECT_TRUE(pss_unknowns({"V_Cs1", "I_Ls1"}).empty());
  EXPECT_EQ(all_states(3), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(all_states(0).empty());
}

TEST(PssUnknowns, GatherAndScatterFollowTheList) {
  DM x(4, 1);
  for (int k = 1; k <= 4; ++k) x(k) = 10.0 * k;
  DM v = gather_states(x, {2, 4});
  ASSERT_EQ(v.rows, 2);
  ASSERT_EQ(v.cols, 1);
  EXPECT_EQ(v(1), 20.0);
  EXPECT_EQ(v(2), 40.0);
  v(1) = -1.0;
  v(2) = -2.0;
  scatter_states(x, v, {2, 4});
  EXPECT_EQ(x(1), 10.0);
  EXPECT_EQ(x(2), -1.0);
  EXPECT_EQ(x(3), 30.0);
  EXPECT_EQ(x(4), -2.0);
  EXPECT_EQ(gather_states(x, {}).n, 0u);
}

TEST(PssUnknowns, AllFinite) {
  DM a(2, 2, 1.0);
  EXPECT_EQ(all_finite(a), 1);
  EXPECT_EQ(all_finite(DM()), 1);
  a(2, 1) = std::nan("");
  EXPECT_EQ(all_finite(a), 0);
  a(2, 1) = INFINITY;
  EXPECT_EQ(all_finite(a), 0);
}

TEST(PssSolve, SolvesRegularSystemsOnly) {
  DM A(2, 2, 0.0);
  A(1, 1) = 2.0;
  A(1, 2) = 1.0;
  A(2, 2) = 4.0;
  DM b(2, 1);
  b(1) = 3.0;
  b(2) = 8.0;
  DM x;
  ASSERT_EQ(pss_solve(A, b, x), 1);
  EXPECT_EQ(x(1), 0.5);
  EXPECT_EQ(x(2), 2.0);
  // Singular, and a 1 x 1 of rounding noise (perfectly conditioned, yet no system).
  DM kept(1, 1, 42.0);
  DM S(2, 2, 1.0);
  EXPECT_EQ(pss_solve(S, b, kept), 0);
  EXPECT_EQ(pss_solve(DM(1, 1, 2e-12), DM(1, 1, 1.0), kept), 0);
  EXPECT_EQ(pss_solve(DM(1, 1, 1e-9), DM(1, 1, 1.0), kept), 1);
  EXPECT_DOUBLE_EQ(kept(1), 1e9);
  // Ill-conditioned: rcond far below 1e-12.
  DM I(2, 2, 0.0);
  I(1, 1) = 1.0;
  I(2, 2) = 1e-14;
  EXPECT_EQ(pss_solve(I, b, kept), 0);
  A(2, 1) = std::nan("");
  EXPECT_EQ(pss_solve(A, b, kept), 0);
  EXPECT_EQ(kept.n, 1u);
  EXPECT_EQ(pss_solve(DM(), DM(0, 1), x), 1);
  EXPECT_EQ(x.n, 0u);
}

TEST(PssUnknowns, SinePartnersPairEachGeneratorsTwoStates) {
  EXPECT_EQ(sine_partners({"V_C1", "V_Cs2", "I_L1", "I_Ls2", "V_Cs10", "I_Ls10"}),
            (std::vector<int>{0, 4, 0, 2, 6, 5}));
  // A generator's state without its other state, and names that only look alike.
  EXPECT_EQ(sine_partners({"V_Cs1", "I_Ls12", "I_Cs1"}), (std::vector<int>{-1, -1, 0}));
  EXPECT_TRUE(sine_partners({}).empty());
}
