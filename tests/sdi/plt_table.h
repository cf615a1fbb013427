// Test helper: a result table (".plt") read back as its header words and rows
// of numbers; an unreadable or empty file gives an empty table.
//
//     const Table t = read_plt("rc.plt");   // t.header {"Time", "VP1"}, t.rows[i][column]
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct Table {
  std::vector<std::string> header;
  std::vector<std::vector<double>> rows;
};

inline Table read_plt(const std::string& file) {
  Table t;
  std::ifstream in(file);
  std::string line;
  if (!std::getline(in, line)) return t;
  std::istringstream h(line);
  for (std::string w; h >> w;) t.header.push_back(w);
  while (std::getline(in, line)) {
    std::istringstream r(line);
    std::vector<double> row;
    for (double v; r >> v;) row.push_back(v);
    if (!row.empty()) t.rows.push_back(row);
  }
  return t;
}
