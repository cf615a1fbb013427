// The count of errors of one run preparation and the path every netlist error
// takes: a plain message box, then the count goes up. 0 errors means the
// netlist was written.
#pragma once

namespace sdi {

extern int run_error_count;

// Shows the text and counts it; returns the box's result (1, OK).
int netlist_error(const char* text);
int incomplete_circuit_error();  // "Incomplete Circuit"

}  // namespace sdi
