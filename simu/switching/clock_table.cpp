// Periodic clock edges: flagging, step cutting and advancing.
#include "simu/switching/clock_table.h"

#include <algorithm>

double flag_within(DM& table, int count, double t, double dt) {
  for (int j = 1; j <= count; ++j) {
    double left = std::max(table(5, j) - t, 0.0);
    table(2, j) = left;
    table(1, j) = left <= dt + clock_tolerance ? 1.0 : 0.0;
  }
  double earliest = table(2, 1);
  for (int j = 2; j <= count; ++j) earliest = std::min(earliest, table(2, j));
  return earliest;
}

void advance_edges(DM& table, int count, double t) {
  for (int j = 1; j <= count; ++j) {
    table(2, j) = table(5, j) - t;
    if (table(2, j) <= clock_tolerance) table(5, j) += table(4, j);
  }
}

clock_table::clock_table(const DM& tmd) {
  for (int r = 1; r <= tmd.rows; ++r)
    if (is_clock_kind(tmd(r, 3))) ++m;
  table = DM(5, m);
  due = DM(1, m);
  int j = 0;
  for (int r = 1; r <= tmd.rows; ++r) {
    if (!is_clock_kind(tmd(r, 3))) continue;
    ++j;
    double period = tmd(r, 2);
    if (!(period > 0.0)) matrix_fatal("clock_table()", "Clock period must be positive");
    // Edges within 1e-10 s coincide: a shorter period would cut the run into steps of
    // that period, so small that time stops advancing and the run hangs.
    if (!(period > clock_tolerance))
      matrix_fatal("clock_table()", "Clock period must be longer than 1e-10 s");
    table(1, j) = 0.0;
    table(2, j) = 0.0;
    table(3, j) = tmd(r, 1);
    table(4, j) = period;
    table(5, j) = tmd(r, 1);
    due(j) = 0.0;
  }
}

DM clock_table::next_edge(double t, double& dt) {
  due_count = 0;
  if (m == 0) return due;
  earliest = flag_within(table, m, t, dt);
  for (int j = 1; j <= m; ++j)
    if (table(1, j) != 0.0) ++due_count;
  if (due_count > 0) {
    dt = earliest;
    for (int j = 1; j <= m; ++j)
      if (table(2, j) > earliest + clock_tolerance && table(1, j) != 0.0) {
        table(1, j) = 0.0;
        --due_count;
      }
  }
  for (int j = 1; j <= m; ++j) due(j) = table(1, j);
  return due;
}

void clock_table::advance(double t) { advance_edges(table, m, t); }

void clock_table::diff(DM& out, double t) const {
  out = DM(m, 1);
  for (int j = 1; j <= m; ++j) {
    double left = table(5, j) - t;
    out(j) = left < table(4, j) - clock_tolerance ? left : 0.0;
  }
}

void clock_table::restore(const DM& saved, double t) {
  for (int j = 1; j <= m; ++j) table(5, j) = saved(j) + t;
}
