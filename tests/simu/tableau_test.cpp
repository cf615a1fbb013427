// Row reduction with per-column tolerance, pivot columns, and the tableau reduction.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simu/model_expect.h"
#include "simu/tableau.h"
#include "common/dm_builders.h"

namespace {

TEST(Tableau, RrefKeepsSmallColumnsBesideLargeOnes) {
  // A tolerance from the whole matrix (2 x 2.22e-16 x 1e6) would wipe out 1e-12.
  DM R = rref_cols(mat({{1e6, 0.0}, {0.0, 1e-12}}));
  expect_matrix(R, {{1.0, 0.0}, {0.0, 1.0}}, 0.0, 0.0);
}

TEST(Tableau, RrefDropsRoundingNoiseOfAColumn) {
  // Column 2 is three times column 1, which the decimal fractions miss by rounding.
  DM R = rref_cols(mat({{0.1, 0.3}, {0.7, 2.1}}));
  expect_matrix(R, {{1.0, 3.0}, {0.0, 0.0}}, 1e-15, 1.0);
  EXPECT_EQ(R(2, 2), 0.0);
}

TEST(Tableau, RrefPivotsOnTheLargestThenTheUpperRow) {
  expect_matrix(rref_cols(mat({{1.0, 2.0}, {2.0, 4.0}})), {{1.0, 2.0}, {0.0, 0.0}}, 0.0, 0.0);
  expect_matrix(rref_cols(mat({{3.0, 1.0}, {-3.0, 2.0}})), {{1.0, 0.0}, {0.0, 1.0}}, 1e-15, 1.0);
}

TEST(Tableau, RpacListsPivotsThenTheRest) {
  DM p = rpac(mat({{0.0, 1.0, 0.0, 2.0}, {0.0, 0.0, 1.0, 5.0}}), 2, 4);
  expect_matrix(p, {{2.0}, {3.0}, {1.0}, {4.0}}, 0.0, 0.0);
}

TEST(Tableau, RpacRefusesAZeroRow) {
  try {
    rpac(mat({{1.0, 0.0}, {0.0, 0.0}}), 2, 2);
    FAIL() << "no throw";
  } catch (const char* text) {
    EXPECT_STREQ(text, "rpac - Check your circuit");
  }
}

TEST(Tableau, ReducesAnRcTableauToItsStateEquation) {
  // V1 (1-0) = u, R1 (1-2), C1 (2-0); z = [v_V1, i_R1, v_C1] (the capacitor last), y = v_C1.
  // Rows: y - v_C1 = 0; v_V1 = u; -C dv_C1/dt + i_R1 = 0; v_V1 - v_C1 - R i_R1 = 0.
  const double R = 1e3, C = 1e-6;
  DM T = mat({{1, 0, 0, 0, 0, 0, -1, 0},
              {0, 0, 0, 0, 1, 0, 0, -1},
              {0, 0, 0, -C, 0, 1, 0, 0},
              {0, 0, 0, 0, 1, -R, -1, 0}});
  std::vector<std::string> names{"V_V1", "I_R1", "V_C1"};
  DM A, B, Cm, D;
  tableau_reduce(T, 1, 1, names, A, B, Cm, D);
  EXPECT_EQ(names, std::vector<std::string>{"V_C1"});
  expect_matrix(A, {{-1.0 / (R * C)}});
  expect_matrix(B, {{1.0 / (R * C)}});
  expect_matrix(Cm, {{1.0}});
  expect_matrix(D, {{0.0}}, 0.0, 1.0);
}

TEST(Tableau, ResistorCurrentFirstWouldBeKeptInsteadOfTheCapacitor) {
  // The same network with the capacitor voltage left of the resistor current: the
  // elimination keeps the unknown standing last, so the order decides the state.
  const double R = 1e3, C = 1e-6;
  DM T = mat({{1, 0, 0, 0, 0, -1, 0, 0},
              {0, 0, 0, 0, 1, 0, 0, -1},
              {0, 0, -C, 0, 0, 0, 1, 0},
              {0, 0, 0, 0, 1, -1, -R, 0}});
  std::vector<std::string> names{"V_V1", "V_C1", "I_R1"};
  DM A, B, Cm, D;
  tableau_reduce(T, 1, 1, names, A, B, Cm, D);
  EXPECT_EQ(names, std::vector<std::string>{"I_R1"});
  expect_matrix(A, {{-1.0 / (R * C)}});
}

}  // namespace
