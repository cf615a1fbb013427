// Broyden's method for the periodic steady state: a finite-difference Jacobian of the
// cycle map from one perturbed cycle per unknown, Newton steps with it, then rank-one
// (good Broyden) updates anchored at the last finite-difference start.
//
//     broyden br(tab.state_names());                    // names empty: every state an unknown
//     at each closed cycle, once the method has begun (the driver's flags go, more, ready):
//         if (go && more) ready = br.fd_jacobian_step(J, cyc, tv, x, completed, x0, xT);
//         if (ready) go = br.update(J, tv, x, iterations, x0, xT, more, 2);
//     then the next cycle starts from x.
//
// F(x0) = x(T) - x0 over the unknowns; J is d x(T) / d x0 over the unknowns (n x n), built
// column by column from cycles restarted at x0 + delta e_j, where x0 is the start state of
// the base cycle (the state is rewound, time goes on), delta = 1e-4 |x0(j)|, or 1e-4 below
// 1e-14. The states that are not unknowns (sine generators) always keep their simulated
// values. A singular or ill-conditioned system (rcond < 1e-12) or a non-finite step is
// skipped with one line on the error stream: x stays the cycle's end state (Picard).
// States in V and A, times in s; vectors are DM columns (1-based).
#pragma once

#include <string>
#include <vector>

#include "matrix/dm.h"

class CYCLE;

class broyden {
public:
  explicit broyden(const std::vector<std::string>& state_names);

  // Finite-difference store.
  struct fd_store {
    DM x0, xT;           // start and end state of the base cycle
    DM saved_tv, start_tv;
    double period = 0.0;
    DM perturbed;        // start state of the present perturbed cycle
    DM J;                // n x n over the unknowns
    int completed = 0;   // finished Jacobians
    int column = 0;      // 0: no Jacobian under way
    int n = 0;           // unknowns
    int end_index = 0;
    double delta = 0.0;
    double x0j = 0.0;
  } fd;

  // Update store.
  struct update_store {
    DM x0, xT, F0, F, dx, x, B;   // F0, F, dx, B over the unknowns; x0, xT, x whole states
    int iteration = 0;
    int n = 0;
    int solved = 0;               // the last step solved B dx = -F0 (else it was skipped)
  } up;

  std::vector<std::string> names;
  std::vector<int> unknowns;

  // After each closed cycle while the finite-difference stage is on. 1 when a Jacobian
  // has just been completed (J, completed, x0, xT handed out; x holds its Newton step),
  // else 0 (x holds the next perturbed start, or is untouched before the second cycle).
  int fd_jacobian_step(DM& J, CYCLE& cyc, const DM& tv, DM& x, int& completed, DM& x0, DM& xT);
  // Newton steps with Jfd while iteration < limit (the last one clears more), Broyden
  // updates after that. x holds the next start; returns 1.
  int update(const DM& Jfd, const DM& tv, DM& x, int& iteration, const DM& x0, const DM& xT, int& more,
             int limit);

private:
  void choose_unknowns(int n_x);
};
