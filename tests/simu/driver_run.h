// Running simu on a netlist written by a test (in a TempDir, inside a main_window_scope),
// and reading what it wrote; the console streams are captured during the run.
#pragma once
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/text_file.h"
#include "simu/input/run_settings.h"
#include "simu/driver/simu_entry.h"

// A netlist from its parameter lines and its element and output rows; a row's label
// follows a '|': "I01 2 0 0|Vc" is written 'I01 2 0 0' % Vc.
inline std::string netlist_of(const std::string& params, const std::vector<std::string>& x,
                              const std::vector<std::string>& y, int numn) {
  auto block = [](const char* name, const std::vector<std::string>& rows) {
    std::string s = std::string(name) + " = [ ";
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const std::size_t bar = rows[k].find('|');
      s += "'" + rows[k].substr(0, bar) + "'" + (k + 1 == rows.size() ? " ]" : "");
      if (bar != std::string::npos) s += " % " + rows[k].substr(bar + 1);
      s += "\n";
    }
    return s;
  };
  return params + block("X", x) + block("Y", y) + "numn = " + std::to_string(numn) + ";\n";
}

// The conditions of n diodes whose currents are the first n of m outputs: diode k turns
// off when its current falls to 0 (condition 2k - 1), on when it rises above (2k).
inline std::string diode_conditions(int n, int m) {
  std::string cy, ct, csw, cc, th;
  for (int k = 1; k <= n; ++k) {
    for (const char* sign : {"1", "-1"}) {
      for (int j = 1; j <= m; ++j) cy += j == k ? std::string(" ") + sign : " 0";
      cy += "\n";
      ct += " 0 0 0 0\n";
      csw += " " + std::to_string(k) + "\n";
      cc += " 0\n";
    }
    th += "thon(" + std::to_string(k) + ",:)=[ " + std::to_string(k) + " " + std::to_string(2 * k) + " ];\nthoff(" +
          std::to_string(k) + ",:)=[ " + std::to_string(k) + " " + std::to_string(2 * k - 1) + " ];\n";
  }
  auto block = [](const char* name, std::string rows) { return name + (" = [" + rows.erase(rows.size() - 1) + " ]\n"); };
  return block("Cy", cy) + block("Ct", ct) + block("Csw", csw) + block("Cc", cc) + th;
}

struct run_output {
  int result = 0;
  std::string out, err;   // what went to standard output and the error stream
};

// The result of f() with what it printed.
template <class F>
run_output captured(F f) {
  run_output r;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  r.result = f();
  r.err = testing::internal::GetCapturedStderr();
  r.out = testing::internal::GetCapturedStdout();
  return r;
}

// argv of "simu" and the words, null-terminated; the strings outlive the call, as argv does.
inline std::vector<char*> argv_of(std::vector<std::string> words) {
  static std::vector<std::string> keep;
  keep = std::move(words);
  keep.insert(keep.begin(), "simu");
  std::vector<char*> argv;
  for (std::string& w : keep) argv.push_back(w.data());
  argv.push_back(nullptr);
  return argv;
}

// Runs simu("simu", words...) with the four run settings of a command-line run: the
// window from start_si to finish_si (default: the whole run), Picard unless told.
inline run_output run_simu(std::vector<std::string> words, int method = 4, int cycles_togo = 0,
                           double start_si = 0.0, double finish_si = 1e300) {
  run_ssmethod = method;
  run_cycles_togo = cycles_togo;
  run_start_si = start_si;
  run_finish_si = finish_si;
  std::vector<char*> argv = argv_of(std::move(words));
  return captured([&] { return simu(static_cast<int>(argv.size()) - 1, argv.data()); });
}

struct plt_table {
  std::string header;
  std::vector<std::vector<double>> rows;
};

inline plt_table read_plt(const std::string& file) {
  plt_table t;
  std::ifstream in(file);
  std::getline(in, t.header);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::vector<double> row;
    double v;
    while (ls >> v) row.push_back(v);
    t.rows.push_back(row);
  }
  return t;
}

inline std::vector<double> read_numbers(const std::string& file) {
  std::vector<double> v;
  std::ifstream in(file);
  std::string word;
  while (in >> word) v.push_back(std::stod(word));
  return v;
}
