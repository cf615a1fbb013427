// parse_args and usage: option values, given-marks, flags, file names and every message.
#include "simu/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simu/run_settings.h"

namespace {

// argv of the words after "simu"; the strings outlive the call, as argv does.
std::vector<char*> argv_of(std::vector<std::string> words) {
  static std::vector<std::string> keep;
  keep = std::move(words);
  keep.insert(keep.begin(), "simu");
  std::vector<char*> argv;
  for (std::string& w : keep) argv.push_back(w.data());
  argv.push_back(nullptr);
  return argv;
}

struct parsed {
  std::string err, out;
};

parsed parse(std::vector<std::string> words) {
  std::vector<char*> argv = argv_of(std::move(words));
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  parse_args(static_cast<int>(argv.size()) - 1, argv.data());
  parsed p;
  p.out = testing::internal::GetCapturedStdout();
  p.err = testing::internal::GetCapturedStderr();
  return p;
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
  parsed p = parse({"-td", "1e-07", "-points", "5000", "-start_si", "0.001", "-finish_si", "0.002", "-nclkss", "30",
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
      {{"-np", "-sv", "a.m", "a.plt"}, "Arguments given: -np -sv a.m a.plt" + usage},
      {{"a.m"}, "Need to specify input and output file\nArguments given: a.m" + usage},
      {{"-u", "0", "1", "a.m", "a.plt"}, "Units/div are <= 0\nArguments given: -u 0 1 a.m a.plt" + usage},
      {{"-o", "101", "a.m", "a.plt"}, "Probe offset is not in range 1..100\nArguments given: -o 101 a.m a.plt" + usage},
      {{"-u", "1"}, "Need 2 arguments after -u\nArguments given: -u 1" + usage + "Arguments given: -u 1" + usage},
      {{"-o"}, "Need 1 argument after -o\nArguments given: -o" + usage + "Arguments given: -o" + usage},
      {{"-tl"}, "Need 1 argument after -tl\nArguments given: -tl" + usage + "Arguments given: -tl" + usage},
  };
  for (const auto& r : rows) {
    std::string given;
    for (const std::string& w : r.words) given += (given.empty() ? "" : " ") + w;
    parsed p = parse(r.words);
    EXPECT_EQ(p.err, "DEBUG::Arguments given: " + given + "\n" + r.err) << given;
  }
  EXPECT_EQ(sim_options.probe, 1);
  EXPECT_STREQ(sim_options.title, "Untitled");
  parse({"-ssmethod", "0", "a.m"});
  EXPECT_EQ(sim_options.ssmethod_given, 0);
  EXPECT_STREQ(sim_options.infile, "a.m");   // the run still starts
  EXPECT_EQ(sim_options.outfile, nullptr);
  EXPECT_EQ(parse({"-tsim"}).out, "Infile = (null), Outfile = (null)\n");
  EXPECT_EQ(sim_options.infile, nullptr);
  parse({"-np", "-sv", "a.m", "a.plt"});
  EXPECT_EQ(sim_options.sv, 1);
  // Negative, infinite, NaN and non-numbers are out of range; the next option still counts.
  parsed p = parse({"-td", "-1e-6", "-points", "many", "-tsim", "inf", "-sstol_f", "nan", "-nclkss", "4", "a.m", "a.plt"});
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
    EXPECT_EQ(run_start_si, r.start);
    EXPECT_EQ(run_finish_si, r.finish);
    EXPECT_EQ(run_ssmethod, r.method);
    EXPECT_EQ(run_cycles_togo, r.togo);
  }
}
