// Discretisation of a record's model, also without states or without sources, and the
// timer category it is charged to.
#include <gtest/gtest.h>

#include <cmath>

#include "simu/model_expect.h"
#include "simu/timers.h"
#include "simu/topology.h"

namespace {

std::uint64_t fake_now = 0;
std::uint64_t fake_clock() { return fake_now; }

TEST(TopologyC2d, ScalarModelClosedForm) {
  DM Phi, Gamma;
  const double a = -2.0, b = 3.0, h = 0.1;
  c2d_timed(Phi, Gamma, DM(a), DM(b), h);
  expect_matrix(Phi, {{std::exp(a * h)}}, 1e-14);
  expect_matrix(Gamma, {{std::expm1(a * h) / a * b}}, 1e-13);
}

TEST(TopologyC2d, WithoutSources) {
  DM A(2, 2);
  A(1, 1) = 0.0;
  A(1, 2) = 1.0;
  A(2, 1) = -1.0;
  A(2, 2) = 0.0;
  DM Phi, Gamma;
  c2d_timed(Phi, Gamma, A, DM(2, 0), 0.5);
  expect_matrix(Phi, {{std::cos(0.5), std::sin(0.5)}, {-std::sin(0.5), std::cos(0.5)}}, 1e-13, 1.0);
  EXPECT_EQ(Gamma.rows, 2);
  EXPECT_EQ(Gamma.cols, 0);
}

TEST(TopologyC2d, WithoutStates) {
  DM Phi, Gamma;
  c2d_timed(Phi, Gamma, DM(0, 0), DM(0, 3), 0.5);
  EXPECT_EQ(Phi.rows, 0);
  EXPECT_EQ(Phi.cols, 0);
  EXPECT_EQ(Gamma.rows, 0);
  EXPECT_EQ(Gamma.cols, 3);
}

TEST(TopologyC2d, TimeGoesToTheDiscretisationCategory) {
  set_ms_clock(fake_clock);
  fake_now = 1000;
  timer_init(timer_labels);
  timer_switch(3);
  fake_now = 1040;   // 40 ms of stepping before the call
  DM Phi, Gamma;
  c2d_timed(Phi, Gamma, DM(-1.0), DM(1.0), 1e-3);
  EXPECT_EQ(timer_total(3), 40u);
  EXPECT_EQ(timer_mark(), 9);
  set_ms_clock(nullptr);
}

}  // namespace
