// Helpers shared by the netlist reader tests.
#pragma once
#include <fstream>
#include <string>
#include <vector>

#include "matrix/dm.h"
#include "common/text_file.h"
#include "simu/netlist.h"
#include "simu/sim_params.h"

inline std::string netlist_data(const char* name) {
  return std::string(ZORV_TEST_DATA) + "/netlists/" + name;
}

// Reads file into p; returns the thrown text, or "" when the read succeeded.
inline std::string read_error(const char* file, sim_params& p) {
  try {
    read_netlist(file, &p);
  } catch (const char* text) {
    return text;
  }
  return "";
}

// The rows of m, row by row, for compact comparisons.
inline std::vector<std::vector<double>> rows_of(const DM& m) {
  std::vector<std::vector<double>> r(static_cast<std::size_t>(m.rows));
  for (int i = 1; i <= m.rows; ++i)
    for (int j = 1; j <= m.cols; ++j) r[static_cast<std::size_t>(i - 1)].push_back(m(i, j));
  return r;
}

using rows_t = std::vector<std::vector<double>>;
