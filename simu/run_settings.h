// The run settings: process-wide variables edited by the settings dialogs, kept in
// the circuit file header, turned into engine options by the run launcher.
//
// The engine reads four of them directly: run_ssmethod and run_cycles_togo (the
// steady-state method and when it begins) and run_start_si / run_finish_si (the
// output window). Times in seconds. A program without an editor (the command-line
// simu, tests) must set those four itself.
//     run_ssmethod = 2;                 // 1 Newton, 2 Skelboe, 3 Broyden, 4 Picard
//     run_finish_si = run_tsim;         // save the whole run
#pragma once
#include <string>

extern double run_tsim;         // final time, 0.001
extern double run_td;           // time step, 1e-6
extern double run_start_si;     // start of the output window, 0.0
extern double run_finish_si;    // end of the output window, 0.001
extern int run_points;          // number of output points, 9999999
extern int run_sv;              // save the final state, 1
extern int run_ld;              // load the initial state, 0
extern double run_sstol_f;      // fine steady-state tolerance, 1e-6
extern int run_nclkss;          // most cycles of a steady-state search, 25
extern int run_stop_close;      // begin the method at the coarse tolerance, 0
extern double run_sstol_c;      // coarse tolerance, 1.0
extern int run_cycles_togo;     // cycles before the method begins, 0
extern int run_ssmethod;        // steady-state method, 1
extern int run_none_c;          // cycles of a limited run, 2
extern int run_ss;              // steady-state run, 0
extern int run_one_c;           // limited run, 0

// The open circuit's path up to its first "."; netlist and result files are named
// after it.
extern std::string base_name;
