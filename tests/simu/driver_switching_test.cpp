// The transient driver with switches: a threshold that disconnects an RC, and a buck
// converter against its piecewise-exact solution (transient and periodic steady state).
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "buck_netlist.h"
#include "driver_run.h"
#include "matrix/expm.h"
#include "matrix/matrix.h"
#include "simu/recording_run_services.h"

namespace {

// S1 (0.001 ohm on, 1e6 + 0.001 ohm off) connects V1 = 10 V through R1 to C1; the
// threshold 5 - v_C <= 0 turns S1 off.
const char* const threshold_netlist =
    "tsim = 2.0000e-03\n"
    "td = 1.0000e-05\n"
    "points = 200\n"
    "swinit = [ 1    ]\n"
    "x0 = [ 0.0000e+00      ]\n"
    "Cy = [ -1.0000e+00      ]\n"
    "Ct = [ 0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00      ]\n"
    "Csw = [ 1    ]\n"
    "Cc = [ 5.0000e+00      ]\n"
    "thoff(1,:)=[  1   1];\n"
    "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
    "      'S1        1   2   0.0000e+00                 '   % S1\n"
    "      'R1        2   3   1.0000e+03                 '   % R1\n"
    "      'C1        3   0   1.0000e-06                 '   % C1\n"
    "      'I01       3   0   0.0000e+00                 ' ] % Vc\n"
    "Y = [ 'V         I01                                ' ] % Vc\n"
    "numn = 4;\n";

const double r_on = 0.001, r_off = 1e6 + 0.001;

// Buck: V1 = 12 V, S1 from node 1 to 2, D1 from ground to 2, L1 100 uH, C1 100 uF, R1 5
// ohm; a 100 kHz clock turns S1 on at k * 10 us and off at k * 10 us + 5 us.
const std::string buck_netlist = buck_netlist_text("2.0000e-04", "1.0000e-07", "2000");

// One interval of the buck with the switch and diode resistances rs, rd: x = [v_C; i_L],
// node 2 from the KCL (12 - v2)/rs = v2/rd + i_L. Returns the augmented exponential.
DM buck_interval(double rs, double rd, double dt) {
  const double L = 1e-4, C = 1e-4, R = 5.0, gs = 1.0 / rs, gd = 1.0 / rd;
  DM M(3, 3, 0.0);
  M(1, 1) = -1.0 / (R * C);
  M(1, 2) = 1.0 / C;
  M(2, 1) = -1.0 / L;
  M(2, 2) = -1.0 / (L * (gs + gd));
  M(2, 3) = 12.0 * gs / ((gs + gd) * L);
  return expm(M * DM(dt));
}

// Two states after `periods` periods from x (on half first).
void buck_periods(double& vc, double& il, int periods) {
  DM on = buck_interval(r_on, r_off, 5e-6), off = buck_interval(r_off, r_on, 5e-6);
  DM p = off * on;
  for (int k = 0; k < periods; ++k) {
    const double a = p(1, 1) * vc + p(1, 2) * il + p(1, 3);
    const double b = p(2, 1) * vc + p(2, 2) * il + p(2, 3);
    vc = a;
    il = b;
  }
}

}  // namespace

TEST(DriverSwitching, ThresholdSwitchOpensAtTheExactInstant) {
  TempDir dir;
  write_text("thr.m", threshold_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  const double tau1 = (1e3 + r_on) * 1e-6, tau2 = (1e3 + r_off) * 1e-6;
  const double ts = tau1 * std::log(2.0);
  run_output r = run_simu({"thr.m", "thr.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  std::vector<double> ini = read_numbers("thr.ini");
  // tv (4), the switch line "0", v_C, the on time.
  ASSERT_EQ(ini.size(), 7u);
  EXPECT_EQ(ini[4], 0.0);
  // Time in the present topology: since the switching.
  EXPECT_NEAR(2e-3 - ini[2], ts, 1e-9);
  const double vc = 10.0 - 5.0 * std::exp(-(2e-3 - ts) / tau2);
  EXPECT_LT(std::fabs(ini[5] - vc) / vc, 1e-9);
  // The table holds the instant itself (before and after the switching), at 5 V.
  plt_table p = read_plt("thr.plt");
  int at_instant = 0;
  for (const auto& row : p.rows) {
    if (std::fabs(row[0] - ts) < 1e-9) {
      ++at_instant;
      EXPECT_NEAR(row[1], 5.0, 1e-6);
    }
    const double expect = row[0] <= ts ? 10.0 * (1.0 - std::exp(-row[0] / tau1)) : 10.0 - 5.0 * std::exp(-(row[0] - ts) / tau2);
    EXPECT_NEAR(row[1], expect, 1e-5);
  }
  EXPECT_GE(at_instant, 1);
}

TEST(DriverSwitching, BuckTransientMatchesThePiecewiseExactSolution) {
  TempDir dir;
  write_text("buck.m", buck_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  for (int periods : {3, 20}) {
    std::string tsim = std::to_string(periods * 1e-5);
    run_output r = run_simu({"-tsim", tsim, "buck.m", "buck.plt"});
    ASSERT_EQ(r.result, 1) << r.err;
    double vc = 0.0, il = 0.0;
    buck_periods(vc, il, periods);
    std::vector<double> ini = read_numbers("buck.ini");
    // tv (4), the switch line "10" (S on, D off at a period's end), v_C, i_L, ...
    ASSERT_GE(ini.size(), 7u);
    EXPECT_EQ(ini[4], 10.0);
    EXPECT_LT(std::fabs(ini[5] - vc) / vc, 1e-9) << periods;
    EXPECT_LT(std::fabs(ini[6] - il) / il, 1e-9) << periods;
  }
  plt_table p = read_plt("buck.plt");
  EXPECT_EQ(p.header, "Time Vout ");   // the diode row has no label: no column
  ASSERT_GT(p.rows.size(), 100u);
}

TEST(DriverSwitching, BuckPicardReachesThePeriodicSteadyState) {
  TempDir dir;
  write_text("buck.m", buck_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"-ss", "-tsim", "1", "-td", "1e-6", "-nclkss", "5000", "-sstol_f", "1e-9",
                           "buck.m", "buck.plt"},
                          4);
  ASSERT_EQ(r.result, 1) << r.err;
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Picard:  Steady state reached!");
  EXPECT_NE(r.err.find("\n\nBrute-force Method: Steady state reached in "), std::string::npos);
  EXPECT_TRUE(file_exists("buck.seq"));
  // Fixed point of the period map x -> P x + c: (I - P) x = c.
  DM on = buck_interval(r_on, r_off, 5e-6), off = buck_interval(r_off, r_on, 5e-6);
  DM p = off * on;
  const double a = 1 - p(1, 1), b = -p(1, 2), c = -p(2, 1), d = 1 - p(2, 2);
  const double det = a * d - b * c;
  const double vc = (d * p(1, 3) - b * p(2, 3)) / det, il = (a * p(2, 3) - c * p(1, 3)) / det;
  std::vector<double> ini = read_numbers("buck.ini");
  ASSERT_GE(ini.size(), 7u);
  EXPECT_EQ(ini[4], 10.0);
  EXPECT_NEAR(ini[5], vc, 1e-6 * vc);
  EXPECT_NEAR(ini[6], il, 1e-6 * il);
  // It ended well before tsim.
  EXPECT_LT(ini[0], 0.5);
}

TEST(DriverSwitching, ClockEdgeEventAndCrossingInOneStepAreAllApplied) {
  // At 1 ms: V1 steps from 0 to 5 V (event), a clock turns S1 on, and a time threshold
  // that is due 5e-11 s before the edge turns S2 off. Three separate RC branches.
  TempDir dir;
  write_text("three.m",
             "tsim = 2.0000e-03\n"
             "td = 1.0000e-05\n"
             "points = 200\n"
             "swinit = [ 0    1     ]\n"
             "x0 = [ 0.0000e+00       \n"
             "       0.0000e+00       \n"
             "       0.0000e+00      ]\n"
             "tmd = [ 1.0000e-03     1.0000e+05     1   1     \n"
             "        1.0000e-03     1.0000e+05     2   1    ]\n"
             "vgs = [ 5.0000e+00      \n"
             "        1.0000e+01      \n"
             "        1.0000e+01     ]\n"
             "Cy = [ 0.0000e+00     0.0000e+00     0.0000e+00      ]\n"
             "Ct = [ -1.0000e+00    0.0000e+00     0.0000e+00     0.0000e+00      ]\n"
             "Csw = [ 1    ]\n"
             "Cc = [ 9.99999950000000e-04 ]\n"
             "thoff(1,:)=[  2   1];\n"
             "X = [ 'V1        1   0   0.0000e+00                 '   % V1\n"
             "      'R1        1   2   1.0000e+03                 '   % R1\n"
             "      'C1        2   0   1.0000e-06                 '   % C1\n"
             "      'V2        3   0   1.0000e+01                 '   % V2\n"
             "      'S1        3   4   0.0000e+00                 '   % S1\n"
             "      'R2        4   5   1.0000e+03                 '   % R2\n"
             "      'C2        5   0   1.0000e-06                 '   % C2\n"
             "      'V3        6   0   1.0000e+01                 '   % V3\n"
             "      'S2        6   7   0.0000e+00                 '   % S2\n"
             "      'R3        7   8   1.0000e+03                 '   % R3\n"
             "      'C3        8   0   1.0000e-06                 '   % C3\n"
             "      'I01       2   0   0.0000e+00                 '   % Va\n"
             "      'I02       5   0   0.0000e+00                 '   % Vb\n"
             "      'I03       8   0   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                '   % Va\n"
             "      'V         I02                                '   % Vb\n"
             "      'V         I03                                ' ] % Vc\n"
             "numn = 9;\n");
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"three.m", "three.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  const double tau_on = (1e3 + r_on) * 1e-6, tau_off = (1e3 + r_off) * 1e-6, t = 1e-3;
  const double va = 5.0 * (1.0 - std::exp(-t / 1e-3));
  const double vb1 = 10.0 * (1.0 - std::exp(-1e-3 / tau_off));
  const double vb = 10.0 - (10.0 - vb1) * std::exp(-t / tau_on);
  const double vc1 = 10.0 * (1.0 - std::exp(-1e-3 / tau_on));
  const double vc = 10.0 - (10.0 - vc1) * std::exp(-t / tau_off);
  std::vector<double> ini = read_numbers("three.ini");
  // tv (4), the switch line "10", three states, two on times.
  ASSERT_GE(ini.size(), 10u);
  EXPECT_EQ(ini[4], 10.0);
  EXPECT_LT(std::fabs(ini[5] - va) / va, 1e-9);
  EXPECT_LT(std::fabs(ini[6] - vb) / vb, 1e-9);
  EXPECT_LT(std::fabs(ini[7] - vc) / vc, 1e-9);
}

namespace {

// V1 steps from 0 to 5 V at the event time te; a clock turns S1 on at 1 ms.
std::string edge_and_event_netlist(const char* te) {
  return std::string("tsim = 2.0000e-03\n"
                     "td = 1.0000e-05\n"
                     "points = 200\n"
                     "swinit = [ 0    ]\n"
                     "x0 = [ 0.0000e+00       \n"
                     "       0.0000e+00      ]\n"
                     "tmd = [ 1.0000e-03     1.0000e+05     1   1     \n"
                     "        ") +
         te +
         "     1.0000e+05     2   1    ]\n"
         "vgs = [ 5.0000e+00      \n"
         "        1.0000e+01     ]\n"
         "X = [ 'V1        1   0   0.0000e+00                 '   % V1\n"
         "      'R1        1   2   1.0000e+03                 '   % R1\n"
         "      'C1        2   0   1.0000e-06                 '   % C1\n"
         "      'V2        3   0   1.0000e+01                 '   % V2\n"
         "      'S1        3   4   0.0000e+00                 '   % S1\n"
         "      'R2        4   5   1.0000e+03                 '   % R2\n"
         "      'C2        5   0   1.0000e-06                 '   % C2\n"
         "      'I01       2   0   0.0000e+00                 '   % Va\n"
         "      'I02       5   0   0.0000e+00                 ' ] % Vb\n"
         "Y = [ 'V         I01                                '   % Va\n"
         "      'V         I02                                ' ] % Vb\n"
         "numn = 6;\n";
}

// The distinct times of the table's rows within 1e-9 s of 1 ms.
std::vector<double> times_near_1ms(const plt_table& p) {
  std::vector<double> t;
  for (const auto& row : p.rows)
    if (std::fabs(row[0] - 1e-3) < 1e-9 && (t.empty() || t.back() != row[0])) t.push_back(row[0]);
  return t;
}

}  // namespace

TEST(DriverSwitching, EventWithin1e10OfAClockEdgeSharesItsStep) {
  TempDir dir;
  write_text("ce.m", edge_and_event_netlist("9.9999995e-04"));
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(run_simu({"ce.m", "ce.plt"}).result, 1);
  const std::vector<double> t = times_near_1ms(read_plt("ce.plt"));
  ASSERT_EQ(t.size(), 1u);
  EXPECT_NEAR(t[0], 9.9999995e-4, 1e-15);
  // Both took effect at the event's instant.
  const double ts = 9.9999995e-4, tau_on = (1e3 + r_on) * 1e-6, tau_off = (1e3 + r_off) * 1e-6;
  const double va = 5.0 * (1.0 - std::exp(-(2e-3 - ts) / 1e-3));
  const double vb1 = 10.0 * (1.0 - std::exp(-ts / tau_off));
  const double vb = 10.0 - (10.0 - vb1) * std::exp(-(2e-3 - ts) / tau_on);
  std::vector<double> ini = read_numbers("ce.ini");
  ASSERT_GE(ini.size(), 7u);
  EXPECT_EQ(ini[4], 1.0);
  EXPECT_LT(std::fabs(ini[5] - va) / va, 1e-9);
  EXPECT_LT(std::fabs(ini[6] - vb) / vb, 1e-9);
}

TEST(DriverSwitching, EventBeforeAClockEdgeEndsItsOwnStep) {
  TempDir dir;
  write_text("ce.m", edge_and_event_netlist("9.9999980e-04"));
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(run_simu({"ce.m", "ce.plt"}).result, 1);
  const std::vector<double> t = times_near_1ms(read_plt("ce.plt"));
  ASSERT_EQ(t.size(), 2u);
  EXPECT_NEAR(t[0], 9.999998e-4, 1e-15);
  EXPECT_NEAR(t[1], 1e-3, 1e-15);
  const double tau_on = (1e3 + r_on) * 1e-6, tau_off = (1e3 + r_off) * 1e-6;
  const double va = 5.0 * (1.0 - std::exp(-(2e-3 - 9.999998e-4) / 1e-3));
  const double vb1 = 10.0 * (1.0 - std::exp(-1e-3 / tau_off));
  const double vb = 10.0 - (10.0 - vb1) * std::exp(-1e-3 / tau_on);
  std::vector<double> ini = read_numbers("ce.ini");
  ASSERT_GE(ini.size(), 7u);
  EXPECT_LT(std::fabs(ini[5] - va) / va, 1e-9);
  EXPECT_LT(std::fabs(ini[6] - vb) / vb, 1e-9);
}
