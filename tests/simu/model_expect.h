// Helpers of the model tests: derive a netlist's first topology in a scratch folder and
// compare matrices with hand-derived values.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "common/dm_builders.h"
#include "matrix/dm.h"
#include "simu/topology.h"

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

// Element-wise comparison with a relative tolerance on the larger of |expected| and
// scale (the scale keeps entries that should be 0 from demanding exact zeros).
inline void expect_matrix(const DM& M, std::initializer_list<std::initializer_list<double>> rows,
                          double rel = 1e-9, double scale = 0.0) {
  ASSERT_EQ(M.rows, static_cast<int>(rows.size()));
  int i = 1;
  for (const auto& row : rows) {
    ASSERT_EQ(M.cols, static_cast<int>(row.size()));
    int j = 1;
    for (double v : row) {
      const double tol = rel * std::fmax(std::fabs(v), scale);
      EXPECT_NEAR(M(i, j), v, tol) << "element (" << i << ", " << j << ")";
      ++j;
    }
    ++i;
  }
}
