// The mode cache against closed forms: the decomposition and the coefficients for a start
// state are computed once and reused by the instant search's many trial steps. The search
// through the cache and through the library's discretisation: V charges C through R until
// v_C reaches Vth (g = Vth - v_C <= 0).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/dm_builders.h"
#include "common/temp_dir.h"
#include "matrix/fatal_expect.h"
#include "simu/model_circuits.h"
#include "simu/switching/switch_cond.h"
#include "simu/model/mode_cache.h"
#include "simu/model/topology.h"

TEST(ModeCache, TrialStepsReuseOneDecompositionAgainstTheClosedForm) {
  // x' = -x + u: x(dt) = e^-dt x0 + (1 - e^-dt) u; and the rotation x1' = x2, x2' = -x1.
  topology decay, spin;
  decay.A = DM(1, 1, -1.0);
  decay.B = DM(1, 1, 1.0);
  spin.A = rows_of(2, 2, {0, 1, -1, 0});
  spin.B = DM(2, 0);
  mode_cache cache;
  DM x;
  for (int k = 0; k < 10; ++k) {
    const double dt = 0.37 * (k + 1);
    cache.propagate(x, DM(2.0), DM(5.0), decay, dt, k);
    EXPECT_NEAR(x(1), std::exp(-dt) * 2.0 + (1.0 - std::exp(-dt)) * 5.0, 1e-14) << k;
  }
  EXPECT_EQ(cache.recomputations(), 1);
  for (int k = 0; k < 10; ++k) {
    const double dt = 0.37 * (k + 1);
    cache.propagate(x, col({1.0, 0.0}), DM(0, 1), spin, dt, k);
    EXPECT_NEAR(x(1), std::cos(dt), 1e-14) << k;
    EXPECT_NEAR(x(2), -std::sin(dt), 1e-14) << k;
  }
  EXPECT_EQ((std::vector<int>{cache.builds(), cache.recomputations(), cache.propagations()}), (std::vector<int>{2, 2, 20}));
}

TEST(InstantSearch, CrossingAtTheClosedFormInstantWithAndWithoutTheCache) {
  TempDir dir;
  const double V = 10.0, R = 1e3, C = 1e-6, Vth = 6.0, t_star = -R * C * std::log(1.0 - Vth / V);
  derived d = derive(circuit().add("V1", 1, 0, V).add("R1", 1, 2, R).add("C1", 2, 0, C).out('V', "C1").done());
  const DM u = d.tab->source_values(), tv = zeros(4, 1), on = zeros(1, 1), x0 = zeros(1, 1);
  for (int use_cache : {1, 0}) {
    sw_condition sc(DM(1, 1, -1.0), zeros(1, 4), DM(1, 1, Vth), DM(1, 1, 1.0));
    DM list = col({1});
    sc.evaluate(list, on, DM(1, 1, 0.0), tv, 0.0, '0');
    sc.take_present();
    double dt = 5e-3;   // one long step past the crossing
    list = col({1});
    sc.evaluate(list, on, DM(1, 1, V * (1.0 - std::exp(-dt / (R * C)))), tv, dt, '0');
    ASSERT_EQ(sc.crossed, 1);
    mode_cache cache;
    sc.find_switching_time(list, tv, dt, on, *d.rec, x0, u, cache, use_cache);
    EXPECT_NEAR(dt, t_star, 1e-12) << use_cache;
  }
}

TEST(InstantSearch, ACrossingTheModelNeverReachesFailsAtThePassLimit) {
  // The step's end claims v_C = 9 V > Vth, but within 1 us the circuit only reaches ~0.1 V:
  // every pass bisects towards the step's end without g ever reaching zero.
  TempDir dir;
  derived d = derive(circuit().add("V1", 1, 0, 10.0).add("R1", 1, 2, 1e3).add("C1", 2, 0, 1e-6).out('V', "C1").done());
  const DM u = d.tab->source_values(), tv = zeros(4, 1), on = zeros(1, 1), x0 = zeros(1, 1);
  sw_condition sc(DM(1, 1, -1.0), zeros(1, 4), DM(1, 1, 6.0), DM(1, 1, 1.0));
  DM list = col({1});
  sc.evaluate(list, on, DM(1, 1, 0.0), tv, 0.0, '0');
  sc.take_present();
  double dt = 1e-6;
  list = col({1});
  sc.evaluate(list, on, DM(1, 1, 9.0), tv, dt, '0');
  ASSERT_EQ(sc.crossed, 1);
  mode_cache cache;
  EXPECT_FATAL(sc.find_switching_time(list, tv, dt, on, *d.rec, x0, u, cache, 1),
               "Switching time not found in 50 iterations", "reduce step.");
}
