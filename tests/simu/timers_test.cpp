#include "simu/timers.h"

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "simu/console.h"

namespace {

std::uint64_t fake_now = 0;
std::uint64_t fake_clock() { return fake_now; }

struct TimersTest : ::testing::Test {
  void SetUp() override {
    fake_now = 1000;
    set_ms_clock(fake_clock);
  }
  void TearDown() override {
    set_ms_clock(nullptr);
    close_stdio_redirection();
  }
};

}  // namespace

TEST(MsToText, ThreeDigitsOfMilliseconds) {
  EXPECT_STREQ(ms_to_text(1005).c_str(), "1.005");
  EXPECT_STREQ(ms_to_text(50).c_str(), "0.050");
  EXPECT_STREQ(ms_to_text(0).c_str(), "0.000");
  EXPECT_STREQ(ms_to_text(123456).c_str(), "123.456");
  EXPECT_STREQ(ms_to_text(7000).c_str(), "7.000");
}

TEST(NowMs, MonotonicClockNeverGoesBack) {
  std::uint64_t a = now_ms();
  std::uint64_t b = now_ms();
  EXPECT_LE(a, b);
}

TEST(TimerLabels, PaddedTo21Characters) {
  for (int k = 0; k < 10; ++k) EXPECT_EQ(std::string(timer_labels[k]).size(), 21u) << k;
  EXPECT_STREQ(timer_labels[1], "Reading data file    ");
  EXPECT_STREQ(timer_labels[9], "C2dd time            ");
  for (int k = 10; k < timer_count; ++k) EXPECT_EQ(timer_labels[k], nullptr);
}

TEST_F(TimersTest, SwitchChargesTheNamedCategory) {
  timer_init(timer_labels);
  fake_now += 30;
  timer_switch(1);          // the 30 ms just ended were reading
  fake_now += 5;
  timer_switch(6);
  fake_now += 12;
  timer_switch(7);
  EXPECT_EQ(timer_total(1), 30u);
  EXPECT_EQ(timer_total(6), 5u);
  EXPECT_EQ(timer_total(7), 12u);
  EXPECT_EQ(timer_total(0), 0u);
}

TEST_F(TimersTest, MarkChargesTheCurrentCategory) {
  timer_init(timer_labels);
  timer_switch(3);
  fake_now += 8;
  EXPECT_EQ(timer_mark(), 3);
  fake_now += 2;
  timer_switch(9);
  EXPECT_EQ(timer_total(3), 8u);
  EXPECT_EQ(timer_total(9), 2u);
}

TEST_F(TimersTest, InitZeroesTotalsButKeepsCurrentCategory) {
  timer_init(timer_labels);
  timer_switch(8);
  fake_now += 4;
  timer_mark();
  EXPECT_EQ(timer_total(8), 4u);
  timer_init(timer_labels);
  EXPECT_EQ(timer_total(8), 0u);
  fake_now += 6;
  EXPECT_EQ(timer_mark(), 8);
  EXPECT_EQ(timer_total(8), 6u);
}

TEST_F(TimersTest, OutOfRangeCategoryChargesNothing) {
  timer_init(timer_labels);
  fake_now += 9;
  timer_switch(25);
  timer_switch(-1);
  for (int k = 0; k < timer_count; ++k) EXPECT_EQ(timer_total(k), 0u);
  EXPECT_EQ(timer_total(25), 0u);
}

TEST_F(TimersTest, ReportListsNonZeroCategoriesInOrder) {
  TempDir dir;
  redirect_stdio();
  timer_init(timer_labels);
  fake_now += 1005;
  timer_switch(1);
  fake_now += 0;
  timer_switch(2);          // 0 ms: not listed
  fake_now += 50;
  timer_switch(5);
  timer_report();
  flush_console();
  EXPECT_EQ(slurp("stdout.out"),
            "Reading data file    : 1.005\n"
            "Saving points        : 0.050\n");
}

TEST_F(TimersTest, StopwatchMeasuresMilliseconds) {
  stopwatch_start();
  fake_now += 1234;
  stopwatch_stop();
  EXPECT_EQ(stopwatch_elapsed(), 1234u);
  EXPECT_STREQ(ms_to_text(stopwatch_elapsed()).c_str(), "1.234");
}
