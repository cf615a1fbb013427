// simu on hostile arguments and values: outputs that would overwrite an input, runs
// that could not end, a state that overflows, initial values the run cannot use.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "driver_run.h"
#include "simu/recording_run_services.h"

namespace {

const std::string usual = "tsim = 1.0000e-03\ntd = 1.0000e-06\n";

std::string rc(const std::string& source, const std::string& x0 = "0", const std::string& times = usual) {
  return times + "points = 100\nx0 = [ " + x0 + " ]\nX = [ 'V1 1 0 " + source + "'\n 'R1 1 2 1.0e+03'\n" +
         " 'C1 2 0 1.0e-06'\n 'I01 2 0 0' ]\nY = [ 'V I01 ' ] % Vc\nnumn = 3;\n";
}

// Runs simu a.m <out> in a fresh folder; the box texts, or "" for none.
struct run_in_folder {
  TempDir dir;
  recording_run_services host;
  run_output r;
  std::string box;
  run_in_folder(const std::string& netlist, std::vector<std::string> args) {
    write_text("a.m", netlist);
    std::filesystem::create_hard_link("a.m", "link.plt");
    main_window_scope scope(host);
    r = run_simu(args);
    for (const auto& b : host.boxes) box += b.text;
  }
};

}  // namespace

TEST(HostileRun, RefusedBeforeAnythingIsWrittenOrStepped) {
  const std::string same = "\" is the netlist itself; nothing written.\n", refused = "; run refused.\n";
  const struct { std::vector<std::string> args; std::string times, box; } rows[] = {
      {{"a.m", "a.m"}, usual, "Output file \"a.m" + same},
      {{"a.m", "./a.m"}, usual, "Output file \"./a.m" + same},
      {{"a.m", "link.plt"}, usual, "Output file \"link.plt" + same},
      {{"a.m", "a.ini"}, usual, "Output file \"a.ini\" is the state file of this run (\"a.ini\"); nothing written.\n"},
      {{"-tsim", "1e300", "-td", "1e-300", "a.m", "a.plt"}, usual,
       "Time step td = 1e-300 does not advance time at tsim = 1e+300" + refused},
      {{"-tsim", "1e300", "a.m", "a.plt"}, usual,
       "Time step td = 1e-06 does not advance time at tsim = 1e+300" + refused},
      {{"-tsim", "1", "-td", "1e-300", "a.m", "a.plt"}, usual,
       "Time step td = 1e-300 does not advance time at tsim = 1" + refused},
      {{"a.m", "a.plt"}, "tsim = 1e308\ntd = 1e-308\n",
       "Time step td = 1e-308 does not advance time at tsim = 1e+308" + refused},
      // 1e3 / 1e-3 steps and two clock edges every 2e-10 s: 1e6 + 2 x 5e12.
      {{"-tsim", "1e3", "-td", "1e-3", "a.m", "a.plt"}, "tmd = [ 0 2e-10 1 1\n 1e-10 2e-10 0 1 ]\n",
       "tsim = 1000 with td = 0.001 and a clock period of 2e-10 needs 1e+13 steps, more than 1e+12" + refused},
  };
  for (const auto& k : rows) {
    SCOPED_TRACE(k.box);
    const auto start = std::chrono::steady_clock::now();
    run_in_folder run(rc("10", "0", k.times), k.args);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(run.r.result, 0);
    EXPECT_EQ(run.box, k.box);
    EXPECT_EQ(slurp("a.m"), rc("10", "0", k.times));
    for (const char* f : {"a.plt", "a.ini", "states.dat"}) EXPECT_FALSE(file_exists(f)) << f;
  }
}

TEST(HostileRun, AnOverflowEndsTheRunWithItsTimeAndStateAndNoNonFiniteNumberWritten) {
  // V_C1 = 1e306 (1 - exp(-t / 1 ms)) stays finite; B u = 1e306 / (R C) of the last, cut step does not.
  run_in_folder run(rc("1e306"), {"a.m", "a.plt"});
  EXPECT_EQ(run.r.result, 0);
  EXPECT_EQ(run.box.rfind("Simulation stopped at t = 1.00000000e-03 s: state V_C1 is not finite (", 0), 0u)
      << run.box;
  EXPECT_FALSE(file_exists("a.ini"));
  plt_table t = read_plt("a.plt");
  ASSERT_EQ(t.rows.size(), 100u);   // 0 to 0.99 ms every 10 us, all finite
  EXPECT_NEAR(t.rows.back()[0], 0.99e-3, 1e-12);
  EXPECT_NEAR(t.rows.back()[1], 1e306 * (1 - std::exp(-0.99)), 1e300);
}

TEST(HostileRun, InitialValuesTheRunCannotUseAreNamedAndTheRunGoesOn) {
  const std::string loop = "tsim = 1e-05\ntd = 1e-06\nx0 = [ 1 2 5 ]\nX = [ 'R1 1 0 1e3'\n 'C1 1 0 1e-6'\n"
                           " 'C2 1 2 1e-6'\n 'C3 2 0 1e-6'\n 'I01 2 0 0' ]\nY = [ 'V I01' ] % Vout\nnumn = 3;\n";
  const struct { std::string netlist, warnings; } rows[] = {
      {loop, "\nWarning: x0 value 5 of V_C3 is ignored: it is not an independent state.\nInitial"},
      {rc("10", "1 2 3 4 5"), "\nWarning: x0 has 5 values for 1 capacitor voltage(s) and inductor current(s); "
                              "values 2 to 5 are ignored.\nInitial"},
  };
  for (const auto& k : rows) {
    SCOPED_TRACE(k.warnings);
    run_in_folder run(k.netlist, {"a.m", "a.plt"});
    EXPECT_EQ(run.r.result, 1) << run.r.err;
    EXPECT_NE(run.r.err.find("(y/n) " + k.warnings), std::string::npos) << run.r.err;
  }
}
