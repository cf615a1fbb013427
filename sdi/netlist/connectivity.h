// Connectivity of the working circuit: number the nodes, join what wires and
// junctions connect (they then leave the list; temporary ones are deleted),
// check every element's pins, and renumber. Messages go through netlist_error
// (node_errors.h) and count in run_error_count.
//
// After a clean check the network nodes are 0 to numn - 1 (ground 0 when there
// is one), the nodes that only carry control signals (clock, modulator and
// threshold outputs to switch controls) are 1000 and up, and unconnected pins
// keep -1. Called with every node number reset to -1.
#pragma once

namespace sdi {

void check_nodes();

// The parts of check_nodes, in its order.
void merge_wires();      // stops at the first "Line must be connected at both nodes"
void check_pins();       // stops at the first element with an unconnected pin
void renumber_nodes();   // sets numn

}  // namespace sdi
