// Newton's method on the closed switching cycle: the monodromy matrix from the recorded
// cycle, with the saltation matrix of every state-dependent switching, then one step.
//
//     DM J = cyc.newton_jacobian(1.0);                // d x_N / d x_s over the closed cycle
//     x = newton_step(cyc, 1.0, pss_unknowns(tab.state_names()));
//     (cyc.newton_step(1.0) is the same with every state an unknown)
//
// Interval k runs from transition k to k+1 under record R_k (A_k, B_k): Phi_k = e^(A_k dt),
// between the instants at which the two settings began (t0, with x_k the state x0 there).
// At the switching that ends it, with f_k = A_k x_(k+1) + B_k u_k the derivative before
// and df_k = f_k - (A_(k+1) x_(k+1) + B_(k+1) u_(k+1)) its jump (each interval with its own
// input), h_k = d g / d x and c_k = d g / d t of the condition that fired:
//     S_k = I - df_k h_k / (h_k f_k + c_k)     (S_k = I at a clock-forced switching)
//     J = S_(N-1) Phi_(N-1) ... S_s Phi_s.
// The step solves (J - I) dx = x_N - x_s on the unknowns only; the other states (sine
// generators) keep their simulated values x_N. A singular or ill-conditioned J - I
// (rcond < 1e-12) or a non-finite result skips the step with one line on the error
// stream: x_N comes back and the run goes on as Picard. States in V and A, times in s,
// vectors are DM columns (1-based).
#pragma once

#include <vector>

#include "matrix/dm.h"
#include "simu/steady/cycle.h"

// The new cycle-start state; x_N (the cycle's end state) when the step is skipped.
DM newton_step(CYCLE& cyc, double h, const std::vector<int>& unknowns);

// x_s - (M - I) \ (x_N - x_s) on the unknowns, x_N elsewhere, into x; M is over the
// unknowns. Returns 0 (x untouched) when M - I is singular, ill-conditioned or the result
// is not finite.
int newton_update(const DM& M, const DM& xs, const DM& xN, const std::vector<int>& unknowns, DM& x);
