// simu: the protected run, progress and Esc, every error case, options over the netlist.
#include "simu/simu_entry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/temp_dir.h"
#include "driver_run.h"
#include "simu/netlist.h"
#include "simu/options.h"
#include "simu/recording_run_services.h"
#include "simu/sim_params.h"

namespace {

const char* const rc_netlist =
    "tsim = 1.0000e-03\n"
    "td = 1.0000e-06\n"
    "points = 100\n"
    "x0 = [ 0.0000e+00      ]\n"
    "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
    "      'R1        1   2   1.0000e+03                 '   % R1\n"
    "      'C1        2   0   1.0000e-06                 '   % C1\n"
    "      'I01       2   0   0.0000e+00                 ' ] % Vc\n"
    "Y = [ 'V         I01                                ' ] % Vc\n"
    "numn = 3;\n";

// A run that failed: one plain box with the text, result 0, no report, bar gone.
void expect_failed(const run_output& r, const recording_run_services& host, const std::string& text) {
  EXPECT_EQ(r.result, 0);
  ASSERT_EQ(host.boxes.size(), 1u) << r.err;
  EXPECT_EQ(host.boxes[0].text, text);
  EXPECT_EQ(host.boxes[0].style, box_style::plain);
  EXPECT_TRUE(host.reports.empty());
  EXPECT_FALSE(host.bar);
  EXPECT_EQ(current_params, nullptr);
  EXPECT_TRUE(sim_netlist.elements.empty());
  EXPECT_NE(r.out.find("Elapsed time for simulation: "), std::string::npos);
}

}  // namespace

TEST(Simu, NormalRunStepsTheBarExactly50Times) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"});
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(host.creates, 1);
  EXPECT_EQ(host.polls, 50);
  EXPECT_EQ(host.steps, 50);
  EXPECT_EQ(host.deletes, 1);
  EXPECT_TRUE(host.boxes.empty());
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_NE(r.out.find("Elapsed time for simulation: " + host.reports[0] + " seconds\nTime breakdown:\n"),
            std::string::npos);
  EXPECT_TRUE(file_exists("rc.plt"));
  EXPECT_TRUE(file_exists("rc.ini"));
  EXPECT_TRUE(file_exists("src.dat"));
  EXPECT_TRUE(file_exists("states.dat"));
}

TEST(Simu, EscAtTheThirdPollEndsTheRunWithoutFiles) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  host.escape_at_poll = 3;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"});
  expect_failed(r, host, "Simulation terminated by user");
  EXPECT_EQ(host.polls, 3);
  EXPECT_EQ(host.steps, 2);
  EXPECT_EQ(host.deletes, 1);
  EXPECT_FALSE(file_exists("rc.plt"));
  EXPECT_FALSE(file_exists("rc.ini"));
}

TEST(Simu, EscLeavesTheFilesOfAnEarlierRunUntouched) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  {
    recording_run_services host;
    main_window_scope scope(host);
    ASSERT_EQ(run_simu({"rc.m", "rc.plt"}).result, 1);
  }
  const std::string plt = slurp("rc.plt"), ini = slurp("rc.ini");
  recording_run_services host;
  host.escape_at_poll = 1;
  main_window_scope scope(host);
  EXPECT_EQ(run_simu({"-tsim", "5e-4", "rc.m", "rc.plt"}).result, 0);
  EXPECT_EQ(slurp("rc.plt"), plt);
  EXPECT_EQ(slurp("rc.ini"), ini);
}

TEST(Simu, MissingNetlistFile) {
  TempDir dir;
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"none.m", "none.plt"});
  expect_failed(r, host, "Sread Fatal Error : Can't open file for reading - none.m\n");
  EXPECT_EQ(host.creates, 0);
  EXPECT_FALSE(file_exists("none.plt"));
}

TEST(Simu, NoFileNamesAtAll) {
  TempDir dir;
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"-tsim", "1e-3"});
  expect_failed(r, host, "Sread Fatal Error : Can't open file for reading - (no file name)\n");
  EXPECT_NE(r.err.find("Expected Format: simu [options] {input-file} {output-file}!\n"), std::string::npos);
}

TEST(Simu, NoOutputFileName) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m"});
  expect_failed(r, host, "Need to specify input and output file\n");
  EXPECT_EQ(host.deletes, 1);
}

TEST(Simu, MalformedNetlistIsShownWithItsPlace) {
  TempDir dir;
  write_text("bad.m", "tsim = 1e-3\nX = [ 'R1 1 0 1.0' \n");
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"bad.m", "bad.plt"});
  EXPECT_EQ(r.result, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text.rfind("Sread Fatal Error : ", 0), 0u) << host.boxes[0].text;
  EXPECT_TRUE(host.reports.empty());
}

TEST(Simu, ZeroTimeStepIsRefused) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"-td", "0", "rc.m", "rc.plt"});
  expect_failed(r, host, "Time step td must be positive");
  EXPECT_FALSE(file_exists("rc.plt"));
}

TEST(Simu, ClockWithZeroPeriodIsRefusedInsteadOfHanging) {
  TempDir dir;
  write_text("clk.m",
             "tsim = 1.0000e-03\n"
             "td = 1.0000e-06\n"
             "swinit = [ 1    ]\n"
             "tmd = [ 0.0000e+00     0.0000e+00     1   1    ]\n"
             "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
             "      'S1        1   2   0.0000e+00                 '   % S1\n"
             "      'R1        2   0   1.0000e+03                 '   % R1\n"
             "      'I01       2   0   0.0000e+00                 ' ] % Vr\n"
             "Y = [ 'V         I01                                ' ] % Vr\n"
             "numn = 3;\n");
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"clk.m", "clk.plt"});
  expect_failed(r, host, "Fatal Error : clock_table() - Clock period must be positive\n");
}

TEST(Simu, NetworkWithoutUniqueSolutionIsShown) {
  // Nothing connects to the reference node.
  TempDir dir;
  write_text("float.m",
             "tsim = 1.0000e-03\n"
             "td = 1.0000e-06\n"
             "x0 = [ 1.0000e+00      ]\n"
             "X = [ 'R1        1   2   1.0000e+01                 '   % R1\n"
             "      'C1        2   1   1.0000e-06                 '   % C1\n"
             "      'I01       1   2   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                ' ] % Vc\n"
             "numn = 3;\n");
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"float.m", "float.plt"});
  EXPECT_EQ(r.result, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_FALSE(host.boxes[0].text.empty());
  EXPECT_TRUE(host.reports.empty());
  EXPECT_FALSE(file_exists("float.plt"));
}

TEST(Simu, LimitedRunWithoutStateFileIsAFailure) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"-one_c", "rc.m", "rc.plt"});
  expect_failed(r, host, "Initial condition does not exist!");
  EXPECT_NE(r.err.find("\nInitial conditions not loaded.\n"), std::string::npos);
  EXPECT_FALSE(file_exists("rc.plt"));
  EXPECT_FALSE(file_exists("rc.ini"));
}

TEST(Simu, LoadedStateContinuesTheRun) {
  // 0.5 ms, then 0.5 ms more from the saved state, equals 1 ms in one go.
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(run_simu({"-tsim", "5e-4", "rc.m", "rc.plt"}).result, 1);
  run_output r = run_simu({"-ld", "-tsim", "5e-4", "rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1);
  EXPECT_NE(r.err.find("\nInitial conditions loaded successfully.\n"), std::string::npos);
  std::vector<double> ini = read_numbers("rc.ini");
  ASSERT_EQ(ini.size(), 5u);
  const double v = 10.0 * (1.0 - std::exp(-1.0));
  EXPECT_LT(std::fabs(ini[4] - v) / v, 1e-9);
  // The run's own clock restarted at 0.
  EXPECT_NEAR(ini[0], 5e-4, 1e-15);
  EXPECT_NEAR(ini[3], 1e-3, 1e-15);
}

TEST(ApplyOptions, FlagsAlwaysReplaceValuedOptionsOnlyWhenGiven) {
  std::vector<std::string> words = {"simu", "-tsim", "0.002", "-none_c", "4", "a.m", "a.plt"};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  parse_args(static_cast<int>(argv.size()), argv.data());
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  sim_params p;
  p.tsim = 1e-3;
  p.td = 1e-7;
  p.steady = p.sv = p.ld = 1;
  apply_options(p);
  EXPECT_EQ(p.tsim, 0.002);
  EXPECT_EQ(p.td, 1e-7);
  EXPECT_EQ(p.none_c, 4);
  EXPECT_EQ(p.steady, 0);
  EXPECT_EQ(p.sv, 0);
  EXPECT_EQ(p.ld, 0);
  EXPECT_EQ(p.one_c, 0);
  EXPECT_EQ(p.stop_close, 0);
}

TEST(Simu, NetlistFlagsAreReplacedAndTsimOverridesOnlyWhenGiven) {
  // The netlist asks for a steady-state run from its state file; without the options
  // neither happens: the run starts from rest and runs to the netlist's tsim.
  TempDir dir;
  write_text("rc.m", std::string("steady = 1\nld = 1\nsv = 1\n") + rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  auto vc = [](double t) { return 10.0 * (1.0 - std::exp(-t / 1e-3)); };
  for (int pass = 0; pass < 2; ++pass) {
    run_output r = run_simu({"rc.m", "rc.plt"});
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_NE(r.err.find("\nInitial conditions not loaded.\n"), std::string::npos);
    EXPECT_NE(r.out.find("Final simulation time = 1.00000000e-03.\n"), std::string::npos) << r.out;
    std::vector<double> ini = read_numbers("rc.ini");
    ASSERT_EQ(ini.size(), 5u);
    EXPECT_LT(std::fabs(ini[4] - vc(1e-3)) / vc(1e-3), 1e-9);
  }
  run_output r = run_simu({"-tsim", "0.002", "rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_NE(r.out.find("Final simulation time = 2.00000000e-03.\n"), std::string::npos) << r.out;
  std::vector<double> ini = read_numbers("rc.ini");
  ASSERT_EQ(ini.size(), 5u);
  EXPECT_LT(std::fabs(ini[4] - vc(2e-3)) / vc(2e-3), 1e-9);
  EXPECT_TRUE(host.boxes.empty());
}

TEST(Simu, LongStepsPollOncePerStep) {
  // Four steps of a quarter of tsim: the bar may advance by one per step only, so it is
  // stepped four times (at t = 0, 0.25, 0.5 and 0.75 s), not fifty.
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"-tsim", "1", "-td", "0.25", "rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_EQ(host.polls, 4);
  EXPECT_EQ(host.steps, 4);
  EXPECT_NE(r.out.find("Final simulation time = 1.00000000e+00.\n"), std::string::npos) << r.out;
}
