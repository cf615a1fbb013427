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
#include <cstddef>
#include <string>

#include "matrix/dm.h"
#include "simu/switching/clock_table.h"

// The file name: the netlist name less ".m" (only when it ends so) plus ".ini".
//
// Writes the state file; failures end the run through the fatal path ("disk full!" only
// when the disk is full, else the system's reason; "can't write to disk file!"). With
// written_table, the result table of the run already written, the message (on a line of
// its own) names the state file and the reason, and says that the table was written.
// Prints the saved message on the error stream.
void save_ini(const DM& tv, const DM& sw, const DM& X, const DM& on_times,
              const clock_table& clk, const char* netlist, const char* written_table = nullptr);

// The largest state file read, in bytes (16 MiB); a valid one is far smaller.
constexpr std::size_t max_state_file_bytes = std::size_t{16} << 20;

// Reads the state file into tv, sw, X, on_times (and clock_times, resized to the clock
// count, when clk has clocks). Returns 0 when the file cannot be opened. It is opened
// without blocking; one that is no regular file (a pipe, a device) or is larger than
// max_state_file_bytes ends the run with its name, as does a clock count above what a
// circuit can have (15000), with its line. A file that does
// not match the circuit (a state character other than '0'/'1', another number of
// switches, states, on times or clocks, a line that is not a number) ends the run with
// "read error!" and the section's where-text; nothing is changed then. A CR before a
// line end is accepted; a clock section in the file of a circuit without clocks is
// left unread.
int load_ini(DM& tv, DM& sw, DM& X, DM& on_times, const clock_table& clk, DM& clock_times,
             const char* netlist);
