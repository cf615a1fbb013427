// simu: parse_args and usage (option values, given-marks, flags, file names and every
// message), the protected run, progress and Esc, every error case and hostile argument or
// value, options over the netlist.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "simu/input/options.h"
#include "simu/input/run_settings.h"
#include "simu/driver/simu_entry.h"
#include "common/temp_dir.h"
#include "buck_netlist.h"
#include "driver_run.h"
#include "simu/input/netlist.h"
#include "common/recording_run_services.h"
#include "simu/input/sim_params.h"

namespace {

run_output parse(std::vector<std::string> words) {
  std::vector<char*> argv = argv_of(std::move(words));
  return captured([&] { return parse_args(static_cast<int>(argv.size()) - 1, argv.data()); });
}

const char* const usage_tail =
    "\nExpected Format: simu [options] {input-file} {output-file}!\n        Options include:\n"
    "            -tl plot_title\n            -u horiz_upd vert_upd\n            -o output_number\n"
    "        Simulation Parameters:\n            -tsim final_time\n            -td step_size\n"
    "            -points points_to_save\n            -start_si start_of_save_interval\n"
    "            -finish_si finish_of_save_interval\n        Steady State Parameters:\n"
    "            -ss (steady state?)\n            -ssmethos (steady state method ?)\n"
    "            -nclkss number_of_cycles\n            -sstol_f SS_tolerance_fine\n"
    "            -stop_close (stop when close to steady state?)\n            -sstol_c SS_tolerance_coarse\n"
    "            -sv (save steady state condition?)\n            -ld (load steady state condition?)\n"
    "        Small Signal Parameters:\n            -start_freq start_frequency\n"
    "            -end_freq end_frequency\n            -npts number_of_points\n"
    "            -one_c (one cycle simulation)\n            -none_c # cycles in one cycle simulation\n";

}  // namespace

TEST(ParseArgs, ValuedOptionsAndFilesOfTheLaunchersVector) {
  parse({"-tsim", "0.5", "a.m", "a.plt"});   // a value given before must not leak into the next parse
  run_output p = parse({"-td", "1e-07", "-points", "5000", "-start_si", "0.001", "-finish_si", "0.002", "-nclkss", "30",
                    "-sstol_f", "1e-08", "-sstol_c", "0.05", "-ssmethod", "4", "-none_c", "3", "-Cycles_togo", "2",
                    "-tl", "Buck", "-u", "1e-3", "2.5", "-o", "7", "buck.m", "buck.plt"});
  const option_store& o = sim_options;
  EXPECT_EQ((std::vector<double>{o.tsim, o.td, o.start_si, o.finish_si, o.sstol_f, o.sstol_c, o.horiz_upd, o.vert_upd}),
            (std::vector<double>{0.0, 1e-7, 0.001, 0.002, 1e-8, 0.05, 1e-3, 2.5}));
  EXPECT_EQ((std::vector<int>{o.points, o.nclkss, o.ssmethod, o.none_c, o.Cycles_togo, o.probe}),
            (std::vector<int>{5000, 30, 4, 3, 2, 7}));
  EXPECT_EQ(o.tsim_given + o.td_given + o.points_given + o.start_si_given + o.finish_si_given + o.nclkss_given +
                o.sstol_f_given + o.sstol_c_given + o.ssmethod_given + o.none_c_given + o.Cycles_togo_given,
            10);
  EXPECT_STREQ(o.title, "Buck");
  EXPECT_STREQ(o.infile, "buck.m");
  EXPECT_STREQ(o.outfile, "buck.plt");
  EXPECT_EQ(p.out, "Infile = buck.m, Outfile = buck.plt\n");
  EXPECT_EQ(p.err.rfind("DEBUG::Arguments given: -td 1e-07 -points 5000 -start_si", 0), 0u);
}

TEST(ParseArgs, EveryMessageOfABadCommandLine) {
  // What follows the "DEBUG::Arguments given: ..." line; every complaint prints the usage
  // once more (a missing value twice), and parsing goes on.
  const std::string usage = usage_tail;
  const struct {
    std::vector<std::string> words;
    std::string err;
  } rows[] = {
      {{"-ssmethod", "0", "a.m", "a.plt"}, "-ssmethod value is out of range\nArguments given: -ssmethod 0 a.m a.plt" + usage},
      {{"-tsim"}, "Need 1 argument after -tsim\nArguments given: -tsim" + usage + "Arguments given: -tsim" + usage},
      {{"a.m"}, "Need to specify input and output file\nArguments given: a.m" + usage},
      {{"-u", "0", "1", "a.m", "a.plt"}, "Units/div are <= 0\nArguments given: -u 0 1 a.m a.plt" + usage},
      {{"-o", "101", "a.m", "a.plt"}, "Probe offset is not in range 1..100\nArguments given: -o 101 a.m a.plt" + usage},
      {{"-u", "1"}, "Need 2 arguments after -u\nArguments given: -u 1" + usage + "Arguments given: -u 1" + usage},
      {{"-o"}, "Need 1 argument after -o\nArguments given: -o" + usage + "Arguments given: -o" + usage},
      {{"-tl"}, "Need 1 argument after -tl\nArguments given: -tl" + usage + "Arguments given: -tl" + usage},
      // After the file names nothing is read, but a value missing there refuses too.
      {{"a.m", "a.plt", "-tsim"}, "Need 1 argument after -tsim\nArguments given: a.m a.plt -tsim" + usage},
      {{"a.m", "a.plt", "-tsim", "1", "-td"}, "Need 1 argument after -td\nArguments given: a.m a.plt -tsim 1 -td" + usage},
      {{"a.m", "a.plt", "-sv", "-u", "1"}, "Need 2 arguments after -u\nArguments given: a.m a.plt -sv -u 1" + usage},
      {{"a.m", "a.plt", "-sv", "-o"}, "Need 1 argument after -o\nArguments given: a.m a.plt -sv -o" + usage},
      {{"a.m", "a.plt", "-tl", "-td"}, ""},   // "-td" is the title
      {{"a.m", "-tsim", "o.plt"}, "Need to specify input and output file (-tsim is an option)\nArguments given: a.m -tsim o.plt" + usage},
      {{"a.m", "-ss", "o.plt"}, "Need to specify input and output file (-ss is an option)\nArguments given: a.m -ss o.plt" + usage},
      {{"-np", "-sv", "a.m", "a.plt"}, "Arguments given: -np -sv a.m a.plt" + usage},
  };
  for (const auto& r : rows) {
    std::string given;
    for (const std::string& w : r.words) given += (given.empty() ? "" : " ") + w;
    run_output p = parse(r.words);
    EXPECT_EQ(p.err, "DEBUG::Arguments given: " + given + "\n" + r.err) << given;
  }
  EXPECT_EQ(sim_options.sv, 1);   // an unknown option is skipped
  parse({"-o", "101", "a.m", "a.plt"});
  EXPECT_EQ(sim_options.probe, 1);   // an offset out of range is not taken
  parse({"-ssmethod", "0", "a.m"});
  EXPECT_EQ(sim_options.ssmethod_given, 0);
  EXPECT_STREQ(sim_options.infile, "a.m");   // the run still starts
  EXPECT_EQ(sim_options.outfile, nullptr);
  EXPECT_EQ(parse({"-tsim"}).out, "Infile = (null), Outfile = (null)\n");
  EXPECT_EQ(sim_options.infile, nullptr);
  // Negative, infinite, NaN and non-numbers are out of range; the next option still counts.
  run_output p = parse({"-td", "-1e-6", "-points", "many", "-tsim", "inf", "-sstol_f", "nan", "-nclkss", "4", "a.m", "a.plt"});
  EXPECT_EQ(sim_options.td_given + sim_options.points_given + sim_options.tsim_given + sim_options.sstol_f_given, 0);
  EXPECT_EQ(sim_options.nclkss_given, 1);
  for (const char* o : {"-td", "-points", "-tsim", "-sstol_f"})
    EXPECT_NE(p.err.find(o + std::string(" value is out of range\n")), std::string::npos) << o;
}

TEST(CliRunSettings, TheFourSettingsFollowTheOptions) {
  // "-u" takes "1" and "-finish_si": the first "-finish_si" is a value, not an option.
  // Without options the whole run is saved by the brute-force method.
  const struct {
    std::vector<std::string> words;
    double start, finish;
    int method, togo;
  } rows[] = {
      {{"-tsim", "2e-3", "-ss", "-start_si", "1e-3", "-u", "1", "-finish_si", "-ssmethod", "4", "-Cycles_togo", "3",
        "-finish_si", "2e-3", "a.m", "a.plt"}, 1e-3, 2e-3, 4, 3},
      {{"-ssmethod", "0", "-start_si", "-1", "a.m", "a.plt"}, 0.0, 1e300, 1, 0},
  };
  for (const auto& r : rows) {
    run_finish_si = 0.001;
    std::vector<char*> argv = argv_of(r.words);
    cli_run_settings(static_cast<int>(argv.size()) - 1, argv.data());
    EXPECT_EQ((std::vector<double>{run_start_si, run_finish_si, 1.0 * run_ssmethod, 1.0 * run_cycles_togo}),
              (std::vector<double>{r.start, r.finish, 1.0 * r.method, 1.0 * r.togo}));
  }
}

namespace {

const std::vector<std::string> rc_rows = {"V1 1 0 10", "R1 1 2 1e3", "C1 2 0 1e-6", "I01 2 0 0"};
std::string rc_of(const std::string& params) { return netlist_of(params, rc_rows, {"V I01|Vc"}, 3); }
const std::string rc_netlist = rc_of("tsim = 1e-3\ntd = 1e-6\npoints = 100\nx0 = [ 0 ]\n");

double vc(double t) { return 10.0 * (1.0 - std::exp(-t / 1e-3)); }

}  // namespace

TEST(Simu, NormalRunStepsTheBarOncePerStepAtMost50TimesAndSaysWhatItWrote) {
  // The netlist asks for a steady-state run from its state file; without the options
  // neither happens: the run starts from rest and runs to the netlist's tsim unless given.
  TempDir dir;
  write_text("rc.m", "steady = 1\nld = 1\nsv = 1\n" + rc_netlist);
  // 1000 steps advance the bar 50 times; four steps of a quarter of tsim, four times.
  for (const auto& [words, polls] : {std::pair<std::vector<std::string>, int>{{"rc.m", "rc.plt"}, 50},
                                     {{"-tsim", "1", "-td", "0.25", "rc.m", "rc.plt"}, 4}}) {
    recording_run_services host;
    main_window_scope scope(host);
    run_output r = run_simu(words);
    const double t = polls == 4 ? 1.0 : 1e-3;
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(host.creates, 1);
    EXPECT_EQ(host.polls, polls);
    EXPECT_EQ(host.steps, polls);
    EXPECT_EQ(host.deletes, 1);
    EXPECT_TRUE(host.boxes.empty());
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_NE(r.out.find(std::string("Final simulation time = ") + (t == 1.0 ? "1.00000000e+00" : "1.00000000e-03") +
                         ".\nElapsed time for simulation: " + host.reports[0] + " seconds\nTime breakdown:\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("\nInitial conditions not loaded.\n"), std::string::npos);
    const std::vector<double> ini = read_numbers("rc.ini");
    ASSERT_EQ(ini.size(), 5u);
    EXPECT_EQ(ini[0], t);
    EXPECT_LT(std::fabs(ini[4] - vc(t)) / vc(t), 1e-9);
    EXPECT_NE(r.err.find("\nJob completed!\nCondition saved in disk file \"rc.ini\"!\n"
                         "Outputs saved in file  \"rc.plt\".\nActual simulation time was "),
              std::string::npos)
        << r.err;
  }
  for (const char* f : {"rc.plt", "rc.ini", "src.dat", "states.dat"}) EXPECT_TRUE(std::filesystem::exists(f)) << f;
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
    for (const char* f : {"rc.plt", "rc.ini"}) EXPECT_FALSE(std::filesystem::exists(f)) << f;
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

TEST(Simu, EveryFailureShowsOneBoxAtOnceAndWritesNothing) {
  // Outputs that would overwrite an input and runs that could not end are refused before
  // anything is stepped.
  const std::string same = "\" is the netlist itself; nothing written.\n", refused = "; run refused.\n";
  const struct {
    std::string netlist;   // written to c.m (and hard-linked as link.plt) unless empty
    std::vector<std::string> words;
    std::string box;
    const char* err;       // a part of the error stream
    double start_si = 0.0, finish_si = 1e300;   // the save window
  } rows[] = {
      {"", {"none.m", "none.plt"}, "Sread Fatal Error : Can't open file for reading - none.m\n", ""},
      {"", {"-tsim", "1e-3"}, "Sread Fatal Error : Can't open file for reading - (no file name)\n",
       "Expected Format: simu [options] {input-file} {output-file}!\n"},
      {rc_netlist, {"c.m"}, "Need to specify input and output file\n", ""},
      {"tsim = 1e-3\nX = [ 'R1 1 0 1.0' \n", {"c.m", "c.plt"},
       "Sread Fatal Error : missing ']' - X\nin c.m, line 2, column 5:\nX = [ 'R1 1 0 1.0' \n    ^\n", ""},
      {rc_netlist, {"-td", "0", "c.m", "c.plt"}, "Time step td must be positive", ""},
      {netlist_of("tsim = 1e-3\ntd = 1e-6\nswinit = [ 1 ]\ntmd = [ 0 0 1 1 ]\n",
                  {"V1 1 0 10", "S1 1 2 0", "R1 2 0 1e3", "I01 2 0 0"}, {"V I01|Vr"}, 3),
       {"c.m", "c.plt"}, "Fatal Error : clock_table() - Clock period must be positive\n", ""},
      {rc_of("tsim = 1e-3\ntd = 1e-6\ntmd = [ 0 1e-10 2 1 ]\nvgs = [ 5 ]\n"), {"c.m", "c.plt"},
       "Fatal Error : event_table() - Event period must be longer than 1e-10 s\n", ""},
      {netlist_of("tsim = 1e-3\ntd = 1e-6\nx0 = [ 1 ]\n", {"R1 1 2 10", "C1 2 1 1e-6", "I01 1 2 0"}, {"V I01|Vc"}, 3),
       {"c.m", "c.plt"}, "rpac - Check your circuit", ""},
      {rc_netlist, {"-one_c", "c.m", "c.plt"}, "Initial condition does not exist!", "\nInitial conditions not loaded.\n"},
      {rc_netlist, {"c.m", "c.m"}, "Output file \"c.m" + same, ""},
      {rc_netlist, {"c.m", "./c.m"}, "Output file \"./c.m" + same, ""},
      {rc_netlist, {"c.m", "link.plt"}, "Output file \"link.plt" + same, ""},
      {rc_netlist, {"c.m", "c.ini"}, "Output file \"c.ini\" is the state file of this run (\"c.ini\"); nothing written.\n", ""},
      {rc_netlist, {"-tsim", "1e300", "-td", "1e-300", "c.m", "c.plt"},
       "Time step td = 1e-300 does not advance time at tsim = 1e+300" + refused, ""},
      {rc_netlist, {"-tsim", "1e300", "c.m", "c.plt"}, "Time step td = 1e-06 does not advance time at tsim = 1e+300" + refused, ""},
      {rc_netlist, {"-tsim", "1", "-td", "1e-300", "c.m", "c.plt"},
       "Time step td = 1e-300 does not advance time at tsim = 1" + refused, ""},
      {rc_of("tsim = 1e308\ntd = 1e-308\n"), {"c.m", "c.plt"},
       "Time step td = 1e-308 does not advance time at tsim = 1e+308" + refused, ""},
      // 1e3 / 1e-3 steps and two clock edges every 2e-10 s: 1e6 + 2 x 5e12.
      {rc_of("tsim = 1e-3\ntd = 1e-6\ntmd = [ 0 2e-10 1 1\n 1e-10 2e-10 0 1 ]\n"), {"-tsim", "1e3", "-td", "1e-3", "c.m", "c.plt"},
       "tsim = 1000 with td = 0.001 and a clock period of 2e-10 needs 1e+13 steps, more than 1e+12" + refused, ""},
      // Save windows that hold no instant: inverted, of no length, starting after tsim.
      {buck_netlist_text("2.0000e-04", "1.0000e-07", "2000"), {"c.m", "c.plt"},
       "The save window from start_si = 0.000105 s to finish_si = 5e-05 s holds no instant of the run, which ends at "
       "tsim = 0.0002 s" + refused, "", 1.05e-4, 5e-5},
      {rc_netlist, {"c.m", "c.plt"},
       "The save window from start_si = 0.0005 s to finish_si = 0.0005 s holds no instant of the run, which ends at "
       "tsim = 0.001 s" + refused, "", 5e-4, 5e-4},
      {rc_netlist, {"c.m", "c.plt"},
       "The save window from start_si = 0.0010000000000000002 s to the run's end holds no instant of the run, which "
       "ends at tsim = 0.001 s" + refused, "", std::nextafter(1e-3, 1.0)},
  };
  for (const auto& w : rows) {
    SCOPED_TRACE(w.box);
    TempDir dir;
    if (!w.netlist.empty()) {
      write_text("c.m", w.netlist);
      std::filesystem::create_hard_link("c.m", "link.plt");
    }
    recording_run_services host;
    main_window_scope scope(host);
    const auto start = std::chrono::steady_clock::now();
    run_output r = run_simu(w.words, 4, 0, w.start_si, w.finish_si);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
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
    EXPECT_EQ(w.netlist.empty() ? "" : slurp("c.m"), w.netlist);
    for (const char* f : {"c.plt", "none.plt", "c.ini"}) EXPECT_FALSE(std::filesystem::exists(f)) << f;
    if (w.box.find("nothing written") != std::string::npos || w.box.find("refused") != std::string::npos) {
      EXPECT_FALSE(std::filesystem::exists("states.dat"));   // refused before the model is built
    }
  }
}

TEST(Simu, AnOverflowEndsTheRunWithItsTimeAndStateAndNoNonFiniteNumberWritten) {
  // V_C1 = 1e306 (1 - exp(-t / 1 ms)) stays finite; B u = 1e306 / (R C) of the last, cut step does not.
  TempDir dir;
  write_text("a.m", netlist_of("tsim = 1e-3\ntd = 1e-6\npoints = 100\nx0 = [ 0 ]\n",
                               {"V1 1 0 1e306", "R1 1 2 1e3", "C1 2 0 1e-6", "I01 2 0 0"}, {"V I01|Vc"}, 3));
  recording_run_services host;
  main_window_scope scope(host);
  EXPECT_EQ(run_simu({"a.m", "a.plt"}).result, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text.rfind("Simulation stopped at t = 1.00000000e-03 s: state V_C1 is not finite (", 0), 0u)
      << host.boxes[0].text;
  EXPECT_FALSE(std::filesystem::exists("a.ini"));
  plt_table t = read_plt("a.plt");
  ASSERT_EQ(t.rows.size(), 100u);   // 0 to 0.99 ms every 10 us, all finite
  EXPECT_NEAR(t.rows.back()[0], 0.99e-3, 1e-12);
  EXPECT_NEAR(t.rows.back()[1], 1e306 * (1 - std::exp(-0.99)), 1e300);
}

TEST(Simu, InitialValuesTheRunCannotUseAreNamedAndTheRunGoesOn) {
  const struct { std::string netlist, warnings; } rows[] = {
      {netlist_of("tsim = 1e-05\ntd = 1e-06\nx0 = [ 1 2 5 ]\n",
                  {"R1 1 0 1e3", "C1 1 0 1e-6", "C2 1 2 1e-6", "C3 2 0 1e-6", "I01 2 0 0"}, {"V I01|Vout"}, 3),
       "\nWarning: x0 value 5 of V_C3 is ignored: it is not an independent state.\nInitial"},
  };
  for (const auto& k : rows) {
    SCOPED_TRACE(k.warnings);
    TempDir dir;
    write_text("a.m", k.netlist);
    recording_run_services host;
    main_window_scope scope(host);
    run_output r = run_simu({"a.m", "a.plt"});
    EXPECT_EQ(r.result, 1) << r.err;
    EXPECT_NE(r.err.find("(y/n) " + k.warnings), std::string::npos) << r.err;
  }
}

TEST(Simu, AnOutputThatOverflowsBetweenSamplesEndsTheRunAtThatStep) {
  // V_C1 = 1e9 (1 - exp(-t / 1 ms)) stays finite; V_E1 = 1e300 V_C1 passes the largest
  // double at t = -1 ms ln(1 - 1.797693e8 / 1e9) = 0.19818 ms, inside the step to 0.199 ms.
  TempDir dir;
  write_text("a.m", netlist_of("tsim = 1e-3\ntd = 1e-6\npoints = 100\nx0 = [ 0 ]\n",
                               {"V1 1 0 1e9", "R1 1 2 1e3", "C1 2 0 1e-6", "E1 3 0 1e300 C1", "R2 3 0 1"},
                               {"V E1"}, 4));
  recording_run_services host;
  main_window_scope scope(host);
  EXPECT_EQ(run_simu({"a.m", "a.plt"}).result, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Simulation stopped at t = 1.99000000e-04 s: output V E1 is not finite (inf).\n");
  EXPECT_EQ(read_plt("a.plt").rows.size(), 20u);   // 0 to 0.19 ms every 10 us
}

TEST(Simu, WithBoundsOnAStateNamedInNoBoundIsHeldWithinPlusMinus1e30) {
  // Both capacitors charge towards +-1e31 within microseconds; only V_C2's upper bound is named.
  TempDir dir;
  write_text("a.m", netlist_of("tsim = 1e-4\ntd = 1e-6\npoints = 10\nx0 = [ 0\n 0 ]\nstmax = [ 'V_C2 1e40' ]\n",
                               {"V1 1 0 1e31", "R1 1 2 1", "C1 2 0 1e-6", "I01 2 0 0", "V2 3 0 -1e31", "R2 3 4 1",
                                "C2 4 0 1e-6", "I02 4 0 0"},
                               {"V I01|Vc1", "V I02|Vc2"}, 5));
  ASSERT_EQ(run_simu({"a.m", "a.plt"}).result, 1);
  const plt_table t = read_plt("a.plt");
  ASSERT_FALSE(t.rows.empty());
  EXPECT_EQ(t.rows.back(), (std::vector<double>{1e-4, 1e30, -1e30}));
}
