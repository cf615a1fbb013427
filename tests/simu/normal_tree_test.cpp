// Reduced row forms: the incidence matrix's read off its graph against the dense rref, on
// random graphs with parallel branches, loops on one node and parts not joined to node 0; and
// the tableau's, where a column that depends on another only through rounding must reduce to
// an exact zero row, or a spurious state appears.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "matrix/rref.h"
#include "simu/model/normal_tree.h"
#include "common/dm_builders.h"
#include "simu/model/tableau.h"

namespace {

TEST(NormalTree, IncidenceRrefEqualsTheDenseElimination) {
  struct graph {
    const char* label;
    int nodes, branches;
  };
  const graph graphs[] = {{"tree-like", 12, 12}, {"meshed", 10, 30}, {"sparse, parts apart", 15, 8}};
  for (const graph& g : graphs) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
      SCOPED_TRACE(std::string(g.label) + ", seed " + std::to_string(seed));
      std::mt19937 gen(seed);
      std::uniform_int_distribution<int> node(0, g.nodes);
      DM A(g.nodes, g.branches, 0.0);
      SM S(g.nodes, g.branches);
      for (int k = 0; k < g.branches; ++k) {
        const int a = node(gen), b = node(gen);
        if (a == b) continue;   // a loop on one node has no incidence column
        if (a > 0) {
          A(a, k + 1) = 1.0;
          S.set(a - 1, k, 1.0);
        }
        if (b > 0) {
          A(b, k + 1) = -1.0;
          S.set(b - 1, k, -1.0);
        }
      }
      DM R = rref(A), Rs = incidence_rref(S).dense();
      for (int i = 1; i <= A.rows; ++i)
        for (int j = 1; j <= A.cols; ++j)
          ASSERT_EQ(Rs(i, j), R(i, j)) << "element (" << i << ", " << j << ")";
    }
  }
}

}  // namespace

TEST(Tableau, RrefDropsRoundingNoiseOfAColumn) {
  // Column 2 is three times column 1, which the decimal fractions miss by rounding.
  DM R = rref_cols(rows_of(2, 2, {0.1, 0.3, 0.7, 2.1}));
  EXPECT_EQ(R(1, 1), 1.0);
  EXPECT_NEAR(R(1, 2), 3.0, 1e-15);
  EXPECT_EQ(R(2, 1), 0.0);
  EXPECT_EQ(R(2, 2), 0.0);
}
