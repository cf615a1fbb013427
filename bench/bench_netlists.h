// Pieces shared by the benchmarks that build circuits in code and run simu on them.
//
//     model_netlist net;  add_row(net, "R1", 1, 2, 10.0);     // kind letter from the name
//     std::vector<std::string> words = {"simu", "-tsim", "1e-3", "x.m", "x.plt"};
//     int ok = run_simu_words(words);                          // 1 when the run completed
#pragma once
#include <string>
#include <vector>

#include "simu/model/model_rows.h"
#include "simu/input/run_settings.h"
#include "simu/driver/simu_entry.h"

inline void add_row(model_netlist& net, const std::string& name, unsigned n1, unsigned n2, double v) {
  model_row r;
  r.kind = name[0];
  r.name = name;
  r.node1 = n1;
  r.node2 = n2;
  r.value = v;
  net.rows.push_back(r);
}

// simu with the run settings of a command-line run: the whole run saved, method 1.
inline int run_simu_words(std::vector<std::string> words) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  run_start_si = 0.0;
  run_finish_si = 1e300;
  run_ssmethod = 1;
  run_cycles_togo = 0;
  return simu(static_cast<int>(words.size()), argv.data());
}
