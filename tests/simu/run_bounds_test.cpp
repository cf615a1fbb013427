// A long switched run keeps its memory flat (every instant before a switching is a row
// of the table, 400 000 rows here); a table that would pass its size limit stops the run
// and leaves the table of the previous run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "buck_netlist.h"
#include "common/temp_dir.h"
#include "common/text_file.h"
#include "driver_run.h"
#include "common/recording_run_services.h"
#include "simu/driver/output_store.h"
#include "simu_program.h"

TEST(RunBounds, ALongSwitchedRunFinishesIn16MBOfAddressSpace) {
  // 200 000 switchings; the rows kept in memory would take 20 MB.
  TempDir dir;
  write_text("a.m", buck_netlist_text("2", "1e-5", "5000"));
  const program_run run = run_simu_program({"a.m", "a.plt"}, {address_sanitized ? 0 : rlim_t{16} << 20, 0});
  ASSERT_EQ(run.exit_code, 0) << run.output;
  const plt_table t = read_plt("a.plt");
  ASSERT_GT(t.rows.size(), 400000u);
  EXPECT_EQ(t.rows.back()[0], 2.0);
}

TEST(RunBounds, ATableOverItsLimitStopsTheRunAndKeepsThePreviousTable) {
  TempDir dir;
  write_text("a.m", buck_netlist_text("2.0000e-03", "1.0000e-07", "5000"));
  ASSERT_EQ(run_simu({"-tsim", "1e-4", "a.m", "a.plt"}).result, 1);
  const std::string table = slurp("a.plt"), state = slurp("a.ini");
  recording_run_services host;
  main_window_scope scope(host);
  const long long limit = table_byte_limit;
  table_byte_limit = 100000;   // the header (11 bytes) and 3 333 rows of 30 bytes pass it
  const run_output r = run_simu({"a.m", "a.plt"});
  table_byte_limit = limit;
  EXPECT_EQ(r.result, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text,
            "The result table would pass 100000 bytes at t = 1.22210000e-03 s; run stopped. Choose a narrower save "
            "window (start and finish of the save interval) or fewer points.\n");
  EXPECT_EQ(slurp("a.plt"), table);
  EXPECT_EQ(slurp("a.ini"), state);
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(".")) ++files;
  EXPECT_EQ(files, 5);   // a.m, a.plt, a.ini, states.dat, src.dat
}
