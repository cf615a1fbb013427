// Timed source events: flagging, step cutting, advancing and the due value column.
#include "simu/switching/event_table.h"

#include "simu/switching/clock_table.h"

event_table::event_table(const DM& tmd, const DM& vgs) {
  if (vgs.cols < 1) return;
  for (int r = 1; r <= tmd.rows; ++r)
    if (tmd(r, 3) == 2.0) ++k;
  table = DM(5, k);
  values = DM(vgs.rows, k);
  due_values = DM(vgs.rows, 1);
  for (int i = 1; i <= vgs.rows; ++i) due_values(i) = 0.0;
  int j = 0;
  for (int r = 1; r <= tmd.rows; ++r) {
    if (tmd(r, 3) != 2.0) continue;
    ++j;
    double period = tmd(r, 2);
    if (!(period > 0.0)) matrix_fatal("event_table()", "Event period must be positive");
    if (!(period > clock_tolerance))
      matrix_fatal("event_table()", "Event period must be longer than 1e-10 s");
    double col = tmd(r, 4);
    for (int i = 1; i <= vgs.rows; ++i) values(i, j) = vgs(i, col);
    table(1, j) = 0.0;
    table(2, j) = 0.0;
    table(3, j) = tmd(r, 1);
    table(4, j) = period;
    table(5, j) = tmd(r, 1) == 0.0 ? period : tmd(r, 1);
  }
}

bool event_table::next_event(double t, double& dt) {
  due_count = 0;
  if (k == 0) return false;
  earliest = flag_within(table, k, t, dt);
  // Each value column is the whole source vector from its instant on: of the events due
  // together, the latest (of equal instants the highest-numbered) leaves its vector in force.
  int last = 0;
  for (int j = 1; j <= k; ++j) {
    if (table(1, j) == 0.0) continue;
    if (table(2, j) > earliest + clock_tolerance) {
      table(1, j) = 0.0;
      continue;
    }
    ++due_count;
    if (last == 0 || table(5, j) >= table(5, last)) last = j;
  }
  if (due_count == 0) return false;
  dt = earliest;
  for (int i = 1; i <= values.rows; ++i) due_values(i) = values(i, last);
  return true;
}

void event_table::advance(double t) { advance_edges(table, k, t); }

bool event_table::initial_values(DM& col) const {
  for (int j = k; j >= 1; --j) {
    if (table(3, j) != 0.0) continue;
    col = DM(values.rows, 1);
    for (int i = 1; i <= values.rows; ++i) col(i) = values(i, j);
    return true;
  }
  return false;
}
