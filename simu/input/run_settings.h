// The run settings: process-wide variables edited by the settings dialogs, kept in
// the circuit file header, turned into engine options by the run launcher.
//
// The engine reads four of them directly: run_ssmethod and run_cycles_togo (the
// steady-state method and when it begins) and run_start_si / run_finish_si (the
// output window). Times in seconds. A program without an editor (the command-line
// simu, tests) must set those four itself.
//     run_ssmethod = 2;                 // 1 Newton, 2 Skelboe, 3 Broyden, 4 Picard
//     run_finish_si = run_tsim;         // save the whole run
//
// Each setting is declared once in run_settings_table: its variable, its engine
// option, its slot in the circuit file header and where the engine keeps it. The
// launcher's arguments, the header, the option parser and the engine's overrides
// are loops over that table.
//     for (const run_setting& s : run_settings_table)
//       if (s.header_at) ...   // s.value() at byte s.header_at of the header
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

struct option_store;
struct sim_params;

// One run setting. A double crosses to the engine as "%g" and is scanned back with
// "%le"; an int as "%ld" and "%d". A flag is an int passed as the bare option when
// non-zero.
struct run_setting {
  const char* option;   // the engine option without its dash: "tsim"
  double* real;         // the variable: exactly one of real and whole
  int* whole;
  bool flag;
  int header_at;        // byte offset in the circuit file header; 0 when not stored
  double least;         // the engine refuses a value below this
  double most;          // and above this
  // The engine's side: the option store's value (a flag's count) and given-mark,
  // and the settings record's field that the option overrides.
  double option_store::*option_real;
  int option_store::*option_whole;
  int option_store::*given;
  double sim_params::*record_real;
  int sim_params::*record_whole;

  // The variable's value; an int is exact as a double.
  double value() const { return real ? *real : *whole; }
  void set(double v) const;
  // The value as the launcher passes it.
  std::string text() const;
  // An option's argument: true when the whole text is one number of the setting's type,
  // finite and within least .. most; v is then the value.
  bool scan(const char* text, double& v) const;
  // The parsed option into the option store (a value marked given, a flag counted;
  // v unused), and from there into the settings record: a valued option when given,
  // a flag always.
  void store_option(option_store& o, double v) const;
  void override_record(const option_store& o, sim_params& p) const;
};

constexpr int run_setting_count = 16;

// In the order of the launcher's arguments.
extern const run_setting run_settings_table[run_setting_count];

// The setting of an engine option name (without its dash), or null.
const run_setting* find_run_setting(const char* option);
