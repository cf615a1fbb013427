// sim_params: the settings record of one engine run.
//
// simu creates one on the heap, read_netlist fills it from the netlist, the
// options then override it, and every part of the engine reads it through
// current_params. Times in seconds. Matrices are DM (1-based, column-major).
//     sim_params* p = new sim_params;   // defaults below
//     current_params = p;
//     read_netlist("buck.m", p);        // netlist.h
//     ... p->tsim, p->tmd, p->stmin[0].name ...
#pragma once
#include <string>
#include <vector>

#include "matrix/dm.h"

// One named state bound of "stmin" / "stmax": a state name such as "V_C1" or
// "I_L2" and its limit.
struct state_bound {
  std::string name;
  double value = 0.0;
};
using bound_list = std::vector<state_bound>;

struct sim_params {
  double tsim = 9999.0;       // final time
  double td = 1.0;            // step size
  int points = 500;           // points to save
  double sstol_f = 1e-6;      // fine steady-state tolerance
  double sstol_c = 0.01;      // coarse tolerance
  int steady = 0;             // steady-state run (always replaced by the options)
  int nclkss = 25;            // most cycles of a steady-state run
  int stop_close = 0;         // begin the method once the coarse tolerance is met
  int one_c = 0;              // limited run
  int none_c = 2;             // cycles of a limited run
  int ld = 0;                 // load the initial state
  double mn = -1e30;          // default lower bound of a state not in stmin
  double mx = 1e30;           // default upper bound of a state not in stmax
  DM tmd;                     // clock and breakpoint timing table
  DM vgs;                     // source values at the breakpoints
  DM thoff;                   // switch-off conditions, one row per line
  DM thon;                    // switch-on conditions, one row per line
  DM swinit;                  // initial switch setting
  DM x0;                      // initial state
  DM Cy;                      // switch-condition matrices
  DM Ct;
  DM Csw;
  DM Cc;
  bound_list stmin;           // named lower state bounds
  bound_list stmax;           // named upper state bounds
};

// The record of the run in progress; null between runs.
inline sim_params* current_params = nullptr;
