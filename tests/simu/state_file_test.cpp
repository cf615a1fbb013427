// State file: exact layout, round trips, and refusal of files that do not fit the circuit.
// Switching-sequence report: exact text, mode numbers, shared equations, state groups.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "simu/steady/cycle.h"
#include "simu/driver/state_file.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"
#include "common/text_file.h"
#include "simu/model/topology.h"

namespace {

// Four times, the switch line, two states, two on-times.
const char* kNoClockFile =
    "1.5000000000000000e+00\n2.5000000000000000e-01\n0.0000000000000000e+00\n1.5000000000000000e+00\n10\n"
    "1.2345678901234567e+00\n-3.0000000000000000e+00\n1.2500000000000000e-01\n0.0000000000000000e+00\n";

// Loads the state file of a circuit with 2 switches, 2 states and the clocks; the error text.
std::string load_error(const std::string& text, const clock_table& clk, DM& ct) {
  write_text("bad.ini", text);
  DM tv(4, 1, 0.0), sw(2, 1, 0.0), x(2, 1, 0.0), on(2, 1, 0.0);
  std::string e = fatal_of([&] { load_ini(tv, sw, x, on, clk, ct, "bad.m"); });
  EXPECT_TRUE(e.empty() || tv(1) == 0.0) << "nothing changes on a failed load";
  return e;
}

}  // namespace

TEST(StateFile, LayoutsAndRoundTrips) {
  TempDir dir;
  clock_table none{DM()};
  save_ini(col({1.5, 0.25, 0, 1.5}), col({1, 0}), col({1.2345678901234567, -3}), col({0.125, 0}), none, "c.m");
  EXPECT_EQ(slurp("c.ini"), kNoClockFile);

  clock_table clk(rows_of(2, 4, {0.0, 1.0, 1, 1,  //
                                 0.375, 1.0, 0, 1}));
  double dt = 0.125;
  clk.next_edge(0.0, dt);
  clk.advance(0.0);  // first clock: edge at 0 passed, next at 1 (a whole period away)
  save_ini(col({0, 0, 0, 0}), col({1}), DM(0, 1), col({0}), clk, "k.m");
  EXPECT_EQ(slurp("k.ini"), "0.0000000000000000e+00\n0.0000000000000000e+00\n0.0000000000000000e+00\n"
                            "0.0000000000000000e+00\n1\n0.0000000000000000e+00\n2\n0.0000000000000000e+00\n"
                            "3.7500000000000000e-01\n");

  clock_table one(rows_of(1, 4, {3e-6, 1e-5, 1, 2}));
  DM tv = col({7e-3, 1e-4, 2e-5, 7e-3}), sw = col({0, 1, 1}), x = col({0.1, -1.0 / 3.0, 1e-300}), on = col({0, 2e-6, 4e-6});
  save_ini(tv, sw, x, on, one, "rt.m");
  DM tv2(4, 1, 0.0), sw2(3, 1, 0.0), x2(3, 1, 0.0), on2(3, 1, 0.0), ct;
  ASSERT_EQ(load_ini(tv2, sw2, x2, on2, one, ct, "rt.m"), 1);
  EXPECT_TRUE(dm_equal(tv2, tv) && dm_equal(sw2, sw) && dm_equal(x2, x) && dm_equal(on2, on));
  ASSERT_EQ(ct.rows, 1);
  EXPECT_EQ(ct(1), 3e-6 - 7e-3);  // next edge (never advanced) minus t
}

TEST(StateFile, MalformedFilesAreRefused) {
  TempDir dir;
  const std::string good = kNoClockFile;
  // The good file with its line k (from 0) replaced.
  auto with_line = [&good](int k, const std::string& to) {
    std::size_t at = 0;
    for (int i = 0; i < k; ++i) at = good.find('\n', at) + 1;
    return good.substr(0, at) + to + good.substr(good.find('\n', at));
  };
  const std::string clock_lines[] = {"", "1\n0.0000000000000000e+00\n", "2\n0.0000000000000000e+00\n", "2\n1e-6\n2e-6\n"};
  const struct { std::string text; int clocks; const char* error; } rows[] = {
      {"1.0\n2.0\n", 0, "t"},
      {with_line(1, "abc"), 0, "t"},
      {with_line(4, "12"), 0, "sw"},
      {with_line(4, "1"), 0, "sw"},
      {with_line(4, "101"), 0, "sw"},
      {with_line(4, "1 "), 0, "sw"},
      {with_line(6, "x"), 0, "X"},
      {with_line(8, ""), 0, "On_times"},
      {good.substr(0, good.rfind("0.0000000000000000e+00")), 0, "On_times"},
      {good + "7.0000000000000000e+00\n", 0, "On_times"},   // a third state: one number too many
      {good + clock_lines[1], 2, "nclk"},
      {good, 2, "nclk"},
      {good + clock_lines[2], 2, "diff"},
      {good + clock_lines[3], 2, ""},
  };
  const clock_table none{DM()}, two(rows_of(2, 4, {0.0, 1e-5, 1, 1,  //
                                                    0.0, 1e-5, 0, 1}));
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    DM ct;
    const std::string e = load_error(r.text, r.clocks ? two : none, ct);
    EXPECT_EQ(e, *r.error ? "Fatal Error : load_ini(" + std::string(r.error) + ") - read error!\n" : "");
    if (!*r.error) {
      EXPECT_EQ(ct(2), 2e-6);
    }
  }
}

TEST(StateFile, StateAndSequenceFilesReportAnUnwritableFileAndAFullDisk) {
  TempDir dir;
  clock_table clk{DM()};
  CYCLE cyc(col({1}));
  EXPECT_EQ(fatal_of([&] { save_ini(col({0, 0, 0, 0}), DM(), DM(), DM(), clk, "no/dir/c.m"); }),
            "Fatal Error : save_ini() - can't write to disk file! \"no/dir/c.ini\": No such file or directory\n");
  EXPECT_EQ(fatal_of([&] { cyc.write_seq_file("no/dir/x.m", 1e-6, {}); }),
            "Fatal Error : write_seq_file() - can't write to disk file! \"no/dir/x.seq\": No such file or directory\n");
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", "f.ini");
  std::filesystem::create_symlink("/dev/full", "f.seq");
  EXPECT_EQ(fatal_of([&] { save_ini(col({0, 0, 0, 0}), col({1}), DM(), DM(), clk, "f.m"); }),
            "Fatal Error : save_ini() - disk full!\n");
  EXPECT_EQ(fatal_of([&] { cyc.write_seq_file("f.m", 1e-6, {"S1"}); }), "Fatal Error : write_seq_file(  ) - disk full!\n");
}

namespace {

topology model(double a, double b) {
  topology r;
  r.A = DM(a);
  r.B = DM(b);
  return r;
}

const DM tv0 = col({0, 0, 0, 0});

}  // namespace

TEST(CycleSeq, ReportOfFourTransitions) {
  TempDir dir;
  topology r1 = model(-1.0, 1.0), r2 = model(-1.00001, 1.0), r3 = model(-2.0, 1.0);
  CYCLE cyc(col({1, 0}));
  cyc.add_transition(tv0, 0.0, col({1, 0}), col({0.5, -1.25}), col({1}), &r1, 1);
  cyc.add_transition(tv0, 1e-6, col({0, 1}), col({2.0, 0.0}), col({1}), &r2, 1);
  cyc.add_transition(tv0, 3e-6, col({0, 0}), col({-3.0, 1e-300}), col({1}), &r3, 1);
  cyc.add_transition(tv0, 1e-5, col({1, 0}), col({0.5, -1.25}), col({1}), &r1, 1);
  ASSERT_EQ(cyc.count, 4);
  cyc.write_seq_file("b.m", 1e-6, {"S1", "D2"});
  EXPECT_EQ(slurp("b.seq"),
            "Switching sequence file for:  b.m\n\n\n"
            "period = 1.000000e-05\n"
            "Steady state tolerance = 1.000000e-06\n"
            "\nSwitches: S1 D2 "
            "\nMode\t sw_setting\t\t\t intervals\n"
            "1\t  10\t\t\t\t1.000000e-06\n"
            "1\t  01\t\t\t\t2.000000e-06\n"
            "2\t  00\t\t\t\t7.000000e-06\n"
            "Intervals 1 and 2 have the same equations.\n"
            "\nState at beginning of intervals:\n"
            " X1\t\t\t     X2\t\t\t     X3\t\t\t    \n"
            "  5.0000000000000000e-01    2.0000000000000000e+00   -3.0000000000000000e+00  \n"
            " -1.2500000000000000e+00    0.0000000000000000e+00   1.0000000000000000e-300  \n"
            " X4\t\t    \n"
            "  5.0000000000000000e-01\t\n"
            " -1.2500000000000000e+00\t\n"
            "\n");
}
