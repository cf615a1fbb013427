#include "simu/run_settings.h"

#include <gtest/gtest.h>

// Start values of a fresh program: nothing in this test binary changes them.
TEST(RunSettings, StartValues) {
  EXPECT_EQ(run_tsim, 0.001);
  EXPECT_EQ(run_td, 1e-6);
  EXPECT_EQ(run_start_si, 0.0);
  EXPECT_EQ(run_finish_si, 0.001);
  EXPECT_EQ(run_points, 9999999);
  EXPECT_EQ(run_sv, 1);
  EXPECT_EQ(run_ld, 0);
  EXPECT_EQ(run_sstol_f, 1e-6);
  EXPECT_EQ(run_nclkss, 25);
  EXPECT_EQ(run_stop_close, 0);
  EXPECT_EQ(run_sstol_c, 1.0);
  EXPECT_EQ(run_cycles_togo, 0);
  EXPECT_EQ(run_ssmethod, 1);
  EXPECT_EQ(run_none_c, 2);
  EXPECT_EQ(run_ss, 0);
  EXPECT_EQ(run_one_c, 0);
  EXPECT_TRUE(base_name.empty());
}
