// sw_table: the on/off state of every switch and diode, the states that switching
// conditions and clocks give them, and the time each switch has spent since it turned on.
//
// Usage (once per run, then at events):
//     sw_table swt(p->swinit, p->tmd, p->thon, p->thoff, rows_of_Cy);
//     swt.apply_forced(due);          // at a clock edge, with clock_table::next_edge's flags
//     swt.apply_states(list);         // at a condition crossing, with the fired conditions
//     DM cand = swt.changed_list();   // conditions that would change some switch now
//     swt.add_on_time(dt);            // after every step (seconds)
//
// Settings are n x 1 columns of 1.0 (on) / 0.0 (off), switches numbered from 1 in netlist
// order. Conditions are numbered from 1 (rows of Cy). The operations are used only when
// n > 0; with n = 0 the table holds nothing else.
#pragma once
#include "matrix/dm.h"

struct sw_table {
  int n = 0;
  DM previous;      // n x 1: setting accepted at the last adjustment
  DM state;         // n x 1: present setting
  DM on_time;       // n x 1: seconds since each switch last turned on
  DM cond_table;    // n x c: 1.0 (turned on by condition j), 0.0 (turned off), -1.0 none
  DM forced;        // f x 1: numbers of the switches some clock drives, ascending
  DM forced_table;  // f x m: state forced by clock row j, or -1.0
  int m = 0;        // clock rows of tmd (kind 0.0 or 1.0)
  int c = 0;        // switching conditions

  // swinit is 1 x n (a column is accepted too); thon and thoff hold rows
  // (switch, condition); a pair listed in both ends up 0.0.
  sw_table(const DM& swinit, const DM& tmd, const DM& thon, const DM& thoff, double conditions);

  // For every forced switch and every clock row whose flag is exactly 1.0 and that forces
  // it: state = that entry (later rows win).
  void apply_forced(const DM& due);

  // For every switch and listed condition, in list order: state = table entry unless -1.0.
  void apply_states(const DM& list);

  // Condition numbers (ascending, k x 1; 0 x 1 when none) that would change some switch
  // from its present state.
  DM changed_list() const;
  // The same numbers written to ids (room for c entries); returns how many.
  int changed_into(double* ids) const;

  // Adds dt to the on time of every switch, on or off.
  void add_on_time(double dt) {
    for (int i = 1; i <= n; ++i) on_time.at(i) += dt;
  }
};
