// Switch table: build, forced states from clocks, fired conditions, candidates.
#include <gtest/gtest.h>

#include <initializer_list>

#include "simu/switch_table.h"
#include "common/dm_builders.h"

TEST(SwitchTable, BuildFromRowSetting) {
  DM tmd = rows_of(3, 4, {0.0, 1e-5, 1, 3,    // clock 1 turns switch 3 on
                          0.0, 1e5, 2, 1,     // an event: not a clock
                          5e-6, 1e-5, 0, 3}); // clock 2 turns switch 3 off
  DM thon = rows_of(1, 2, {2, 1});
  DM thoff = rows_of(2, 2, {3, 2,  //
                            2, 1});
  sw_table swt(rows_of(1, 3, {1, 0, 1}), tmd, thon, thoff, 2.0);
  ASSERT_EQ(swt.n, 3);
  EXPECT_EQ(swt.state.rows, 3);
  EXPECT_EQ(swt.state.cols, 1);
  EXPECT_EQ(swt.state(1), 1.0);
  EXPECT_EQ(swt.state(2), 0.0);
  EXPECT_EQ(swt.previous(3), 1.0);
  EXPECT_EQ(swt.on_time(2), 0.0);
  EXPECT_EQ(swt.m, 2);
  ASSERT_EQ(swt.forced.rows, 1);
  EXPECT_EQ(swt.forced(1), 3.0);
  EXPECT_EQ(swt.forced_table(1, 1), 1.0);
  EXPECT_EQ(swt.forced_table(1, 2), 0.0);
  // (2,1) is listed in both thon and thoff: thoff wins.
  EXPECT_EQ(swt.cond_table(2, 1), 0.0);
  EXPECT_EQ(swt.cond_table(3, 2), 0.0);
  EXPECT_EQ(swt.cond_table(1, 1), -1.0);
}

TEST(SwitchTable, ColumnSettingAndNoSwitches) {
  sw_table col(rows_of(2, 1, {0, 1}), DM(), DM(), DM(), 0.0);
  EXPECT_EQ(col.n, 2);
  EXPECT_EQ(col.state(2), 1.0);
  sw_table none(DM(), DM(), DM(), DM(), 0.0);
  EXPECT_EQ(none.n, 0);
}

TEST(SwitchTable, ApplyForcedOnlyForFlaggedRows) {
  DM tmd = rows_of(3, 4, {0.0, 1e-5, 1, 1,  //
                          0.0, 1e-5, 0, 2,  //
                          0.0, 1e-5, 0, 1});
  sw_table swt(rows_of(1, 2, {0, 1}), tmd, DM(), DM(), 0.0);
  swt.apply_forced(rows_of(1, 3, {1, 0, 0}));
  EXPECT_EQ(swt.state(1), 1.0);
  EXPECT_EQ(swt.state(2), 1.0);
  swt.apply_forced(rows_of(1, 3, {1, 1, 1}));  // later rows win
  EXPECT_EQ(swt.state(1), 0.0);
  EXPECT_EQ(swt.state(2), 0.0);
}

TEST(SwitchTable, ApplyStatesLaterConditionsWin) {
  DM thon = rows_of(1, 2, {1, 1});
  DM thoff = rows_of(1, 2, {1, 2});
  sw_table swt(rows_of(1, 1, {0}), DM(), thon, thoff, 2.0);
  DM list = rows_of(2, 1, {1, 2});
  swt.apply_states(list);
  EXPECT_EQ(swt.state(1), 0.0);
  swt.apply_states(rows_of(1, 1, {1}));
  EXPECT_EQ(swt.state(1), 1.0);
}

TEST(SwitchTable, ChangedListNamesConditionsThatWouldChangeASwitch) {
  // A diode: condition 1 turns it off, condition 2 turns it on.
  DM thoff = rows_of(1, 2, {1, 1});
  DM thon = rows_of(1, 2, {1, 2});
  sw_table swt(rows_of(1, 1, {1}), DM(), thon, thoff, 2.0);
  DM list = swt.changed_list();
  ASSERT_EQ(list.rows, 1);
  ASSERT_EQ(list.cols, 1);
  EXPECT_EQ(list(1), 1.0);
  swt.state(1) = 0.0;
  list = swt.changed_list();
  ASSERT_EQ(list.rows, 1);
  EXPECT_EQ(list(1), 2.0);
}

TEST(SwitchTable, ChangedListEmptyWithoutConditions) {
  sw_table swt(rows_of(1, 2, {1, 0}), DM(), DM(), DM(), 0.0);
  DM list = swt.changed_list();
  EXPECT_EQ(list.rows, 0);
  EXPECT_EQ(list.cols, 1);
}

TEST(SwitchTable, AddOnTimeToEverySwitch) {
  sw_table swt(rows_of(1, 2, {1, 0}), DM(), DM(), DM(), 0.0);
  swt.add_on_time(1e-6);
  swt.add_on_time(2e-6);
  EXPECT_EQ(swt.on_time(1), 1e-6 + 2e-6);
  EXPECT_EQ(swt.on_time(2), 1e-6 + 2e-6);
}
