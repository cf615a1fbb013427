// Switch settings whose ideal network has no unique solution.
//
// Switches are stamped as resistors (0.001 ohm on, 1e6 ohm off), so no setting is ever
// singular for the derivation: a voltage source across a chain of on switches, or a
// current source whose only way on is through off switches, gives a model with huge
// currents or voltages instead of the refusal that a loop of voltage sources or a cut
// set of current sources gets. Here the setting is looked at as the ideal network it
// stands for: on switches are shorts, off switches are open.
#include <numeric>
#include <string>
#include <vector>

#include "simu/model/topology.h"

namespace {

class node_sets {
public:
  explicit node_sets(int n) : up_(n) { std::iota(up_.begin(), up_.end(), 0); }
  int find(int a) {
    while (up_[a] != a) a = up_[a] = up_[up_[a]];
    return a;
  }
  void join(int a, int b) { up_[find(a)] = find(b); }

private:
  std::vector<int> up_;
};

std::string joined(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : " ") + n;
  return s;
}

}  // namespace

std::string topology_table::setting_fault() const {
  // Branches (row order) that drive: the selected sources, whose value is not zero.
  std::vector<char> driving(nb_, 0), on(nb_, 0), is_switch(nb_, 0);
  std::vector<char> in_u(nb_, 0);
  for (int z : sel_) in_u[z] = 1;
  for (int k = 0; k < nb_; ++k) driving[k] = in_u[zpos_[k]];
  for (int n = 0; n < nsw_; ++n) {
    const int k = static_cast<int>(sw_branch_.at(n + 1)) - 1;
    is_switch[k] = 1;
    on[k] = r_.at(n + 1) < 1.0;
  }
  auto kind = [&](int k) { return branches_[k]->kind; };
  auto ends = [&](int k, int& a, int& b) {
    a = static_cast<int>(branches_[k]->node1);
    b = static_cast<int>(branches_[k]->node2);
    return a != b;   // a branch from a node to itself joins nothing
  };
  const int nodes = nn_ > 0 ? nn_ : 1;

  // A driving voltage source closed by on switches and voltage sources alone: by KVL
  // through shorts it has either no solution or no unique current. The path between its
  // ends is found breadth first over the other such branches.
  std::vector<std::vector<int>> adj(nodes);
  for (int k = 0; k < nb_; ++k) {
    int a, b;
    if (!ends(k, a, b) || !(kind(k) == 'V' || (is_switch[k] && on[k]))) continue;
    adj[a].push_back(k);
    adj[b].push_back(k);
  }
  // Joined shorts first, then the driving sources one by one: the last source of any
  // such loop finds its ends joined already, so one search names the loop.
  node_sets shorted(nodes);
  for (int k = 0; k < nb_; ++k) {
    int a, b;
    if (ends(k, a, b) && !driving[k] && (kind(k) == 'V' || (is_switch[k] && on[k]))) shorted.join(a, b);
  }
  for (int e = 0; e < nb_; ++e) {
    int from, to;
    if (kind(e) != 'V' || !driving[e] || !ends(e, from, to)) continue;
    if (shorted.find(from) != shorted.find(to)) {
      shorted.join(from, to);
      continue;
    }
    std::vector<int> via(nodes, -2), queue{from};
    via[from] = -1;
    for (std::size_t q = 0; q < queue.size() && via[to] == -2; ++q)
      for (int k : adj[queue[q]]) {
        int a, b;
        ends(k, a, b);
        const int next = a == queue[q] ? b : a;
        if (k == e || via[next] != -2) continue;
        via[next] = k;
        queue.push_back(next);
      }
    if (via[to] == -2) continue;
    std::vector<std::string> loop{branches_[e]->name};
    for (int n = to; n != from;) {
      const int k = via[n];
      loop.push_back(branches_[k]->name);
      int a, b;
      ends(k, a, b);
      n = a == n ? b : a;
    }
    return "the loop " + joined(loop) + " holds only voltage sources and switches that are on";
  }

  // A driving current source cut off by current sources and off switches alone: by KCL
  // through open switches its current has nowhere to go.
  node_sets joined_by(nodes);
  for (int k = 0; k < nb_; ++k) {
    int a, b;
    if (ends(k, a, b) && kind(k) != 'I' && !(is_switch[k] && !on[k])) joined_by.join(a, b);
  }
  for (int e = 0; e < nb_; ++e) {
    int from, to;
    if (kind(e) != 'I' || !driving[e] || !ends(e, from, to)) continue;
    const int side = joined_by.find(from);
    if (side == joined_by.find(to)) continue;
    std::vector<std::string> off;
    for (int k = 0; k < nb_; ++k) {
      int a, b;
      if (is_switch[k] && !on[k] && ends(k, a, b) && (joined_by.find(a) == side) != (joined_by.find(b) == side))
        off.push_back(branches_[k]->name);
    }
    return "current source " + branches_[e]->name + " has no path" +
           (off.empty() ? "" : " but through switches that are off (" + joined(off) + ")");
  }
  return "";
}
