// The transient driver: one simulation of the netlist that simu has read.
//
//     current_params = p; read_netlist(...);   // what simu does first
//     int r = sim_main();                      // 1: ended normally, 0: refused to start
//
// Reads the current sim_params, sim_netlist, the file names of sim_options and the run
// settings run_ssmethod, run_cycles_togo, run_start_si and run_finish_si. Writes the
// result table (the output file), "<base>.ini" at every normal end, "<base>.seq" at a
// reached steady state. Every failure is thrown as a const char* text (Esc included:
// "Simulation terminated by user"). Time in seconds.
#pragma once

int sim_main();

// Set by a steady-state run (not a limited one) that ended at its cycle limit or at tsim
// without reaching the steady state ("Failed to reach steady state in %d cycles!"), and
// by a limited run that found no switching cycle before tsim. Cleared at the start of
// every simu.
extern int steady_state_missed;
