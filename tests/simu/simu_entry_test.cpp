// simu: the protected run, progress and Esc, every error case, options over the netlist.
#include "simu/simu_entry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/temp_dir.h"
#include "driver_run.h"
#include "simu/netlist.h"
#include "simu/recording_run_services.h"
#include "simu/sim_params.h"

namespace {

const std::vector<std::string> rc_rows = {"V1 1 0 10", "R1 1 2 1e3", "C1 2 0 1e-6", "I01 2 0 0"};
const std::string rc_netlist = netlist_of("tsim = 1e-3\ntd = 1e-6\npoints = 100\nx0 = [ 0 ]\n", rc_rows, {"V I01|Vc"}, 3);

double vc(double t) { return 10.0 * (1.0 - std::exp(-t / 1e-3)); }

}  // namespace

TEST(Simu, NormalRunStepsTheBarExactly50TimesAndSaysWhatItWrote) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"rc.m", "rc.plt"});
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(host.creates, 1);
  EXPECT_EQ(host.polls, 50);
  EXPECT_EQ(host.steps, 50);
  EXPECT_EQ(host.deletes, 1);
  EXPECT_TRUE(host.boxes.empty());
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_NE(r.out.find("Final simulation time = 1.00000000e-03.\nElapsed time for simulation: " + host.reports[0] +
                       " seconds\nTime breakdown:\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("\nJob completed!\nCondition saved in disk file \"rc.ini\"!\n"
                       "Outputs saved in file  \"rc.plt\".\nActual simulation time was "),
            std::string::npos)
      << r.err;
  for (const char* f : {"rc.plt", "rc.ini", "src.dat", "states.dat"}) EXPECT_TRUE(file_exists(f)) << f;
}

TEST(Simu, EscEndsTheRunAndLeavesTheFilesOfAnEarlierRun) {
  TempDir dir;
  write_text("rc.m", rc_netlist);
  {
    recording_run_services host;
    host.escape_at_poll = 3;
    main_window_scope scope(host);
    EXPECT_EQ(run_simu({"rc.m", "rc.plt"}).result, 0);
    EXPECT_EQ(host.polls, 3);
    EXPECT_EQ(host.steps, 2);
    EXPECT_FALSE(host.bar);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Simulation terminated by user");
    EXPECT_FALSE(file_exists("rc.plt"));
    EXPECT_FALSE(file_exists("rc.ini"));
  }
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(run_simu({"rc.m", "rc.plt"}).result, 1);
  const std::string plt = slurp("rc.plt"), ini = slurp("rc.ini");
  host.escape_at_poll = host.polls + 1;
  EXPECT_EQ(run_simu({"-tsim", "5e-4", "rc.m", "rc.plt"}).result, 0);
  EXPECT_EQ(slurp("rc.plt"), plt);
  EXPECT_EQ(slurp("rc.ini"), ini);
}

TEST(Simu, EveryFailureShowsOneBoxAndWritesNothing) {
  struct row {
    const char* label;
    std::string netlist;   // written to c.m unless empty
    std::vector<std::string> words;
    const char* box;
    const char* err;       // a part of the error stream
  } rows[] = {
      {"missing netlist", "", {"none.m", "none.plt"}, "Sread Fatal Error : Can't open file for reading - none.m\n", ""},
      {"no file names", "", {"-tsim", "1e-3"}, "Sread Fatal Error : Can't open file for reading - (no file name)\n",
       "Expected Format: simu [options] {input-file} {output-file}!\n"},
      {"no output file", rc_netlist, {"c.m"}, "Need to specify input and output file\n", ""},
      {"malformed netlist", "tsim = 1e-3\nX = [ 'R1 1 0 1.0' \n", {"c.m", "c.plt"},
       "Sread Fatal Error : missing ']' - X\nin c.m, line 2, column 5:\nX = [ 'R1 1 0 1.0' \n    ^\n", ""},
      {"zero time step", rc_netlist, {"-td", "0", "c.m", "c.plt"}, "Time step td must be positive", ""},
      {"clock of zero period",
       netlist_of("tsim = 1e-3\ntd = 1e-6\nswinit = [ 1 ]\ntmd = [ 0 0 1 1 ]\n",
                  {"V1 1 0 10", "S1 1 2 0", "R1 2 0 1e3", "I01 2 0 0"}, {"V I01|Vr"}, 3),
       {"c.m", "c.plt"}, "Fatal Error : clock_table() - Clock period must be positive\n", ""},
      {"nothing joined to the reference node",
       netlist_of("tsim = 1e-3\ntd = 1e-6\nx0 = [ 1 ]\n", {"R1 1 2 10", "C1 2 1 1e-6", "I01 1 2 0"}, {"V I01|Vc"}, 3),
       {"c.m", "c.plt"}, "rpac - Check your circuit", ""},
      {"limited run without a state file", rc_netlist, {"-one_c", "c.m", "c.plt"}, "Initial condition does not exist!",
       "\nInitial conditions not loaded.\n"},
  };
  for (const row& w : rows) {
    SCOPED_TRACE(w.label);
    TempDir dir;
    if (!w.netlist.empty()) write_text("c.m", w.netlist);
    recording_run_services host;
    main_window_scope scope(host);
    run_output r = run_simu(w.words);
    EXPECT_EQ(r.result, 0);
    ASSERT_EQ(host.boxes.size(), 1u) << r.err;
    EXPECT_EQ(host.boxes[0].text, w.box);
    EXPECT_EQ(host.boxes[0].style, box_style::plain);
    EXPECT_NE(r.err.find(w.err), std::string::npos) << r.err;
    EXPECT_TRUE(host.reports.empty());
    EXPECT_FALSE(host.bar);
    EXPECT_EQ(current_params, nullptr);
    EXPECT_TRUE(sim_netlist.elements.empty());
    EXPECT_NE(r.out.find("Elapsed time for simulation: "), std::string::npos);
    EXPECT_FALSE(file_exists("c.plt") || file_exists("none.plt") || file_exists("c.ini"));
  }
}

TEST(Simu, LoadedStateContinuesTheRun) {
  // 0.5 ms, then 0.5 ms more from the saved state, equals 1 ms in one go.
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  ASSERT_EQ(run_simu({"-tsim", "5e-4", "rc.m", "rc.plt"}).result, 1);
  run_output r = run_simu({"-ld", "-tsim", "5e-4", "rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1);
  EXPECT_NE(r.err.find("\nInitial conditions loaded successfully.\n"), std::string::npos);
  std::vector<double> ini = read_numbers("rc.ini");
  ASSERT_EQ(ini.size(), 5u);
  EXPECT_LT(std::fabs(ini[4] - vc(1e-3)) / vc(1e-3), 1e-9);
  EXPECT_NEAR(ini[0], 5e-4, 1e-15);   // the run's own clock restarted at 0
  EXPECT_NEAR(ini[3], 1e-3, 1e-15);
}

TEST(Simu, NetlistFlagsAreReplacedAndTsimOverridesOnlyWhenGiven) {
  // The netlist asks for a steady-state run from its state file; without the options
  // neither happens: the run starts from rest and runs to the netlist's tsim.
  TempDir dir;
  write_text("rc.m", "steady = 1\nld = 1\nsv = 1\n" + rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  for (const char* tsim : {"", "", "0.002"}) {
    std::vector<std::string> words = {"rc.m", "rc.plt"};
    if (*tsim) words.insert(words.begin(), {"-tsim", tsim});
    run_output r = run_simu(words);
    ASSERT_EQ(r.result, 1) << r.err;
    const double t = *tsim ? 2e-3 : 1e-3;
    EXPECT_NE(r.err.find("\nInitial conditions not loaded.\n"), std::string::npos);
    std::vector<double> ini = read_numbers("rc.ini");
    ASSERT_EQ(ini.size(), 5u);
    EXPECT_EQ(ini[0], t);
    EXPECT_LT(std::fabs(ini[4] - vc(t)) / vc(t), 1e-9);
  }
  EXPECT_TRUE(host.boxes.empty());
}

TEST(Simu, LongStepsPollOncePerStep) {
  // Four steps of a quarter of tsim: the bar advances by one per step only.
  TempDir dir;
  write_text("rc.m", rc_netlist);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"-tsim", "1", "-td", "0.25", "rc.m", "rc.plt"});
  ASSERT_EQ(r.result, 1) << r.err;
  EXPECT_EQ(host.polls, 4);
  EXPECT_EQ(host.steps, 4);
  EXPECT_NE(r.out.find("Final simulation time = 1.00000000e+00.\n"), std::string::npos) << r.out;
}
