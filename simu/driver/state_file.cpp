// State file: writer and validating reader.
#include "simu/driver/state_file.h"

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "simu/base/atomic_file.h"
#include "simu/base/console.h"
#include "simu/base/name_file.h"
#include "simu/base/regular_file.h"

void save_ini(const DM& tv, const DM& sw, const DM& X, const DM& on_times,
              const clock_table& clk, const char* netlist, const char* written_table) {
  const std::string name = netlist_based_name(netlist, ".ini");
  // part_text is the message of a save without a table; after the table, the message
  // says what became of each file, and stands on a line of its own.
  auto fail = [&name, written_table](const char* where, const std::string& part_text, const std::string& reason) {
    if (!written_table) matrix_fatal(where, part_text.c_str());
    sim_fprintf(stderr, "\n");
    const std::string text = "can't write to disk file \"" + name + "\": " + reason + ". The result table \"" +
                             written_table + "\" was written; the state file was not.";
    matrix_fatal(where, text.c_str());
  };
  // The state of an earlier run stays until this one is complete.
  atomic_file out;
  if (!out.open(name))
    fail("save_ini()", open_failure_text(out, name), out.why());
  std::FILE* f = out.file();
  auto check = [&out, &fail](int r, const char* where) {
    if (r < 0) {
      const std::string reason = write_failure_text(errno);
      out.discard();
      fail(where, reason + "!", reason);
    }
  };
  for (int i = 1; i <= 4; ++i) check(std::fprintf(f, "%.16e\n", tv(i)), "save_ini(t)");
  for (int i = 1; i <= static_cast<int>(sw.n); ++i)
    check(std::fprintf(f, "%c", sw(i) != 0.0 ? '1' : '0'), "save_ini(sw)");
  check(std::fprintf(f, "\n"), "save_ini()");
  for (int i = 1; i <= static_cast<int>(X.n); ++i)
    check(std::fprintf(f, "%.16e\n", X(i)), "save_ini(X)");
  for (int i = 1; i <= static_cast<int>(on_times.n); ++i)
    check(std::fprintf(f, "%.16e\n", on_times(i)), "save_ini(On_times)");
  if (clk.m > 0) {
    DM d;
    clk.diff(d, tv(1));
    check(std::fprintf(f, "%d\n", clk.m), "save_ini(diff)");
    for (int i = 1; i <= clk.m; ++i) check(std::fprintf(f, "%.16e\n", d(i)), "save_ini(diff)");
  }
  if (!out.commit()) {
    const std::string reason = out.failure_text();
    fail("save_ini()", reason + "!", reason);
  }
  sim_fprintf(stderr, "\nCondition saved in disk file \"%s\"!\n", name.c_str());
}

namespace {

// The file's lines, each without its line end and without a CR before it.
class line_reader {
public:
  explicit line_reader(const std::string& text) : text_(text) {}
  bool next(std::string& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    line.assign(text_, pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos_ = end + 1;
    ++number_;
    return true;
  }
  // 1-based number of the line that next() gave last.
  std::size_t line_number() const { return number_; }
  // True when only blank lines are left.
  bool at_end() const {
    return pos_ >= text_.size() || text_.find_first_not_of(" \t\r\n", pos_) == std::string::npos;
  }

private:
  const std::string& text_;
  std::size_t pos_ = 0;
  std::size_t number_ = 0;
};

bool parse_double(const std::string& line, double& v) {
  const char* s = line.c_str();
  char* end = nullptr;
  v = std::strtod(s, &end);
  if (end == s) return false;
  while (*end == ' ' || *end == '\t') ++end;
  return *end == '\0';
}

bool parse_int(const std::string& line, long& v) {
  const char* s = line.c_str();
  char* end = nullptr;
  errno = 0;
  v = std::strtol(s, &end, 10);
  if (end == s || errno == ERANGE) return false;
  while (*end == ' ' || *end == '\t') ++end;
  return *end == '\0';
}

// A time, state or on time that is infinite or NaN would run the whole table into NaN
// (or never reach tsim); it is refused with its line.
void check_finite(double v, const line_reader& in, const std::string& file, const char* where) {
  if (std::isfinite(v)) return;
  const std::string what = "\"" + file + "\", line " + std::to_string(in.line_number()) + ": " +
                           (std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf") + " is not a finite number!";
  matrix_fatal(where, what.c_str());
}

void read_numbers(line_reader& in, DM& into, int count, const char* where, const std::string& file) {
  into = DM(count, 1);
  std::string line;
  for (int i = 1; i <= count; ++i) {
    double v;
    if (!in.next(line) || !parse_double(line, v)) matrix_fatal(where, "read error!");
    check_finite(v, in, file, where);
    into(i) = v;
  }
}

// No circuit has more clocks than a matrix has rows (its tmd table).
constexpr long max_clocks = 15000;

// The clock count line; a count no circuit can have is refused with the file and the count.
bool clock_count(line_reader& in, long& count, const std::string& file) {
  std::string line;
  if (!in.next(line) || !parse_int(line, count) || count < 0) return false;
  if (count > max_clocks) {
    const std::string what = "\"" + file + "\", line " + std::to_string(in.line_number()) + ": " +
                             std::to_string(count) + " clocks, more than a circuit can have (" +
                             std::to_string(max_clocks) + ")!";
    matrix_fatal("load_ini(nclk)", what.c_str());
  }
  return true;
}

// A clock section of a circuit without clocks: the count, then that many numbers.
bool clock_section(line_reader& in, const std::string& file) {
  long count;
  if (!clock_count(in, count, file)) return false;
  std::string line;
  for (long i = 1; i <= count; ++i) {
    double v;
    if (!in.next(line) || !parse_double(line, v)) return false;
  }
  return true;
}

}  // namespace

int load_ini(DM& tv, DM& sw, DM& X, DM& on_times, const clock_table& clk, DM& clock_times,
             const char* netlist) {
  const std::string name = netlist_based_name(netlist, ".ini");
  std::string text;
  // Never blocking: a pipe or a device is no state file, nor is a file of any size.
  switch (read_regular_file(name.c_str(), max_state_file_bytes, text)) {
    case file_check::ok:
      break;
    case file_check::cannot_open:
      sim_fprintf(stderr, "\nCan't open file \"%s\"!\n", name.c_str());
      return 0;
    // The refusals start on a line of their own, not after the output store's question.
    case file_check::not_regular:
      sim_fprintf(stderr, "\n");
      matrix_fatal("load_ini()", ("state file \"" + name + "\" is not a regular file!").c_str());
    case file_check::too_large:
      sim_fprintf(stderr, "\n");
      matrix_fatal("load_ini()", ("state file \"" + name + "\" is larger than " +
                                  std::to_string(max_state_file_bytes) + " bytes!").c_str());
  }
  sim_fprintf(stderr, "\nFile \"%s\" opened for reading.\n", name.c_str());

  line_reader in(text);
  DM t_new, sw_new, x_new, on_new, clk_new;
  read_numbers(in, t_new, 4, "load_ini(t)", name);

  int n = static_cast<int>(sw.n);
  std::string line;
  if (!in.next(line) || static_cast<int>(line.size()) != n) matrix_fatal("load_ini(sw)", "read error!");
  sw_new = DM(n, 1);
  for (int i = 1; i <= n; ++i) {
    char c = line[i - 1];
    if (c != '0' && c != '1') matrix_fatal("load_ini(sw)", "read error!");
    sw_new(i) = c - '0';
  }

  read_numbers(in, x_new, static_cast<int>(X.n), "load_ini(X)", name);
  read_numbers(in, on_new, static_cast<int>(on_times.n), "load_ini(On_times)", name);

  if (clk.m > 0) {
    long count;
    if (!clock_count(in, count, name) || count != clk.m) matrix_fatal("load_ini(nclk)", "read error!");
    read_numbers(in, clk_new, clk.m, "load_ini(diff)", name);
    if (!in.at_end()) matrix_fatal("load_ini(diff)", "read error!");
  } else if (!in.at_end()) {
    // Left unread when well formed; anything else means more states or on times than
    // the circuit has.
    if (!clock_section(in, name) || !in.at_end()) matrix_fatal("load_ini(On_times)", "read error!");
  }

  // Shapes of the caller's matrices are kept.
  for (int i = 1; i <= 4; ++i) tv(i) = t_new(i);
  for (int i = 1; i <= n; ++i) sw(i) = sw_new(i);
  for (int i = 1; i <= static_cast<int>(X.n); ++i) X(i) = x_new(i);
  for (int i = 1; i <= static_cast<int>(on_times.n); ++i) on_times(i) = on_new(i);
  if (clk.m > 0) clock_times = clk_new;
  return 1;
}
