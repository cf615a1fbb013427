#include "sdi/zorv/rurozuze/plt_table.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "simu/base/regular_file.h"

namespace rurozuze {

namespace {

bool IsNumber(const std::string& word) {
  const char* begin = word.c_str();
  char* end = nullptr;
  std::strtod(begin, &end);
  return end != begin && *end == '\0';
}

std::string At(const std::string& path, long line) { return path + ", line " + std::to_string(line) + ": "; }

// The table read line by line: one line at a time is held, never the table.
class LineReader {
public:
  explicit LineReader(std::FILE* f) : m_f(f) {}
  ~LineReader() {
    std::free(m_buf);
    std::fclose(m_f);
  }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line without its end; false at the end of the file.
  bool Next(std::string& line) {
    const ssize_t got = ::getline(&m_buf, &m_size, m_f);
    if (got < 0) return false;
    m_total += static_cast<unsigned long long>(got);
    line.assign(m_buf, static_cast<std::size_t>(got));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return true;
  }
  // More read than the limit: the file grew while it was read.
  bool Grown() const { return m_total > kMaxTableBytes; }

private:
  std::FILE* m_f;
  char* m_buf = nullptr;
  std::size_t m_size = 0;
  unsigned long long m_total = 0;
};

}  // namespace

bool ReadPltTable(const std::string& path, PltTable& table, std::string& problem) {
  // Never blocking (a pipe), and only a table the engine could have written.
  int fd = -1;
  const file_check opened = open_regular_file(path.c_str(), kMaxTableBytes, fd);
  std::FILE* f = opened == file_check::ok ? ::fdopen(fd, "r") : nullptr;
  if (!f) {
    if (fd >= 0) ::close(fd);
    problem = opened == file_check::not_regular ? "The result table " + path + " is not a regular file"
              : opened == file_check::too_large
                  ? "The result table " + path + " is larger than " + std::to_string(kMaxTableBytes) + " bytes"
                  : "Cannot open the result table " + path;
    return false;
  }
  LineReader in(f);
  table = PltTable{};
  std::string text;
  if (!in.Next(text)) text.clear();
  std::istringstream header(text);
  std::string word;
  if (!(header >> word) || word != "Time") {
    problem = At(path, 1) + "the header does not start with \"Time\"";
    return false;
  }
  while (header >> word) table.labels.push_back(word);
  if (table.labels.empty()) {
    problem = At(path, 1) + "the header names no output";
    return false;
  }
  const std::size_t columns = table.labels.size() + 1;
  for (long line = 2; in.Next(text); ++line) {
    std::istringstream row(text);
    std::vector<std::string> words;
    while (row >> word) words.push_back(word);
    if (words.empty()) continue;
    if (words.size() < columns) {
      problem = At(path, line) + std::to_string(words.size()) + " values where " + std::to_string(columns) +
                " are expected";
      return false;
    }
    const auto bad = std::find_if(words.begin(), words.end(), [](const std::string& w) { return !IsNumber(w); });
    if (words.size() > columns || bad != words.end()) {
      problem = At(path, line) + (bad != words.end() ? "\"" + *bad + "\" is not a number"
                                                     : std::to_string(words.size()) + " values where " +
                                                           std::to_string(columns) + " are expected");
      return false;
    }
    ++table.rows;
  }
  if (in.Grown()) {
    problem = "The result table " + path + " is larger than " + std::to_string(kMaxTableBytes) + " bytes";
    return false;
  }
  if (table.rows == 0) {
    // gnuplot would find no x range and never show its window.
    problem = path + ": the table holds no rows (the save interval of Simulation > Parameters took in no time "
                     "of the run)";
    return false;
  }
  return true;
}

std::string RestoredPath(const std::string& argument) {
  std::string path = argument;
  std::replace(path.begin(), path.end(), '*', ' ');
  std::error_code ec;
  return std::filesystem::exists(path, ec) || !std::filesystem::exists(argument, ec) ? path : argument;
}

}  // namespace rurozuze
