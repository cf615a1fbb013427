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
