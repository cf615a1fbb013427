// The call points of the steady-state accelerations inside the transient driver.
//
//     std::unique_ptr<cycle_method> m = make_cycle_method(run_ssmethod, reference, names);
//     at every switching step, once begun, in cycle mode:
//         if (m && m->at_switching(t, setting, x)) ... steady state reached
//     at a found cycle, once begun, before the next cycle starts from x:
//         if (m) m->at_cycle(cyc, x);
//     at every step in cycle mode: if (m) m->note_state(x);
//
// Methods: 1 Newton, 2 Skelboe, 3 Broyden, 4 Picard. Picard needs no acceleration (the
// plain cycle-by-cycle run is the method); a method whose acceleration is not built
// yields null and runs as Picard. States are DM columns (V and A), times in s.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "matrix/dm.h"

class CYCLE;

class cycle_method {
public:
  virtual ~cycle_method() = default;
  // Skelboe: called at each switching step; may replace x; 1 when converged.
  virtual int at_switching(double t, const DM& setting, DM& x) {
    (void)t, (void)setting, (void)x;
    return 0;
  }
  // Newton and Broyden: called at a found cycle; may replace x (the next cycle's start).
  virtual void at_cycle(CYCLE& cyc, DM& x) { (void)cyc, (void)x; }
  // Every accepted step in cycle mode (the swing of each state over a cycle).
  virtual void note_state(const DM& x) { (void)x; }
  // Broyden's iteration count for the closing message.
  virtual int iterations() const { return 0; }
};

// reference: the setting that starts a cycle (n_sw x 1); state_names: the states of the
// first topology ("V_C1", "I_L1", ...), which tell the sine generators' states apart.
std::unique_ptr<cycle_method> make_cycle_method(int method, const DM& reference,
                                                const std::vector<std::string>& state_names);
