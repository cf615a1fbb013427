// The transient driver's cycle handling on the buck: Picard to the exact periodic steady
// state, stop-when-close, the cycle limit, limited runs, continuing from a state file and
// when the steady-state method begins.
#include <cmath>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "buck_netlist.h"
#include "pss_netlists.h"
#include "common/temp_dir.h"
#include "driver_run.h"
#include "common/recording_run_services.h"

namespace {

struct buck_run {
  TempDir dir;
  recording_run_services host;
  main_window_scope scope{host};
  buck_run() { write_text("buck.m", buck_netlist_text("2.0000e-04", "1.0000e-06", "2000")); }
};

// Answers Esc at the first poll after the "Close to Steady state!" box.
struct esc_after_close : recording_run_services {
  int message_box(const char* text, box_style style) override {
    if (std::string(text) == "Close to Steady state!") escape_at_poll = polls + 1;
    return recording_run_services::message_box(text, style);
  }
};

}  // namespace

TEST(DriverSteady, PicardReachesTheExactPeriodicSteadyStateWithOrWithoutStoppingWhenClose) {
  buck_run b;
  const struct {
    std::vector<std::string> words, boxes;
    const char* err;
    double tol;   // of the states against the exact steady state
  } rows[] = {
      {{"-stop_close", "-sstol_c", "0.05"}, {"Close to Steady state!", "Picard:  Steady state reached!"},
       "Close tolerance of 0.05 reached!\nSteady State method begins.", 1e-4},
      {{"-sstol_f", "1e-10"}, {"Picard:  Steady state reached!"}, "", 1e-6},
  };
  for (const auto& w : rows) {
    std::vector<std::string> words = {"-ss", "-tsim", "1", "-nclkss", "5000", "buck.m", "buck.plt"};
    words.insert(words.begin(), w.words.begin(), w.words.end());
    b.host.boxes.clear();
    run_output r = run_simu(words);
    ASSERT_EQ(r.result, 1) << r.err;
    std::vector<std::string> boxes;
    for (const auto& box : b.host.boxes) boxes.push_back(box.text);
    EXPECT_EQ(boxes, w.boxes);
    EXPECT_NE(r.err.find(w.err), std::string::npos);
    EXPECT_NE(r.err.find("\n\nBrute-force Method: Steady state reached in "), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists("buck.seq"));
    const std::vector<double> x = buck_steady(), ini = read_numbers("buck.ini");
    ASSERT_GE(ini.size(), 7u);
    EXPECT_EQ(ini[4], 10.0);
    for (int k : {5, 6}) EXPECT_NEAR(ini[k], x[k - 5], w.tol * x[k - 5]) << k;
    EXPECT_LT(ini[0], 0.5);
  }
  // A limited run of two cycles from the steady state ends where it started.
  const std::vector<double> steady = read_numbers("buck.ini");
  b.host.boxes.clear();
  run_output r = run_simu({"-one_c", "-none_c", "2", "-tsim", "1", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_TRUE(b.host.boxes.empty());
  EXPECT_NE(r.err.find("\nInitial conditions loaded successfully.\n"), std::string::npos);
  std::vector<double> ini = read_numbers("buck.ini");
  ASSERT_EQ(ini.size(), steady.size());
  EXPECT_NEAR(ini[0], 2e-5, 1e-12);
  for (int k : {5, 6}) EXPECT_NEAR(ini[k], steady[k], 1e-8 * steady[k]) << k;
}

TEST(DriverSteady, CloseToSteadyStateSavesTheStateThere) {
  // Esc right after the close box: the state file holds the state where the cycles came
  // close, the same as a transient run to that instant.
  TempDir dir;
  write_text("buck.m", buck_netlist_text("2.0000e-04", "1.0000e-06", "2000"));
  std::vector<double> close;
  {
    esc_after_close host;
    main_window_scope scope(host);
    run_simu({"-ss", "-stop_close", "-sstol_c", "0.05", "-tsim", "0.02", "-nclkss", "100000", "-sstol_f", "1e-15",
              "buck.m", "buck.plt"});
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text, "Simulation terminated by user");
    close = read_numbers("buck.ini");
  }
  ASSERT_GE(close.size(), 7u);
  EXPECT_GT(close[0], 1e-4);
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(run_simu({"-tsim", std::to_string(close[0]), "buck.m", "buck.plt"}).result, 1);
  const std::vector<double> ini = read_numbers("buck.ini");
  ASSERT_EQ(ini.size(), close.size());
  EXPECT_EQ(close[4], ini[4]);
  for (int k : {5, 6}) EXPECT_NEAR(close[k], ini[k], 1e-9 * std::fabs(ini[k])) << k;
}

TEST(DriverSteady, CycleLimitAndALimitedRunFromATransientStateEndTheRunWithTheirBox) {
  buck_run b;
  run_output r = run_simu({"-ss", "-nclkss", "3", "-tsim", "1", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_NE(r.out.find("Steady state not reached in 3 cycles!\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("buck.seq"));
  // Four cycles of 10 us found: the run ended at 40 us (the first cycle starts at 0).
  EXPECT_NEAR(read_numbers("buck.ini")[0], 4e-5, 1e-12);
  r = run_simu({"-one_c", "-tsim", "1", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  ASSERT_EQ(b.host.boxes.size(), 2u);
  EXPECT_EQ(b.host.boxes[0].text, "Failed to reach steady state in 3 cycles!");
  EXPECT_EQ(b.host.boxes[1].text, "Initial condition is not in steady state!");
  ASSERT_EQ(b.host.reports.size(), 2u);   // a limited run that ended is reported
}

TEST(DriverSteady, StateFileWithAnotherSettingContinuesExactly) {
  // 25 us ends with S1 off and D1 on; 15 us more from there must equal 40 us at once.
  buck_run b;
  ASSERT_EQ(run_simu({"-tsim", "2.5e-5", "buck.m", "buck.plt"}).result, 1);
  EXPECT_EQ(read_numbers("buck.ini")[4], 1.0);   // the switch line "01"
  run_output r = run_simu({"-ld", "-tsim", "1.5e-5", "buck.m", "buck.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  const std::vector<double> two = read_numbers("buck.ini"), x = buck_after(4);
  ASSERT_GE(two.size(), 7u);
  EXPECT_NEAR(two[0], 1.5e-5, 1e-15);   // the run's own clock restarts at 0
  EXPECT_NEAR(two[3], 4e-5, 1e-15);
  EXPECT_EQ(two[4], 10.0);
  for (int k : {5, 6}) EXPECT_NEAR(two[k], x[k - 5], 1e-9 * x[k - 5]) << k;
}

TEST(DriverSteady, WhenNewtonBegins) {
  // The clock fixes every switching instant, so one Newton step lands on the steady state.
  // The method begins at the first switching step after cycle togo + 1 and the run ends
  // two cycles later; a coarse tolerance that any two states meet begins it once cycles > 2.
  buck_run b;
  const std::initializer_list<std::tuple<int, const char*, int>> rows = {{0, "", 3}, {1, "", 4}, {3, "", 6}, {10, "1e9", 5}};
  for (auto [togo, coarse, cycles] : rows) {
    std::vector<std::string> words = {"-ss", "-tsim", "1", "buck.m", "buck.plt"};
    if (*coarse) words.insert(words.begin(), {"-sstol_c", coarse});
    b.host.boxes.clear();
    run_output r = run_simu(words, 1, togo);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_NE(r.err.find("\n\nAnalytical Method: Steady state reached in " + std::to_string(cycles) + " cycles!\n"),
              std::string::npos)
        << togo << r.err;
    EXPECT_NEAR(read_numbers("buck.ini")[0], cycles * 1e-5, 1e-12) << togo;
    ASSERT_EQ(b.host.boxes.size(), 1u);
    EXPECT_EQ(b.host.boxes[0].text, "Newton:  Steady state reached!");
  }
}

TEST(DriverSteady, ALimitedRunChecksThePeriodOfItsSecondCycle) {
  // The H-bridge's cycles start at i_L = 0, so a first cycle from any state passes the
  // state test: only the second cycle's period tells a transient state from the steady one.
  TempDir dir;
  write_text("hb.m", h_bridge);
  const struct {
    std::vector<std::string> first;   // the run that leaves the state file
    std::vector<std::string> boxes;   // of the limited run from it
  } rows[] = {{{"-tsim", "2e-4", "hb.m", "hb.plt"}, {"Initial condition is not in steady state!"}},
              {{"-ss", "-nclkss", "300", "hb.m", "hb.plt"}, {}}};
  for (const auto& row : rows) {
    recording_run_services host;
    main_window_scope scope(host);
    ASSERT_EQ(run_simu(row.first).result, 1);
    host.boxes.clear();
    run_output r = run_simu({"-one_c", "-none_c", "2", "-tsim", "1", "hb.m", "hb.plt"});
    ASSERT_EQ(r.result, 1) << r.err;
    std::vector<std::string> boxes;
    for (const auto& box : host.boxes) boxes.push_back(box.text);
    EXPECT_EQ(boxes, row.boxes) << r.err;
  }
}
