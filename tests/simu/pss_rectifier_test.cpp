// Steady-state methods on rectifiers fed by a sine source: the sine generator's states are
// not unknowns, so its amplitude survives the search.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "pss_netlists.h"

namespace {

// States of both rectifiers: V_Cs1, V_C1, I_Ls1.
double sine_amplitude(const pss_state& s) { return std::hypot(s.x.at(0), s.x.at(2)); }

}  // namespace

TEST(PssRectifier, ThyristorFiredByAClockConvergesByNewton) {
  TempDir dir;
  write_text("scr.m", thyristor_rectifier());
  const pss_state ref = run_method(4, "scr.m", 3, {"-tsim", "50", "-nclkss", "1000", "-sstol_f", "1e-10"});
  ASSERT_GT(ref.cycles, 20) << ref.run.err << ref.run.out;
  EXPECT_NEAR(sine_amplitude(ref), 100.0, 1e-6);
  const pss_state newton = run_method(1, "scr.m", 3, {});
  ASSERT_GT(newton.cycles, 0) << newton.run.err;
  EXPECT_LE(newton.cycles, 6);
  EXPECT_LT(ref.cycles, 1000);
  EXPECT_LT(relative_gap(newton.x, ref.x), 1e-6);
  EXPECT_NEAR(sine_amplitude(newton), 100.0, 1e-6);
  EXPECT_EQ(newton.boxes, std::vector<std::string>{"Newton:  Steady state reached!"});
  for (int method : {2, 3}) {
    const pss_state s = run_method(method, "scr.m", 3, {});
    ASSERT_GT(s.cycles, 0) << method << s.run.err;
    EXPECT_LE(s.cycles, 10) << method;
    EXPECT_LT(relative_gap(s.x, ref.x), 1e-5) << method;
    EXPECT_NEAR(sine_amplitude(s), 100.0, 1e-6) << method;
  }
}

TEST(PssRectifier, DiodeRectifierKeepsItsSineAndStaysFinite) {
  // The cycle starts when the diode turns off, an instant that moves with the state: a
  // method may fail to converge here, but then it says so and nothing is lost.
  TempDir dir;
  write_text("dr.m", diode_rectifier);
  const pss_state ref = run_method(4, "dr.m", 3, {"-tsim", "50", "-nclkss", "1000", "-sstol_f", "1e-10"});
  ASSERT_GT(ref.cycles, 0) << ref.run.err;
  for (int method : {1, 2, 3}) {
    const pss_state s = run_method(method, "dr.m", 3, {});
    ASSERT_EQ(s.x.size(), 3u) << method;
    for (double v : s.x) EXPECT_TRUE(std::isfinite(v)) << method;
    EXPECT_NEAR(sine_amplitude(s), 100.0, 1e-6) << method;
    if (s.cycles > 0) {
      EXPECT_LT(relative_gap(s.x, ref.x), 1e-4) << method;
    } else {
      ASSERT_EQ(s.boxes.size(), 1u) << method << s.run.err;
      EXPECT_EQ(s.boxes[0], "Failed to reach steady state in 25 cycles!") << method;
      EXPECT_NE(s.run.out.find("Steady state not reached in "), std::string::npos) << method;
    }
  }
  // Newton itself converges on this one.
  EXPECT_GT(run_method(1, "dr.m", 3, {}).cycles, 0);
}

TEST(PssRectifier, ThyristorFiredAtTheSinePeakConvergesByEveryMethod) {
  // The cycle starts where the sine generator's current state is ~0 (V_Cs1 = 100,
  // I_Ls1 = 100 cos(90 deg)); that state is measured against its amplitude, not its
  // rounding-level anchor value, so every method reaches the steady state.
  TempDir dir;
  write_text("scr90.m", thyristor_rectifier("5e-3"));
  const pss_state ref = run_method(4, "scr90.m", 3, {"-tsim", "50", "-nclkss", "1000", "-sstol_f", "3e-8"});
  ASSERT_GT(ref.cycles, 20) << ref.run.err << ref.run.out;
  EXPECT_NEAR(ref.x.at(0), 100.0, 1e-6);
  EXPECT_NEAR(ref.x.at(2), 0.0, 1e-6);
  const char* box[] = {"", "Newton:  Steady state reached!", "Skelboe: Steady state reached!",
                       "Broyden:  Steady state reached!", "Picard:  Steady state reached!"};
  for (int method : {1, 2, 3, 4}) {
    const pss_state s = run_method(method, "scr90.m", 3, {});
    ASSERT_GT(s.cycles, 0) << method << s.run.err << s.run.out;
    EXPECT_LE(s.cycles, method == 4 ? 25 : 10) << method;
    EXPECT_EQ(s.boxes, std::vector<std::string>{box[method]}) << method;
    EXPECT_NEAR(s.x.at(0), 100.0, 1e-6) << method;
    EXPECT_NEAR(s.x.at(2), 0.0, 1e-6) << method;
    EXPECT_NEAR(sine_amplitude(s), 100.0, 1e-6) << method;
    EXPECT_NEAR(s.x.at(1), ref.x.at(1), (method == 4 ? 1e-5 : 1e-6) * ref.x.at(1)) << method;
  }
}
