// What the element families use to give the netlist their own parts: rows of
// the element matrix "X" (element::netlist_rows; names padded to the width
// given, ints 4 columns, doubles 15), hidden measuring ports
// (element::request_hidden_ports) and switching conditions
// (element::netlist_conditions).
#pragma once

#include <string>
#include <vector>

#include "sdi/elements/netlist_writer_state.h"
#include "sdi/elements/simrec.h"

namespace sdi {

// A new row named name, appended to rows.
simrec* netlist_row(rlist& rows, const std::string& name, int width);
// A node field, checked once the internal nodes are counted: an unassigned
// or control node in the network is a broken netlist.
void add_node(simrec* r, int node);
void add_nodes(simrec* r, element* e);  // pins 0 and 1
int new_internal_node();
// Name, pins 0 and 1, the value; shown under the element's display name.
void two_pin_row(rlist& rows, element* e, double value);

// The id of a port of the kind on nodes (a, b): an existing one on exactly
// those nodes in that order, else a temporary one made for this file.
int request_port(int kind, int a, int b);
// The port a limiter measures: its capacitor's voltage, its inductor's
// current, the current of the sense feeding it, or its node's voltage.
int limiter_port(element* e);

// A new switching condition (netlist_writer_state.h), numbered writer.conditions.
condition& new_condition();
// Cy entry of an output given by id; reported when it is not an output.
void set_cy(condition& c, int output_id, double v);

}  // namespace sdi
