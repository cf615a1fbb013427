// Test helper: the periodic state of a converter whose period is two linear
// stages of one step each, x(k+1) = P x(k) + vin G with x = (iL, vC), the
// closed form the steady-state runs are checked against.
//
//     const PeriodicState s = periodic_state(Pon, Gon, Poff, Goff, vin);
//     expect_ends_on_periodic_state(t.rows.back(), s, h);
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "matrix/dm.h"

struct PeriodicState {
  double i0 = 0.0;      // at the start of a period
  double v0 = 0.0;
  double v_half = 0.0;  // the output after the first stage
};

// Solves x0 = Poff (Pon x0 + vin Gon) + vin Goff.
inline PeriodicState periodic_state(const DM& Pon, const DM& Gon, const DM& Poff, const DM& Goff, double vin) {
  double M[2][2], rhs[2];
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) M[i - 1][j - 1] = (i == j) - (Poff(i, 1) * Pon(1, j) + Poff(i, 2) * Pon(2, j));
    rhs[i - 1] = vin * (Poff(i, 1) * Gon(1, 1) + Poff(i, 2) * Gon(2, 1) + Goff(i, 1));
  }
  const double det = M[0][0] * M[1][1] - M[0][1] * M[1][0];
  PeriodicState s;
  s.i0 = (rhs[0] * M[1][1] - rhs[1] * M[0][1]) / det;
  s.v0 = (M[0][0] * rhs[1] - M[1][0] * rhs[0]) / det;
  s.v_half = Pon(2, 1) * s.i0 + Pon(2, 2) * s.v0 + vin * Gon(2, 1);
  return s;
}

// The last row of a run (time, output) ends on a switching instant, the start
// of a period of two steps h or its middle, with the output the periodic state has there.
inline void expect_ends_on_periodic_state(const std::vector<double>& last, const PeriodicState& s, double h) {
  const double phase = std::fmod(last[0] + 1e-9, 2 * h) - 1e-9;
  ASSERT_TRUE(std::fabs(phase) < 1e-9 || std::fabs(phase - h) < 1e-9) << last[0];
  EXPECT_NEAR(last.back(), std::fabs(phase) < 1e-9 ? s.v0 : s.v_half, 2e-5);
}
