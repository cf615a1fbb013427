// The transient driver on linear circuits against their closed-form answers: an RC step,
// an RLC ring-down, a source stepping at a breakpoint.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "driver_run.h"
#include "simu/recording_run_services.h"

namespace {

const char* const rc_netlist =
    "tsim = 5.0000e-03\n"
    "td = 1.0000e-05\n"
    "points = 50\n"
    "x0 = [ 0.0000e+00      ]\n"
    "% Circuit name : rc\n"
    "\n"
    "% Circuit Description\n"
    "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
    "      'R1        1   2   1.0000e+03                 '   % R1\n"
    "      'C1        2   0   1.0000e-06                 '   % C1\n"
    "      'I01       2   0   0.0000e+00                 ' ] % Vc\n"
    "\n"
    "% Output Description\n"
    "Y = [ 'V         I01                                ' ] % Vc\n"
    "\n"
    "% Number of nodes\n"
    "numn = 3;\n";

double rc_step(double t) { return 10.0 * (1.0 - std::exp(-t / 1e-3)); }

}  // namespace

TEST(DriverLinear, RcStepStateMatchesTheExponentialAtSeveralInstants) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  // The state file keeps the final state to 17 digits: one run per instant.
  for (const char* tsim : {"1e-4", "7.3e-4", "1e-3", "2.5e-3", "5e-3"}) {
    run_output r = run_simu({"-tsim", tsim, "rc.m", "rc.plt"});
    ASSERT_EQ(r.result, 1) << r.err;
    std::vector<double> ini = read_numbers("rc.ini");
    ASSERT_EQ(ini.size(), 5u);   // time vector, then the one state (no switches)
    const double t = std::stod(tsim);
    EXPECT_NEAR(ini[0], t, 1e-15);
    EXPECT_LT(std::fabs(ini[4] - rc_step(t)) / rc_step(t), 1e-9) << "t = " << tsim;
  }
}

TEST(DriverLinear, RcStepResultTableFollowsTheExponential) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  plt_table p = read_plt("rc.plt");
  EXPECT_EQ(p.header, "Time Vc ");
  // 50 points over 5 ms: the first step end at or past each 100 us instant, the start
  // and the end's extra sample.
  ASSERT_EQ(p.rows.size(), 52u);
  EXPECT_EQ(p.rows[0][0], 0.0);
  EXPECT_EQ(p.rows[0][1], 0.0);
  for (std::size_t k = 1; k + 1 < p.rows.size(); ++k) {
    EXPECT_GE(p.rows[k][0], 1e-4 * k - 1e-15);
    EXPECT_LE(p.rows[k][0], 1e-4 * k + 1e-5 + 1e-15);
    EXPECT_NEAR(p.rows[k][1], rc_step(p.rows[k][0]), 5e-6 * rc_step(p.rows[k][0]));
  }
  EXPECT_EQ(p.rows.back()[0], 5e-3);
  // The console summary.
  EXPECT_NE(r.err.find("\nJob completed!\nCondition saved in disk file \"rc.ini\"!\n"
                       "Outputs saved in file  \"rc.plt\".\n"
                       "Actual simulation time was "),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("Final simulation time = 5.00000000e-03.\n"), std::string::npos);
  EXPECT_NE(r.out.find("Elapsed time for simulation: "), std::string::npos);
  EXPECT_NE(r.out.find(" seconds\nTime breakdown:\n"), std::string::npos);
}

TEST(DriverLinear, SaveWindowKeepsOnlyItsInstants) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"}, 4, 0, 1e-3, 2e-3);
  ASSERT_EQ(r.result, 1) << r.err;
  plt_table p = read_plt("rc.plt");
  ASSERT_FALSE(p.rows.empty());
  EXPECT_EQ(p.rows.front()[0], 1e-3);
  for (const auto& row : p.rows) {
    EXPECT_GE(row[0], 1e-3);
    EXPECT_LE(row[0], 2e-3);
    EXPECT_NEAR(row[1], rc_step(row[0]), 5e-6 * rc_step(row[0]));
  }
  EXPECT_NEAR(p.rows.back()[0], 2e-3, 1e-15);
  // The run goes on to tsim: the state file holds the end state.
  std::vector<double> ini = read_numbers("rc.ini");
  EXPECT_LT(std::fabs(ini[4] - rc_step(5e-3)) / rc_step(5e-3), 1e-9);
}

TEST(DriverLinear, RlcRingDownWithoutSources) {
  // Series R-L-C, no source, the capacitor charged to 1 V at t = 0:
  // v(t) = e^(-a t) (cos(w t) + a/w sin(w t)), i(t) = -C v'(t) flowing out of the capacitor.
  TempDir dir;
  write_text("rlc.m",
             "tsim = 1.0000e-03\n"
             "td = 1.0000e-06\n"
             "points = 100\n"
             "x0 = [ 1.0000e+00       \n"
             "       0.0000e+00      ]\n"
             "X = [ 'R1        1   2   1.0000e+01                 '   % R1\n"
             "      'L1        2   0   1.0000e-03                 '   % L1\n"
             "      'C1        1   0   1.0000e-06                 '   % C1\n"
             "      'I01       1   0   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                ' ] % Vc\n"
             "numn = 3;\n");
  recording_run_services host;
  main_window_scope scope(host);
  const double a = 10.0 / (2 * 1e-3), w0 = 1.0 / std::sqrt(1e-3 * 1e-6);
  const double w = std::sqrt(w0 * w0 - a * a);
  auto v = [&](double t) { return std::exp(-a * t) * (std::cos(w * t) + a / w * std::sin(w * t)); };
  auto i = [&](double t) { return 1e-6 * std::exp(-a * t) * (w + a * a / w) * std::sin(w * t); };
  for (const char* tsim : {"5e-5", "2e-4", "1e-3"}) {
    run_output r = run_simu({"-tsim", tsim, "rlc.m", "rlc.plt"});
    ASSERT_EQ(r.result, 1) << r.err;
    std::vector<double> ini = read_numbers("rlc.ini");
    ASSERT_EQ(ini.size(), 6u);   // time vector, V_C1, I_L1
    const double t = std::stod(tsim);
    EXPECT_NEAR(ini[4], v(t), 1e-9 * std::fabs(v(t)) + 1e-13) << tsim;
    // The inductor current flows from node 2 to ground and back into the capacitor.
    EXPECT_NEAR(std::fabs(ini[5]), std::fabs(i(t)), 1e-9 * std::fabs(i(t)) + 1e-15) << tsim;
  }
  plt_table p = read_plt("rlc.plt");
  for (const auto& row : p.rows) EXPECT_NEAR(row[1], v(row[0]), 2e-6);
}

TEST(DriverLinear, SourceSteppingAtABreakpoint) {
  // V1 is 0 until 1 ms and 5 V from then on; 1 mA flows into the capacitor node from I1.
  TempDir dir;
  write_text("steps.m",
             "tsim = 3.0000e-03\n"
             "td = 1.0000e-05\n"
             "points = 300\n"
             "x0 = [ 0.0000e+00      ]\n"
             "tmd = [ 1.0000e-03     1.0000e+05     2   1    ]\n"
             "vgs = [ 5.0000e+00      \n"
             "        1.0000e-03     ]\n"
             "X = [ 'V1        1   0   0.0000e+00                 '   % V1\n"
             "      'R1        1   2   1.0000e+03                 '   % R1\n"
             "      'C1        2   0   1.0000e-06                 '   % C1\n"
             "      'I1        0   2   1.0000e-03                 '   % I1\n"
             "      'I01       2   0   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                ' ] % Vc\n"
             "numn = 3;\n");
  recording_run_services host;
  main_window_scope scope(host);
  // Thevenin: before 1 ms the capacitor goes to 1 V, after it to 6 V; tau = 1 ms.
  const double v1 = 1.0 - std::exp(-1.0);
  auto v = [&](double t) {
    return t <= 1e-3 ? 1.0 - std::exp(-t / 1e-3) : 6.0 + (v1 - 6.0) * std::exp(-(t - 1e-3) / 1e-3);
  };
  for (const char* tsim : {"5e-4", "1e-3", "1.5e-3", "3e-3"}) {
    run_output r = run_simu({"-tsim", tsim, "steps.m", "steps.plt"});
    ASSERT_EQ(r.result, 1) << r.err;
    std::vector<double> ini = read_numbers("steps.ini");
    ASSERT_EQ(ini.size(), 5u);
    const double t = std::stod(tsim);
    EXPECT_LT(std::fabs(ini[4] - v(t)) / v(t), 1e-9) << tsim;
  }
  // The breakpoint instant is a step end: its value stands in the table at exactly 1 ms.
  plt_table p = read_plt("steps.plt");
  bool at_step = false;
  for (const auto& row : p.rows) {
    EXPECT_NEAR(row[1], v(row[0]), 5e-6 * v(row[0]) + 1e-12);
    if (row[0] == 1e-3) at_step = true;
  }
  EXPECT_TRUE(at_step);
}

TEST(DriverLinear, BreakpointAtTimeZeroHoldsFromTheStart) {
  // V1's main value is 0; its breakpoints give 5 V from t = 0 and 10 V from 1 ms.
  TempDir dir;
  write_text("zero.m",
             "tsim = 2.0000e-03\n"
             "td = 1.0000e-05\n"
             "points = 200\n"
             "x0 = [ 0.0000e+00      ]\n"
             "tmd = [ 0.0000e+00     1.0000e+05     2   1     \n"
             "        1.0000e-03     1.0000e+05     2   2    ]\n"
             "vgs = [ 5.0000e+00     1.0000e+01      ]\n"
             "X = [ 'V1        1   0   0.0000e+00                 '   % V1\n"
             "      'R1        1   2   1.0000e+03                 '   % R1\n"
             "      'C1        2   0   1.0000e-06                 '   % C1\n"
             "      'I01       2   0   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                ' ] % Vc\n"
             "numn = 3;\n");
  recording_run_services host;
  main_window_scope scope(host);
  const double v1 = 5.0 * (1.0 - std::exp(-1.0));
  auto v = [&](double t) {
    return t <= 1e-3 ? 5.0 * (1.0 - std::exp(-t / 1e-3)) : 10.0 + (v1 - 10.0) * std::exp(-(t - 1e-3) / 1e-3);
  };
  for (const char* tsim : {"5e-4", "2e-3"}) {
    run_output r = run_simu({"-tsim", tsim, "zero.m", "zero.plt"});
    ASSERT_EQ(r.result, 1) << r.err;
    std::vector<double> ini = read_numbers("zero.ini");
    ASSERT_EQ(ini.size(), 5u);
    const double t = std::stod(tsim);
    EXPECT_LT(std::fabs(ini[4] - v(t)) / v(t), 1e-9) << tsim;
  }
  plt_table p = read_plt("zero.plt");
  ASSERT_FALSE(p.rows.empty());
  for (const auto& row : p.rows) EXPECT_NEAR(row[1], v(row[0]), 5e-6 * v(row[0]) + 1e-12) << row[0];
}
