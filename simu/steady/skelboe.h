// Skelboe's method: extrapolation of the states at successive cycle starts to the fixed
// point of the cycle map, without a Jacobian.
//
//     SKELBOE sk(swinit.transpose(), tab.state_names());
//     at every switching step once the method has begun (cycle mode):
//         if (sk.step(t, setting, x)) { ... write the report, end the run ... }
//     (x may have been replaced by the extrapolated state: the run goes on from it)
//     optionally, at every step: sk.note_state(x);   // swing of each state, see converged
//
// A cycle starts whenever the switch setting (n_sw x 1, 1.0/0.0) comes back to the
// reference setting. Entries are numbered from 0: t_k (s), x_k (states, V and A),
// T_k = t_k - t_(k-1) and dx_k = x_k - x_(k-1) for k >= 1. Once two successive periods
// agree within 1e-12 s the store is periodic; whenever the differences dx_1..dx_m lose
// rank r < m, with dx_m ~ sum c_i dx_(m-r-1+i) (least squares), the cycle map's fixed point
// is x* = (x_(m-1) - sum c_i x_(m-r-2+i)) / (1 - sum c_i), and the run restarts from it.
// Only the unknowns take part in the differences and in x*; the other states (sine
// generators) keep their simulated values. A singular extrapolation (|1 - sum c| < 1e-12,
// or x* not finite) is skipped with one line on the error stream.
#pragma once

#include <string>
#include <vector>

#include "matrix/dm.h"

class SKELBOE {
public:
  int count = 0;      // stored cycle starts
  int periodic = 0;   // two successive periods agree
  int done = 0;       // converged; later calls do nothing
  int counter = 0;    // cycle starts seen since the store became periodic
  std::vector<double> times, periods;
  DM reference;                      // setting that marks a cycle start
  std::vector<DM> states, differences;
  DM difference_matrix, coefficients, extrapolated;
  std::vector<std::string> names;    // state names; empty: not known, every state takes part
  std::vector<int> unknowns;         // 1-based state numbers taking part (pss_unknowns)

  SKELBOE(const DM& reference_setting, const std::vector<std::string>& state_names);

  // 1 when converged (the run ends), else 0; x may become the extrapolated state. Only
  // the first step of each visit to the reference setting is a cycle start.
  int step(double t, const DM& S, DM& x);
  // Stores a cycle start when S equals the reference setting.
  void add_cycle(double t, const DM& S, const DM& x);
  // The relative change between the last two cycle starts is within sstol_f, and so is
  // the change of the period from the cycle before (period_test); an element
  // whose latest value is below 2e-16 is measured against 1e-14, or against 1e-9 of the
  // state's largest magnitude over the cycle when that is larger (a sine generator's state:
  // at least 1e-3 of the sine's amplitude).
  int converged() const;
  // Entry k takes entry k+1 (count > 2 only).
  void drop_oldest();
  // Widens the running magnitude of each state over the present cycle.
  void note_state(const DM& x);

private:
  int extrapolate(DM& x);
  int in_reference_ = 0;   // the last step's setting was the reference
  double period_ = -1.0, last_period_ = -1.0;   // of the latest cycle and the one before (s); -1 none
  DM peak_, last_peak_;
};
