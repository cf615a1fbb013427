// Checks of a run's arguments made before anything is written or stepped.
//
//     check_run_files("a.m", "a.plt");      // throws when the table would overwrite an input
//     check_run_length(p.tsim, p.td);       // throws for a run that could not end or start
//     check_save_window(run_start_si, run_finish_si, p.tsim, p.steady);   // for an empty table
//     check_end_files("a.m", p, run_ssmethod);   // throws when a.ini or a.seq could not be written
//
// Failures are thrown as const char* texts (storage that lives until the next throw),
// which simu shows like any other failure of the run.
#pragma once

#include "matrix/dm.h"
#include "simu/input/sim_params.h"

// Refuses a result table that is the same file as the netlist, the state file or the
// switching report of the run ("<base>.ini", "<base>.seq"), or one of the model's name
// lists ("states.dat", "src.dat"); also a netlist that is one of those lists, which the
// run would overwrite. Existing files are compared by device and inode, others by their
// normalised absolute path.
void check_run_files(const char* netlist, const char* table);

// Refuses a run whose final time tsim is not positive, whose step count exceeds
// max_run_steps, or whose step td does not advance time at tsim (tsim + td == tsim); a
// td that is not positive is left to the driver. The count is tsim / td plus, for each
// clock row of tmd, tsim / its period: every clock edge ends a step of its own.
constexpr double max_run_steps = 1e12;
void check_run_length(double tsim, double td, const DM& tmd = DM());

// Refuses a save window that holds no instant of the run: a start at or after its finish,
// or after tsim. A steady-state run saves from 0 whatever the start, so only its finish
// counts, and a finish is never negative.
void check_save_window(double start, double finish, double tsim, bool steady);

// Refuses a run whose state file ("<base>.ini", written by every run that ends), or whose
// switching report ("<base>.seq", when the run can write one), could not be written at its
// end, for the reasons atomic_file::open gives: the file and the reason are named, and
// nothing is written. The names are opened again at the end, where they may have changed.
void check_end_files(const char* netlist, const sim_params& p, int method);
