// Spanning forest by union-find in column order, tree paths by climbing to the common
// ancestor.
#include "simu/model/normal_tree.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

int find_root(std::vector<int>& up, int x) {
  while (up[x] != x) x = up[x] = up[up[x]];
  return x;
}

}  // namespace

SM incidence_rref(const SM& Ip) {
  const int nt = Ip.rows(), nb = Ip.cols();
  // Column k joins from[k] (its +1 row) and to[k] (its -1 row); node 0 is the reference.
  std::vector<int> from(nb, 0), to(nb, 0);
  std::vector<char> empty(nb, 1);
  for (int r = 0; r < nt; ++r) {
    for (const sp_entry& e : Ip.row(r)) {
      if (e.val == 0.0) continue;
      if (e.val != 1.0 && e.val != -1.0) matrix_fatal("not an incidence matrix", "incidence_rref");
      (e.val > 0 ? from : to)[e.col] = r + 1;
      empty[e.col] = 0;
    }
  }
  std::vector<int> up(nt + 1);
  std::iota(up.begin(), up.end(), 0);
  std::vector<int> tree_cols;
  std::vector<std::vector<int>> adj(nt + 1);   // tree columns at each node
  for (int k = 0; k < nb; ++k) {
    if (empty[k]) continue;
    const int a = find_root(up, from[k]), b = find_root(up, to[k]);
    if (a == b) continue;
    up[a] = b;
    tree_cols.push_back(k);
    adj[from[k]].push_back(k);
    adj[to[k]].push_back(k);
  }
  // Root every part (node 0 first): parent column and depth of each node.
  std::vector<int> parent_col(nt + 1, -1), depth(nt + 1, -1), queue;
  for (int root = 0; root <= nt; ++root) {
    if (depth[root] >= 0) continue;
    depth[root] = 0;
    queue.assign(1, root);
    for (size_t q = 0; q < queue.size(); ++q) {
      const int u = queue[q];
      for (int k : adj[u]) {
        const int v = from[k] == u ? to[k] : from[k];
        if (depth[v] >= 0) continue;
        depth[v] = depth[u] + 1;
        parent_col[v] = k;
        queue.push_back(v);
      }
    }
  }
  std::vector<int> row_of(nb, -1);
  for (size_t i = 0; i < tree_cols.size(); ++i) row_of[tree_cols[i]] = static_cast<int>(i);

  SM R(nt, nb);
  for (size_t i = 0; i < tree_cols.size(); ++i) R.row(static_cast<int>(i)).push_back({tree_cols[i], 1.0});
  std::vector<char> is_tree(nb, 0);
  for (int k : tree_cols) is_tree[k] = 1;
  for (int a = 0; a < nb; ++a) {
    if (is_tree[a] || empty[a]) continue;
    // Link a: its column is the sum over its path from -> to of +-(tree column), + when
    // the path runs along the branch's own direction (from its node1 to its node2).
    int x = from[a], y = to[a];
    auto step = [&](int node, bool upward) {
      const int k = parent_col[node];
      const bool along = upward ? from[k] == node : to[k] == node;
      R.row(row_of[k]).push_back({a, along ? 1.0 : -1.0});
      return from[k] == node ? to[k] : from[k];
    };
    while (depth[x] > depth[y]) x = step(x, true);
    while (depth[y] > depth[x]) y = step(y, false);
    while (x != y) {
      x = step(x, true);
      y = step(y, false);
    }
  }
  return R;
}
