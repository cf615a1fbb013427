// Every run setting reaches its field of the engine's settings record: the launcher's
// arguments, parsed by the engine and applied over a netlist's values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_launch_circuits.h"
#include "sdi/netlist/launcher.h"
#include "simu/input/options.h"
#include "simu/input/sim_params.h"
#include "simu/driver/simu_entry.h"

TEST(RunSettingsChain, EachSettingLandsInItsRecordField) {
  SettingsGuard settings;
  base_name = "chain";
  run_tsim = 0.002, run_td = 2.5e-7, run_points = 4000, run_start_si = 5e-4, run_finish_si = 0.0015;
  run_sstol_f = 3e-5, run_sstol_c = 0.02, run_nclkss = 40, run_ssmethod = 3, run_none_c = 7;
  run_cycles_togo = 5, run_one_c = 1, run_ss = 1, run_stop_close = 1, run_sv = 0, run_ld = 1;
  std::vector<std::string> args = sdi::engine_arguments();
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  parse_args(static_cast<int>(argv.size()), argv.data());
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  sim_params p;
  // The save window, the method and its cycles have no field: the engine reads them
  // from the run settings.
  apply_options(p);
  EXPECT_EQ((std::vector<double>{p.tsim, p.td, p.sstol_f, p.sstol_c}), (std::vector<double>{0.002, 2.5e-7, 3e-5, 0.02}));
  EXPECT_EQ((std::vector<int>{p.points, p.nclkss, p.none_c}), (std::vector<int>{4000, 40, 7}));
  EXPECT_EQ((std::vector<int>{p.one_c, p.steady, p.stop_close, p.ld}), (std::vector<int>{1, 1, 1, 1}));
  EXPECT_STREQ(sim_options.infile, "chain.m");
  EXPECT_STREQ(sim_options.outfile, "chain.plt");
}
