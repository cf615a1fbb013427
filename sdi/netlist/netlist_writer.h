// The netlist writer: gives network names and writes the prepared working
// circuit as the engine's netlist text "<base>.m".
//
// Call order (run preparation does this): node numbers set (0 ground, 1 ..
// node_count - 1 network nodes, 1000 and up control nodes), then
//     name_elements();                                   // R1, C1, I01, ...
//     int errors = write_netlist_file("rc.m", "rc", node_count);
// The writer adds hidden voltage and current ports for the control elements
// (modulators, limiters, VCOs, the multiplier), writes, and deletes them again.
// node_count grows by the internal nodes of sine sources and op-amps. The
// result counts the writer's errors (internal reports, a file that could not
// be written, "Incomplete Circuit" for a row with an unconnected or control
// node); 0 means a complete netlist. A path or circuit name holding a control
// character (bytes 0x01-0x1f, 0x7f) is refused before anything is done: "Couldn't
// write <path>: its name has a control character" (or "...: the circuit name <name>
// has a control character"), the character shown as an escape, and 1.
#pragma once

#include <string>

namespace sdi {

class element;

// Every network element (flag 1) gets its netlist name, PRI and SEC their
// winding numbers; the per-kind counters go on for the hidden ports.
void name_elements();

int write_netlist_file(const std::string& path, const std::string& circuit_name, int& node_count);

// The run's netlist: "<base_name>.m" for the working circuit, numn raised by
// the internal nodes, the writer's errors added to run_error_count.
void write_netlist();

}  // namespace sdi
