// Small netlists for the model tests, written row by row as the netlist writer would; the
// first topology derived from one in a scratch folder, and matrices compared with
// hand-derived values.
//
//     model_netlist net = circuit()
//         .add("V1", 1, 0, 10.0).add("R1", 1, 2, 1e3).add("C1", 2, 0, 1e-6)
//         .out('V', "C1").done();
// numn is one more than the largest node used.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/dm_builders.h"
#include "matrix/dm.h"
#include "simu/model/model_rows.h"
#include "simu/model/topology.h"

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

struct derived {
  std::unique_ptr<model_netlist> net;
  std::unique_ptr<topology_table> tab;
  topology* rec = nullptr;
  DM drive_out, drive_pos;
  double gain = 0.0;
};

// Derives the first topology of net for the setting (first_eqns writes "src.dat" and
// "states.dat" in the current folder).
inline derived derive(model_netlist net, const DM& setting = DM(), double h = 1e-6) {
  derived d;
  d.net = std::make_unique<model_netlist>(std::move(net));
  d.tab = std::make_unique<topology_table>(*d.net);
  d.rec = d.tab->first_eqns(setting, h, d.drive_out, d.drive_pos, d.gain);
  return d;
}

using matrix_rows = std::vector<std::vector<double>>;

// Element-wise comparison with a relative tolerance on the larger of |expected| and the
// magnitude of the row's first entry plus one (entries that should be 0 need no exact zero).
inline void expect_matrix(const DM& M, const matrix_rows& rows) {
  ASSERT_EQ(M.rows, static_cast<int>(rows.size()));
  for (int i = 1; i <= M.rows; ++i) {
    const std::vector<double>& row = rows[static_cast<std::size_t>(i - 1)];
    ASSERT_EQ(M.cols, static_cast<int>(row.size()));
    for (int j = 1; j <= M.cols; ++j) {
      const double v = row[static_cast<std::size_t>(j - 1)];
      EXPECT_NEAR(M(i, j), v, 1e-9 * std::fmax(std::fabs(v), std::fabs(row[0]) + 1.0)) << "(" << i << ", " << j << ")";
    }
  }
}
