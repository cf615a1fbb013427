// CYCLE: the switching transitions of one period, for cycle detection, the steady-state
// tests, Newton's method and the switching-sequence report.
//
// Usage (the transient driver, once per run):
//     CYCLE cyc(swinit.transpose());               // reference setting, n x 1
//     cyc.add_hi_mi(row, c, kind);                 // at a switching: ends the newest interval
//     cyc.add_transition(tv, t, swt.state, x, u, rec, cycle_mode);
//     if (cyc.cycle_found()) { ... cyc.converged() ...; cyc.count = 0; }   // sstol_f
//     if (cyc.would_close(trial_setting)) ...     // switch adjustment: asks, changes nothing
//
// Entries are numbered from 1 (entry(k)); entry k holds the instant t_k (s), the driver's
// time vector, the setting S_k after transition k (n x 1 of 1.0/0.0), the state x_k, the
// sources u_k and the topology record R_k in force after the transition (owned by the
// topology table). Outside cycle mode only the reference entry and the latest one are
// kept (count <= 2), so no cycle is ever found there.
#pragma once
#include <string>
#include <vector>

#include "matrix/dm.h"

struct topology;

struct cycle_entry {
  double t = 0.0;
  DM tv;                       // driver's time vector (4 x 1)
  DM S;                        // setting after the transition
  DM x;                        // state at the transition
  DM u;                        // sources at the transition
  const topology* R = nullptr;
  // Instant and state at which this setting began: a later transition that keeps the
  // setting (a clock edge on a switch already in that state, a window cut, an event)
  // overwrites t and x but not these, so Newton's intervals still end at the switchings.
  double t0 = 0.0;
  DM x0;
  DM h;                        // switching row (1 x n_x) of the switching that ends the interval
  double c = 0.0;              // its explicit rate
  int kind = -1;               // condition number, 0 at a clock edge, -1 not a condition
  // Written by Newton's method: transition matrix, derivative before the jump, its jump,
  // the denominator, the jump product and the jump factor of this interval.
  DM Phi, f, df;
  double d = 0.0;
  DM M, Sk;
};

class CYCLE {
public:
  int cycles = 0;   // closed cycles found
  int start = 1;    // entry at which the cycle starts
  int count = 0;    // newest entry (0 = empty); the driver sets it to 0 after using a cycle
  int found = 0;    // 1 after cycle_found reported a cycle, until the next add_transition
  int started = 0;  // 0 until a transition with the reference setting has been seen
  DM reference;     // setting the cycle is anchored to
  DM J, x0_new;     // Newton's results

  explicit CYCLE(const DM& reference_setting);

  // Stores at the newest entry (when there is one) h = row * C of its record, the rate c
  // and the kind. An empty row stands for a time-forced switching (h = 0).
  void add_hi_mi(const DM& row, double c, int kind);

  // Adds a transition, or overwrites the newest entry when the setting did not change.
  // Transitions before the first one with the reference setting are not recorded.
  void add_transition(const DM& tv, double t, const DM& S, const DM& x, const DM& u,
                      const topology* R, int cycle_mode);

  // 1 when the newest setting equals the cycle's start setting (from 3 entries on);
  // counts each closed cycle once and notes its period (from the instant its start
  // setting began to the instant it came back).
  int cycle_found();

  // Whether a transition to S now would close the cycle, without recording anything.
  int would_close(const DM& S) const;

  // Widens the running magnitude of each state over the present cycle (the driver may
  // call it at every step; transitions are noted by add_transition).
  void note_state(const DM& x);

  // The states' names ("V_C1", "I_L1", ...), which tell the sine generators' states apart
  // for the tests below (without names no state is one).
  void set_state_names(const std::vector<std::string>& names);

  // Relative change between the cycle-start state (x0 of the start entry) and the latest
  // state within tol (coarse tolerance sstol_c for close_enough, fine sstol_f for
  // states_converged). A state whose latest value is tiny is measured against 1e-9 of its
  // largest magnitude in the cycle, a sine generator's state against at least 1e-3 of the
  // sine's amplitude.
  int close_enough(double tol) const;
  int states_converged(double tol) const;
  // The latest closed cycle's period agrees with the one before within tol of it
  // (period_test).
  int period_agrees(double tol) const;
  // The steady state: the states and the period both within tol.
  int converged(double tol) const;
  // The same with the current settings record's sstol_c and sstol_f (their defaults when
  // no run is in progress).
  int close_enough() const;
  int states_converged() const;
  int period_agrees() const;
  int converged() const;

  // Writes the switching-sequence report "<base>.seq" of entries 1..count.
  void write_seq_file(const char* netlist, double tol, const std::vector<std::string>& names) const;

  // Newton's method over the closed cycle (defined with that method).
  DM newton_jacobian(double h);
  DM newton_step(double h);

  cycle_entry& entry(int k);
  const cycle_entry& entry(int k) const;

private:
  int relative_change_within(double tol) const;
  std::vector<cycle_entry> entries_;   // entries_[k - 1] is entry k
  DM peak_;                            // largest |x_i| seen in the present cycle
  std::vector<int> sine_partner_;      // sine_partners of the state names
  double period_ = -1.0, last_period_ = -1.0;   // of the latest closed cycle and the one before (s); -1 none
};

// 1 when both matrices have the same shape and every element is exactly equal.
int dm_equal(const DM& A, const DM& B);

// Adjacent intervals whose continuous models agree: max|A1 - A2| / max|A1| < 1e-4 and
// then the same for B (matrices that are equal always agree).
int same_equations(const topology* R1, const topology* R2);
