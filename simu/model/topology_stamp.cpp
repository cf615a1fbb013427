// Stamping of the branch relations, the normal tree and the switch-independent blocks.
#include <cstdio>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "simu/base/console.h"
#include "simu/base/messages.h"
#include "simu/base/name_file.h"
#include "simu/model/model_text.h"
#include "simu/model/normal_tree.h"
#include "simu/model/tableau.h"
#include "simu/model/topology.h"

namespace {

// Priority of a kind letter in the normal tree: sources of voltage and capacitors first,
// so they are tree branches; inductors and current sources last, so they are links.
int priority(char kind) {
  switch (kind) {
    case 'V': return 0;
    case 'C': return 1;
    case 'E': return 2;
    case 'H': return 3;
    case 'R': return 4;
    case 'S':
    case 'D': return 5;
    case 'G': return 6;
    case 'F': return 7;
    case 'L': return 8;
    case 'I': return 9;
    default: return 10;
  }
}

DM zeros(int r, int c) {
  DM M(r, c);
  for (int j = 1; j <= c; ++j)
    for (int i = 1; i <= r; ++i) M(i, j) = 0.0;
  return M;
}

// S with row k moved to to[k] and column c to to[c].
SM permuted(const SM& S, const std::vector<int>& to) {
  SM P(S.rows(), S.cols());
  for (int k = 0; k < S.rows(); ++k)
    for (const sp_entry& e : S.row(k)) P.row(to[k]).push_back({to[e.col], e.val});
  P.sort_rows();
  return P;
}

}  // namespace

topology_table::topology_table(const model_netlist& net) : net_(net) {}

topology_table::~topology_table() = default;

int topology_table::branch_of(const std::string& name) const {
  for (int k = 0; k < nb_; ++k)
    if (branch_names_[k] == name) return k;
  return -1;
}

void topology_table::stamp_elements(DM& drive_outputs, double& gain) {
  branches_.clear();
  couplings_.clear();
  for (const model_row& row : net_.rows) (row.kind == 'M' ? couplings_ : branches_).push_back(&row);
  nb_ = static_cast<int>(branches_.size());
  nn_ = static_cast<int>(net_.numn);
  nt_ = nn_ > 0 ? nn_ - 1 : 0;
  nl_ = nb_ - nt_;
  nout_ = static_cast<int>(net_.outputs.size());
  branch_names_.clear();
  std::unordered_set<std::string> seen;
  for (const model_row* row : branches_) {
    // Rows are found by name (controls, couplings, outputs, states): a name used twice
    // would make every such lookup ambiguous.
    if (!seen.insert(row->name).second)
      throw_text("Internal simulation problem.  Element named twice. " + row->name);
    branch_names_.push_back(row->name);
  }

  Zv_ = zcoef{SM(nb_, nb_), SM(nb_, nb_)};
  Zi_ = zcoef{SM(nb_, nb_), SM(nb_, nb_)};
  vval_.assign(nb_, 0.0);
  ival_.assign(nb_, 0.0);
  vflag_.assign(nb_, 0.0);
  iflag_.assign(nb_, 0.0);
  incidence_ = SM(nt_, nb_);
  // Branch b, j are 1-based here, as the relations are written.
  auto put = [](zcoef& Z, int b, int j, double re, double im) {
    Z.re.set(b - 1, j - 1, re);
    Z.im.set(b - 1, j - 1, im);
  };
  auto re_of = [](const zcoef& Z, int b, int j) { return Z.re.get(b - 1, j - 1); };
  auto im_of = [](const zcoef& Z, int b, int j) { return Z.im.get(b - 1, j - 1); };

  for (const model_row* row : couplings_) {
    const int k1 = branch_of(row->ref1), k2 = branch_of(row->ref2);
    if (k1 < 0) throw_not_found(row->ref1);
    if (k2 < 0) throw_not_found(row->ref2);
    put(Zi_, k1 + 1, k2 + 1, -0.0 * row->value, -row->value);
    put(Zi_, k2 + 1, k1 + 1, -0.0 * row->value, -row->value);
  }

  switch_names_.clear();
  std::vector<double> sw;
  std::vector<double> drives;
  nsw_ = 0;
  for (int k = 0; k < nb_; ++k) {
    const model_row& row = *branches_[k];
    const int b = k + 1;
    if (row.node1 != row.node2) {
      for (unsigned node : {row.node1, row.node2}) {
        if (node > static_cast<unsigned>(nt_)) throw_bad_node(row.name);
      }
      if (row.node1 > 0) incidence_.set(row.node1 - 1, b - 1, 1.0);
      if (row.node2 > 0) incidence_.set(row.node2 - 1, b - 1, -1.0);
    }
    auto control = [&]() {
      const int j = branch_of(row.ref1);
      if (j < 0) throw_not_found(row.ref1);
      return j + 1;
    };
    const double g = row.value;
    switch (row.kind) {
      case 'V':
        put(Zv_, b, b, 1.0, 0.0);
        vval_[k] = g;
        break;
      case 'C':
        put(Zv_, b, b, -0.0 * g, -g);
        put(Zi_, b, b, 1.0, 0.0);
        break;
      case 'E': {
        const int j = control();
        put(Zv_, b, b, 1.0, 0.0);
        put(Zv_, b, j, re_of(Zv_, b, j) - g, im_of(Zv_, b, j));
        break;
      }
      case 'H': {
        const int j = control();
        put(Zv_, b, b, 1.0, 0.0);
        put(Zi_, b, j, re_of(Zi_, b, j) - g, im_of(Zi_, b, j));
        break;
      }
      case 'R':
        put(Zv_, b, b, 1.0, 0.0);
        put(Zi_, b, b, -g, 0.0);
        break;
      case 'S':
      case 'D':
        put(Zv_, b, b, 1.0, 0.0);
        put(Zi_, b, b, nsw_ < r_.rows ? -r_(nsw_ + 1, 1) : 0.0, 0.0);
        switch_names_.push_back(row.label);
        sw.push_back(b);
        ++nsw_;
        break;
      case 'G': {
        const int j = control();
        put(Zi_, b, b, 1.0, 0.0);
        put(Zv_, b, j, re_of(Zv_, b, j) - g, im_of(Zv_, b, j));
        break;
      }
      case 'F': {
        const int j = control();
        put(Zi_, b, b, 1.0, 0.0);
        put(Zi_, b, j, re_of(Zi_, b, j) - g, im_of(Zi_, b, j));
        break;
      }
      case 'L':
        put(Zv_, b, b, 1.0, 0.0);
        put(Zi_, b, b, re_of(Zi_, b, b), im_of(Zi_, b, b) - g);
        break;
      case 'I':
        put(Zi_, b, b, 1.0, 0.0);
        ival_[k] = g;
        break;
      default:
        break;   // no relation: the derivation reports the network
    }
    // "#" sources: their value is solved from outputs each step.
    if ((row.kind == 'V' || row.kind == 'I') && row.name.size() > 1 && row.name[1] == '#') {
      (row.kind == 'V' ? vflag_ : iflag_)[k] = 1.0;
      const char third = row.name.size() > 2 ? row.name[2] : 0;
      if (third == 'D') {
        for (int o = 0; o < nout_; ++o) {
          if (row.kind == 'V')
            sim_printf("output %d = %s, cntl1 = %s.\n", o + 1, net_.outputs[o].name.c_str(),
                       row.word1.c_str());
          if (net_.outputs[o].name == row.word1) drives.push_back(o + 1);
        }
      } else if (third == 'M') {
        gain = row.gain;
        for (const std::string* w : {&row.word1, &row.word2})
          for (int o = 0; o < nout_; ++o)
            if (net_.outputs[o].name == *w) drives.push_back(o + 1);
      }
    }
  }
  sw_branch_ = zeros(nsw_, 1);
  for (int n = 0; n < nsw_; ++n) sw_branch_(n + 1, 1) = sw[n];
  drive_outputs = zeros(static_cast<int>(drives.size()), 1);
  for (size_t q = 0; q < drives.size(); ++q) drive_outputs(q + 1, 1) = drives[q];

  order_.clear();
  for (int level = 0; level <= 10; ++level)
    for (int k = 0; k < nb_; ++k)
      if (priority(branches_[k]->kind) == level) order_.push_back(k);
}

void topology_table::source_eqns() {
  // Normal tree: the independent columns of the incidence matrix taken in priority order.
  std::vector<int> col_of(nb_);
  for (int c = 0; c < nb_; ++c) col_of[order_[c]] = c;
  SM Ip(nt_, nb_);
  for (int r = 0; r < nt_; ++r)
    for (const sp_entry& e : incidence_.row(r)) Ip.row(r).push_back({col_of[e.col], e.val});
  Ip.sort_rows();
  SM R = incidence_rref(Ip);
  std::vector<int> piv = pivot_order(R, 0, nt_, 0, nb_);
  std::vector<int> p(nb_);   // branch (row order) of each z position
  for (int c = 0; c < nb_; ++c) p[c] = order_[piv[c]];
  // With R = [I T] over the permuted branches: Qc = [I T], Bf = [-T' I], kept transposed.
  std::vector<int> link_of(nb_, -1);
  for (int l = 0; l < nl_; ++l) link_of[piv[nt_ + l]] = l;
  QcT_ = SM(nb_, nt_);
  BfT_ = SM(nb_, nl_);
  for (int i = 0; i < nt_; ++i) {
    QcT_.row(i).push_back({i, 1.0});
    for (const sp_entry& e : R.row(i)) {
      const int l = link_of[e.col];
      if (l < 0 || e.val == 0.0) continue;
      QcT_.row(nt_ + l).push_back({i, e.val});
      BfT_.row(i).push_back({l, -e.val});
    }
  }
  for (int l = 0; l < nl_; ++l) BfT_.row(nt_ + l).push_back({l, 1.0});
  BfT_.sort_rows();

  // From here on branch quantities stand in z order (tree, then links).
  zpos_.assign(nb_, 0);
  for (int c = 0; c < nb_; ++c) zpos_[p[c]] = c;
  Zv_ = zcoef{permuted(Zv_.re, zpos_), permuted(Zv_.im, zpos_)};
  Zi_ = zcoef{permuted(Zi_.re, zpos_), permuted(Zi_.im, zpos_)};
  var_names_.clear();
  for (int c = 0; c < nb_; ++c)
    var_names_.push_back((c < nt_ ? "V_" : "I_") + branch_names_[p[c]]);

  candidates_.clear();
  for (const model_row* row : branches_)
    if (row->kind == 'C') candidates_.push_back("V_" + row->name);
  for (const model_row* row : branches_)
    if (row->kind == 'L') candidates_.push_back("I_" + row->name);

  // Derivation column order: every other unknown first, then tree capacitor voltages and
  // link inductor currents in candidate order, so that the elimination keeps those.
  std::unordered_map<std::string, int> z_of;
  for (int c = 0; c < nb_; ++c) z_of.emplace(var_names_[c], c);
  std::vector<char> is_cand(nb_, 0);
  std::vector<int> cand_cols;
  for (const std::string& cname : candidates_) {
    auto it = z_of.find(cname);
    if (it == z_of.end()) continue;
    is_cand[it->second] = 1;
    cand_cols.push_back(it->second);
  }
  zcol_.clear();
  for (int c = 0; c < nb_; ++c)
    if (!is_cand[c]) zcol_.push_back(c);
  zcol_.insert(zcol_.end(), cand_cols.begin(), cand_cols.end());
  zinv_.assign(nb_, 0);
  for (int q = 0; q < nb_; ++q) zinv_[zcol_[q]] = q;

  // Selected sources: V branches then I branches, z order, whose value (or any stepped
  // value) is not zero.
  DM vgs(net_.vgs);
  const int nvgs = vgs.rows;
  std::vector<int> vgs_row(nb_, 0);   // vgs row of each branch (row order), 0 none
  {
    int r = 0;
    for (char kind : {'V', 'I'})
      for (int k = 0; k < nb_; ++k)
        if (branches_[k]->kind == kind && is_stepped_source(branches_[k]->name)) vgs_row[k] = ++r;
    for (int k = 0; k < nb_; ++k)
      if (vgs_row[k] > nvgs) vgs_row[k] = 0;
  }
  auto stepped = [&](int k) {
    const int r = vgs_row[k];
    if (r == 0) return false;
    for (int c = 1; c <= vgs.cols; ++c)
      if (vgs(r, c) != 0.0) return true;
    return false;
  };
  std::vector<int> sel;   // z positions
  for (char kind : {'V', 'I'})
    for (int c = 0; c < nb_; ++c) {
      const int k = p[c];
      if (branches_[k]->kind != kind) continue;
      if (branches_[k]->value != 0.0 || stepped(k)) sel.push_back(c);
    }
  m_ = static_cast<int>(sel.size());
  sel_ = sel;
  u0_ = zeros(m_, 1);
  source_names_.clear();
  drive_pos_.clear();
  vgs_to_u_.assign(nvgs, 0);
  for (int j = 0; j < m_; ++j) {
    const int k = p[sel[j]];
    u0_(j + 1, 1) = branches_[k]->value;
    source_names_.push_back(branch_names_[k]);
    if (vflag_[k] != 0.0 || iflag_[k] != 0.0) drive_pos_.push_back(j + 1);
    if (vgs_row[k] > 0) vgs_to_u_[vgs_row[k] - 1] = j + 1;
  }
  write_names("src.dat", source_names_, "Error creating src.dat");

  // Outputs through z: a voltage is a row of Qc', a current a row of Bf'.
  Q_ = SM(nout_, nb_);
  for (int o = 0; o < nout_; ++o) {
    const int k = branch_of(net_.outputs[o].name);
    if (k < 0) throw_not_found(net_.outputs[o].name);
    const int b = zpos_[k];
    if (net_.outputs[o].kind == 'I') {
      for (const sp_entry& e : BfT_.row(b)) Q_.row(o).push_back({nt_ + e.col, e.val});
    } else {
      for (const sp_entry& e : QcT_.row(b)) Q_.row(o).push_back({e.col, e.val});
    }
  }
}
