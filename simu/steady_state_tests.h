// The relative-difference tests that decide periodic steady state.
//
//     relative_test(b, r, tol)          // max |(b - r) ./ d| <= tol, d = r with tiny entries
//                                       // (|r_i| < 1e-16) replaced by 1e-14
//     relative_test(b, r, tol, &peak)   // also d_i >= 1e-9 * peak_i (largest |x_i| in the cycle)
//     ss_test(a, b, s, r, tol)          // settings a == transpose(s) exactly, and b within tol of r
//
// Vectors are DM columns of states (V and A), compared element by element (1-based). A NaN
// anywhere fails the test; vectors without elements pass it.
#pragma once
#include "matrix/dm.h"

int relative_test(const DM& b, const DM& r, double tol, const DM* peak = nullptr,
                  double tiny = 1e-16);

int ss_test(const DM& a, const DM& b, const DM& s, const DM& r, double tol);
