// Circuits built in code for the netlist writer tests: elements with their
// node numbers set as node numbering would leave them.
//
//     WriterCircuit c;                                  // empties circuit, restores settings
//     auto* r = c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0}, "R1", 5.0);
//     std::string text = c.write("rc");                 // names, writes rc.m, returns its text
#pragma once

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/netlist/netlist_writer.h"
#include "simu/input/run_settings.h"

struct WriterCircuit {
  double tsim = run_tsim, td = run_td;
  int points = run_points;
  int errors = 0;
  int node_count = 0;

  // Starts from the program's default run settings.
  WriterCircuit() {
    clear();
    run_tsim = 1e-3;
    run_td = 1e-6;
    run_points = 9999999;
  }
  ~WriterCircuit() {
    clear();
    run_tsim = tsim;
    run_td = td;
    run_points = points;
  }
  WriterCircuit(const WriterCircuit&) = delete;
  WriterCircuit& operator=(const WriterCircuit&) = delete;

  static void clear() {
    for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) delete n->value;
    sdi::circuit.list_clear();
  }

  template <class T>
  T* add(T* e, std::initializer_list<int> nodes, const char* name = "", double value = 0.0) {
    int i = 0;
    e->nodes.grow(static_cast<int>(nodes.size()));
    for (int v : nodes)
      if (std::int32_t* slot = e->nodes.list_value_at(i++)) *slot = v;
    if (name && *name) e->set_name(name);
    e->values[0] = value;
    e->selected = 0;
    sdi::circuit.append(e);
    sdi::circuit.assign_id();
    return e;
  }

  // Names the elements and writes "<base>.m" in the current folder; the file's text.
  std::string write(const std::string& base, int nodes) {
    sdi::name_elements();
    node_count = nodes;
    errors = sdi::write_netlist_file(base + ".m", "/home/user/" + base, node_count);
    return slurp(base + ".m");
  }
};

// The golden netlist of that name in tests/sdi/data/netlists.
inline std::string golden(const std::string& name) {
  return slurp(std::string(ZORV_TEST_DATA) + "/netlists/" + name);
}

// Compares with the golden file; ZORV_UPDATE_GOLDEN=1 rewrites it instead
// (review the difference before committing it).
inline void expect_golden(const std::string& text, const std::string& name) {
  if (const char* u = std::getenv("ZORV_UPDATE_GOLDEN"); u && *u == '1') {
    std::ofstream(std::string(ZORV_TEST_DATA) + "/netlists/" + name, std::ios::binary) << text;
    return;
  }
  EXPECT_EQ(text, golden(name)) << name;
}
