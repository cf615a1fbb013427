// simu on hostile arguments and values: outputs that would overwrite an input, runs
// that could not end, a state that overflows, initial values the run cannot use.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "common/text_file.h"
#include "driver_run.h"
#include "simu/recording_run_services.h"

namespace {

std::string rc_netlist(const std::string& source, const std::string& x0 = "0",
                       const std::string& times = "tsim = 1.0000e-03\ntd = 1.0000e-06\n") {
  return times + "points = 100\nx0 = [ " + x0 + " ]\n"
         "X = [ 'V1        1   0   " + source + "   '\n"
         "      'R1        1   2   1.0000e+03   '\n"
         "      'C1        2   0   1.0000e-06   '\n"
         "      'I01       2   0   0.0000e+00   ' ]\n"
         "Y = [ 'V         I01   ' ] % Vc\n"
         "numn = 3;\n";
}

// One refused run: result 0, the one box, and nothing written beside the netlist.
void expect_refused(const run_output& r, const recording_run_services& host, const std::string& text) {
  EXPECT_EQ(r.result, 0);
  ASSERT_EQ(host.boxes.size(), 1u) << r.err;
  EXPECT_EQ(host.boxes[0].text, text);
  for (const char* f : {"a.plt", "a.ini", "a.seq", "states.dat", "src.dat"}) EXPECT_FALSE(file_exists(f)) << f;
}

}  // namespace

TEST(HostileRun, AnOutputThatIsAnInputOrAnotherOutputIsRefusedAndNothingIsWritten) {
  struct row {
    const char* label;
    std::vector<std::string> out;   // names the table is given; the first is passed
    std::string box;
  };
  const row rows[] = {
      {"same name", {"a.m"}, "Output file \"a.m\" is the netlist itself; nothing written.\n"},
      {"dotted path", {"./a.m"}, "Output file \"./a.m\" is the netlist itself; nothing written.\n"},
      {"hard link", {"link.plt"}, "Output file \"link.plt\" is the netlist itself; nothing written.\n"},
      {"state file", {"a.ini"}, "Output file \"a.ini\" is the state file of this run (\"a.ini\"); nothing written.\n"},
      {"report", {"sub/../a.seq"},
       "Output file \"sub/../a.seq\" is the switching report of this run (\"a.seq\"); nothing written.\n"},
  };
  for (const row& k : rows) {
    SCOPED_TRACE(k.label);
    TempDir dir;
    std::filesystem::create_directory("sub");
    const std::string netlist = rc_netlist("1.0000e+01");
    write_text("a.m", netlist);
    std::filesystem::create_hard_link("a.m", "link.plt");
    recording_run_services host;
    main_window_scope scope(host);
    run_output r = run_simu({"a.m", k.out[0]});
    expect_refused(r, host, k.box);
    EXPECT_EQ(slurp("a.m"), netlist);
  }
}

TEST(HostileRun, ARunThatCouldNotEndIsRefusedAtOnce) {
  struct row {
    std::vector<std::string> args;
    std::string times;   // the netlist's tsim and td lines
    std::string box;
  };
  const std::string usual = "tsim = 1.0000e-03\ntd = 1.0000e-06\n";
  const row rows[] = {
      {{"-tsim", "1e300", "-td", "1e-300"}, usual,
       "Time step td = 1e-300 does not advance time at tsim = 1e+300; run refused.\n"},
      {{"-tsim", "1e300"}, usual, "Time step td = 1e-06 does not advance time at tsim = 1e+300; run refused.\n"},
      {{"-tsim", "1", "-td", "1e-300"}, usual,
       "Time step td = 1e-300 does not advance time at tsim = 1; run refused.\n"},
      {{}, "tsim = 1e308\ntd = 1e-308\n", "Time step td = 1e-308 does not advance time at tsim = 1e+308; run refused.\n"},
      {{}, "tsim = 20\ntd = 1e-12\n", "tsim = 20 with td = 1e-12 needs 2e+13 steps, more than 1e+12; run refused.\n"},
      {{"-tsim", "1e7"}, usual, "tsim = 1e+07 with td = 1e-06 needs 1e+13 steps, more than 1e+12; run refused.\n"},
      // 1e3 / 1e-3 steps and two edges of 2e-10 s: 1e6 + 2 x 5e12.
      {{"-tsim", "1e3", "-td", "1e-3"}, "tmd = [ 0 2e-10 1 1\n 1e-10 2e-10 0 1 ]\n",
       "tsim = 1000 with td = 0.001 and a clock period of 2e-10 needs 1e+13 steps, more than 1e+12; run "
       "refused.\n"},
  };
  for (const row& k : rows) {
    SCOPED_TRACE(k.box);
    TempDir dir;
    write_text("a.m", rc_netlist("1.0000e+01", "0", k.times));
    recording_run_services host;
    main_window_scope scope(host);
    std::vector<std::string> args = k.args;
    args.insert(args.end(), {"a.m", "a.plt"});
    const auto start = std::chrono::steady_clock::now();
    run_output r = run_simu(args);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    expect_refused(r, host, k.box);
  }
}

TEST(HostileRun, AnOverflowingStateEndsTheRunWithItsTimeAndNameAndNoNonFiniteNumberWritten) {
  TempDir dir;
  write_text("a.m", rc_netlist("1e306"));
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"a.m", "a.plt"});
  EXPECT_EQ(r.result, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  // V_C1 = 1e306 (1 - exp(-t / 1 ms)) stays below 6.4e305, but the last step, cut to
  // land on tsim, goes through the continuous model, where B u = 1e306 / (R C) = 1e309
  // overflows.
  const std::string& box = host.boxes[0].text;
  EXPECT_EQ(box.rfind("Simulation stopped at t = ", 0), 0u) << box;
  EXPECT_NE(box.find(" s: state V_C1 is not finite ("), std::string::npos) << box;
  EXPECT_FALSE(file_exists("a.ini"));
  const std::string table = slurp("a.plt");
  EXPECT_EQ(table.find("NAN"), std::string::npos);
  EXPECT_EQ(table.find("INF"), std::string::npos);
  plt_table t = read_plt("a.plt");
  ASSERT_FALSE(t.rows.empty());
  const double stop = std::stod(box.substr(std::string("Simulation stopped at t = ").size()));
  EXPECT_NEAR(stop, 1e-3, 1e-12);
  // Every instant before it, 0 to 0.99 ms every 10 us, and not the end row.
  EXPECT_EQ(t.rows.size(), 100u);
  EXPECT_NEAR(t.rows.back()[0], 0.99e-3, 1e-12);
  for (const auto& row : t.rows)
    for (double v : row) EXPECT_TRUE(std::isfinite(v));
}

TEST(HostileRun, InitialValuesTheRunCannotUseAreNamedAndTheRunGoesOn) {
  const std::string loop =
      "tsim = 1.0000e-05\ntd = 1.0000e-06\npoints = 10\nx0 = [ 1 2 5 ]\n"
      "X = [ 'R1   1   0   1.0000e+03   '\n"
      "      'C1   1   0   1.0000e-06   '\n"
      "      'C2   1   2   1.0000e-06   '\n"
      "      'C3   2   0   1.0000e-06   '\n"
      "      'I01  2   0   0.0000e+00   ' ]\n"
      "Y = [ 'V    I01   ' ] % Vout\nnumn = 3;\n";
  struct row {
    const char* label;
    std::string netlist;
    std::string warning;
  };
  const row rows[] = {
      {"capacitor loop", loop, "\nWarning: x0 value 5 of V_C3 is ignored: it is not an independent state.\n"},
      {"five values for one state", rc_netlist("1.0000e+01", "1 2 3 4 5"),
       "\nWarning: x0 has 5 values for 1 capacitor voltage(s) and inductor current(s); values 2 to 5 are "
       "ignored.\nInitial conditions not loaded.\n"},
      {"zeros for a loop", loop.substr(0, loop.find("x0")) + "x0 = [ 1 2 0 ]" + loop.substr(loop.find(" ]\nX")),
       ""},
  };
  for (const row& k : rows) {
    SCOPED_TRACE(k.label);
    TempDir dir;
    write_text("a.m", k.netlist);
    recording_run_services host;
    main_window_scope scope(host);
    run_output r = run_simu({"a.m", "a.plt"});
    EXPECT_EQ(r.result, 1) << r.err;
    if (k.warning.empty())
      EXPECT_EQ(r.err.find("Warning:"), std::string::npos) << r.err;
    else
      EXPECT_NE(r.err.find(k.warning), std::string::npos) << r.err;
  }
}
