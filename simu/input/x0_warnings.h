// The initial values a run cannot use, named on the error stream.
//
//     warn_ignored_x0(p.x0, tab.initial_mask(), tab.candidates());
#pragma once
#include <string>
#include <vector>

#include "matrix/dm.h"

// x0 holds one value per candidate (capacitor voltages, then inductor currents); only
// the candidates that mask marks (1.0) are states of the first topology. Prints one
// "Warning:" line for each non-zero value of a candidate that is not a state (a
// capacitor in a loop of capacitors and sources, an inductor in a cut set); the run goes
// on without them. An x0 of another length is refused with the netlist's tables.
void warn_ignored_x0(const DM& x0, const DM& mask, const std::vector<std::string>& candidates);
