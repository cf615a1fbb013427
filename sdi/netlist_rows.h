// Building rows of the netlist's element matrix "X": each element family
// writes its own rows (element::netlist_rows) with these. Names are padded to
// the width given; ints take 4 columns, doubles 15.
#pragma once

#include <string>

#include "sdi/netlist_writer_state.h"
#include "sdi/simrec.h"

namespace sdi {

constexpr const char* netlist_tag = "sdi/Simnet";  // the writer's internal reports

// A new row named name, appended to rows.
simrec* netlist_row(rlist& rows, const std::string& name, int width);
// A node field, checked once the internal nodes are counted: an unassigned
// or control node in the network is a broken netlist.
void add_node(simrec* r, int node);
void add_nodes(simrec* r, element* e);  // pins 0 and 1
int new_internal_node();
// Name, pins 0 and 1, the value; shown under the element's display name.
void two_pin_row(rlist& rows, element* e, double value);

}  // namespace sdi
