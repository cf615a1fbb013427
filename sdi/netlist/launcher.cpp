#include "sdi/netlist/launcher.h"

#include <cmath>

#include "sdi/elements/node_errors.h"
#include "sdi/netlist/prepare_circuit.h"
#include "sdi/base/report.h"
#include "sdi/netlist/wait_cursor.h"
#include "simu/base/messages.h"
#include "simu/input/run_settings.h"
#include "simu/driver/simu_entry.h"

namespace sdi {

std::string run_netlist_name;
std::string run_result_name;
int plain_finish_message = 1;
engine_fn engine_entry = simu;

namespace {

void default_finish_dialog(const char* text) { info_box(text); }

}  // namespace

finish_dialog_fn finish_dialog_hook = default_finish_dialog;

std::vector<std::string> engine_arguments() {
  std::vector<std::string> a{"simu"};
  for (const run_setting& s : run_settings_table) {
    if (s.flag) {
      if (s.value() != 0) a.push_back(std::string("-") + s.option);
    } else {
      a.insert(a.end(), {std::string("-") + s.option, s.text()});
    }
  }
  a.push_back(base_name + ".m");
  a.push_back(base_name + "." + "plt");
  return a;
}

std::string run_settings_problem() {
  struct {
    const char* what;
    bool bad;
  } checks[] = {
      {"Final Time", !std::isfinite(run_tsim) || run_tsim <= 0.0},
      {"Step Size", !std::isfinite(run_td) || run_td <= 0.0},
      {"# of points", run_points < 0},
      {"Save interval", !std::isfinite(run_start_si) || !std::isfinite(run_finish_si)},
      {"Steady-State Tolerance", !std::isfinite(run_sstol_f) || !std::isfinite(run_sstol_c)},
  };
  for (const auto& c : checks)
    if (c.bad) return std::string("Invalid simulation parameters (") + c.what + ")";
  return std::string();
}

int run_simulation() {
  if (std::string problem = run_settings_problem(); !problem.empty()) {
    run_error_count = 0;
    netlist_error(problem.c_str());
  } else {
    prepare_circuit();
  }
  if (run_error_count != 0) {
    show_message("Unable to start simulation due to netlist error");
    return 0;
  }
  std::vector<std::string> args = engine_arguments();
  run_netlist_name = base_name + ".m";
  run_result_name = base_name + "." + "plt";
  std::vector<char*> argv;
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);
  wait_cursor busy;
  return engine_entry(static_cast<int>(args.size()), argv.data());
}

void simulation_done(const char* secs) {
  const std::string s = secs ? secs : "";
  if (plain_finish_message) {
    info_box(("Simulation completed! Total simulation time = " + s + " secs.").c_str());
    return;
  }
  if (finish_dialog_hook) finish_dialog_hook(("Total simulation time = " + s + " secs.").c_str());
}

}  // namespace sdi
