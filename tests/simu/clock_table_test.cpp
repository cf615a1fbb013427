// Clock edges: flags, step cutting, coincidence within 1e-10, advancing, diff/restore.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "simu/clock_table.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"

TEST(ClockTable, BuildsFromClockRowsOnly) {
  // delay, period, kind, target: kinds 0 and 1 are clocks, 2 is an event.
  DM tmd = rows_of(3, 4, {1e-6, 1e-5, 1, 1,  //
                          0.0, 1e5, 2, 1,    //
                          3e-6, 1e-5, 0, 2});
  clock_table clk(tmd);
  ASSERT_EQ(clk.m, 2);
  EXPECT_EQ(clk.table(3, 1), 1e-6);
  EXPECT_EQ(clk.table(4, 1), 1e-5);
  EXPECT_EQ(clk.table(5, 1), 1e-6);
  EXPECT_EQ(clk.table(5, 2), 3e-6);
  EXPECT_EQ(clk.earliest, -1.0);
  EXPECT_EQ(clk.due_count, 0);
}

TEST(ClockTable, EdgeInsideStepCutsIt) {
  clock_table clk(rows_of(1, 4, {2.5e-6, 1e-5, 1, 1}));
  double dt = 1e-6;
  DM due = clk.next_edge(0.0, dt);
  EXPECT_EQ(due(1), 0.0);
  EXPECT_EQ(dt, 1e-6);
  dt = 1e-6;
  due = clk.next_edge(2e-6, dt);
  EXPECT_EQ(due(1), 1.0);
  EXPECT_EQ(clk.due_count, 1);
  EXPECT_NEAR(dt, 0.5e-6, 1e-21);
  clk.advance(2.5e-6);
  EXPECT_NEAR(clk.table(5, 1), 12.5e-6, 1e-20);
}

TEST(ClockTable, EdgesWithin1e10CoincideAndLaterOnesWait) {
  DM tmd = rows_of(3, 4, {1e-6, 1e-5, 1, 1,          //
                          1e-6 + 5e-11, 1e-5, 0, 2,  //
                          1e-6 + 3e-10, 1e-5, 1, 3});
  clock_table clk(tmd);
  double dt = 2e-6;
  DM due = clk.next_edge(0.0, dt);
  EXPECT_EQ(dt, 1e-6);
  EXPECT_EQ(due(1), 1.0);
  EXPECT_EQ(due(2), 1.0);
  EXPECT_EQ(due(3), 0.0);  // 3e-10 after the earliest: the next step
  EXPECT_EQ(clk.due_count, 2);
  clk.advance(1e-6);
  EXPECT_NEAR(clk.table(5, 1), 11e-6, 1e-20);
  EXPECT_NEAR(clk.table(5, 2), 11e-6 + 5e-11, 1e-20);
  EXPECT_EQ(clk.table(5, 3), 1e-6 + 3e-10);
  dt = 1e-6;
  due = clk.next_edge(1e-6, dt);
  EXPECT_NEAR(dt, 3e-10, 1e-22);
  EXPECT_EQ(due(3), 1.0);
}

TEST(ClockTable, EdgeAtPresentInstantCutsStepToZero) {
  clock_table clk(rows_of(1, 4, {0.0, 1e-5, 1, 1}));
  double dt = 1e-6;
  DM due = clk.next_edge(0.0, dt);
  EXPECT_EQ(due(1), 1.0);
  EXPECT_EQ(dt, 0.0);
}

TEST(ClockTable, PassedEdgeNotAdvancedIsDueAtOnce) {
  // A step that ended on the edge but did not apply it leaves the edge behind t.
  clock_table clk(rows_of(1, 4, {1e-6, 1e-5, 1, 1}));
  double dt = 1e-6;
  DM due = clk.next_edge(1e-6 + 5e-11, dt);
  EXPECT_EQ(due(1), 1.0);
  EXPECT_EQ(dt, 0.0);
  EXPECT_EQ(clk.table(2, 1), 0.0);
}

TEST(ClockTable, DiffAndRestore) {
  clock_table clk(rows_of(2, 4, {1e-6, 1e-5, 1, 1,  //
                                 4e-6, 1e-5, 0, 1}));
  double dt = 1e-6;
  clk.next_edge(0.0, dt);
  clk.advance(1e-6);  // first clock now at 11e-6, exactly one period away
  DM d;
  clk.diff(d, 1e-6);
  ASSERT_EQ(d.rows, 2);
  ASSERT_EQ(d.cols, 1);
  EXPECT_EQ(d(1), 0.0);
  EXPECT_NEAR(d(2), 3e-6, 1e-20);
  clock_table other(rows_of(2, 4, {7e-6, 1e-5, 1, 1,  //
                                   7e-6, 1e-5, 0, 1}));
  other.restore(d, 0.0);
  EXPECT_EQ(other.table(5, 1), 0.0);
  EXPECT_NEAR(other.table(5, 2), 3e-6, 1e-20);
}

TEST(ClockTable, NoClocks) {
  clock_table clk{DM()};
  EXPECT_EQ(clk.m, 0);
  double dt = 1e-6;
  DM due = clk.next_edge(0.0, dt);
  EXPECT_EQ(due.n, 0u);
  EXPECT_EQ(dt, 1e-6);
}

TEST(ClockTable, NonPositivePeriodIsRefused) {
  EXPECT_EQ(fatal_of([] { clock_table clk(rows_of(1, 4, {0.0, 0.0, 1, 1})); }),
            "Fatal Error : clock_table() - Clock period must be positive\n");
}

TEST(ClockTable, PeriodWithinTheEdgeToleranceIsRefused) {
  // Steps of 1e-50 s would never bring a run to its end.
  EXPECT_EQ(fatal_of([] { clock_table clk(rows_of(1, 4, {0.0, 1e-50, 1, 1})); }),
            "Fatal Error : clock_table() - Clock period must be longer than 1e-10 s\n");
  EXPECT_EQ(fatal_of([] { clock_table clk(rows_of(1, 4, {0.0, 1e-10, 0, 1})); }),
            "Fatal Error : clock_table() - Clock period must be longer than 1e-10 s\n");
  clock_table clk(rows_of(1, 4, {0.0, 2e-10, 1, 1}));
  EXPECT_EQ(clk.table(4, 1), 2e-10);
}
