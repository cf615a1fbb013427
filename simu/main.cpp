// The simu command-line program: runs the engine on a netlist with the headless run
// services (progress does nothing, boxes and the report are printed, Esc is never seen).
//
//     simu [options] circuit.m circuit.plt
//
// The four run settings that the engine reads directly follow the options, as the
// editor's would: -start_si, -finish_si, -ssmethod and -Cycles_togo. Without
// -finish_si the whole run is saved (the window ends at tsim). Exit status 0 when the
// run ended normally, 2 when it completed but a steady-state search (-ss) did not reach
// the steady state or a limited run (-one_c) found no switching cycle, 1 when it failed
// or was refused (a bad option or an empty save window included: then nothing is written).
#include "simu/input/options.h"
#include "simu/driver/sim_main.h"
#include "simu/driver/simu_entry.h"

int main(int argc, char** argv) {
  cli_run_settings(argc, argv);
  if (simu(argc, argv) != 1) return 1;
  return steady_state_missed ? 2 : 0;
}
