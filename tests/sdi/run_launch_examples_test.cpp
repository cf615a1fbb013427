// The example circuits open and run end to end to their closed-form answers.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "run_launch_circuits.h"
#include "sdi/netlist/launcher.h"
#include "common/recording_run_services.h"
#include "sdi/netlist/connectivity.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"
#include "simu/input/run_settings.h"

namespace {

std::string example(const std::string& file) { return std::string(ZORV_TEST_DATA) + "/../../../examples/" + file; }

}  // namespace

// The RC example from rest, run in a fresh folder: its table follows the exponential.
TEST(Examples, RcFollowsItsExponential) {
  TempDir dir;
  CircuitGuard guard;
  Capture cap;
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(sdi::open_circuit_file(example("rc.ckt")), sdi::circuit_read);
  base_name = "rc";
  run_ss = 0;
  EXPECT_EQ(sdi::run_simulation(), 1);
  EXPECT_TRUE(cap.messages.empty());
  std::ifstream plt("rc.plt");
  std::string header;
  std::getline(plt, header);
  EXPECT_EQ(header.substr(0, 4), "Time");
  EXPECT_NE(header.find("VP1"), std::string::npos);
  int rows = 0;
  for (double time, v; plt >> time >> v; ++rows) EXPECT_NEAR(v, 10.0 * (1.0 - std::exp(-time / 1e-3)), 1e-5) << time;
  EXPECT_GT(rows, 400);
}

// A circuit file whose save window starts after its final time: the engine refuses the
// transient run before it starts, with the window and tsim, and writes no table.
TEST(Examples, ASaveWindowAfterTheFinalTimeIsRefused) {
  TempDir dir;
  CircuitGuard guard;
  Capture cap;
  recording_run_services host;
  main_window_scope scope(host);
  std::ifstream in(example("rc.ckt"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const double window[] = {0.006, 0.007};   // start_si and finish_si at bytes 40 and 48; tsim is 0.005
  bytes.replace(40, sizeof window, reinterpret_cast<const char*>(window), sizeof window);
  std::ofstream("late.ckt", std::ios::binary) << bytes;
  ASSERT_EQ(sdi::open_circuit_file("late.ckt"), sdi::circuit_read);
  EXPECT_EQ(run_start_si, 0.006);
  base_name = "late";
  run_ss = 0;
  EXPECT_EQ(sdi::run_simulation(), 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text,
            "The save window from start_si = 0.006 s to finish_si = 0.007 s holds no instant of the run, which ends at "
            "tsim = 0.005 s; run refused.\n");
  EXPECT_FALSE(std::filesystem::exists("late.plt"));
}

// examples/rectifier.ckt: its own final time leaves its steady-state search room for the
// second cycle, which the period test needs.
TEST(Examples, TheRectifierReachesItsSteadyStateWithinItsFinalTime) {
  TempDir dir;
  CircuitGuard guard;
  Capture cap;
  SettingsGuard settings;
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(sdi::open_circuit_file(example("rectifier.ckt")), sdi::circuit_read);
  EXPECT_EQ(run_tsim, 0.05);
  base_name = "rectifier";
  run_ss = 1;
  ASSERT_EQ(sdi::run_simulation(), 1);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Newton:  Steady state reached!");
  std::ifstream seq("rectifier.seq");
  std::string line;
  for (int k = 0; k < 4; ++k) std::getline(seq, line);
  EXPECT_EQ(line, "period = 2.000000e-02");
}

// examples/buck.ckt: a buck converter drawn in the editor, its diode's wire ending inside another.
TEST(CktExample, BuckOpensAndItsNodesCheck) {
  CircuitGuard guard;
  Capture cap;
  ASSERT_EQ(sdi::open_circuit_file(example("buck.ckt")), sdi::circuit_read);
  EXPECT_EQ(run_tsim, 0.002);
  // The power stage, 2 clocks, 3 grounds and 12 wires (one split in two where the diode's joins it).
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 30, 21, 21, 29, 2, 1, 0, 9, 28, 28, 28,
                                               5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}));
  sdi::elist kept = sdi::circuit.copy();
  sdi::run_error_count = 0;
  sdi::check_nodes();
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(sdi::run_error_count, 0);
  // Ground, the input, the switch node and the output; the two clock nodes are control nodes.
  EXPECT_EQ(sdi::numn, 4);
  sdi::element* sw = sdi::circuit.get(2);
  EXPECT_GE(sdi::pin_node(sw, 2), 1000);
  EXPECT_GE(sdi::pin_node(sw, 3), 1000);
  EXPECT_NE(sdi::pin_node(sw, 2), sdi::pin_node(sw, 3));
  sdi::circuit.list_clear();
  sdi::circuit.head = kept.head;
  sdi::circuit.current_ = kept.current_;
}

// Runs of the buck example whose boxes each stay open a second: every time the run
// reports (the report, the elapsed and actual simulation times, each line of the time
// breakdown) leaves the wait out, for a completed run and a failed one alike.
TEST(Examples, TheTimeReportedLeavesOutTheBoxesOpenDuringTheRun) {
  struct slow_reader : recording_run_services {
    int message_box(const char* text, box_style style) override {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      return recording_run_services::message_box(text, style);
    }
  };
  const struct {
    const char* box;
    int escape_at_poll, nclkss, result;
  } rows[] = {
      {"Newton:  Steady state reached!", 0, 25, 1},
      {"Failed to reach steady state in 1 cycles!", 0, 1, 1},
      {"Simulation terminated by user", 3, 25, 0},
  };
  // A figure's line: what precedes the seconds (a breakdown line: its 21-character label).
  const std::regex figure(R"((Actual simulation time was |Elapsed time for simulation: |[A-Z][A-Za-z0-9 ]{20}: )([0-9]+\.[0-9]+)( seconds\.?)?)");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.box);
    TempDir dir;
    CircuitGuard guard;
    Capture cap;
    SettingsGuard settings;
    slow_reader host;
    host.escape_at_poll = row.escape_at_poll;
    main_window_scope scope(host);
    ASSERT_EQ(sdi::open_circuit_file(example("buck.ckt")), sdi::circuit_read);
    base_name = "buck";
    run_ss = 1;
    run_nclkss = row.nclkss;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    const int result = sdi::run_simulation();
    const auto wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const std::string printed = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    ASSERT_EQ(result, row.result) << printed;
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, row.box);
    std::vector<std::string> seconds = host.reports;   // "S.mmm" as the engine writes it
    ASSERT_EQ(seconds.size(), row.result ? 1u : 0u);
    int actual = 0, elapsed = 0, breakdown = 0;
    std::istringstream lines(printed);
    std::smatch m;
    for (std::string line; std::getline(lines, line);) {
      if (!std::regex_match(line, m, figure)) continue;
      (m[1] == "Actual simulation time was " ? actual : m[1] == "Elapsed time for simulation: " ? elapsed : breakdown)++;
      seconds.push_back(m[2]);
    }
    EXPECT_EQ(actual, row.result);   // a failed run ends before its closing lines
    EXPECT_EQ(elapsed, 1);
    EXPECT_GE(breakdown, 1) << printed;
    for (const std::string& secs : seconds)
      EXPECT_LE(std::stod(secs) * 1000.0, wall - 1000.0 + 10.0) << secs << " in " << wall << " ms\n" << printed;
  }
}
