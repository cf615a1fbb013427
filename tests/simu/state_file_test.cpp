// State file: exact layout, round trips, and refusal of files that do not fit the circuit.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "common/temp_dir.h"
#include "simu/cycle.h"
#include "simu/state_file.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"
#include "common/text_file.h"

namespace {

const char* kNoClockFile =
    "1.5000000000000000e+00\n"
    "2.5000000000000000e-01\n"
    "0.0000000000000000e+00\n"
    "1.5000000000000000e+00\n"
    "10\n"
    "1.2345678901234567e+00\n"
    "-3.0000000000000000e+00\n"
    "1.2500000000000000e-01\n"
    "0.0000000000000000e+00\n";

}  // namespace

TEST(StateFile, LayoutWithoutClocks) {
  TempDir dir;
  clock_table clk{DM()};
  save_ini(col({1.5, 0.25, 0, 1.5}), col({1, 0}), col({1.2345678901234567, -3}),
           col({0.125, 0}), clk, "c.m");
  EXPECT_EQ(slurp("c.ini"), kNoClockFile);
}

TEST(StateFile, LayoutWithClocks) {
  TempDir dir;
  clock_table clk(rows_of(2, 4, {0.0, 1.0, 1, 1,  //
                                 0.375, 1.0, 0, 1}));
  double dt = 0.125;
  clk.next_edge(0.0, dt);
  clk.advance(0.0);  // first clock: edge at 0 passed, next at 1 (a whole period away)
  save_ini(col({0, 0, 0, 0}), col({1}), DM(0, 1), col({0}), clk, "k.m");
  EXPECT_EQ(slurp("k.ini"),
            "0.0000000000000000e+00\n0.0000000000000000e+00\n0.0000000000000000e+00\n"
            "0.0000000000000000e+00\n"
            "1\n"
            "0.0000000000000000e+00\n"
            "2\n"
            "0.0000000000000000e+00\n"
            "3.7500000000000000e-01\n");
}

TEST(StateFile, RoundTripWithClocks) {
  TempDir dir;
  DM tmd = rows_of(1, 4, {3e-6, 1e-5, 1, 2});
  clock_table clk(tmd);
  DM tv = col({7e-3, 1e-4, 2e-5, 7e-3});
  DM sw = col({0, 1, 1});
  DM x = col({0.1, -1.0 / 3.0, 1e-300});
  DM on = col({0, 2e-6, 4e-6});
  save_ini(tv, sw, x, on, clk, "rt.m");

  DM tv2(4, 1, 0.0), sw2(3, 1, 0.0), x2(3, 1, 0.0), on2(3, 1, 0.0), ct;
  ASSERT_EQ(load_ini(tv2, sw2, x2, on2, clk, ct, "rt.m"), 1);
  EXPECT_TRUE(dm_equal(tv2, tv) && dm_equal(sw2, sw) && dm_equal(x2, x) && dm_equal(on2, on));
  ASSERT_EQ(ct.rows, 1);
  EXPECT_EQ(ct(1), 3e-6 - 7e-3);  // next edge (never advanced) minus t
}

namespace {

// Loads text as the state file of a circuit with 2 switches, 2 states and no clocks.
std::string load_error(const std::string& text) {
  write_text("bad.ini", text);
  clock_table clk{DM()};
  DM tv(4, 1, 0.0), sw(2, 1, 0.0), x(2, 1, 0.0), on(2, 1, 0.0), ct;
  std::string e = fatal_of([&] { load_ini(tv, sw, x, on, clk, ct, "bad.m"); });
  EXPECT_EQ(tv(1), 0.0) << "nothing changes on a failed load";
  return e;
}

std::string with_line(int index, const std::string& replacement) {
  std::string text = kNoClockFile, out;
  int line = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string l = text.substr(start, end - start);
    out += (line == index ? replacement : l) + "\n";
    ++line;
    start = end + 1;
  }
  return out;
}

}  // namespace

TEST(StateFile, MalformedFilesAreRefused) {
  TempDir dir;
  EXPECT_EQ(load_error("1.0\n2.0\n"), "Fatal Error : load_ini(t) - read error!\n");
  EXPECT_EQ(load_error(with_line(1, "abc")), "Fatal Error : load_ini(t) - read error!\n");
  EXPECT_EQ(load_error(with_line(4, "12")), "Fatal Error : load_ini(sw) - read error!\n");
  EXPECT_EQ(load_error(with_line(4, "1")), "Fatal Error : load_ini(sw) - read error!\n");
  EXPECT_EQ(load_error(with_line(4, "101")), "Fatal Error : load_ini(sw) - read error!\n");
  EXPECT_EQ(load_error(with_line(4, "1 ")), "Fatal Error : load_ini(sw) - read error!\n");
  EXPECT_EQ(load_error(with_line(6, "x")), "Fatal Error : load_ini(X) - read error!\n");
  EXPECT_EQ(load_error(with_line(8, "")), "Fatal Error : load_ini(On_times) - read error!\n");
  std::string shortfile = kNoClockFile;
  shortfile.resize(shortfile.rfind("0.0000000000000000e+00"));
  EXPECT_EQ(load_error(shortfile), "Fatal Error : load_ini(On_times) - read error!\n");
  // A third state: one number too many for this circuit.
  EXPECT_EQ(load_error(std::string(kNoClockFile) + "7.0000000000000000e+00\n"),
            "Fatal Error : load_ini(On_times) - read error!\n");
}

TEST(StateFile, ClockCountMustMatch) {
  TempDir dir;
  clock_table clk(rows_of(2, 4, {0.0, 1e-5, 1, 1,  //
                                 0.0, 1e-5, 0, 1}));
  write_text("k.ini", std::string(kNoClockFile) + "1\n0.0000000000000000e+00\n");
  DM tv(4, 1, 0.0), sw(2, 1, 0.0), x(2, 1, 0.0), on(2, 1, 0.0), ct;
  EXPECT_EQ(fatal_of([&] { load_ini(tv, sw, x, on, clk, ct, "k.m"); }),
            "Fatal Error : load_ini(nclk) - read error!\n");
  write_text("k.ini", std::string(kNoClockFile));
  EXPECT_EQ(fatal_of([&] { load_ini(tv, sw, x, on, clk, ct, "k.m"); }),
            "Fatal Error : load_ini(nclk) - read error!\n");
  write_text("k.ini", std::string(kNoClockFile) + "2\n0.0000000000000000e+00\n");
  EXPECT_EQ(fatal_of([&] { load_ini(tv, sw, x, on, clk, ct, "k.m"); }),
            "Fatal Error : load_ini(diff) - read error!\n");
  write_text("k.ini", std::string(kNoClockFile) + "2\n1e-6\n2e-6\n");
  EXPECT_EQ(load_ini(tv, sw, x, on, clk, ct, "k.m"), 1);
  EXPECT_EQ(ct(2), 2e-6);
}

TEST(StateFile, SaveReportsUnwritableFile) {
  TempDir dir;
  clock_table clk{DM()};
  EXPECT_EQ(fatal_of([&] { save_ini(col({0, 0, 0, 0}), DM(), DM(), DM(), clk, "no/dir/c.m"); }),
            "Fatal Error : save_ini() - can't write to disk file!\n");
}

TEST(StateFile, SaveReportsFullDisk) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  std::filesystem::create_symlink("/dev/full", "f.ini");
  clock_table clk{DM()};
  EXPECT_EQ(fatal_of([&] { save_ini(col({0, 0, 0, 0}), col({1}), DM(), DM(), clk, "f.m"); }),
            "Fatal Error : save_ini() - disk full!\n");
}
