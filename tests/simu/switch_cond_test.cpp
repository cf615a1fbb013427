// Evaluation of the switch conditions: crossings, the marginal band, the at-zero flag.
#include <gtest/gtest.h>

#include "simu/model_expect.h"
#include "simu/switch_cond.h"
#include "common/dm_builders.h"

namespace {

// Three conditions on outputs y1, y2 with g_i = -y_i + Cc(i) and one on time alone.
struct conditions {
  DM Cy = zeros(4, 2), Ct = zeros(4, 4), Cc = col({0.0, 0.0, 0.0, 0.0}), Csw = col({1, 1, 1, 2});
  conditions() {
    Cy(1, 1) = -1.0;
    Cy(2, 2) = -1.0;
    Cy(3, 1) = -2.0;
    Ct(4, 1) = -1.0;   // g4 = Cc(4) - t - tau
    Ct(4, 4) = 0.5;    // + 0.5 (on-time of switch 2 + tau)
  }
};

TEST(SwitchCondition, ValueIsTheOutputRowAndTheTimeRate) {
  conditions c;
  sw_condition sc(c.Cy, c.Ct, c.Cc, c.Csw);
  double rate = 0.0;
  DM row = sc.value(4, rate);
  expect_matrix(row, {{0.0, 0.0}}, 0.0, 0.0);
  EXPECT_EQ(rate, -0.5);
  row = sc.value(3, rate);
  expect_matrix(row, {{-2.0, 0.0}}, 0.0, 0.0);
  EXPECT_EQ(rate, 0.0);
}

TEST(SwitchCondition, EvaluatesTimeTermsWithTheOffset) {
  conditions c;
  c.Cc(4) = 10.0;
  sw_condition sc(c.Cy, c.Ct, c.Cc, c.Csw);
  DM list = col({4}), on = col({7.0, 2.0}), y = col({0.0, 0.0}), tv = col({3.0, 100.0, 100.0, 100.0});
  sc.evaluate(list, on, y, tv, 1.0, '0');
  // 10 - (3 + 1) + 0.5 (2 + 1)
  EXPECT_EQ(sc.present(4), 7.5);
  EXPECT_EQ(sc.crossed, 0);
  EXPECT_EQ(list.rows, 0);
}

TEST(SwitchCondition, CrossingsInListOrderAndTheAtZeroFlag) {
  conditions c;
  sw_condition sc(c.Cy, c.Ct, c.Cc, c.Csw);
  DM on = col({0.0, 0.0}), tv = zeros(4, 1);
  DM list = col({3, 1, 2});
  sc.evaluate(list, on, col({1.0, -1.0}), tv, 0.0, '0');
  // g3 = -2, g1 = -1, g2 = +1
  expect_matrix(list, {{3.0}, {1.0}}, 0.0, 0.0);
  EXPECT_EQ(sc.crossed, 1);
  EXPECT_EQ(sc.at_zero, 0);

  list = col({1, 2});
  sc.evaluate(list, on, col({5e-11, 0.0}), tv, 0.0, '0');
  // Both within 1e-10 below or at zero: crossed, but the step already ends there.
  expect_matrix(list, {{1.0}, {2.0}}, 0.0, 0.0);
  EXPECT_EQ(sc.crossed, 1);
  EXPECT_EQ(sc.at_zero, 1);
}

TEST(SwitchCondition, AdjustmentSkipsOnlyTheMarginalCrossing) {
  conditions c;
  sw_condition sc(c.Cy, c.Ct, c.Cc, c.Csw);
  DM on = col({0.0, 0.0}), tv = zeros(4, 1);
  // g1 = -1 (firm), g2 = -1.5e-10 + 1e-10 bias = -0.5e-10 (marginal), g3 = -2 (firm).
  DM list = col({1, 2, 3});
  sc.evaluate(list, on, col({1.0, 1.5e-10}), tv, 0.0, 'A');
  expect_matrix(list, {{1.0}, {3.0}}, 0.0, 0.0);
  EXPECT_EQ(sc.crossed, 1);
  EXPECT_EQ(sc.at_zero, 0);
  EXPECT_NEAR(sc.present(2), -0.5e-10, 1e-25);

  list = col({2});
  sc.evaluate(list, on, col({1.0, 1.5e-10}), tv, 0.0, 'A');
  EXPECT_EQ(list.rows, 0);
  EXPECT_EQ(sc.crossed, 0);
  EXPECT_EQ(sc.at_zero, 1);

  // Without the adjustment's bias the same value is a crossing.
  list = col({2});
  sc.evaluate(list, on, col({1.0, 1.5e-10}), tv, 0.0, 'U');
  expect_matrix(list, {{2.0}}, 0.0, 0.0);
  EXPECT_EQ(sc.at_zero, 0);
}

TEST(SwitchCondition, PresentValuesBecomePrevious) {
  conditions c;
  sw_condition sc(c.Cy, c.Ct, c.Cc, c.Csw);
  DM list = col({1, 2, 3, 4}), on = col({0.0, 0.0}), tv = zeros(4, 1);
  sc.evaluate(list, on, col({-1.0, -2.0}), tv, 0.0, '0');
  EXPECT_EQ(sc.previous(1), 0.0);
  sc.take_present();
  expect_matrix(sc.previous, {{1.0}, {2.0}, {2.0}, {0.0}}, 0.0, 0.0);
}

TEST(SwitchCondition, NoConditions) {
  sw_condition sc(DM(0, 2), DM(0, 4), DM(0, 1), DM(0, 1));
  EXPECT_EQ(sc.n, 0);
}

}  // namespace
