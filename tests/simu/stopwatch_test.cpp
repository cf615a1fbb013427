// The run's clock, the seconds texts of its figures and the time breakdown.
#include "simu/base/stopwatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

TEST(RunClock, StandsStillWhileTheUserIsWaitedOnNestedWaitsCountingOnce) {
  const std::uint64_t before = now_ms();
  user_wait wait;
  const std::uint64_t still = now_ms();
  EXPECT_GE(still, before);
  {
    user_wait inner;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(now_ms(), still);   // the inner wait's end leaves the outer one in force
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(now_ms(), still);
}

TEST(Timers, SecondsTextsAndOnlyChargedCategoriesListed) {
  const struct {
    std::uint64_t ms;
    const char* text;
  } rows[] = {{0, "0.000"}, {50, "0.050"}, {1005, "1.005"}, {61234, "61.234"}};
  for (const auto& r : rows) EXPECT_EQ(std::string(ms_to_text(r.ms).c_str()), r.text) << r.ms;
  // With the clock standing still every phase is charged 0 ms: the breakdown lists none.
  user_wait frozen;
  timer_init(timer_labels);
  timer_switch(1);
  timer_mark();
  timer_switch(9);
  testing::internal::CaptureStdout();
  timer_report();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
