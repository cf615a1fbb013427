#include "simu/pss_methods.h"

#include <gtest/gtest.h>

#include <cmath>

#include "simu/cycle.h"
#include "simu/driver_methods.h"
#include "simu/recording_run_services.h"
#include "simu/sim_params.h"
#include "simu/topology.h"
#include "common/dm_builders.h"

TEST(PssMethods, PicardAndUnknownMethodsHaveNoAcceleration) {
  const DM ref = col({1.0});
  EXPECT_EQ(make_pss_method(4, ref, {"V_C1"}), nullptr);
  EXPECT_EQ(make_pss_method(0, ref, {"V_C1"}), nullptr);
  EXPECT_EQ(make_cycle_method(4, ref, {"V_C1"}), nullptr);
  EXPECT_NE(make_cycle_method(1, ref, {"V_C1"}), nullptr);
  EXPECT_NE(make_cycle_method(2, ref, {"V_C1"}), nullptr);
  EXPECT_NE(make_cycle_method(3, ref, {"V_C1"}), nullptr);
}

TEST(PssMethods, NewtonTakesTheStepAtAFoundCycle) {
  // x' = -x + u over a clock-forced cycle of length 1: x_T = e^-1 x0 + (1 - e^-1), fixed
  // point 1; Newton lands on it from anywhere.
  topology R;
  R.A = DM(1, 1, -1.0);
  R.B = DM(1, 1, 1.0);
  R.C = DM(1, 1, 1.0);
  R.D = DM(1, 1, 0.0);
  const DM on = col({1.0}), off = col({0.0}), u = col({1.0}), tv(4, 1, 0.0);
  CYCLE cyc(on);
  const double a = std::exp(-0.5);
  cyc.add_transition(tv, 0.0, on, col({0.0}), u, &R, 1);
  cyc.add_transition(tv, 0.5, off, col({1.0 - a}), u, &R, 1);
  cyc.add_transition(tv, 1.0, on, col({1.0 - a * a}), u, &R, 1);
  ASSERT_EQ(cyc.cycle_found(), 1);
  auto m = make_cycle_method(1, on, {"V_C1"});
  DM x = col({1.0 - a * a});
  m->at_cycle(cyc, x);
  EXPECT_NEAR(x(1), 1.0, 1e-14);
  EXPECT_EQ(m->iterations(), 0);
}

TEST(PssMethods, SkelboeAnswersAtSwitchingSteps) {
  sim_params p;
  current_params = &p;
  recording_run_services host;
  main_window_scope scope(host);
  const DM on = col({1.0}), off = col({0.0});
  auto m = make_cycle_method(2, on, {"V_C1"});
  DM x = col({2.0});
  testing::internal::CaptureStderr();
  int done = 0;
  for (int k = 0; k < 3 && !done; ++k) {
    done = m->at_switching(k * 1e-3, on, x);
    m->note_state(x);
    m->at_switching(k * 1e-3 + 5e-4, off, x);
  }
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(done, 1);   // a constant state converges at the third start
  current_params = nullptr;
}
