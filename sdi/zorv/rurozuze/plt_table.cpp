#include "sdi/zorv/rurozuze/plt_table.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace rurozuze {

namespace {

bool IsNumber(const std::string& word) {
  const char* begin = word.c_str();
  char* end = nullptr;
  std::strtod(begin, &end);
  return end != begin && *end == '\0';
}

std::string At(const std::string& path, long line) { return path + ", line " + std::to_string(line) + ": "; }

}  // namespace

bool ReadPltTable(const std::string& path, PltTable& table, std::string& problem) {
  std::ifstream in(path);
  if (!in) {
    problem = "Cannot open the result table " + path;
    return false;
  }
  table = PltTable{};
  std::string text;
  if (!std::getline(in, text)) text.clear();
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
  for (long line = 2; std::getline(in, text); ++line) {
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
