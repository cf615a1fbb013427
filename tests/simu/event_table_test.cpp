// Timed source events: first occurrence, due column, two events in one step.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "simu/event_table.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"

TEST(EventTable, BuildMapsEachEventToItsValueColumn) {
  DM tmd = rows_of(3, 4, {1e-6, 1e-5, 1, 1,      // a clock: not an event
                          2e-3, 1e5, 2, 2,       // event 1 takes vgs column 2
                          1e-3, 1e5, 2, 1});     // event 2 takes vgs column 1
  DM vgs = rows_of(2, 2, {5, 7,  //
                          6, 8});
  event_table evt(tmd, vgs);
  ASSERT_EQ(evt.k, 2);
  EXPECT_EQ(evt.values(1, 1), 7.0);
  EXPECT_EQ(evt.values(2, 1), 8.0);
  EXPECT_EQ(evt.values(1, 2), 5.0);
  EXPECT_EQ(evt.table(5, 1), 2e-3);
  EXPECT_EQ(evt.table(5, 2), 1e-3);

  double dt = 1e-3;
  ASSERT_TRUE(evt.next_event(0.5e-3, dt));
  EXPECT_NEAR(dt, 0.5e-3, 1e-19);
  EXPECT_EQ(evt.due_values(1), 5.0);  // the event at 1 ms, from vgs column 1
  EXPECT_EQ(evt.due_values(2), 6.0);
  evt.advance(1e-3);
  EXPECT_EQ(evt.table(5, 2), 1e-3 + 1e5);
  EXPECT_EQ(evt.table(5, 1), 2e-3);
}

TEST(EventTable, FirstTimeZeroOccursAfterAPeriodAndHoldsFromTheStart) {
  DM tmd = rows_of(1, 4, {0.0, 1e-3, 2, 1});
  DM vgs = rows_of(1, 1, {4.0});
  event_table evt(tmd, vgs);
  EXPECT_EQ(evt.table(5, 1), 1e-3);
  double dt = 1e-4;
  EXPECT_FALSE(evt.next_event(0.0, dt));
  EXPECT_EQ(dt, 1e-4);
  DM col;
  ASSERT_TRUE(evt.initial_values(col));
  EXPECT_EQ(col(1), 4.0);
}

TEST(EventTable, NoInitialValuesWithoutATimeZeroEvent) {
  event_table evt(rows_of(1, 4, {1e-3, 1e5, 2, 1}), rows_of(1, 1, {4.0}));
  DM col;
  EXPECT_FALSE(evt.initial_values(col));
}

TEST(EventTable, TwoEventsInOneStepApplyTheEarliest) {
  // Event 1 is later than event 2 by 5e-7: only event 2 is due, and its values apply.
  DM tmd = rows_of(2, 4, {1.5e-6, 1e5, 2, 1,  //
                          1.0e-6, 1e5, 2, 2});
  DM vgs = rows_of(1, 2, {10, 20});
  event_table evt(tmd, vgs);
  double dt = 1e-5;
  ASSERT_TRUE(evt.next_event(0.0, dt));
  EXPECT_EQ(dt, 1e-6);
  EXPECT_EQ(evt.table(1, 1), 0.0);
  EXPECT_EQ(evt.table(1, 2), 1.0);
  EXPECT_EQ(evt.due_count, 1);
  EXPECT_EQ(evt.due_values(1), 20.0);
}

TEST(EventTable, SimultaneousEventsGiveTheLowestNumbered) {
  DM tmd = rows_of(2, 4, {1e-6 + 5e-11, 1e5, 2, 1,  //
                          1e-6, 1e5, 2, 2});
  event_table evt(tmd, rows_of(1, 2, {10, 20}));
  double dt = 1e-5;
  ASSERT_TRUE(evt.next_event(0.0, dt));
  EXPECT_EQ(dt, 1e-6);
  EXPECT_EQ(evt.due_count, 2);
  EXPECT_EQ(evt.due_values(1), 10.0);
}

TEST(EventTable, NoValueColumnsMeansNoEvents) {
  event_table evt(rows_of(1, 4, {1e-3, 1e5, 2, 1}), DM());
  EXPECT_EQ(evt.k, 0);
  double dt = 1.0;
  EXPECT_FALSE(evt.next_event(0.0, dt));
}

TEST(EventTable, NonPositivePeriodIsRefused) {
  EXPECT_EQ(fatal_of([] { event_table evt(rows_of(1, 4, {1e-3, -1.0, 2, 1}), DM(1.0)); }),
            "Fatal Error : event_table() - Event period must be positive\n");
}

TEST(EventTable, PeriodWithinTheEdgeToleranceIsRefused) {
  EXPECT_EQ(fatal_of([] { event_table evt(rows_of(1, 4, {1e-3, 1e-12, 2, 1}), DM(1.0)); }),
            "Fatal Error : event_table() - Event period must be longer than 1e-10 s\n");
}
