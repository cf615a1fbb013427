// event_table: the periodic timed events of stepped sources (breakpoints).
//
// Usage (once per run, then per step):
//     event_table evt(p->tmd, p->vgs);         // tmd rows of kind 2.0, in tmd order
//     if (evt.k > 0 && evt.next_event(t, dt))  // before the step: may shorten dt
//         ... after the step: evt.due_values holds the due event's source values ...
//     evt.advance(t + dt);                     // only after a step that applied the event
//
// Times are in seconds. The table is 5 x k, one column per event, rows as in clock_table:
// 1 due flag, 2 time to the next occurrence, 3 first time, 4 period, 5 next occurrence.
// values is r x k: event j's source values (a column of vgs, one row per vgs row).
// An event whose first time is exactly 0 next occurs one period after the start; its
// values hold from time 0 all the same: the driver applies initial_values() at setup.
#pragma once
#include "matrix/dm.h"

struct event_table {
  DM table;                 // 5 x k
  double earliest = -1.0;
  int due_count = 0;
  int k = 0;
  DM values;                // r x k
  DM due_values;            // r x 1, the value column of the due event

  // k = number of kind-2 rows of tmd (none when vgs has no columns); each names its vgs
  // column in column 4. A period not longer than 1e-10 s is refused through the fatal
  // path.
  event_table(const DM& tmd, const DM& vgs);

  // Flags the events within dt (+1e-10) of t and cuts dt to the earliest; events further
  // than 1e-10 past the earliest are unflagged. Of the events due together, due_values is
  // the column of the latest (of equal instants the highest-numbered): each column is the
  // whole source vector from its instant on. Returns whether one is due.
  bool next_event(double t, double& dt);

  // Moves every occurrence at or before t (+1e-10) on by one period.
  void advance(double t);

  // The value column of the highest-numbered event whose first time is exactly 0, which
  // holds from the start of the run; false when there is none.
  bool initial_values(DM& col) const;
};
