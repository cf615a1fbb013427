// Output store: window cutting, sampling and the result table.
#include "simu/driver/output_store.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>

#include "simu/base/atomic_file.h"
#include "simu/base/console.h"
#include "simu/input/netlist.h"
#include "simu/base/messages.h"

long long table_byte_limit = 1LL << 31;

output_store::output_store(double start, double end, double t0, double tsim, double td,
                           int pts, bool steady) {
  window_start = steady ? 0.0 : std::max(start, 0.0);
  window_end = std::min(end, tsim);
  sim_fprintf(stderr, "\nDo you need outputs at all the simulated points? (y/n) ");
  sim_fprintf(stderr, "\nDo you need outputs at evenly spaced instants? (y/n) ");
  evenly_spaced_mode = 1;
  points = pts < 1 ? 1 : pts;
  sample_step = (tsim - t0) / points;
  if (td > sample_step) sample_step = td;
  next_instant = sample_step;
}

output_store::~output_store() = default;

void output_store::clamp_step(double t, double& dt) {
  if (window_started && window_open) {
    if (t + dt >= window_end) {
      // An end that is already behind (a save interval that ends before it starts, or
      // before 0) closes the window without a cut: a step never runs backwards.
      if (window_end >= t) dt = window_end - t;
      window_open = 0;
    }
    return;
  }
  if (!window_started && t + dt >= window_start) {
    dt = window_start - t;
    window_started = 1;
  }
}

void output_store::keep(double t, const DM& y) {
  int rows = static_cast<int>(y.n);
  if (outputs_ < 0) outputs_ = rows;
  if (rows != outputs_) matrix_fatal("output_store", "outputs changed size during the run");
  if (stream_) {
    write_row(t, y);
    return;
  }
  times_.push_back(t);
  for (int i = 1; i <= rows; ++i) values_.push_back(y(i));
}

void output_store::sample_due(double t, const DM& y) {
  if (window_start <= t && t <= window_end) keep(t, y);
  next_instant += sample_step;
  just_stored = 1;
}

int output_store::sample_first(double t, const DM& y) {
  if (window_start <= t && t <= window_end && !just_stored) keep(t, y);
  just_stored = 0;
  return 0;
}

DM output_store::T() const {
  DM t;
  t.redim(1, samples(), false);  // redim has no upper bound on the size
  for (int k = 1; k <= samples(); ++k) t(k) = times_[k - 1];
  return t;
}

DM output_store::Y() const {
  DM y;
  y.redim(outputs_ < 0 ? 0 : outputs_, samples(), false);
  for (std::size_t k = 0; k < values_.size(); ++k) y(k + 1.0) = values_[k];
  return y;
}

namespace {

// A failed write ends the run; the temporary goes, a table of an earlier run stays.
int checked(atomic_file& f, int r) {
  if (r < 0) {
    const std::string reason = write_failure_text(errno) + "!";
    f.discard();
    matrix_fatal("write()", reason.c_str());
  }
  return r;
}

void open_table(atomic_file& f, const char* file) {
  if (file && f.open(file)) return;
  matrix_fatal("write()", file ? open_failure_text(f, file).c_str() : "can't write to disk file!");
}

void close_table(atomic_file& f) {
  if (!f.commit()) matrix_fatal("write()", (f.failure_text() + "!").c_str());
}

// The header; rows becomes the labelled output rows (1-based). Returns the bytes written.
long long write_header(atomic_file& f, const std::vector<std::string>& labels, std::vector<int>& rows) {
  rows.clear();
  long long n = checked(f, std::fprintf(f.file(), "Time "));
  for (std::size_t r = 1; r <= labels.size(); ++r) {
    if (labels[r - 1].empty()) continue;
    n += checked(f, std::fprintf(f.file(), "%s ", labels[r - 1].c_str()));
    rows.push_back(static_cast<int>(r));
  }
  return n + checked(f, std::fprintf(f.file(), "\n"));
}

// One line; value(r) is output row r. Returns the bytes written.
template <class Value>
long long write_line(atomic_file& f, double t, const std::vector<int>& rows, Value value) {
  long long n = checked(f, std::fprintf(f.file(), "% .8E", t));
  for (int r : rows) n += checked(f, std::fprintf(f.file(), " % E", value(r)));
  return n + checked(f, std::fprintf(f.file(), "\n"));
}

// Writes the table; value(r, k) is output row r at kept instant k (both 1-based).
template <class Time, class Value>
void write_table(const char* file, const std::vector<std::string>& labels, int instants,
                 Time time, Value value) {
  atomic_file f;
  open_table(f, file);
  std::vector<int> rows;
  write_header(f, labels, rows);
  for (int k = 1; k <= instants; ++k) write_line(f, time(k), rows, [&](int r) { return value(r, k); });
  close_table(f);
}

std::vector<std::string> netlist_labels() {
  std::vector<std::string> labels;
  for (const netlist_output& o : sim_netlist.outputs) labels.push_back(o.label);
  return labels;
}

}  // namespace

void output_store::stream_to(const char* file, const std::vector<std::string>& labels) {
  stream_ = std::make_unique<atomic_file>();
  open_table(*stream_, file);
  bytes_ = write_header(*stream_, labels, columns_);
}

void output_store::stream_to(const char* file) { stream_to(file, netlist_labels()); }

void output_store::write_row(double t, const DM& y) {
  if (!columns_.empty() && columns_.back() > outputs_) matrix_fatal("Index out of range", "DM(i,j)");
  bytes_ += write_line(*stream_, t, columns_, [&y](int r) { return y(r); });
  if (bytes_ > table_byte_limit) {
    stream_->discard();
    char text[240];
    std::snprintf(text, sizeof text,
                  "The result table would pass %lld bytes at t = %.8e s; run stopped. Choose a narrower "
                  "save window (start and finish of the save interval) or fewer points.\n",
                  table_byte_limit, t);
    throw_text(text);
  }
}

void output_store::write_all(const char* file, const std::vector<std::string>& labels) {
  if (stream_) {
    close_table(*stream_);
    stream_.reset();
    return;
  }
  int rows = outputs_ < 0 ? 0 : outputs_;
  for (std::size_t r = 1; r <= labels.size(); ++r)
    if (!labels[r - 1].empty() && static_cast<int>(r) > rows && samples() > 0)
      matrix_fatal("Index out of range", "DM(i,j)");
  write_table(
      file, labels, samples(), [this](int k) { return times_[k - 1]; },
      [this, rows](int r, int k) { return values_[static_cast<std::size_t>(k - 1) * rows + r - 1]; });
}

void output_store::write_all(const char* file) { write_all(file, netlist_labels()); }

void write(const DM& T, const DM& Y, const char* file, const std::vector<std::string>& labels) {
  if (T.cols != Y.cols) matrix_fatal("write()", "T and Y are not of the same length!");
  write_table(
      file, labels, T.cols, [&T](int k) { return T(1, k); },
      [&Y](int r, int k) { return Y(r, k); });
}
