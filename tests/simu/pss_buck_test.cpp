// Newton, Skelboe and Broyden on buck converters, end to end through simu: the same
// steady state as a long cycle-by-cycle run, in far fewer cycles.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "pss_netlists.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(PssBuck, ContinuousConductionEveryMethodReachesTheLongTransientState) {
  TempDir dir;
  write_text("buck.m", buck_ccm);
  const pss_state ref = run_method(4, "buck.m", 2, {"-nclkss", "20000", "-sstol_f", "1e-11"});
  ASSERT_GT(ref.cycles, 1000) << ref.run.err;
  const pss_state picard = run_method(4, "buck.m", 2, {"-nclkss", "5000"});
  EXPECT_GT(picard.cycles, 500);

  const pss_state newton = run_method(1, "buck.m", 2, {});
  ASSERT_GT(newton.cycles, 0) << newton.run.err;
  EXPECT_LE(newton.cycles, 5);
  EXPECT_LT(relative_gap(newton.x, ref.x), 1e-7);
  EXPECT_EQ(newton.boxes, std::vector<std::string>{"Newton:  Steady state reached!"});
  EXPECT_TRUE(contains(newton.run.err, "\n\nAnalytical Method: Steady state reached in " +
                                           std::to_string(newton.cycles) + " cycles!\n"));
  EXPECT_FALSE(contains(newton.run.err, "skipped"));
  std::string seq = slurp("buck.seq");
  EXPECT_EQ(seq.rfind("Switching sequence file for:  buck.m\n", 0), 0u) << seq;
  EXPECT_TRUE(contains(seq, "Steady state tolerance = 1.000000e-06\n"));

  const pss_state skelboe = run_method(2, "buck.m", 2, {});
  ASSERT_GT(skelboe.cycles, 0) << skelboe.run.err;
  EXPECT_LE(skelboe.cycles, 8);
  EXPECT_LT(relative_gap(skelboe.x, ref.x), 1e-6);
  EXPECT_EQ(skelboe.boxes, std::vector<std::string>{"Skelboe: Steady state reached!"});
  EXPECT_TRUE(contains(skelboe.run.err, "\nSkelboe's method: Steady State Reached in "));
  const std::string line = "Skelboe's Method: Steady state reached in " + std::to_string(skelboe.cycles) + " cycles.\n";
  EXPECT_TRUE(contains(skelboe.run.err, line));
  EXPECT_TRUE(contains(skelboe.run.out, line));
  EXPECT_TRUE(file_exists("buck.seq"));

  const pss_state broyden = run_method(3, "buck.m", 2, {});
  ASSERT_GT(broyden.cycles, 0) << broyden.run.err;
  EXPECT_LE(broyden.cycles, 8);
  EXPECT_LT(relative_gap(broyden.x, ref.x), 1e-6);
  EXPECT_EQ(broyden.boxes, std::vector<std::string>{"Broyden:  Steady state reached!"});
  EXPECT_TRUE(contains(broyden.run.err, "\n\nBroyden's Method: Steady state reached in " +
                                            std::to_string(broyden.cycles) + " cycles, "));
  EXPECT_TRUE(contains(broyden.run.err, " Broyden iterations!\n"));
}

TEST(PssBuck, StateDependentSwitchingEveryMethodConverges) {
  // Peak current mode (the current limit turns S1 off; the saltation matrix there makes
  // Newton's Jacobian exact) and discontinuous conduction (the diode turns off at zero
  // current; the output's slow mode, about 0.998 per cycle, makes Newton ask for 1e-10).
  struct row {
    const char* label;
    std::string netlist;
    std::vector<std::string> options[4];   // per method 1..3
    int most[4];                           // cycles at most, per method
    double gap[4];                         // from the long cycle-by-cycle run
  } rows[] = {
      {"peak current", buck_peak_current, {{}, {}, {}, {}}, {0, 8, 20, 20}, {0, 1e-8, 1e-4, 1e-4}},
      {"discontinuous", buck_dcm(), {{}, {"-sstol_f", "1e-10"}, {}, {"-nclkss", "100"}}, {0, 12, 20, 30},
       {0, 1e-7, 5e-4, 5e-4}},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.label);
    TempDir dir;
    write_text("c.m", r.netlist);
    const pss_state ref = run_method(4, "c.m", 2, {"-nclkss", "20000", "-sstol_f", "1e-12"});
    ASSERT_GT(ref.cycles, 500) << ref.run.err;
    for (int method : {1, 2, 3}) {
      const pss_state s = run_method(method, "c.m", 2, r.options[method]);
      ASSERT_GT(s.cycles, 0) << method << s.run.err;
      EXPECT_LE(s.cycles, r.most[method]) << method;
      EXPECT_LT(relative_gap(s.x, ref.x), r.gap[method]) << method;
    }
  }
}

TEST(PssBuck, SingularDirectionFallsBackToPicard) {
  // Series output capacitors: every Newton and Broyden step is skipped with its line,
  // and the run is exactly the cycle-by-cycle one.
  TempDir dir;
  write_text("ser.m", buck_series_capacitors());
  const pss_state picard = run_method(4, "ser.m", 3, {"-nclkss", "1000"});
  ASSERT_GT(picard.cycles, 0) << picard.run.err;
  const pss_state newton = run_method(1, "ser.m", 3, {"-nclkss", "1000"});
  EXPECT_TRUE(contains(newton.run.err, "Newton: singular or ill-conditioned J - I, step skipped.\n"));
  EXPECT_EQ(newton.cycles, picard.cycles);
  EXPECT_EQ(newton.x, picard.x);
  const pss_state broyden = run_method(3, "ser.m", 3, {"-nclkss", "1000"});
  EXPECT_TRUE(contains(broyden.run.err, "Broyden: singular or ill-conditioned B, step skipped.\n"));
  ASSERT_GT(broyden.cycles, 0) << broyden.run.err;
  EXPECT_LT(relative_gap(broyden.x, picard.x), 1e-5);
  // Skelboe's rank decision copes with the constant direction.
  const pss_state skelboe = run_method(2, "ser.m", 3, {"-nclkss", "1000"});
  ASSERT_GT(skelboe.cycles, 0) << skelboe.run.err;
  EXPECT_LT(skelboe.cycles, picard.cycles);
  for (const pss_state* s : {&picard, &newton, &broyden, &skelboe}) {
    ASSERT_EQ(s->x.size(), 3u);
    for (double v : s->x) EXPECT_TRUE(std::isfinite(v));
  }
}

TEST(PssBuck, AClockEdgeInsideTheReferenceIntervalLeavesTheConvergenceTestAlone) {
  // The cycle-start entry is overwritten by the max-duty edge every cycle; the test still
  // compares the states where the cycles began, so both circuits end alike.
  TempDir dir;
  write_text("pcm.m", anchored_at_the_limit(buck_peak_current));
  write_text("pcmd.m", anchored_at_the_limit(buck_peak_current_max_duty()));
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
