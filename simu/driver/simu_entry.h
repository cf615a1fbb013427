// simu: the engine's entry, called like a command-line program in the caller's process.
//
//     char* argv[] = {"simu", "-tsim", "2e-3", "-td", "1e-6", "buck.m", "buck.plt"};
//     int ok = simu(7, argv);   // 1: the run ended normally; 0: error or Esc (box shown)
//
// Parses the options, reads the netlist, lets the options override it, runs the
// transient driver with the progress bar of main_window(), prints the elapsed time and
// the time breakdown, reports a completed run and frees everything. Any failure on the
// way (options, netlist, driver) is shown in a box and gives 0; nothing is thrown out.
// A bad option (sim_options.refused) stops the run before the netlist is read.
// After a run that gave 1, steady_state_missed (sim_main.h) tells whether a steady-state
// search ended without reaching the steady state.
#pragma once

int simu(int argc, char** argv);

struct sim_params;
// Step 6 of the entry: valued options override the netlist's values when given; the
// five flags always replace theirs.
void apply_options(sim_params& p);
