#include "sdi/netlist/launcher.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "run_launch_circuits.h"
#include "sdi/elements/node_errors.h"
#include "sdi/netlist/wait_cursor.h"
#include "common/recording_run_services.h"

namespace {

int throwing_engine(int, char**) { throw std::runtime_error("engine fault"); }

std::vector<bool> cursor_calls;
void record_cursor(bool on) { cursor_calls.push_back(on); }

struct EngineSwap {
  sdi::engine_fn kept = sdi::engine_entry;
  sdi::wait_cursor_fn kept_hook = sdi::wait_cursor_hook;
  explicit EngineSwap(sdi::engine_fn f) {
    sdi::engine_entry = f;
    sdi::wait_cursor_hook = record_cursor;
    cursor_calls.clear();
  }
  ~EngineSwap() {
    sdi::engine_entry = kept;
    sdi::wait_cursor_hook = kept_hook;
  }
};

}  // namespace

TEST(EngineArguments, DefaultsThenFlagsInTheirPlacesAndExactValues) {
  base_name = "/home/j.doe/v1.2/buck";
  EXPECT_EQ(sdi::engine_arguments(),
            (std::vector<std::string>{"simu", "-tsim", "0.001", "-td", "1e-06", "-points", "9999999", "-start_si", "0",
                                      "-finish_si", "0.001", "-sv", "-nclkss", "25", "-sstol_f", "1e-06", "-sstol_c",
                                      "1", "-ssmethod", "1", "-none_c", "2", "-Cycles_togo", "0",
                                      "/home/j.doe/v1.2/buck.m", "/home/j.doe/v1.2/buck.plt"}));
  base_name = "x";
  run_one_c = run_ss = run_stop_close = run_ld = 1;
  run_tsim = 0.0001;
  run_td = 1.23456789e-7;
  run_ssmethod = 3;
  auto a = sdi::engine_arguments();
  ASSERT_EQ(a.size(), 30u);
  EXPECT_EQ((std::vector<std::string>{a[1], a[3], a[5], a[12], a[13], a[14], a[15], a[22], a[23], a[28], a[29]}),
            (std::vector<std::string>{"-one_c", "0.0001", "1.23456789e-07", "-ss", "-stop_close", "-sv", "-ld",
                                      "-ssmethod", "3", "x.m", "x.plt"}));
  run_sv = 0;
  EXPECT_EQ(sdi::engine_arguments().size(), 29u);
}

TEST(RunSimulation, WaitCursorIsRestoredWhenTheEngineThrows) {
  TempDir dir;
  CircuitGuard guard;
  Capture cap;
  EngineSwap swap(throwing_engine);
  build_rc();
  base_name = "rc";
  const std::vector<int> ids = circuit_ids();
  EXPECT_THROW(sdi::run_simulation(), std::runtime_error);
  EXPECT_EQ(sdi::wait_cursor_depth(), 0);
  EXPECT_EQ(cursor_calls, (std::vector<bool>{true, false}));
  EXPECT_EQ(circuit_ids(), ids);
}

namespace {
std::vector<std::string> dialogs;
void record_dialog(const char* text) { dialogs.push_back(text); }
}  // namespace

TEST(SimulationDone, BoxOrDialogByTheF8Choice) {
  recording_run_services host;
  main_window_scope scope(host);
  sdi::finish_dialog_fn kept = sdi::finish_dialog_hook;
  sdi::finish_dialog_hook = record_dialog;
  dialogs.clear();
  sdi::simulation_done("1.005");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Simulation completed! Total simulation time = 1.005 secs.");
  EXPECT_EQ(host.boxes[0].style, box_style::information);
  sdi::plain_finish_message = 0;
  sdi::simulation_done("2.5");
  EXPECT_EQ(dialogs, (std::vector<std::string>{"Total simulation time = 2.5 secs."}));
  EXPECT_EQ(host.boxes.size(), 1u);
  sdi::plain_finish_message = 1;
  sdi::finish_dialog_hook = kept;
}
