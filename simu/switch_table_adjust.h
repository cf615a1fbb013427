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
// "No valid combination found!") when the passes exceed 2^n or a pass repeats one before.
#pragma once
#include "matrix/dm.h"

class sw_condition;
class topology_table;
class CYCLE;
struct sw_table;
struct topology;

topology* switch_adjustment(sw_table& swt, sw_condition& cond, const DM& x, const DM& u, DM& y,
                            DM& tv, double h, topology_table& topo, const CYCLE& cyc);

// The pass budget 2^n, capped so that it fits 64 bits.
unsigned long long adjustment_budget(int n);
