// A switching condition's row and time rate, which the cycle store keeps for Newton's
// jump factor, against the slopes of the condition's own values
// g_i = Cc(i) + Cy(i,:) y + Ct(i,1:3) (tv + tau) + Ct(i,4) (on time + tau).
#include <gtest/gtest.h>

#include "common/dm_builders.h"
#include "simu/switching/switch_cond.h"

namespace {

TEST(SwitchCondition, RowAndRateAreTheSlopesOfItsValues) {
  sw_condition sc(rows_of(2, 3, {1, -2, 0.5, 0, 3, -1}), rows_of(2, 4, {2, 0, -1, 0.5, 0, 1, 0, -3}),
                  col({0.25, -4}), col({1, 1}));
  const DM tv = col({1e-3, 2e-3, 3e-3, 0}), on = col({2e-3});
  auto g = [&](const DM& y, double tau, int i) {
    DM out;
    sc.evaluate(col({1, 2}), out, on, y, tv, tau, '0');
    return sc.present(i);
  };
  const DM y = col({0.1, 0.2, 0.3});
  for (int i = 1; i <= 2; ++i) {
    SCOPED_TRACE(i);
    double rate = -1, rate2 = -1;
    DM row;
    sc.value_into(i, row, rate);
    const DM row2 = sc.value(i, rate2);
    EXPECT_NEAR(rate, (g(y, 0.5, i) - g(y, 0.0, i)) / 0.5, 1e-12);
    EXPECT_EQ(rate2, rate);
    ASSERT_EQ(row.cols, 3);
    for (int k = 1; k <= 3; ++k) {
      const DM yk = col({0.1 + (k == 1), 0.2 + (k == 2), 0.3 + (k == 3)});
      EXPECT_NEAR(row(1, k), g(yk, 0.0, i) - g(y, 0.0, i), 1e-12) << k;
      EXPECT_EQ(row2(1, k), row(1, k));
    }
  }
  DM out;  // a row lists the same conditions as a column
  sc.evaluate(col({1, 2}), out, on, y, tv, 0.0, '0');
  const std::pair<double, double> g12 = {sc.present(1), sc.present(2)};
  sc.evaluate(col({1, 2}), out, on, col({9, 9, 9}), tv, 0.0, '0');
  sc.evaluate(row({2, 1}), out, on, y, tv, 0.0, '0');
  EXPECT_EQ(std::make_pair(sc.present(1), sc.present(2)), g12);
}

}  // namespace
