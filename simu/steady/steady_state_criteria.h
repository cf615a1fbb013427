// The relative-difference tests that decide periodic steady state.
//
//     relative_test(b, r, tol)          // max |(b - r) ./ d| <= tol, d = r with tiny entries
//                                       // (|r_i| < 1e-16) replaced by 1e-14
//     relative_test(b, r, tol, &peak)   // also d_i >= 1e-9 * peak_i (largest |x_i| in the cycle)
//     relative_test_floor(b, r, tol, state_floor(r, peak, partners))   // sine states too
//     ss_test(a, b, s, r, tol)          // settings a == transpose(s) exactly, and b within tol of r
//     period_test(T, T_before, tol)     // |T - T_before| <= tol T
//
// Vectors are DM columns of states (V and A), compared element by element (1-based). A NaN
// anywhere fails the test; vectors without elements pass it.
#pragma once
#include <vector>

#include "matrix/dm.h"

int relative_test(const DM& b, const DM& r, double tol, const DM* peak = nullptr,
                  double tiny = 1e-16);

// Absolute floor of each element's reference: 1e-9 * peak_i (peak empty or of another
// size: 0). A sine generator's state (partners_i != 0) drifts in phase by rounding from
// cycle to cycle while its anchor value may lie at a zero crossing; it is measured against
// at least 1e-3 of the sine's amplitude, hypot(r_i, r_partner) with partners_i the 1-based
// number of the generator's other state, or peak_i when partners_i < 0 (no partner).
// partners empty: no sine states.
DM state_floor(const DM& r, const DM& peak, const std::vector<int>& partners);
// The relative test with d_i = r_i (1e-14 when |r_i| < tiny) raised to floor_i.
int relative_test_floor(const DM& b, const DM& r, double tol, const DM& floor, double tiny = 1e-16);

int ss_test(const DM& a, const DM& b, const DM& s, const DM& r, double tol);

// A cycle's period (s) agrees with the one before within tol of it; a period not yet
// known (not positive) agrees with nothing. A cycle that starts where a condition fires
// (a diode's zero crossing) rather than at a clock edge moves in phase until the circuit
// settles, while its start state may agree at once.
int period_test(double period, double before, double tol);
