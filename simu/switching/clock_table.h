// clock_table: the periodic clock edges that force switch states.
//
// Usage (once per run, then per step):
//     clock_table clk(p->tmd);                 // rows of tmd whose kind (column 3) is 0.0 or 1.0
//     DM due = clk.next_edge(t, dt);           // before the step: may shorten dt to the earliest edge
//     ... step of length dt ...
//     clk.advance(t + dt);                     // only after a step that applied the due edges
//     clk.diff(saved, t); clk.restore(saved, t);   // state file (time to next edge, seconds)
//
// Times are in seconds. The table is 5 x m, one column per clock row in tmd order, rows:
// 1 due flag (1.0/0.0), 2 time from the present instant to the next edge, 3 first edge
// time, 4 period, 5 time of the next edge. Edges within 1e-10 s of each other coincide.
#pragma once
#include "matrix/dm.h"

constexpr double clock_tolerance = 1e-10;

struct clock_table {
  DM table;              // 5 x m
  DM due;                // 1 x m, the flags handed out by next_edge
  double earliest = -1.0;
  int due_count = 0;
  int m = 0;

  // Throws through the fatal path when a clock's period is not longer than 1e-10 s (a
  // zero or vanishing period would never let time advance).
  explicit clock_table(const DM& tmd);

  // Flags the clocks whose edge falls within dt (+1e-10) of t and cuts dt to the earliest;
  // only clocks at that earliest edge stay flagged. An edge already passed (not yet
  // advanced) counts as due now: its time-to-edge is clamped to 0.
  DM next_edge(double t, double& dt);

  // Moves every edge at or before t (+1e-10) on by one period.
  void advance(double t);

  // out (m x 1) = time from t to each next edge; 0 where that is a whole period (within
  // 1e-10), i.e. the edge has just been passed.
  void diff(DM& out, double t) const;

  // Next edge(i) = saved(i) + t.
  void restore(const DM& saved, double t);
};

// The steps clocks and timed events share, on a 5 x count table laid out as above.
// Sets row 2 to the time from t to each next edge (an edge passed counts as now) and row
// 1 to whether it falls within dt (+1e-10); returns the earliest time to an edge.
double flag_within(DM& table, int count, double t, double dt);
// Moves every next edge at or before t (+1e-10) on by one period.
void advance_edges(DM& table, int count, double t);

// True when a tmd row of this kind is a clock row (kind exactly 0.0 or 1.0).
inline bool is_clock_kind(double kind) { return kind == 0.0 || kind == 1.0; }
