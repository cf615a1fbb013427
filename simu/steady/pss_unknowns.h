// The states that the periodic-steady-state methods (Newton, Broyden, Skelboe) solve for.
//
//     std::vector<int> unk = pss_unknowns(tab.state_names());   // 1-based state numbers
//     DM xu = gather_states(x, unk);                             // the unknowns of x
//     scatter_states(x, xu, unk);                                // put them back
//
// A sine source is an undamped LC oscillator ("Ls<n>", "Cs<n>") whose states run on by
// themselves: over any cycle their block of the monodromy matrix is a rotation, so J - I
// is singular there and a Newton step would zero the sine. They are exogenous: left out
// of the unknowns, they keep their simulated values (the convergence tests still see
// them). Every other state is an unknown, in state order.
#pragma once

#include <string>
#include <vector>

#include "matrix/dm.h"

// 1 for the states of a sine generator ("V_Cs..." and "I_Ls...").
int is_sine_state(const std::string& name);
// For each state: 0, or for a sine generator's state the 1-based number of the same
// generator's other state ("V_Cs<n>" <-> "I_Ls<n>"), -1 when that one is missing.
std::vector<int> sine_partners(const std::vector<std::string>& state_names);
std::vector<int> pss_unknowns(const std::vector<std::string>& state_names);
// Every state number 1..n_x (no names known).
std::vector<int> all_states(int n_x);

// x(unk) as a column (0 x 1 when unk is empty).
DM gather_states(const DM& x, const std::vector<int>& unk);
// x(unk) = v.
void scatter_states(DM& x, const DM& v, const std::vector<int>& unk);
// 1 when every element is finite.
int all_finite(const DM& A);
// x = A \ b for the Newton-like steps. Returns 0 (x untouched) when A or the result is
// not finite, when A is ill-conditioned (reciprocal condition below 1e-12), or when A is
// within 1e-10 (1 + |A|) of a singular matrix (1-norm): a J - I of rounding noise, as a
// finite-difference Jacobian gives for a state without a fixed point, is not solved.
int pss_solve(const DM& A, const DM& b, DM& x);
