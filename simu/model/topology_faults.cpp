// The laws that a switch setting's ideal network puts on the independent sources.
//
// Switches are stamped as resistors (0.001 ohm on, 1e6 ohm off), so no setting is ever
// singular for the derivation: a voltage source across a chain of on switches, or a
// current source whose only way on is through off switches, gives a model with huge
// currents or voltages instead of the refusal that a loop of voltage sources or a cut
// set of current sources gets. Here the setting is looked at as the ideal network it
// stands for: on switches are shorts, off switches are open. Such a network has a
// solution only when the sources keep KVL around its loops of voltage sources and on
// switches and KCL across its cuts of current sources and off switches; whether they do
// depends on their values at the instant, so each law is kept as a signed sum over u and
// tested where the setting or a source value changes. Controlled sources are left out.
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "simu/base/exact_number.h"
#include "simu/base/messages.h"
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

// "%g" unless its six digits would make two different values look equal.
std::string number(double v) { return exact_number(v, number_form::general, 6); }

}  // namespace

void topology_table::source_laws(topology& rec, bool sources_alone) const {
  rec.laws.clear();
  rec.terms.clear();
  std::vector<int> u_at(nb_, -1), branch_at_z(nb_);
  for (int k = 0; k < nb_; ++k) branch_at_z[zpos_[k]] = k;
  for (int j = 0; j < m_; ++j) u_at[branch_at_z[sel_[j]]] = j;
  std::vector<char> on(nb_, 0), is_switch(nb_, 0);
  for (int n = 0; n < nsw_; ++n) {
    const int k = static_cast<int>(sw_branch_.at(n + 1)) - 1;
    is_switch[k] = 1;
    on[k] = r_.at(n + 1) < 1.0;
  }
  // Sources alone: no switch in a loop (all off) and none in a cut (all on).
  auto in_loop = [&](int k) { return is_switch[k] && on[k] && !sources_alone; };
  auto in_cut = [&](int k) { return is_switch[k] && !on[k] && !sources_alone; };
  auto kind = [&](int k) { return branches_[k]->kind; };
  auto ends = [&](int k, int& a, int& b) {
    a = static_cast<int>(branches_[k]->node1);
    b = static_cast<int>(branches_[k]->node2);
    return a != b;   // a branch from a node to itself joins nothing
  };
  const int nodes = nn_ > 0 ? nn_ : 1;
  // Adds a law from its elements (branches, row order of the walk) and its signed
  // sources; a law over sources that are always 0 always holds and is not kept.
  auto keep = [&](bool loop, const std::vector<int>& elements, const std::vector<law_term>& terms) {
    if (terms.empty()) return;
    source_law law;
    law.loop = loop;
    law.first = static_cast<int>(rec.terms.size());
    rec.terms.insert(rec.terms.end(), terms.begin(), terms.end());
    law.last = static_cast<int>(rec.terms.size());
    for (int k : elements) law.elements += (law.elements.empty() ? "" : " ") + branches_[k]->name;
    rec.laws.push_back(std::move(law));
  };

  // KVL: on switches join their nodes; the voltage sources then grow a forest over the
  // joined nodes, and each source whose ends are already joined closes a loop with the
  // path between them (found breadth first). These loops span every loop of the network.
  std::vector<std::vector<int>> adj(nodes);
  node_sets spanned(nodes);
  for (int k = 0; k < nb_; ++k) {
    int a, b;
    if (!ends(k, a, b) || !in_loop(k)) continue;
    spanned.join(a, b);
    adj[a].push_back(k);
    adj[b].push_back(k);
  }
  for (int e = 0; e < nb_; ++e) {
    int from, to;
    if (kind(e) != 'V' || !ends(e, from, to)) continue;
    if (spanned.find(from) != spanned.find(to)) {
      spanned.join(from, to);
      adj[from].push_back(e);
      adj[to].push_back(e);
      continue;
    }
    std::vector<int> via(nodes, -2), queue{from};
    via[from] = -1;
    for (std::size_t q = 0; q < queue.size() && via[to] == -2; ++q)
      for (int k : adj[queue[q]]) {
        int a, b;
        ends(k, a, b);
        const int next = a == queue[q] ? b : a;
        if (via[next] != -2) continue;
        via[next] = k;
        queue.push_back(next);
      }
    // Around the loop: e from its first node to its second, then back along the path.
    std::vector<int> loop{e};
    std::vector<law_term> terms;
    if (u_at[e] >= 0) terms.push_back({u_at[e], 1.0});
    for (int n = to; n != from;) {
      const int k = via[n];
      int a, b;
      ends(k, a, b);
      loop.push_back(k);
      if (u_at[k] >= 0) terms.push_back({u_at[k], a == n ? 1.0 : -1.0});
      n = a == n ? b : a;
    }
    keep(true, loop, terms);
  }

  // KCL: every branch but current sources and off switches joins its nodes; each group of
  // nodes that a current source leaves is cut off by the current sources and off
  // switches that leave it. These cuts span every cut of the network. A current source
  // that is always 0 A (an output port) is left out of them, being open as well.
  node_sets joined(nodes);
  for (int k = 0; k < nb_; ++k) {
    int a, b;
    if (ends(k, a, b) && kind(k) != 'I' && !in_cut(k)) joined.join(a, b);
  }
  std::vector<char> cut_done(nodes, 0);
  for (int e = 0; e < nb_; ++e) {
    int from, to;
    if (kind(e) != 'I' || u_at[e] < 0 || !ends(e, from, to) || joined.find(from) == joined.find(to)) continue;
    for (int side : {joined.find(from), joined.find(to)}) {
      if (cut_done[side]) continue;
      cut_done[side] = 1;
      std::vector<int> cut;
      std::vector<law_term> terms;
      for (int k = 0; k < nb_; ++k) {
        int a, b;
        if (!ends(k, a, b) || (joined.find(a) == side) == (joined.find(b) == side)) continue;
        if (kind(k) == 'I' ? u_at[k] < 0 : !in_cut(k)) continue;
        cut.push_back(k);
        // A source's current leaves the group when its first node lies in it.
        if (kind(k) == 'I') terms.push_back({u_at[k], joined.find(a) == side ? 1.0 : -1.0});
      }
      keep(false, cut, terms);
    }
  }
}

void topology_table::refuse_sources_alone(const char* text) const {
  // Sources alone fix no current around their loop, no voltage across their cut: no
  // value of theirs gives the network one solution, so their values are not shown.
  topology alone;
  source_laws(alone, true);
  if (alone.laws.empty()) throw text;
  const source_law& law = alone.laws.front();
  throw_text(std::string(text) +
             (law.loop ? "The loop " + law.elements +
                             " holds only voltage sources, which fix no current around it: the circuit has no "
                             "unique solution, whatever their values.\n"
                       : "The cut " + law.elements +
                             " holds only current sources, which fix no voltage across it: the circuit has no "
                             "unique solution, whatever their values.\n"));
}

int broken_law(const topology& rec, const DM& u) {
  const double* v = u.blk ? u.blk->data : nullptr;
  const int n = static_cast<int>(rec.laws.size());
  for (int k = 0; k < n; ++k) {
    const source_law& law = rec.laws[k];
    double sum = 0.0, largest = 0.0;
    for (int q = law.first; q < law.last; ++q) {
      const double s = rec.terms[q].sign * v[rec.terms[q].at];
      sum += s;
      largest = std::fmax(largest, std::fabs(s));
    }
    if (std::fabs(sum) > 1e-9 * largest) return k + 1;
  }
  return 0;
}

std::string law_breach(const topology& rec, int k, const DM& u, const std::vector<std::string>& sources) {
  const source_law& law = rec.laws[k - 1];
  const char* unit = law.loop ? " V" : " A";
  std::string equation;
  if (law.last - law.first == 1) {
    // One source alone: its value is what breaks the law, whatever its direction.
    equation = sources[rec.terms[law.first].at] + " = " + number(u.at(rec.terms[law.first].at + 1)) + unit;
  } else {
    std::string names, values;
    double sum = 0.0;
    for (int q = law.first; q < law.last; ++q) {
      const law_term& t = rec.terms[q];
      const double v = u.at(t.at + 1);
      const std::string sign = t.sign < 0 ? (q == law.first ? "-" : " - ") : (q == law.first ? "" : " + ");
      names += sign + sources[t.at];
      values += sign + (v < 0 && !sign.empty() ? "(" + number(v) + ")" : number(v));
      sum += t.sign * v;
    }
    equation = names + " = " + values + " = " + number(sum) + unit;
  }
  return law.loop ? "the loop " + law.elements +
                        " holds only voltage sources and switches that are on, and KVL fails around it: " +
                        equation + ", not 0"
                  : "the cut " + law.elements +
                        " holds only current sources and switches that are off, and KCL fails across it: " +
                        equation + ", not 0";
}
