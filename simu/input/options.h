// The engine's option store: what parse_args took from the argument vector of simu.
//
//     char* argv[] = {"simu", "-tsim", "2e-3", "-ss", "buck.m", "buck.plt"};
//     parse_args(6, argv);
//     sim_options.tsim_given    // 1: "-tsim" overrides the netlist's tsim
//     sim_options.ss            // 1: "-ss" was given (flags are counts)
//     sim_options.infile        // "buck.m" (pointers into argv)
//
// Times in seconds. A valued option counts as given only when its value was present,
// scanned and passed its check; every parse starts from a clean store, so nothing
// given in one run leaks into the next. Messages go to the engine's error stream.
#pragma once

struct option_store {
  // Valued options and their given-marks (non-zero: override the netlist's value).
  double tsim = 0.0;
  double td = 0.0;
  double start_si = 0.0;
  double finish_si = 0.0;
  int points = 0;
  int nclkss = 0;
  double sstol_f = 0.0;
  double sstol_c = 0.0;
  int ssmethod = 0;
  int none_c = 0;
  int Cycles_togo = 0;
  int tsim_given = 0;
  int td_given = 0;
  int start_si_given = 0;
  int finish_si_given = 0;
  int points_given = 0;
  int nclkss_given = 0;
  int sstol_f_given = 0;
  int sstol_c_given = 0;
  int ssmethod_given = 0;
  int none_c_given = 0;
  int Cycles_togo_given = 0;

  // Flags: how often each was given.
  int ss = 0;
  int stop_close = 0;
  int sv = 0;
  int ld = 0;
  int one_c = 0;

  // Parsed and checked, read by nothing else.
  const char* title = "Untitled";   // "-tl"
  double horiz_upd = 0.0;           // "-u": units per division
  double vert_upd = 0.0;
  int probe = 1;                    // "-o": output number 1..100

  const char* infile = nullptr;     // netlist file
  const char* outfile = nullptr;    // result table

  // Options that were unknown, missing their value or whose value failed its check:
  // a run on other values than those asked for would be a wrong result, so simu
  // refuses to start when this is not 0.
  int refused = 0;
};

extern option_store sim_options;

// Set: the usage text also lists the debugging options.
extern int usage_debug;

// Fills sim_options from argv[1..argc-1]; on a bad option it prints its message and the
// usage text, counts it in sim_options.refused and goes on. What follows the two file
// names is not read, but an option there missing its value is refused too. Returns 0.
int parse_args(int argc, char** argv);

// Prints the arguments and the usage text to the error stream.
void usage(int argc, char** argv);

// For a program without the editor: sets the four run settings that the engine reads
// directly from "-start_si", "-finish_si", "-ssmethod" and "-Cycles_togo" (the last one
// given, when it passes the option's check). Without "-finish_si" the whole run is saved
// (the window end is taken as whole_run_finish, which the output store cuts to tsim);
// the others default to 0, Newton (1) and 0. Prints nothing.
constexpr double whole_run_finish = 1e300;
void cli_run_settings(int argc, char** argv);
