// Switch adjustment: passes over trial settings until no condition fires firmly.
#include "simu/switch_table_adjust.h"

#include <set>
#include <string>

#include "matrix/dm_ops.h"
#include "simu/cycle.h"
#include "simu/switch_cond.h"
#include "simu/switch_table.h"
#include "simu/topology.h"

unsigned long long adjustment_budget(int n) {
  if (n >= 62) return 1ULL << 62;
  return 1ULL << (n < 0 ? 0 : n);
}

namespace {

void append_bits(std::string& key, const DM& s) {
  for (uint32_t i = 1; i <= s.n; ++i) key += s(i) != 0.0 ? '1' : '0';
  key += '|';
}

[[noreturn]] void no_combination() { matrix_fatal("Switch Adjustment", "No valid combination found!"); }

}  // namespace

topology* switch_adjustment(sw_table& swt, sw_condition& cond, const DM& x, const DM& u, DM& y,
                            DM& tv, double h, topology_table& topo, const CYCLE& cyc) {
  const int n = swt.n;
  const unsigned long long budget = adjustment_budget(n);
  DM on_entry;
  on_entry = swt.on_time;
  DM S2, S1;
  S2 = swt.previous;
  S1 = swt.state;
  const double tv2 = tv(2), tv3 = tv(3);
  // The passes are deterministic: a repeated (state, S1, S2) would repeat for ever.
  std::set<std::string> seen;
  topology* rec = nullptr;
  for (unsigned long long r = 0;; ++r) {
    std::string key;
    append_bits(key, swt.state);
    append_bits(key, S1);
    append_bits(key, S2);
    if (!seen.insert(key).second) no_combination();

    rec = topo.find_eqns(swt.state, h);
    y = rec->C * x + rec->D * u;
    DM list = swt.changed_list();

    for (int i = 1; i <= n; ++i) {
      if (S2(i) == 0.0 && swt.state(i) == 1.0) swt.on_time(i) = 0.0;
      if (S2(i) == 1.0 && swt.state(i) == 0.0) swt.on_time(i) = on_entry(i);
    }
    tv(3) = dm_equal(swt.state, swt.previous) ? tv3 : 0.0;
    tv(2) = cyc.would_close(swt.state) ? 0.0 : tv2;

    bool fires = false;
    if (cond.n > 0 && list.n > 0) {
      cond.evaluate(list, swt.on_time, y, tv, 0.0, 'A');
      fires = cond.crossed && list.n > 0 && !cond.at_zero;
    }
    if (!fires) {
      if (r + 1 > budget) no_combination();
      break;
    }
    swt.apply_states(list);
    for (int i = 1; i <= n; ++i)
      if (S2(i) != S1(i)) swt.state(i) = S1(i);
    S2 = S1;
    S1 = swt.state;
    if (r + 1 > budget) no_combination();
  }

  if (cond.n > 0) {
    // Every condition, so that later searches start from fresh values.
    DM all(cond.n, 1);
    for (int j = 1; j <= cond.n; ++j) all(j) = j;
    cond.evaluate(all, swt.on_time, y, tv, 0.0, 'U');
    cond.take_present();
  }
  for (int i = 1; i <= n; ++i)
    if (swt.previous(i) == 0.0 && swt.state(i) == 1.0) swt.on_time(i) = 0.0;
  swt.previous = swt.state;
  return rec;
}
