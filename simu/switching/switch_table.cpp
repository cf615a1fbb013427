// Switch table: build from the netlist matrices, forced and fired states, candidates.
#include "simu/switching/switch_table.h"

#include <cstddef>
#include <vector>

#include "simu/switching/clock_table.h"

sw_table::sw_table(const DM& swinit, const DM& tmd, const DM& thon, const DM& thoff,
                   double conditions) {
  n = swinit.cols >= 2 ? swinit.cols : swinit.rows;
  if (swinit.cols == 0) n = 0;
  state = DM(n, 1);
  for (int i = 1; i <= n; ++i) state(i) = swinit(i);
  previous = state;
  if (n < 1) return;
  on_time = DM(n, 1, 0.0);

  for (int r = 1; r <= tmd.rows; ++r)
    if (is_clock_kind(tmd(r, 3))) ++m;
  if (m > 0) {
    DM scratch(n, m, -1.0);
    std::vector<bool> marked(n + 1, false);
    int j = 0;
    for (int r = 1; r <= tmd.rows; ++r) {
      if (!is_clock_kind(tmd(r, 3))) continue;
      ++j;
      double s = tmd(r, 4);
      scratch(s, j) = tmd(r, 3);
      marked[static_cast<int>(s)] = true;
    }
    int f = 0;
    for (int i = 1; i <= n; ++i) f += marked[i] ? 1 : 0;
    forced = DM(f, 1);
    forced_table = DM(f, m);
    int row = 0;
    for (int i = 1; i <= n; ++i) {
      if (!marked[i]) continue;
      ++row;
      forced(row) = i;
      for (int col = 1; col <= m; ++col) forced_table(row, col) = scratch(i, col);
    }
  }

  c = static_cast<int>(conditions);
  if (c > 0) {
    cond_table = DM(n, c, -1.0);
    for (int r = 1; r <= thon.rows; ++r) cond_table(thon(r, 1), thon(r, 2)) = 1.0;
    for (int r = 1; r <= thoff.rows; ++r) cond_table(thoff(r, 1), thoff(r, 2)) = 0.0;
  }
}

void sw_table::apply_forced(const DM& due) {
  for (int i = 1; i <= forced.rows; ++i)
    for (int j = 1; j <= m; ++j)
      if (due(j) == 1.0 && forced_table(i, j) != -1.0) state(forced(i)) = forced_table(i, j);
}

void sw_table::apply_states(const DM& list) {
  if (c == 0) return;
  for (int i = 1; i <= n; ++i)
    for (int k = 1; k <= static_cast<int>(list.n); ++k) {
      double v = cond_table(i, list.at(k));
      if (v != -1.0) state(i) = v;
    }
}

int sw_table::changed_into(double* ids) const {
  int k = 0;
  for (int j = 1; j <= c; ++j)
    for (int i = 1; i <= n; ++i) {
      const double s = state.at(i), v = cond_table.at(i, j);
      if ((s == 0.0 && v == 1.0) || (s == 1.0 && v == 0.0)) {
        ids[k++] = j;
        break;
      }
    }
  return k;
}

DM sw_table::changed_list() const {
  std::vector<double> hits(c > 0 ? c : 0);
  const int k = changed_into(hits.data());
  DM list(k, 1);
  for (int q = 0; q < k; ++q) list.at(q + 1) = hits[q];
  return list;
}

