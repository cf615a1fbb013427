#include "simu/input/netlist_scan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "simu/input/netlist.h"
#include "simu/input/sim_params.h"

std::string sread_text(const std::string& what, const std::string& name) {
  return "Sread Fatal Error : " + what + " - " + name + "\n";
}

std::string place_text(const std::string& s, const std::string& file, std::size_t at) {
  if (at > s.size()) at = s.size();
  std::size_t line_start = at;
  while (line_start > 0 && s[line_start - 1] != '\n') --line_start;
  std::size_t line_end = s.find('\n', line_start);
  if (line_end == std::string::npos) line_end = s.size();
  std::size_t line_no = 1;
  for (std::size_t i = 0; i < line_start; ++i) line_no += s[i] == '\n';
  std::size_t column = at - line_start + 1;
  std::string text = "in " + file + ", line " + std::to_string(line_no) + ", column " + std::to_string(column) + ":\n";
  std::string shown = s.substr(line_start, line_end - line_start);
  for (char& c : shown)
    if (c == '\0') c = '?';
  text += shown + "\n";
  text += std::string(column - 1, ' ') + "^\n";
  return text;
}

namespace netlist_scan {

namespace {
std::string failure_text;
}  // namespace

void throw_text(std::string text) {
  failure_text = std::move(text);
  throw failure_text.data();
}

std::vector<param_entry> param_table(sim_params& p) {
  // Keywords without a target are read and checked like the others, and their value is
  // dropped: nothing in the engine uses it.
  return {
        {"outplot", type_int, nullptr},    {"steady", type_int, &p.steady},
        {"nclkss", type_int, &p.nclkss},   {"nss", type_int, nullptr},
        {"var_freq", type_int, nullptr},   {"ld", type_int, &p.ld},
        {"stflg", type_int, nullptr},      {"sv", type_int, nullptr},
        {"pi", type_int, nullptr},         {"points", type_int, &p.points},
        {"n", type_int, nullptr},          {"tmd", type_matrix, &p.tmd},
        {"vgs", type_matrix, &p.vgs},      {"thoff", type_append, &p.thoff},
        {"thon", type_append, &p.thon},    {"xmin", type_matrix, nullptr},
        {"xmax", type_matrix, nullptr},    {"swinit", type_matrix, &p.swinit},
        {"x0", type_matrix, &p.x0},        {"Cy", type_matrix, &p.Cy},
        {"Ct", type_matrix, &p.Ct},        {"Csw", type_matrix, &p.Csw},
        {"Cc", type_matrix, &p.Cc},        {"nclk", type_double, nullptr},
        {"tsim", type_double, &p.tsim},    {"mn", type_double, &p.mn},
        {"mx", type_double, &p.mx},        {"tdisp", type_double, nullptr},
        {"td", type_double, &p.td},        {"dts", type_double, nullptr},
        {"stmin", type_bounds, &p.stmin},  {"stmax", type_bounds, &p.stmax},
  };
}

bool is_ident_char(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
bool is_alnum(int c) { return is_ident_char(c) && c != '_'; }
bool is_number_char(int c) {
  return (c >= '0' && c <= '9') || c == 'e' || c == 'E' || c == '-' || c == '+' || c == '.';
}
bool is_space(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f'; }
bool is_kind(int c) { return c > 0 && std::strchr(kind_letters, c); }
bool ends_row_number(int c) {
  return c == eof || is_space(c) || c == '\r' || c == '\'' || c == ']' || c == '%';
}
bool ends_param_number(int c) { return c == eof || is_space(c) || c == '\r' || c == ';' || c == '%'; }

const char* scan_double(const char* b, const char* e, double& v) {
  bool negative = false;
  const char* p = b;
  if (p < e && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
    if (p < e && (*p == '+' || *p == '-')) return nullptr;
  }
  auto [end, ec] = std::from_chars(p, e, v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Underflow (a negative exponent) reads as zero; overflow is refused.
    const char* x = p;
    while (x < end && *x != 'e' && *x != 'E') ++x;
    if (x + 1 < end && x[1] == '-')
      v = 0.0;
    else
      return nullptr;
  } else if (ec != std::errc()) {
    return nullptr;
  }
  if (!std::isfinite(v)) return nullptr;
  if (negative) v = -v;
  return end;
}

std::string read_file(const char* file) {
  // Non-blocking, so that opening a FIFO without a writer returns.
  const int fd = ::open(file, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw_text(sread_text("Can't open file for reading", file));
  struct closer {
    int fd;
    ~closer() { ::close(fd); }
  } close_fd{fd};
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) throw_text(sread_text("Can't open file for reading", file));
  if (!S_ISREG(st.st_mode)) throw_text(sread_text("netlist is not a regular file", file));
  std::string text;
  char buf[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buf, sizeof buf);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw_text(sread_text("Can't open file for reading", file));
    if (got == 0) return text;
    if (text.size() + static_cast<std::size_t>(got) > max_netlist_bytes)
      throw_text(sread_text("netlist larger than " + std::to_string(max_netlist_bytes) + " bytes", file));
    text.append(buf, static_cast<std::size_t>(got));
  }
}

}  // namespace netlist_scan
