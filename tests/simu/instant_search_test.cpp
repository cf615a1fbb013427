// The switching-instant search: an RC charging through a switch against its closed
// form, conditions on time, simultaneous crossings, and the limits of the search.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "common/temp_dir.h"
#include "simu/model_circuits.h"
#include "simu/model_expect.h"
#include "simu/switch_cond.h"
#include "common/dm_builders.h"

namespace {

DM times(const DM& M, const DM& v) {
  DM out = zeros(M.rows, 1);
  for (int i = 1; i <= M.rows; ++i)
    for (int j = 1; j <= M.cols; ++j) out(i) += M(i, j) * v(j);
  return out;
}

DM plus(const DM& a, const DM& b) {
  DM out = zeros(a.rows, 1);
  for (int i = 1; i <= a.rows; ++i) out(i) = a(i) + b(i);
  return out;
}

struct rc_run {
  double t_found = -1.0;   // instant at which the step ended on the crossing
  double v_found = 0.0;    // capacitor voltage there
  int steps = 0;
};

// V charges C through the switch S1 (0.001 ohm on) and R; the upper limit Vth on v_C
// (g = Vth - v_C) opens the switch. Steps of td as the driver takes them; the search
// cuts the step that crosses.
rc_run charge(double V, double R, double C, double Vth, double td, int use_cache) {
  derived d = derive(circuit().add("V1", 1, 0, V).add("S1", 1, 2, 0.0).add("R1", 2, 3, R)
                         .add("C1", 3, 0, C).out('V', "C1").done(),
                     col({1.0}), td);
  const topology& rec = *d.rec;
  sw_condition sc(DM(1, 1, -1.0), zeros(1, 4), DM(1, 1, Vth), DM(1, 1, 1.0));
  mode_cache cache;
  DM x = zeros(1, 1), u = d.tab->source_values(), tv = zeros(4, 1), on = zeros(1, 1);
  DM list = col({1});
  sc.evaluate(list, on, plus(times(rec.C, x), times(rec.D, u)), tv, 0.0, '0');
  sc.take_present();
  rc_run out;
  while (tv(1) < 50.0 * (R * C)) {
    double dt = td;
    DM x1 = plus(times(rec.Phi, x), times(rec.Gamma, u));
    list = col({1});
    sc.evaluate(list, on, plus(times(rec.C, x1), times(rec.D, u)), tv, dt, '0');
    ++out.steps;
    if (sc.crossed) {
      if (!sc.at_zero) {
        sc.find_switching_time(list, tv, dt, on, rec, x, u, cache, use_cache);
        cache.propagate(x1, x, u, rec, dt, 0);
      }
      out.t_found = tv(1) + dt;
      out.v_found = x1(1);
      return out;
    }
    x = x1;
    for (int k = 1; k <= 4; ++k) tv(k) += dt;
    on(1) += dt;
    sc.take_present();
  }
  return out;
}

TEST(InstantSearch, RcChargingReachesTheThresholdAtTheClosedFormInstant) {
  TempDir dir;
  const double V = 10.0, R = 1e3, C = 1e-6, Vth = 6.0;
  const double tau = (R + 0.001) * C, t_star = -tau * std::log(1.0 - Vth / V);
  for (int use_cache : {1, 0}) {
    rc_run r = charge(V, R, C, Vth, 1e-4, use_cache);
    EXPECT_NEAR(r.t_found, t_star, 1e-9) << use_cache;
    // The step ends just past the crossing: v_C in [Vth, Vth + 2e-10].
    EXPECT_GE(r.v_found, Vth - 1e-12);
    EXPECT_LE(r.v_found, Vth + 2e-10 + 1e-12);
  }
}

TEST(InstantSearch, TerminatesOnARandomisedSweep) {
  TempDir dir;
  std::mt19937 rng(2026);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int k = 0; k < 60; ++k) {
    const double R = std::pow(10.0, 1.0 + 3.0 * unit(rng));
    const double C = std::pow(10.0, -9.0 + 4.0 * unit(rng));
    const double V = 1.0 + 99.0 * unit(rng);
    const double Vth = V * (0.02 + 0.96 * unit(rng));
    const double tau = (R + 0.001) * C;
    const double td = tau * std::pow(10.0, -2.0 + 2.0 * unit(rng));
    const double t_star = -tau * std::log(1.0 - Vth / V);
    rc_run r;
    ASSERT_NO_THROW(r = charge(V, R, C, Vth, td, 1)) << k;
    EXPECT_NEAR(r.t_found, t_star, 1e-9 * tau + 1e-15) << k;
  }
}

// Conditions on time alone: g_i = T_i - t.
struct on_time {
  topology rec;      // no states
  sw_condition sc;
  mode_cache cache;
  explicit on_time(std::initializer_list<double> T)
      : sc(zeros(static_cast<int>(T.size()), 1), zeros(static_cast<int>(T.size()), 4), col(T),
           DM(static_cast<int>(T.size()), 1, 1.0)) {
    rec.A = DM(0, 0);
    rec.B = DM(0, 0);
    rec.C = zeros(1, 0);
    rec.D = DM(1, 0);
    for (int i = 1; i <= sc.n; ++i) sc.Ct(i, 1) = -1.0;
  }
  // Start of the step at t0: previous values g_i(t0).
  void start(double t0) {
    for (int i = 1; i <= sc.n; ++i) sc.previous(i) = sc.Cc(i) - t0;
  }
};

TEST(InstantSearch, SimultaneousCrossingsAreKeptAndLaterOnesDropped) {
  on_time c({2.0e-3, 2.0e-3 + 5e-11, 2.0e-3 + 1e-6});
  c.start(1.99e-3);
  DM list = col({3, 1, 2}), tv = col({1.99e-3, 0.0, 0.0, 0.0}), on = zeros(1, 1);
  double dt = 1.2e-5;
  c.sc.find_switching_time(list, tv, dt, on, c.rec, DM(0, 1), DM(0, 1), c.cache, 1);
  expect_matrix(list, {{1.0}, {2.0}}, 0.0, 0.0);
  EXPECT_EQ(c.sc.count, 2);
  // The step ends just past the first crossing (the search aims at g = -1e-10).
  EXPECT_GE(dt, 1e-5 - 1e-15);
  EXPECT_LE(dt, 1e-5 + 2e-10);
}

TEST(InstantSearch, ConditionAtZeroIsTakenAtTheStepStart) {
  on_time c({1.0 + 5e-11});
  c.start(1.0);
  DM list = col({1}), tv = col({1.0, 0.0, 0.0, 0.0}), on = zeros(1, 1);
  double dt = 1e-3;
  c.sc.find_switching_time(list, tv, dt, on, c.rec, DM(0, 1), DM(0, 1), c.cache, 1);
  EXPECT_EQ(dt, 1e-10);
  expect_matrix(list, {{1.0}}, 0.0, 0.0);
}

TEST(InstantSearch, LinearConditionIsFoundByOneNewtonStep) {
  on_time c({0.5});
  c.start(0.25);
  DM list = col({1}), tv = col({0.25, 0.0, 0.0, 0.0}), on = zeros(1, 1);
  double dt = 0.5;
  c.sc.find_switching_time(list, tv, dt, on, c.rec, DM(0, 1), DM(0, 1), c.cache, 1);
  EXPECT_GE(dt, 0.25);
  EXPECT_LE(dt, 0.25 + 2e-10);
}

TEST(InstantSearch, ConditionAlreadyCrossedAtTheStepStartSwitchesThere) {
  // g = 0.5 - t is already -1e-3 when the step starts (an inconsistent initial setting):
  // the switching happens at once, however far below zero g is, and it is earlier than a
  // condition that crosses inside the step.
  on_time c({0.5, 0.5 + 2e-3});
  c.start(0.501);
  DM list = col({2, 1}), tv = col({0.501, 0.0, 0.0, 0.0}), on = zeros(1, 1);
  double dt = 1e-2;
  c.sc.find_switching_time(list, tv, dt, on, c.rec, DM(0, 1), DM(0, 1), c.cache, 1);
  EXPECT_EQ(dt, 1e-10);
  expect_matrix(list, {{1.0}}, 0.0, 0.0);
  EXPECT_EQ(c.sc.count, 1);

  // Far below zero and staying there: still the step's start, never a failed search.
  on_time d({-1.0});
  d.sc.Ct(1, 1) = 0.0;
  d.sc.previous(1) = -1.0;
  DM list2 = col({1}), tv2 = col({0.5, 0.0, 0.0, 0.0});
  double dt2 = 0.01;
  EXPECT_NO_THROW(
      d.sc.find_switching_time(list2, tv2, dt2, on, d.rec, DM(0, 1), DM(0, 1), d.cache, 1));
  EXPECT_EQ(dt2, 1e-10);
  expect_matrix(list2, {{1.0}}, 0.0, 0.0);
}

TEST(InstantSearch, AConditionThatNeverReturnsEndsTheRun) {
  // The value at the step's start says g = 1, but g stays at -1 inside the whole step:
  // no instant exists, and after its passes the search gives up through the fatal path
  // instead of looping.
  on_time c({-1.0});
  c.sc.Ct(1, 1) = 0.0;
  c.sc.previous(1) = 1.0;
  DM list = col({1}), tv = col({0.5, 0.0, 0.0, 0.0}), on = zeros(1, 1);
  double dt = 0.01;
  std::string text;
  try {
    c.sc.find_switching_time(list, tv, dt, on, c.rec, DM(0, 1), DM(0, 1), c.cache, 1);
  } catch (const char* t) {
    text = t;
  }
  EXPECT_EQ(text, "Fatal Error : Switching time not found in 40 iterations - reduce step.\n");
}

}  // namespace
