// Whole runs: circuits saved as circuit files, opened again, prepared and run
// by the engine in this process; the result tables against closed forms.
#include <gtest/gtest.h>

#include <cmath>

#include "periodic_state.h"
#include "plt_table.h"
#include "run_launch_circuits.h"
#include "matrix/dm.h"
#include "matrix/expm.h"
#include "sdi/circuit_file.h"
#include "sdi/launcher.h"
#include "sdi/node_errors.h"
#include "sdi/wait_cursor.h"
#include "simu/recording_run_services.h"

namespace {

// Saves the built circuit, empties the sheet and opens the file again.
void save_and_reopen(const std::string& file) {
  ASSERT_EQ(sdi::save_circuit(file), 1);
  CircuitGuard::clear();
  ASSERT_EQ(sdi::open_circuit_file(file), sdi::circuit_read);
}

}  // namespace

TEST(RunEndToEnd, RcStepFollowsTheExponential) {
  TempDir dir;
  CircuitGuard guard;
  SettingsGuard settings;
  Capture cap;
  recording_run_services host;
  main_window_scope scope(host);
  run_tsim = 5e-3;
  run_td = 1e-5;
  run_start_si = 0.0;
  run_finish_si = 5e-3;
  run_points = 501;
  build_rc();
  save_and_reopen("rc.ckt");
  base_name = "rc";
  EXPECT_EQ(sdi::run_simulation(), 1);
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(sdi::wait_cursor_depth(), 0);
  Table t = read_plt("rc.plt");
  ASSERT_EQ(t.header, (std::vector<std::string>{"Time", "Vc"}));
  ASSERT_GT(t.rows.size(), 100u);
  for (const auto& row : t.rows) {
    ASSERT_EQ(row.size(), 2u);
    double expected = 10.0 * (1.0 - std::exp(-row[0] / 1e-3));
    EXPECT_NEAR(row[1], expected, 1e-5) << "t = " << row[0];
  }
  EXPECT_NEAR(t.rows.back()[0], 5e-3, 1e-12);
  EXPECT_EQ(host.reports.size(), 1u);
}

// The buck example (12 V, switch on for the first half of each 20 us period,
// 100 uH, 100 uF, 5 ohm, continuous conduction): the steady state found by
// Newton's method against the periodic solution of the two linear stages with
// the engine's switch model (0.001 ohm closed, 1e6 + 0.001 ohm open). The
// switch node x follows from (vin - vx) / rs - vx / rd = iL;
// x0 = (I - Poff Pon)^-1 (Poff g_on + g_off), each P and g exact over 10 us.
TEST(RunEndToEnd, BuckSteadyStateByNewton) {
  TempDir dir;
  CircuitGuard guard;
  SettingsGuard settings;
  Capture cap;
  recording_run_services host;
  main_window_scope scope(host);
  const std::string example = std::string(ZORV_TEST_DATA) + "/../../../examples/buck.ckt";
  ASSERT_EQ(sdi::open_circuit_file(example), sdi::circuit_read);
  base_name = "buck";
  run_ss = 1;
  run_ssmethod = 1;
  EXPECT_EQ(sdi::run_simulation(), 1);
  EXPECT_TRUE(cap.messages.empty());
  ASSERT_FALSE(host.boxes.empty());
  EXPECT_EQ(host.boxes.back().text, "Newton:  Steady state reached!");

  const double L = 1e-4, C = 1e-4, R = 5.0, h = 1e-5, vin = 12.0, on = 0.001, off = 1e6 + 0.001;
  auto stage = [&](double rs, double rd, DM& P, DM& G) {
    const double g = 1.0 / rs + 1.0 / rd;
    DM A(2, 2, 0.0), B(2, 1, 0.0);
    A(1, 1) = -1.0 / (g * L);
    A(1, 2) = -1.0 / L;
    A(2, 1) = 1.0 / C;
    A(2, 2) = -1.0 / (R * C);
    B(1, 1) = 1.0 / (rs * g * L);
    c2d(P, G, A, B, h);
  };
  DM Pon, Gon, Poff, Goff;
  stage(on, off, Pon, Gon);
  stage(off, on, Poff, Goff);
  const PeriodicState ps = periodic_state(Pon, Gon, Poff, Goff, vin);

  Table t = read_plt("buck.plt");
  ASSERT_EQ(t.header.size(), 2u);  // Time and the output port
  ASSERT_GT(t.rows.size(), 10u);
  // The run ends on a switching instant: the start of a period or the turn-off.
  expect_ends_on_periodic_state(t.rows.back(), ps, h);
  EXPECT_NEAR(ps.v0, 6.0, 0.01);  // D Vin, with the ripple's offset
}
