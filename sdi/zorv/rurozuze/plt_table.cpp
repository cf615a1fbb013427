#include "sdi/zorv/rurozuze/plt_table.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "simu/base/control_characters.h"
#include "simu/base/regular_file.h"

namespace rurozuze {

namespace {

bool IsNumber(const std::string& word) {
  const char* begin = word.c_str();
  char* end = nullptr;
  std::strtod(begin, &end);
  return end != begin && *end == '\0';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Calls each(word) for every blank-separated word of the line, in order.
template <class Each>
void ForEachWord(const std::string& line, Each each) {
  std::string word;
  for (std::size_t at = 0; at < line.size();) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const std::size_t from = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > from) each(word.assign(line, from, at - from));
  }
}

std::string At(const std::string& path, long line) { return path + ", line " + std::to_string(line) + ": "; }

std::string TooLarge(const std::string& path) {
  return "The result table " + path + " is larger than " + std::to_string(kMaxTableBytes) + " bytes";
}

// The table read line by line: one line at a time is held, never the table, and never
// more than kMaxLineBytes of it; the reading stops as soon as the file passes
// kMaxTableBytes (it grew after it was checked).
class LineReader {
public:
  enum class Got { line, end, too_long, too_large, failed };

  explicit LineReader(std::FILE* f) : m_f(f) {}
  ~LineReader() { std::fclose(m_f); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line without its end.
  Got Next(std::string& line) {
    line.clear();
    bool any = false;
    for (int c; (c = getc_unlocked(m_f)) != EOF;) {
      if (++m_total > kMaxTableBytes) return Got::too_large;
      any = true;
      if (c == '\n') return Got::line;
      if (line.size() == kMaxLineBytes) return Got::too_long;
      line.push_back(static_cast<char>(c));
    }
    if (std::ferror(m_f)) {
      m_error = errno;
      return Got::failed;
    }
    return any ? Got::line : Got::end;
  }
  int Error() const { return m_error; }

private:
  std::FILE* m_f;
  unsigned long long m_total = 0;
  int m_error = 0;
};

// The problem of a line that did not read, or empty.
std::string ReadProblem(LineReader::Got got, const LineReader& in, const std::string& path, long line) {
  switch (got) {
    case LineReader::Got::too_long:
      return At(path, line) + "the line is longer than " + std::to_string(kMaxLineBytes) + " bytes";
    case LineReader::Got::too_large:
      return TooLarge(path);
    case LineReader::Got::failed:
      return "Cannot read the result table " + path + ": " + std::strerror(in.Error());
    default:
      return std::string();
  }
}

}  // namespace

bool ReadPltTable(const std::string& path, PltTable& table, std::string& problem, int* kept) {
  if (kept) *kept = -1;
  // The path goes into gnuplot's script, where a line end would start a command of its own.
  if (has_control_character(path)) {
    problem = "The result table " + shown_name(path) + " has a control character in its name: it is not plotted";
    return false;
  }
  // Never blocking (a pipe), and only a table the engine could have written.
  int fd = -1;
  const file_check opened = open_regular_file(path.c_str(), kMaxTableBytes, fd);
  std::FILE* f = opened == file_check::ok ? ::fdopen(fd, "r") : nullptr;
  if (!f) {
    if (fd >= 0) ::close(fd);
    problem = opened == file_check::not_regular ? "The result table " + path + " is not a regular file"
              : opened == file_check::too_large ? TooLarge(path)
                                                : "Cannot open the result table " + path;
    return false;
  }
  // A second descriptor of the same open file, handed over only once the table passed.
  const int copy = kept ? ::fcntl(fileno(f), F_DUPFD_CLOEXEC, 0) : -1;
  if (kept && copy < 0) {
    std::fclose(f);
    problem = "Cannot open the result table " + path + ": " + std::strerror(errno);
    return false;
  }
  struct Handover {
    int fd;
    int* to;
    bool ok = false;
    ~Handover() {
      if (fd < 0) return;
      if (ok) *to = fd;
      else ::close(fd);
    }
  } handover{copy, kept};
  LineReader in(f);
  table = PltTable{};
  std::string text;
  LineReader::Got got = in.Next(text);
  if (!(problem = ReadProblem(got, in, path, 1)).empty()) return false;
  ForEachWord(text, [&table](const std::string& word) { table.labels.push_back(word); });
  if (table.labels.empty() || table.labels.front() != "Time") {
    problem = At(path, 1) + "the header does not start with \"Time\"";
    return false;
  }
  table.labels.erase(table.labels.begin());
  if (table.labels.empty()) {
    problem = At(path, 1) + "the header names no output";
    return false;
  }
  const std::size_t columns = table.labels.size() + 1;
  long line = 2;
  for (; (got = in.Next(text)) == LineReader::Got::line; ++line) {
    std::size_t count = 0;
    std::string bad;  // the first word that is no number
    ForEachWord(text, [&](const std::string& word) {
      ++count;
      if (bad.empty() && !IsNumber(word)) bad = word;
    });
    if (count == 0) continue;
    if (count < columns) {
      problem = At(path, line) + std::to_string(count) + " values where " + std::to_string(columns) + " are expected";
      return false;
    }
    if (count > columns || !bad.empty()) {
      problem = At(path, line) + (!bad.empty() ? "\"" + bad + "\" is not a number"
                                               : std::to_string(count) + " values where " + std::to_string(columns) +
                                                     " are expected");
      return false;
    }
    ++table.rows;
  }
  if (!(problem = ReadProblem(got, in, path, line)).empty()) return false;
  if (table.rows == 0) {
    // gnuplot would find no x range and never show its window.
    problem = path + ": the table holds no rows (the save interval of Simulation > Parameters took in no time "
                     "of the run)";
    return false;
  }
  handover.ok = true;
  return true;
}

std::string RestoredPath(const std::string& argument) {
  // The editor passes the exact path; a "*" as a blank is for a path typed by hand.
  std::error_code ec;
  if (argument.find('*') == std::string::npos || std::filesystem::exists(argument, ec)) return argument;
  std::string path = argument;
  std::replace(path.begin(), path.end(), '*', ' ');
  return std::filesystem::exists(path, ec) ? path : argument;  // a missing file is named as given
}

}  // namespace rurozuze
