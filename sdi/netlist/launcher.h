// The run launcher: the one door from the editor to the engine.
//
//     int ok = run_simulation();   // prepare, write "<base_name>.m", run simu
//
// The run settings (simu/input/run_settings.h) become the engine's options, in the
// order of run_settings_table: "simu", "-one_c" when set, "-tsim" "-td" "-points" "-start_si"
// "-finish_si" with values, the flags "-ss" "-stop_close" "-sv" "-ld" when set,
// "-nclkss" "-sstol_f" "-sstol_c" "-ssmethod" "-none_c" "-Cycles_togo" with
// values, then "<base>.m" and "<base>.plt". Doubles cross as "%g" (six
// significant digits), ints as "%ld". 25 entries with no flag set, 30 with all.
#pragma once

#include <string>
#include <vector>

namespace sdi {

// The file names of the last run, valid after it.
extern std::string run_netlist_name;  // "<base>.m"
extern std::string run_result_name;   // "<base>.plt"

// Non-zero: the end-of-run report is an information box; zero: the finish
// dialog. The view's F8 toggles it.
extern int plain_finish_message;

// The engine's entry, simu unless a test puts another in.
using engine_fn = int (*)(int argc, char** argv);
extern engine_fn engine_entry;

// The finish dialog (shown with "Total simulation time = <secs> secs."); the
// editor installs its dialog, the default shows an information box.
using finish_dialog_fn = void (*)(const char* text);
extern finish_dialog_fn finish_dialog_hook;

// The engine's argument vector for the current run settings and base_name.
std::vector<std::string> engine_arguments();

// Why the run settings cannot be run ("Invalid simulation parameters (...)"), or
// empty. Non-finite values and a final time or step that is not positive
// would make the engine loop or read garbage.
std::string run_settings_problem();

// The engine's result (non-zero when the run completed), or 0 when the
// netlist could not be made ("Unable to start simulation due to netlist error").
// The total time reported is the run's own: the time a box of the engine ("Steady
// state reached!") stays open is left out.
int run_simulation();

// The end-of-run report: secs is the total time as the engine formatted it.
void simulation_done(const char* secs);

}  // namespace sdi
