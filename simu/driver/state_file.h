// The state file "<base>.ini": the final condition of a run, read back as the initial
// condition of a later run.
//
// Usage (the transient driver):
//     save_ini(tv, swt.state, x, swt.on_time, clk, "circuit.m");   // writes circuit.ini
//     DM clock_times;
//     if (load_ini(tv, swt.state, x, swt.on_time, clk, clock_times, "circuit.m"))
//         clk.restore(clock_times, 0.0);
//
// Layout (text, every number "%.16e\n"): 4 lines time vector; 1 line with one character
// "0"/"1" per switch; n_x lines state; n lines on times (seconds); and only when the run
// has clocks, the clock count "%d\n" and per clock the time to its next edge.
// The sizes to read come from the matrices handed in (tv 4, sw n, X n_x, on times n).
#pragma once
#include <string>

#include "matrix/dm.h"
#include "simu/switching/clock_table.h"

// Writes the state file; failures end the run through the fatal path ("disk full!",
// "can't write to disk file!"). Prints the saved message on the error stream.
void save_ini(const DM& tv, const DM& sw, const DM& X, const DM& on_times,
              const clock_table& clk, const char* netlist);

// Reads the state file into tv, sw, X, on_times (and clock_times, resized to the clock
// count, when clk has clocks). Returns 0 when the file cannot be opened. A file that does
// not match the circuit (a state character other than '0'/'1', another number of
// switches, states, on times or clocks, a line that is not a number) ends the run with
// "read error!" and the section's where-text; nothing is changed then. A CR before a
// line end is accepted; a clock section in the file of a circuit without clocks is
// left unread.
int load_ini(DM& tv, DM& sw, DM& X, DM& on_times, const clock_table& clk, DM& clock_times,
             const char* netlist);
