// simu: options, netlist, driver under one protected region, report and cleanup.
#include "simu/driver/simu_entry.h"

#include <memory>

#include "simu/base/console.h"
#include "simu/base/messages.h"
#include "simu/input/netlist.h"
#include "simu/input/options.h"
#include "simu/driver/run_checks.h"
#include "simu/base/run_services.h"
#include "simu/input/run_settings.h"
#include "simu/driver/sim_main.h"
#include "simu/input/sim_params.h"
#include "simu/input/table_checks.h"
#include "simu/base/stopwatch.h"

void apply_options(sim_params& p) {
  for (const run_setting& s : run_settings_table) s.override_record(sim_options, p);
}

namespace {

// Whatever way the run ends: bar deleted, netlist and settings record freed.
struct run_scope {
  std::unique_ptr<sim_params> params;
  run_services* frame = nullptr;
  ~run_scope() {
    if (frame) frame->DeleteProgressBar();
    free_netlist();
    current_params = nullptr;
  }
};

}  // namespace

int simu(int argc, char** argv) {
  timer_init(timer_labels);
  stopwatch_start();   // taken again once the netlist is in; here for an early failure
  int result = 0;
  steady_state_missed = 0;
  {
    run_scope scope;
    try {
      parse_args(argc, argv);
      if (sim_options.refused) throw "Invalid simulation invokation: run refused, nothing written.\n";
      check_run_files(sim_options.infile, sim_options.outfile);
      scope.params = std::make_unique<sim_params>();
      current_params = scope.params.get();
      read_netlist(sim_options.infile, scope.params.get());
      timer_switch(1);
      apply_options(*scope.params);
      check_run_length(scope.params->tsim, scope.params->td, scope.params->tmd);
      check_save_window(run_start_si, run_finish_si, scope.params->tsim, scope.params->steady != 0);
      check_netlist_tables(*scope.params);
      check_end_files(sim_options.infile, *scope.params, run_ssmethod);
      stopwatch_start();
      scope.frame = &main_window();
      scope.frame->CreateProgressBar();
      result = sim_main();
    } catch (const char* text) {
      engine_box(text, box_style::plain);
      result = 0;
    } catch (...) {
      engine_box("Catch(...)  Simulation Error: Check your circuit!", box_style::plain);
      result = 0;
    }
    stopwatch_stop();
    str secs = ms_to_text(stopwatch_elapsed());
    sim_printf("Elapsed time for simulation: %s seconds\n", secs.c_str());
    sim_printf("Time breakdown:\n");
    timer_report();
    if (result) main_window().simulation_done(secs.c_str());
  }
  flush_console();
  return result;
}
