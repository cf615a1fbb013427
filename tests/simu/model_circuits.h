// Small netlists for the model tests, written row by row as the netlist writer would.
//
//     model_netlist net = circuit()
//         .add("V1", 1, 0, 10.0).add("R1", 1, 2, 1e3).add("C1", 2, 0, 1e-6)
//         .out('V', "C1").done();
// numn is one more than the largest node used.
#pragma once

#include <algorithm>
#include <string>
#include <utility>

#include "simu/model_rows.h"

class circuit {
public:
  circuit& add(const std::string& name, unsigned n1, unsigned n2, double value,
               const std::string& ref1 = "", const std::string& label = "") {
    model_row r;
    r.kind = name[0];
    r.name = name;
    r.node1 = n1;
    r.node2 = n2;
    r.value = value;
    r.ref1 = ref1;
    r.label = label;
    net_.rows.push_back(r);
    net_.numn = std::max({net_.numn, n1 + 1, n2 + 1});
    return *this;
  }
  circuit& mutual(const std::string& name, double m, const std::string& l1, const std::string& l2) {
    model_row r;
    r.kind = 'M';
    r.name = name;
    r.value = m;
    r.ref1 = l1;
    r.ref2 = l2;
    net_.rows.push_back(r);
    return *this;
  }
  circuit& out(char kind, const std::string& name) {
    net_.outputs.push_back(model_output{kind, name});
    return *this;
  }
  model_netlist done() { return std::move(net_); }

private:
  model_netlist net_;
};
