// switch_adjustment: after an event, the search for a switch setting that no switching
// condition contradicts (diodes turning on and off in cascades at one instant).
//
//     rec = switch_adjustment(swt, cond, x, u, y, tv, td, topo, cyc);
//     list = swt.changed_list();
//
// x: state, u: sources (columns); y is written (outputs of the accepted setting); tv is the
// driver's 4 x 1 time vector (s): element 2 is zeroed when the setting would close a cycle,
// element 3 when the setting changed. Updates swt.state, swt.previous and swt.on_time, and
// the condition block's previous values. Fails through the fatal path ("Switch Adjustment",
// "No valid combination found!") when the settings tried exceed 2^n or a pass repeats one before.
#pragma once
#include <cstdint>
#include <vector>

#include "matrix/dm.h"
#include "simu/switching/cond_list.h"

class sw_condition;
class topology_table;
class CYCLE;
struct sw_table;
struct topology;

topology* switch_adjustment(sw_table& swt, sw_condition& cond, const DM& x, const DM& u, DM& y,
                            DM& tv, double h, topology_table& topo, const CYCLE& cyc);

// The storage of the adjustment, kept between calls so that a switching allocates nothing
// once the sizes are settled.
struct adjust_work {
  DM on_entry, S1, S2;
  cond_list list, all;
  std::vector<std::uint64_t> seen;   // the (state, S1, S2) bits of each pass, packed
};
topology* switch_adjustment(sw_table& swt, sw_condition& cond, const DM& x, const DM& u, DM& y,
                            DM& tv, double h, topology_table& topo, const CYCLE& cyc, adjust_work& w);

// y = C x + D u of the record, as the matrix operators form it, into y's own block.
void outputs_of(const topology& rec, const DM& x, const DM& u, DM& y);

// The pass budget 2^n, capped so that it fits 64 bits.
unsigned long long adjustment_budget(int n);
