// output_store: which simulated instants of the output vector y are kept, the window
// that cuts steps, and the result table (".plt") written at the end of a run.
//
// Usage (the transient driver):
//     output_store out(run_start_si, run_finish_si, 0.0, tsim, td, points, steady);
//     out.clamp_step(t, dt);          // before each step: may cut dt onto the window edges
//     out.sample(t + dt, y);          // after each step
//     out.sample_first(t, y);         // at the start of a step that follows a switching
//     out.write_all("circuit.plt");   // at the end, under the netlist's output labels
//
// Times in seconds; y is an outputs x 1 column. Samples are kept in growing buffers
// (amortised growth), exposed as T (1 x samples) and Y (outputs x samples), unless the
// store streams: then each kept row goes at once to a temporary beside the table, which
// write_all renames over it (memory flat in the run's length; a failed run leaves the
// old table). A streamed table that would pass table_byte_limit stops the run.
// Result table: "Time " and each non-empty label followed by a blank, then one line per
// kept instant: the time as "% .8E" and each labelled output as " % E".
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "matrix/dm.h"

class atomic_file;

// The largest streamed result table, in bytes (2 GiB).
extern long long table_byte_limit;

class output_store {
public:
  int window_started = 0;
  int window_open = 1;
  double window_start = 0.0;
  double window_end = 0.0;
  int points = 1;
  double sample_step = 0.0;
  double next_instant = 0.0;
  int all_points_mode = 0;
  int evenly_spaced_mode = 0;
  int just_stored = 0;

  // start, end: the save interval; t0: the run start (0.0); steady: a steady-state run,
  // which keeps samples from 0 whatever start says. Writes the two questions of the
  // console program to the error stream (they are never answered: nothing is read).
  output_store(double start, double end, double t0, double tsim, double td, int points,
               bool steady);
  ~output_store();

  // From now on kept rows are written to a temporary for file, under the labels (as in
  // write_all); fails like write_all when the temporary cannot be made.
  void stream_to(const char* file, const std::vector<std::string>& labels);
  void stream_to(const char* file);

  // Shortens dt so that a step lands on the window start, then on the window end (an end
  // already passed only closes the window).
  void clamp_step(double t, double& dt);

  // After a step ending at t: keeps (t, y) when t has reached the next sampling instant
  // and lies inside the window; the instant moves on by one sample step.
  void sample(double t, const DM& y) {
    if (t >= next_instant) sample_due(t, y);
  }
  // Whether sample(t, y) would keep y.
  bool keeps(double t) const { return t >= next_instant && window_start <= t && t <= window_end; }

  // At the start of a step after a switching: keeps (t, y) inside the window unless
  // sample() has kept or passed an instant since the last call. Always returns 0.
  int sample_first(double t, const DM& y);

  int samples() const { return static_cast<int>(times_.size()); }
  DM T() const;   // 1 x samples
  DM Y() const;   // outputs x samples

  // labels: one per output row; an empty label leaves the row out. Without labels, the
  // labels of the netlist's output rows (sim_netlist) are used.
  // While streaming, the labels are those given to stream_to and file must be its file.
  void write_all(const char* file, const std::vector<std::string>& labels);
  void write_all(const char* file);

private:
  void sample_due(double t, const DM& y);
  void keep(double t, const DM& y);
  void write_row(double t, const DM& y);
  std::vector<double> times_;
  std::vector<double> values_;   // column-major, outputs_ per instant
  int outputs_ = -1;
  std::unique_ptr<atomic_file> stream_;
  std::vector<int> columns_;     // the labelled output rows (1-based) of a streamed table
  long long bytes_ = 0;          // written to the stream so far
};

// Writes one result table: labels has one entry per output row (the netlist's output
// labels); rows with an empty label are left out. T and Y must have the same number of
// columns.
void write(const DM& T, const DM& Y, const char* file, const std::vector<std::string>& labels);
