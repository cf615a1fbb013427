// Newton, Skelboe and Broyden on buck converters and a rectifier, end to end through simu:
// the same steady state as a long cycle-by-cycle run, in far fewer cycles. The rectifier's
// sine generator states are not unknowns, so its amplitude survives the search.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "pss_netlists.h"
#include "simu_program.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The highest and lowest value of the table's first column over its last period.
std::pair<double, double> last_swing(const std::string& plt, double period) {
  const plt_table t = read_plt(plt);
  std::pair<double, double> s = {-INFINITY, INFINITY};
  if (t.rows.empty()) return s;
  for (const auto& row : t.rows)
    if (row.size() >= 2 && row[0] >= t.rows.back()[0] - period) s = {std::fmax(s.first, row[1]), std::fmin(s.second, row[1])};
  return s;
}

// A switching-sequence report: its period and, per interval, the setting and the duration.
struct seq_report {
  double period = NAN;
  std::vector<std::pair<std::string, double>> intervals;
};

seq_report read_seq(const std::string& file) {
  seq_report r;
  const std::regex interval("[0-9]+\t  ([01]+)\t\t\t\t(\\S+)");
  std::istringstream in(slurp(file));
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("period = ", 0) == 0) r.period = std::stod(line.substr(9));
    if (std::regex_match(line, m, interval)) r.intervals.push_back({m[1], std::stod(m[2])});
  }
  return r;
}

}  // namespace

TEST(PssBuck, ContinuousConductionEveryMethodReachesTheLongTransientState) {
  TempDir dir;
  write_text("buck.m", buck_ccm);
  const pss_state ref = run_method(4, "buck.m", 2, {"-nclkss", "20000", "-sstol_f", "1e-11"});
  ASSERT_GT(ref.cycles, 1000) << ref.run.err;
  const struct {
    int method, most;
    double gap;
    const char *box, *log, *more;   // the log line with the cycles, and another part of the log
  } rows[] = {
      {1, 5, 1e-7, "Newton:  Steady state reached!", "\n\nAnalytical Method: Steady state reached in %d cycles!\n", ""},
      {2, 8, 1e-6, "Skelboe: Steady state reached!", "Skelboe's Method: Steady state reached in %d cycles.\n",
       "\nSkelboe's method: Steady State Reached in "},
      {3, 8, 1e-6, "Broyden:  Steady state reached!", "\n\nBroyden's Method: Steady state reached in %d cycles, ",
       " Broyden iterations!\n"},
  };
  for (const auto& m : rows) {
    SCOPED_TRACE(m.box);
    std::remove("buck.seq");
    const pss_state s = run_method(m.method, "buck.m", 2, {});
    ASSERT_GT(s.cycles, 0) << s.run.err;
    EXPECT_LE(s.cycles, m.most);
    EXPECT_LT(relative_gap(s.x, ref.x), m.gap);
    EXPECT_EQ(s.boxes, std::vector<std::string>{m.box});
    char line[100];
    std::snprintf(line, sizeof line, m.log, s.cycles);
    EXPECT_TRUE(contains(s.run.err, line)) << s.run.err;
    EXPECT_TRUE(contains(s.run.err, m.more)) << s.run.err;
    if (m.method == 2) {
      EXPECT_TRUE(contains(s.run.out, line)) << s.run.out;
    }
    EXPECT_FALSE(contains(s.run.err, "skipped"));
    std::string seq = slurp("buck.seq");
    EXPECT_EQ(seq.rfind("Switching sequence file for:  buck.m\n", 0), 0u) << seq;
    EXPECT_TRUE(contains(seq, "Steady state tolerance = 1.000000e-06\n"));
  }
}

TEST(PssBuck, SkelboesReportIsTheCycleItConvergedOnAtEveryFrequency) {
  // An extrapolated state may turn D1 on again at once; the report still holds Skelboe's
  // last cycle, from both switches off to both switches off: the intervals of Newton's
  // report of the same circuit, which begins where its last step left the cycle.
  TempDir dir;
  const struct {
    const char *label, *period, *half, *l, *c, *tsim, *td;
  } rows[] = {
      {"100 kHz", "1e-5", "5e-6", "1e-5", "1e-4", "0.05", "1e-7"},
      {"10 MHz", "1e-7", "5e-8", "1e-7", "1e-6", "0.0005", "1e-9"},
      {"100 MHz", "1e-8", "5e-9", "1e-8", "1e-7", "0.00005", "1e-10"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    write_text("b.m", buck_dcm(row.period, row.half, row.l, row.c));
    seq_report report[3];
    for (const char* method : {"1", "2"}) {
      std::remove("b.seq");
      const program_run r = run_simu_program(
          {"-ss", "-ssmethod", method, "-nclkss", "400", "-tsim", row.tsim, "-td", row.td, "-sv", "b.m", "b.plt"});
      ASSERT_EQ(r.exit_code, 0) << r.output;
      report[method[0] - '0'] = read_seq("b.seq");
    }
    const seq_report &newton = report[1], &skelboe = report[2];
    const double period = std::stod(row.period);
    EXPECT_NEAR(newton.period, period, 1e-6 * period);
    EXPECT_NEAR(skelboe.period, period, 1e-6 * period);
    ASSERT_EQ(newton.intervals.size(), 3u);
    ASSERT_EQ(skelboe.intervals.size(), 3u);
    EXPECT_EQ(skelboe.intervals[0].first, "00");
    std::size_t shift = 0;
    while (shift < 3 && skelboe.intervals[shift].first != newton.intervals[0].first) ++shift;
    ASSERT_LT(shift, 3u);
    for (std::size_t k = 0; k < 3; ++k) {
      const auto& s = skelboe.intervals[(k + shift) % 3];
      EXPECT_EQ(s.first, newton.intervals[k].first) << k;
      EXPECT_NEAR(s.second, newton.intervals[k].second, 1e-5 * period) << k;
    }
  }
}

TEST(PssBuck, AClockEdgeInsideTheReferenceIntervalLeavesTheConvergenceTestAlone) {
  // The cycle-start entry is overwritten by the max-duty edge every cycle; the test still
  // compares the states where the cycles began, so both circuits end alike.
  TempDir dir;
  write_text("pcm.m", buck_peak_current(false));
  write_text("pcmd.m", buck_peak_current(true));
  for (int method : {4, 1}) {
    const pss_state plain = run_method(method, "pcm.m", 2, {"-nclkss", "1000"});
    const pss_state limited = run_method(method, "pcmd.m", 2, {"-nclkss", "1000"});
    ASSERT_GT(plain.cycles, 0) << method << plain.run.err;
    ASSERT_GT(limited.cycles, 0) << method << limited.run.err << limited.run.out;
    EXPECT_EQ(limited.cycles, plain.cycles) << method;
    EXPECT_LT(relative_gap(limited.x, plain.x), 1e-9) << method;
    EXPECT_NEAR(limited.x.at(1), 1.0, 1e-9) << method;   // I_L1 at the current limit
  }
}

// The thyristor rectifier's states: V_Cs1, V_C1, I_Ls1.
TEST(PssRectifier, ThyristorFiredAtTheSinePeakConvergesByEveryMethodAndDiodeKeepsItsSine) {
  // The cycle starts where the sine generator's current state is ~0 (V_Cs1 = 100,
  // I_Ls1 = 100 cos(90 deg)); that state is measured against its amplitude, not its
  // rounding-level anchor value, so every method reaches the steady state.
  TempDir dir;
  write_text("scr90.m", thyristor_rectifier);
  const pss_state ref = run_method(4, "scr90.m", 3, {"-tsim", "50", "-nclkss", "1000", "-sstol_f", "3e-8"});
  ASSERT_GT(ref.cycles, 20) << ref.run.err << ref.run.out;
  const char* box[] = {"", "Newton:  Steady state reached!", "Skelboe: Steady state reached!",
                       "Broyden:  Steady state reached!", "Picard:  Steady state reached!"};
  const int most[] = {0, 5, 5, 7, 25};  // cycles; Broyden's second difference Jacobian starts afresh
  for (int method : {1, 2, 3, 4}) {
    const pss_state s = run_method(method, "scr90.m", 3, {});
    ASSERT_GT(s.cycles, 0) << method << s.run.err << s.run.out;
    EXPECT_LE(s.cycles, most[method]) << method;
    EXPECT_EQ(s.boxes, std::vector<std::string>{box[method]}) << method;
    EXPECT_NEAR(s.x.at(0), 100.0, 1e-6) << method;
    EXPECT_NEAR(s.x.at(2), 0.0, 1e-6) << method;
    EXPECT_NEAR(s.x.at(1), ref.x.at(1), (method == 4 ? 1e-5 : 1e-6) * ref.x.at(1)) << method;
  }
  // A diode rectifier's cycle starts at a state-dependent instant: Broyden does not converge
  // in the default 25 cycles and says so, but each switching adjustment must start from the
  // setting the last one left, or the diode finds no valid setting at all.
  write_text("dr.m", diode_rectifier);
  const pss_state s = run_method(3, "dr.m", 3, {});
  EXPECT_EQ(s.boxes, std::vector<std::string>{"Failed to reach steady state in 25 cycles!"});
  EXPECT_NEAR(std::hypot(s.x.at(0), s.x.at(2)), 100.0, 1e-6);   // the sine's amplitude
}

TEST(PssBridge, ACycleStartedAtADiodeZeroCrossingIsSteadyOnlyOnceItsPeriodHolds) {
  // Every cycle starts at i_L = 0, so the start states agree from the second cycle on,
  // while the table is still far from the periodic solution: each method either reaches
  // the long transient's swing or says it did not (exit 2), never "reached" before. At
  // 25 MHz Skelboe's store takes two periods as equal while the zero crossing still moves:
  // its own period test holds it.
  TempDir dir;
  write_text("hb.m", h_bridge);
  write_text("fast.m", h_bridge_fast);
  std::pair<double, double> ref[2];
  for (const char* m : {"hb", "fast"}) {
    ASSERT_EQ(run_simu_program({std::string(m) + ".m", "ref.plt"}).exit_code, 0);
    ref[m[0] == 'f'] = last_swing("ref.plt", m[0] == 'f' ? 4e-8 : 4e-5);
    ASSERT_GT(ref[m[0] == 'f'].first, 1.0);
  }
  const struct {
    const char* method;
    const char* cycles;
    int exit;
    bool fast;
  } rows[] = {{"1", "25", 2, false},   {"2", "25", 2, false},  {"3", "25", 2, false},
              {"4", "25", 2, false},   {"1", "300", 0, false}, {"2", "300", 0, false},
              {"3", "300", 0, false},  {"4", "300", 0, false}, {"2", "25", 2, true},
              {"2", "300", 0, true}};
  for (const auto& m : rows) {
    SCOPED_TRACE(std::string("method ") + m.method + ", " + m.cycles + " cycles" + (m.fast ? ", 25 MHz" : ""));
    const std::string base = m.fast ? "fast" : "hb";
    const double period = m.fast ? 4e-8 : 4e-5;
    std::remove((base + ".seq").c_str());
    const program_run r =
        run_simu_program({"-ss", "-ssmethod", m.method, "-nclkss", m.cycles, base + ".m", base + ".plt"});
    EXPECT_EQ(r.exit_code, m.exit) << r.output;
    if (r.exit_code == 2) {
      EXPECT_TRUE(contains(r.output, std::string("Steady state not reached in ") + m.cycles + " cycles!")) << r.output;
      EXPECT_FALSE(std::filesystem::exists(base + ".seq"));
      continue;
    }
    EXPECT_TRUE(contains(r.output, "teady state reached in ")) << r.output;
    const std::pair<double, double> s = last_swing(base + ".plt", period);
    EXPECT_NEAR(s.first, ref[m.fast].first, 1e-3 * ref[m.fast].first);
    EXPECT_NEAR(s.second, ref[m.fast].second, 1e-3 * ref[m.fast].first);
    EXPECT_NEAR(read_seq(base + ".seq").period, period, 2.5e-5 * period);
  }
}
