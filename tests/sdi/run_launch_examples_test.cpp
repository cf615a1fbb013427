// The example circuits open and run end to end to their closed-form answers.
#include <gtest/gtest.h>

#include <cmath>

#include "plt_table.h"
#include "run_launch_circuits.h"
#include "sdi/launcher.h"
#include "simu/recording_run_services.h"
#include "sdi/connectivity.h"
#include "sdi/node_errors.h"
#include "sdi/node_numbering.h"

namespace {

std::string example(const std::string& file) { return std::string(ZORV_TEST_DATA) + "/../../../examples/" + file; }

// Opens an example and runs it in a fresh folder; the result table.
Table run_example(const std::string& file, const std::string& base, bool steady, double tsim = 0.0) {
  Capture cap;
  recording_run_services host;
  main_window_scope scope(host);
  EXPECT_EQ(sdi::open_circuit_file(example(file)), sdi::circuit_read);
  base_name = base;
  if (tsim > 0.0) run_tsim = run_finish_si = tsim;
  run_ss = steady ? 1 : 0;
  run_ssmethod = 1;
  EXPECT_EQ(sdi::run_simulation(), 1);
  EXPECT_TRUE(cap.messages.empty());
  return read_plt(base + ".plt");
}

}  // namespace

TEST(Examples, RcFollowsItsExponential) {
  TempDir dir;
  CircuitGuard guard;
  SettingsGuard settings;
  Table t = run_example("rc.ckt", "rc", false);
  ASSERT_EQ(t.header, (std::vector<std::string>{"Time", "VP1"}));
  ASSERT_GT(t.rows.size(), 400u);
  for (const auto& row : t.rows) EXPECT_NEAR(row[1], 10.0 * (1.0 - std::exp(-row[0] / 1e-3)), 1e-5) << row[0];
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
