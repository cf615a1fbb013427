// The end of a transient run (result table, state file, summary) and sim_main.
#include <cstdio>

#include "simu/base/console.h"
#include "simu/driver/driver.h"
#include "simu/input/options.h"
#include "simu/driver/sim_main.h"
#include "simu/driver/state_file.h"
#include "simu/base/stopwatch.h"

void transient_driver::finish() {
  // A limited run ends before tsim only at a found cycle: none was found.
  if (p_.one_c && cycles_ == 0) no_cycle_before_tsim("Limited run failed");
  timer_switch(3);
  p_.ld = saved_ld_;
  if (y_stale_) outputs();
  stop_if_non_finite(t_);   // a steady-state method may have set the state
  out_->sample(t_, y_);
  out_->write_all(sim_options.outfile);
  const std::uint64_t wall = now_ms();
  sim_fprintf(stderr, "\nJob completed!");
  save_ini(tv_, swt_.state, x_, swt_.on_time, clk_, sim_options.infile, sim_options.outfile);
  timer_switch(5);
  sim_fprintf(stderr, "Outputs saved in file  \"%s\".\n", sim_options.outfile);
  sim_printf("Final simulation time = %.8e.\n", t_);
  sim_fprintf(stderr, "Actual simulation time was %.2f seconds.\n",
              static_cast<double>(wall - wall_start_) / 1000.0);
}

int steady_state_missed = 0;

int sim_main() {
  sim_params* p = current_params;
  if (!p) throw "Internal simulation problem.  No settings record.";
  if (!sim_options.outfile) throw "Need to specify input and output file\n";
  transient_driver driver(*p);
  if (!driver.setup()) return 0;
  return driver.run();
}
