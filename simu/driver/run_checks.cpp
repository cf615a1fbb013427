#include "simu/driver/run_checks.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "simu/switching/clock_table.h"
#include "simu/base/atomic_file.h"
#include "simu/base/exact_number.h"
#include "simu/base/messages.h"
#include "simu/base/name_file.h"
#include "simu/driver/state_file.h"
#include "simu/input/options.h"

namespace {

bool same_file(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  const bool ea = ::stat(a.c_str(), &sa) == 0, eb = ::stat(b.c_str(), &sb) == 0;
  if (ea && eb) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (ea != eb) return false;   // one exists, the other does not: different files
  std::error_code ec;
  const std::filesystem::path pa = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec), ec);
  const std::filesystem::path pb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, ec), ec);
  return pa.lexically_normal() == pb.lexically_normal();
}

}  // namespace

void check_run_files(const char* netlist, const char* table) {
  if (!netlist || !table) return;   // the driver reports the missing name
  const std::string in = netlist, out = table;
  struct named {
    std::string file;
    const char* what;
  };
  const named written[] = {{netlist_based_name(netlist, ".ini"), "the state file"},
                           {netlist_based_name(netlist, ".seq"), "the switching report"},
                           {"states.dat", "the topology list"},
                           {"src.dat", "the source list"}};
  if (same_file(in, out))
    throw_text("Output file \"" + out + "\" is the netlist itself; nothing written.\n");
  for (const named& w : written) {
    if (same_file(out, w.file))
      throw_text("Output file \"" + out + "\" is " + w.what + " of this run (\"" + w.file +
                 "\"); nothing written.\n");
    if (same_file(in, w.file))
      throw_text("Netlist \"" + in + "\" is " + w.what + " that the run writes (\"" + w.file +
                 "\"); nothing written.\n");
  }
}

void check_run_length(double tsim, double td, const DM& tmd) {
  char text[200];
  if (!(tsim > 0.0)) {
    // No step would be taken: an empty table reported as a finished run.
    std::snprintf(text, sizeof text, "Final time tsim = %g is not positive; run refused.\n", tsim);
    throw_text(text);
  }
  // A td that is not positive is the driver's own refusal.
  if (!(td > 0.0)) return;
  if (tsim + td == tsim) {
    std::snprintf(text, sizeof text,
                  "Time step td = %g does not advance time at tsim = %g; run refused.\n", td, tsim);
    throw_text(text);
  }
  double steps = tsim / td, shortest = 0.0;
  for (int r = 1; tmd.cols >= 3 && r <= tmd.rows; ++r) {
    const double period = tmd(r, 2);
    if (!is_clock_kind(tmd(r, 3)) || !(period > 0.0)) continue;   // the clock table refuses those
    steps += tsim / period;
    if (shortest == 0.0 || period < shortest) shortest = period;
  }
  if (steps > max_run_steps) {
    if (shortest > 0.0)
      std::snprintf(text, sizeof text,
                    "tsim = %g with td = %g and a clock period of %g needs %g steps, more than %g; run "
                    "refused.\n", tsim, td, shortest, steps, max_run_steps);
    else
      std::snprintf(text, sizeof text, "tsim = %g with td = %g needs %g steps, more than %g; run refused.\n",
                    tsim, td, steps, max_run_steps);
    throw_text(text);
  }
}

void check_save_window(double start, double finish, double tsim, bool steady) {
  if (steady || (start < finish && start <= tsim)) return;
  // The table would hold its header alone, reported as a finished run.
  auto exact = [](double v) { return exact_number(v, number_form::general, 6); };
  const std::string to = finish < whole_run_finish ? "to finish_si = " + exact(finish) + " s" : "to the run's end";
  throw_text("The save window from start_si = " + exact(start) + " s " + to +
             " holds no instant of the run, which ends at tsim = " + exact(tsim) + " s; run refused.\n");
}

void check_end_files(const char* netlist, const sim_params& p, int method) {
  if (!netlist) return;   // the driver reports the missing name
  std::string names[] = {netlist_based_name(netlist, ".ini"), ""};
  // The report is written when a cycle found in cycle mode has converged: a circuit with
  // switches, a steady-state run (or one that enters cycle mode once close to it), and in
  // a limited run Skelboe's method alone. A plain transient run never finds a cycle.
  const bool cycle_mode = p.steady || p.one_c || p.stop_close;
  if (p.swinit.n > 0 && cycle_mode && (!p.one_c || method == 2)) names[1] = netlist_based_name(netlist, ".seq");
  for (const std::string& name : names) {
    atomic_file f;
    if (!name.empty() && !f.check(name))
      throw_text("can't write to disk file \"" + name + "\": " + f.why() + ". Run refused, nothing written.\n");
  }
}
