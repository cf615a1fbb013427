// The end of a run: a clock edge or event that lies just past the end of the run or of
// the save window (within the 1e-10 s that makes edges coincide) is taken at that end,
// so that the run stops exactly at tsim and the table keeps the end instant.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "buck_netlist.h"
#include "driver_run.h"
#include "simu/recording_run_services.h"

namespace {

// V1 = 10 V charges C1 through S1 (kept on by a clock) and R1; the clock's edges fall
// at `delay` + k * 100 us. V2 steps at `event` (a breakpoint), feeding nothing that is
// plotted.
std::string clocked_rc(const char* delay, const char* event) {
  return std::string("tsim = 1.0000e-03\n"
                     "td = 1.0000e-05\n"
                     "points = 100\n"
                     "swinit = [ 1    ]\n"
                     "x0 = [ 0.0000e+00      ]\n"
                     "tmd = [ ") +
         delay +
         "     1.0000e-04     1   1     \n"
         "        " +
         event +
         "     1.0000e+05     2   1    ]\n"
         "vgs = [ 1.0000e+01      \n"
         "        5.0000e+00     ]\n"
         "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
         "      'S1        1   2   0.0000e+00                 '   % S1\n"
         "      'R1        2   3   1.0000e+03                 '   % R1\n"
         "      'C1        3   0   1.0000e-06                 '   % C1\n"
         "      'V2        4   0   1.0000e+00                 '   % V2\n"
         "      'R2        4   0   1.0000e+03                 '   % R2\n"
         "      'I01       3   0   0.0000e+00                 ' ] % Vc\n"
         "Y = [ 'V         I01                                ' ] % Vc\n"
         "numn = 5;\n";
}

double vc(double t) { return 10.0 * (1.0 - std::exp(-t / ((1e3 + 0.001) * 1e-6))); }

}  // namespace

TEST(DriverEnd, ClockEdgeJustPastTsimEndsTheRunAtTsim) {
  // The tenth edge lies 5e-11 s past tsim = 1 ms.
  TempDir dir;
  write_text("rc.m", clocked_rc("5.0000e-11", "7.0000e-04"));
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_NE(r.out.find("Final simulation time = 1.00000000e-03.\n"), std::string::npos) << r.out;
  std::vector<double> ini = read_numbers("rc.ini");
  ASSERT_GE(ini.size(), 6u);
  EXPECT_EQ(ini[0], 1e-3);
  EXPECT_LT(std::fabs(ini[5] - vc(1e-3)) / vc(1e-3), 1e-9);
  plt_table p = read_plt("rc.plt");
  ASSERT_FALSE(p.rows.empty());
  EXPECT_EQ(p.rows.back()[0], 1e-3);
  EXPECT_NEAR(p.rows.back()[1], vc(1e-3), 1e-6 * vc(1e-3));
}

TEST(DriverEnd, EventJustPastTsimEndsTheRunAtTsim) {
  TempDir dir;
  write_text("rc.m", clocked_rc("2.0000e-03", "1.00000005e-03"));
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  std::vector<double> ini = read_numbers("rc.ini");
  ASSERT_GE(ini.size(), 6u);
  EXPECT_EQ(ini[0], 1e-3);
  EXPECT_LT(std::fabs(ini[5] - vc(1e-3)) / vc(1e-3), 1e-9);
  plt_table p = read_plt("rc.plt");
  ASSERT_FALSE(p.rows.empty());
  EXPECT_EQ(p.rows.back()[0], 1e-3);
}

TEST(DriverEnd, ClockEdgeJustPastTheWindowEndKeepsTheWindowEnd) {
  // The save window ends at 0.5 ms; the fifth edge lies 5e-11 s past it.
  TempDir dir;
  write_text("rc.m", clocked_rc("5.0000e-11", "7.0000e-04"));
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"}, 4, 0, 0.0, 5e-4);
  ASSERT_EQ(r.result, 1) << r.err;
  plt_table p = read_plt("rc.plt");
  ASSERT_FALSE(p.rows.empty());
  EXPECT_EQ(p.rows.back()[0], 5e-4);
  EXPECT_NEAR(p.rows.back()[1], vc(5e-4), 1e-6 * vc(5e-4));
  // The run goes on to tsim.
  std::vector<double> ini = read_numbers("rc.ini");
  ASSERT_GE(ini.size(), 6u);
  EXPECT_EQ(ini[0], 1e-3);
  EXPECT_LT(std::fabs(ini[5] - vc(1e-3)) / vc(1e-3), 1e-9);
}

TEST(DriverEnd, BuckExampleTableEndsAtTsim) {
  // 200 periods of a 100 kHz clock: the summed edge times land a few ulps past 2 ms.
  TempDir dir;
  write_text("buck.m", buck_netlist_text("2.0000e-03", "1.0000e-07", "5000"));
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"-tsim", "2e-3", "-td", "1e-7", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  std::vector<double> ini = read_numbers("buck.ini");
  ASSERT_GE(ini.size(), 1u);
  EXPECT_EQ(ini[0], 2e-3);
  plt_table p = read_plt("buck.plt");
  ASSERT_FALSE(p.rows.empty());
  EXPECT_EQ(p.rows.back()[0], 2e-3);
}

TEST(DriverEnd, CrossingInAShortFinalStepEndsTheRunAtTsim) {
  // A breakpoint 5e-11 s before tsim leaves a final step of 5e-11 s; a time threshold
  // (1000 (0.99999998e-3 - t) <= 0) turns S1 off inside it, closer than the search's
  // shortest step of 1e-10 s.
  TempDir dir;
  write_text("thr.m",
             "tsim = 1.0000e-03\n"
             "td = 1.0000e-05\n"
             "points = 100\n"
             "swinit = [ 1    ]\n"
             "x0 = [ 0.0000e+00      ]\n"
             "tmd = [ 9.9999995e-04     1.0000e+05     2   1    ]\n"
             "vgs = [ 1.0000e+01      ]\n"
             "Cy = [ 0.0000e+00      ]\n"
             "Ct = [ -1.0000e+03    0.0000e+00     0.0000e+00     0.0000e+00      ]\n"
             "Csw = [ 1    ]\n"
             "Cc = [ 9.9999998e-01 ]\n"
             "thoff(1,:)=[  1   1];\n"
             "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
             "      'S1        1   2   0.0000e+00                 '   % S1\n"
             "      'R1        2   3   1.0000e+03                 '   % R1\n"
             "      'C1        3   0   1.0000e-06                 '   % C1\n"
             "      'I01       3   0   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                ' ] % Vc\n"
             "numn = 4;\n");
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"thr.m", "thr.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_NE(r.out.find("Final simulation time = 1.00000000e-03.\n"), std::string::npos) << r.out;
  std::vector<double> ini = read_numbers("thr.ini");
  // tv (4), the switch line "0" (S1 turned off), v_C, the on time.
  ASSERT_EQ(ini.size(), 7u);
  EXPECT_EQ(ini[0], 1e-3);
  EXPECT_EQ(ini[4], 0.0);
  EXPECT_LT(std::fabs(ini[5] - vc(1e-3)) / vc(1e-3), 1e-9);
  plt_table p = read_plt("thr.plt");
  ASSERT_FALSE(p.rows.empty());
  EXPECT_EQ(p.rows.back()[0], 1e-3);
}

TEST(DriverEnd, WindowEndAlreadyBehindDoesNotCutALaterStep) {
  // The save window ends at 0.5 ms, but a time threshold turns S2 off at 0.498 ms and
  // ends that step first. The next step is lengthened to the clock edge that turns S1
  // on at 0.508 ms + 5e-11 s: the edge is taken there, not at the window's end.
  TempDir dir;
  write_text("late.m",
             "tsim = 1.0000e-03\n"
             "td = 1.0000e-05\n"
             "points = 100\n"
             "swinit = [ 0    1     ]\n"
             "x0 = [ 0.0000e+00      ]\n"
             "tmd = [ 5.0800005e-04     1.0000e+05     1   1    ]\n"
             "Cy = [ 0.0000e+00      ]\n"
             "Ct = [ -1.0000e+03    0.0000e+00     0.0000e+00     0.0000e+00      ]\n"
             "Csw = [ 2    ]\n"
             "Cc = [ 4.9800000e-01 ]\n"
             "thoff(1,:)=[  2   1];\n"
             "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
             "      'S1        1   2   0.0000e+00                 '   % S1\n"
             "      'R1        2   3   1.0000e+03                 '   % R1\n"
             "      'C1        3   0   1.0000e-06                 '   % C1\n"
             "      'S2        1   4   0.0000e+00                 '   % S2\n"
             "      'R2        4   0   1.0000e+03                 '   % R2\n"
             "      'I01       3   0   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                ' ] % Vc\n"
             "numn = 5;\n");
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"late.m", "late.plt"}, 4, 0, 0.0, 5e-4);
  ASSERT_EQ(r.result, 1) << r.err;
  const double te = 5.0800005e-4, tau_on = (1e3 + 0.001) * 1e-6, tau_off = (1e3 + 1e6 + 0.001) * 1e-6;
  const double ve = 10.0 * (1.0 - std::exp(-te / tau_off));
  const double v = 10.0 - (10.0 - ve) * std::exp(-(1e-3 - te) / tau_on);
  std::vector<double> ini = read_numbers("late.ini");
  // tv (4), the switch line "10", v_C, two on times, the clock.
  ASSERT_GE(ini.size(), 8u);
  EXPECT_EQ(ini[4], 10.0);
  EXPECT_LT(std::fabs(ini[5] - v) / v, 1e-9);
  plt_table p = read_plt("late.plt");
  ASSERT_FALSE(p.rows.empty());
  EXPECT_LE(p.rows.back()[0], 5e-4);
}

TEST(DriverEnd, TsimInsideAStepEndsWithTheShortenedStep) {
  // 73.5 steps of 10 us: the last one is cut to 5 us and the run ends exactly at tsim.
  TempDir dir;
  write_text("rc.m",
             "tsim = 7.3500e-04\n"
             "td = 1.0000e-05\n"
             "points = 49\n"
             "x0 = [ 0.0000e+00      ]\n"
             "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
             "      'R1        1   2   1.0000e+03                 '   % R1\n"
             "      'C1        2   0   1.0000e-06                 '   % C1\n"
             "      'I01       2   0   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                ' ] % Vc\n"
             "numn = 3;\n");
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_NE(r.out.find("Final simulation time = 7.35000000e-04.\n"), std::string::npos) << r.out;
  const double v = 10.0 * (1.0 - std::exp(-7.35e-4 / 1e-3));
  std::vector<double> ini = read_numbers("rc.ini");
  ASSERT_EQ(ini.size(), 5u);
  EXPECT_EQ(ini[0], 7.35e-4);
  EXPECT_LT(std::fabs(ini[4] - v) / v, 1e-9);
  plt_table p = read_plt("rc.plt");
  ASSERT_FALSE(p.rows.empty());
  EXPECT_EQ(p.rows.back()[0], 7.35e-4);
  EXPECT_NEAR(p.rows.back()[1], v, 1e-6 * v);
}
