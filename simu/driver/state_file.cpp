// State file: writer and validating reader.
#include "simu/driver/state_file.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "simu/base/atomic_file.h"
#include "simu/base/console.h"
#include "simu/base/name_file.h"

void save_ini(const DM& tv, const DM& sw, const DM& X, const DM& on_times,
              const clock_table& clk, const char* netlist) {
  std::string name = netlist_based_name(netlist, ".ini");
  // The state of an earlier run stays until this one is complete.
  atomic_file out;
  if (!out.open(name)) matrix_fatal("save_ini()", "can't write to disk file!");
  std::FILE* f = out.file();
  auto check = [&out](int r, const char* where) {
    if (r < 0) {
      out.discard();
      matrix_fatal(where, "disk full!");
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
  if (!out.commit()) matrix_fatal("save_ini()", "disk full!");
  sim_fprintf(stderr, "\nCondition saved in disk file \"%s\"!\n", name.c_str());
}

namespace {

// The file's lines, each without its line end and without a CR before it.
class line_reader {
public:
  explicit line_reader(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines_.push_back(line);
      start = end + 1;
    }
  }
  bool next(std::string& line) {
    if (pos_ >= lines_.size()) return false;
    line = lines_[pos_++];
    return true;
  }
  // 1-based number of the line that next() gave last.
  std::size_t line_number() const { return pos_; }
  // True when only blank lines are left.
  bool at_end() const {
    for (std::size_t i = pos_; i < lines_.size(); ++i)
      if (lines_[i].find_first_not_of(" \t") != std::string::npos) return false;
    return true;
  }

private:
  std::vector<std::string> lines_;
  std::size_t pos_ = 0;
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
  v = std::strtol(s, &end, 10);
  if (end == s) return false;
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

// A clock section: the count, then that many numbers.
bool clock_section(line_reader& in, long& count, DM& times) {
  std::string line;
  if (!in.next(line) || !parse_int(line, count) || count < 0) return false;
  times = DM(static_cast<int>(count), 1);
  for (long i = 1; i <= count; ++i) {
    double v;
    if (!in.next(line) || !parse_double(line, v)) return false;
    times(static_cast<double>(i)) = v;
  }
  return true;
}

}  // namespace

int load_ini(DM& tv, DM& sw, DM& X, DM& on_times, const clock_table& clk, DM& clock_times,
             const char* netlist) {
  std::string name = netlist_based_name(netlist, ".ini");
  std::FILE* f = std::fopen(name.c_str(), "r");
  if (!f) {
    sim_fprintf(stderr, "\nCan't open file \"%s\"!\n", name.c_str());
    return 0;
  }
  sim_fprintf(stderr, "\nFile \"%s\" opened for reading.\n", name.c_str());
  std::string text;
  char buf[4096];
  std::size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, got);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) matrix_fatal("load_ini(t)", "read error!");

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
    if (!in.next(line) || !parse_int(line, count) || count != clk.m)
      matrix_fatal("load_ini(nclk)", "read error!");
    read_numbers(in, clk_new, clk.m, "load_ini(diff)", name);
    if (!in.at_end()) matrix_fatal("load_ini(diff)", "read error!");
  } else if (!in.at_end()) {
    // Left unread when well formed; anything else means more states or on times than
    // the circuit has.
    long count;
    DM ignored;
    if (!clock_section(in, count, ignored) || !in.at_end())
      matrix_fatal("load_ini(On_times)", "read error!");
  }

  // Shapes of the caller's matrices are kept.
  for (int i = 1; i <= 4; ++i) tv(i) = t_new(i);
  for (int i = 1; i <= n; ++i) sw(i) = sw_new(i);
  for (int i = 1; i <= static_cast<int>(X.n); ++i) X(i) = x_new(i);
  for (int i = 1; i <= static_cast<int>(on_times.n); ++i) on_times(i) = on_new(i);
  if (clk.m > 0) clock_times = clk_new;
  return 1;
}
