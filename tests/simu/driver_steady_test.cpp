// The transient driver's cycle handling: stop-when-close, the cycle limit, limited runs,
// continuing from a state file, state bounds and the multiplier.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "buck_netlist.h"
#include "driver_run.h"
#include "simu/recording_run_services.h"

namespace {

// The buck of the switching tests (100 kHz clock, S1 on in the first half period).
const std::string buck_netlist = buck_netlist_text("2.0000e-04", "1.0000e-06", "2000");

struct buck_run {
  TempDir dir;
  recording_run_services host;
  main_window_scope scope{host};
  buck_run() { write_text("buck.m", buck_netlist); }
};

}  // namespace

TEST(DriverSteady, StopWhenCloseThenPicard) {
  buck_run b;
  run_output r = run_simu({"-ss", "-stop_close", "-sstol_c", "0.05", "-tsim", "1", "-nclkss", "5000",
                           "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  ASSERT_EQ(b.host.boxes.size(), 2u);
  EXPECT_EQ(b.host.boxes[0].text, "Close to Steady state!");
  EXPECT_EQ(b.host.boxes[1].text, "Picard:  Steady state reached!");
  EXPECT_NE(r.err.find("Close tolerance of 0.05 reached!\nSteady State method begins."), std::string::npos);
  EXPECT_NE(r.err.find("\n\nBrute-force Method: Steady state reached in "), std::string::npos);
  EXPECT_TRUE(file_exists("buck.seq"));
}

TEST(DriverSteady, CycleLimitEndsTheRun) {
  buck_run b;
  run_output r = run_simu({"-ss", "-nclkss", "3", "-tsim", "1", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  ASSERT_EQ(b.host.boxes.size(), 1u);
  EXPECT_EQ(b.host.boxes[0].text, "Failed to reach steady state in 3 cycles!");
  EXPECT_NE(r.out.find("Steady state not reached in 3 cycles!\n"), std::string::npos);
  EXPECT_TRUE(file_exists("buck.plt"));
  EXPECT_FALSE(file_exists("buck.seq"));
  // Four cycles of 10 us found: the run ended at 40 us (the first cycle starts at 0).
  std::vector<double> ini = read_numbers("buck.ini");
  EXPECT_NEAR(ini[0], 4e-5, 1e-12);
}

TEST(DriverSteady, TransientRunFindsNoCycleAndWritesNoReport) {
  buck_run b;
  run_output r = run_simu({"-tsim", "1e-2", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_TRUE(b.host.boxes.empty());
  EXPECT_FALSE(file_exists("buck.seq"));
  std::vector<double> ini = read_numbers("buck.ini");
  EXPECT_NEAR(ini[0], 1e-2, 1e-12);
}

TEST(DriverSteady, LimitedRunFromASteadyState) {
  buck_run b;
  ASSERT_EQ(run_simu({"-ss", "-tsim", "1", "-nclkss", "5000", "-sstol_f", "1e-10", "buck.m", "buck.plt"}).result, 1);
  const std::vector<double> steady = read_numbers("buck.ini");
  b.host.boxes.clear();
  run_output r = run_simu({"-one_c", "-none_c", "2", "-tsim", "1", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_TRUE(b.host.boxes.empty());
  EXPECT_NE(r.err.find("\nInitial conditions loaded successfully.\n"), std::string::npos);
  std::vector<double> ini = read_numbers("buck.ini");
  ASSERT_EQ(ini.size(), steady.size());
  // Two cycles of 10 us; the state is where it started.
  EXPECT_NEAR(ini[0], 2e-5, 1e-12);
  EXPECT_NEAR(ini[5], steady[5], 1e-8 * steady[5]);
  EXPECT_NEAR(ini[6], steady[6], 1e-8 * steady[6]);
  EXPECT_TRUE(file_exists("buck.plt"));
}

TEST(DriverSteady, LimitedRunFromATransientState) {
  buck_run b;
  ASSERT_EQ(run_simu({"-tsim", "3e-5", "buck.m", "buck.plt"}).result, 1);
  run_output r = run_simu({"-one_c", "-tsim", "1", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  ASSERT_EQ(b.host.boxes.size(), 1u);
  EXPECT_EQ(b.host.boxes[0].text, "Initial condition is not in steady state!");
  ASSERT_EQ(b.host.reports.size(), 2u);   // a limited run that ended is reported
}

TEST(DriverSteady, StateFileWithAnotherSettingContinuesExactly) {
  // 25 us ends with S1 off and D1 on; 15 us more from there must equal 40 us at once.
  buck_run b;
  ASSERT_EQ(run_simu({"-tsim", "4e-5", "buck.m", "buck.plt"}).result, 1);
  const std::vector<double> whole = read_numbers("buck.ini");
  ASSERT_EQ(run_simu({"-tsim", "2.5e-5", "buck.m", "buck.plt"}).result, 1);
  EXPECT_EQ(read_numbers("buck.ini")[4], 1.0);   // the switch line "01"
  run_output r = run_simu({"-ld", "-tsim", "1.5e-5", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  const std::vector<double> two = read_numbers("buck.ini");
  ASSERT_EQ(two.size(), whole.size());
  EXPECT_EQ(two[4], 10.0);
  EXPECT_NEAR(two[5], whole[5], 1e-9 * std::fabs(whole[5]));
  EXPECT_NEAR(two[6], whole[6], 1e-9 * std::fabs(whole[6]));
}

TEST(DriverSteady, StateBoundClampsTheCapacitor) {
  TempDir dir;
  write_text("rc.m",
             "tsim = 5.0000e-03\n"
             "td = 1.0000e-05\n"
             "points = 500\n"
             "x0 = [ 0.0000e+00      ]\n"
             "stmax = [ 'V_C1      5.0000e+00     ' ]\n"
             "X = [ 'V1        1   0   1.0000e+01                 '   % V1\n"
             "      'R1        1   2   1.0000e+03                 '   % R1\n"
             "      'C1        2   0   1.0000e-06                 '   % C1\n"
             "      'I01       2   0   0.0000e+00                 ' ] % Vc\n"
             "Y = [ 'V         I01                                ' ] % Vc\n"
             "numn = 3;\n");
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(run_simu({"rc.m", "rc.plt"}).result, 1);
  plt_table p = read_plt("rc.plt");
  double top = 0.0;
  for (const auto& row : p.rows) top = std::max(top, row[1]);
  EXPECT_EQ(top, 5.0);
  EXPECT_EQ(read_numbers("rc.ini")[4], 5.0);
}

TEST(DriverSteady, MultiplierOutputIsConsistentFromTheFirstSample) {
  // V#M1 = 0.5 * v(I02) * v(I03) = 0.5 * 2 * 3 across R3.
  TempDir dir;
  write_text("mult.m",
             "tsim = 1.0000e-04\n"
             "td = 1.0000e-06\n"
             "points = 100\n"
             "X = [ 'V1        1   0   2.0000e+00                 '   % V1\n"
             "      'R1        1   0   1.0000e+03                 '   % R1\n"
             "      'V2        2   0   3.0000e+00                 '   % V2\n"
             "      'R2        2   0   1.0000e+03                 '   % R2\n"
             "      'V#M1      3   0   1.0000e+00     5.0000e-01     I02  I03  '   % MUL1\n"
             "      'R3        3   0   1.0000e+03                 '   % R3\n"
             "      'I01       3   0   0.0000e+00                 '   % Vp\n"
             "      'I02       1   0   0.0000e+00                 '  \n"
             "      'I03       2   0   0.0000e+00                 ' ]\n"
             "Y = [ 'V         I01                                '   % Vp\n"
             "      'V         I02                                '  \n"
             "      'V         I03                                ' ]\n"
             "numn = 4;\n");
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"mult.m", "mult.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  plt_table p = read_plt("mult.plt");
  EXPECT_EQ(p.header, "Time Vp ");
  ASSERT_GT(p.rows.size(), 50u);
  for (const auto& row : p.rows) EXPECT_EQ(row[1], 3.0) << row[0];
}

TEST(DriverSteady, NewtonBeginsAfterTheCyclesToGo) {
  // The clock fixes every switching instant, so one cycle's map is affine and one Newton
  // step lands on the steady state: the next found cycle is converged. The method begins
  // at the first switching step after cycle begin_after + 1, acts at the next found
  // cycle, and the run ends one cycle later.
  buck_run b;
  for (int togo : {0, 1, 3}) {
    run_output r = run_simu({"-ss", "-tsim", "1", "buck.m", "buck.plt"}, 1, togo);
    ASSERT_EQ(r.result, 1) << r.err;
    const int cycles = togo + 3;
    EXPECT_NE(r.err.find("\n\nAnalytical Method: Steady state reached in " + std::to_string(cycles) + " cycles!\n"),
              std::string::npos)
        << togo << r.err;
    EXPECT_NEAR(read_numbers("buck.ini")[0], cycles * 1e-5, 1e-12) << togo;
  }
}

TEST(DriverSteady, CoarseToleranceBeginsTheMethodAfterTheThirdCycle) {
  // A coarse tolerance that any two states meet: begun once cycles > 2, whatever the
  // cycles to go.
  buck_run b;
  run_output r = run_simu({"-ss", "-tsim", "1", "-sstol_c", "1e9", "buck.m", "buck.plt"}, 1, 10);
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_NE(r.err.find("\n\nAnalytical Method: Steady state reached in 5 cycles!\n"), std::string::npos) << r.err;
  ASSERT_EQ(b.host.boxes.size(), 1u);
  EXPECT_EQ(b.host.boxes[0].text, "Newton:  Steady state reached!");
}
