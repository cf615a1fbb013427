// Stamping of the branch relations, the normal tree and the switch-independent blocks.
#include <cstdio>
#include <string>
#include <unordered_set>

#include "matrix/rref.h"
#include "simu/console.h"
#include "simu/messages.h"
#include "simu/name_file.h"
#include "simu/model_text.h"
#include "simu/tableau.h"
#include "simu/topology.h"

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

CM czeros(int r, int c) {
  CM M(r, c);
  for (int j = 1; j <= c; ++j)
    for (int i = 1; i <= r; ++i) M(i, j) = complex{0.0, 0.0};
  return M;
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

  Zv_ = czeros(nb_, nb_);
  Zi_ = czeros(nb_, nb_);
  vval_ = zeros(nb_, 1);
  ival_ = zeros(nb_, 1);
  vflag_ = zeros(nb_, 1);
  iflag_ = zeros(nb_, 1);
  incidence_ = zeros(nt_, nb_);

  for (const model_row* row : couplings_) {
    const int k1 = branch_of(row->ref1), k2 = branch_of(row->ref2);
    if (k1 < 0) throw_not_found(row->ref1);
    if (k2 < 0) throw_not_found(row->ref2);
    Zi_(k1 + 1, k2 + 1) = complex{-0.0 * row->value, -row->value};
    Zi_(k2 + 1, k1 + 1) = complex{-0.0 * row->value, -row->value};
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
      if (row.node1 > 0) incidence_(row.node1, b) = 1.0;
      if (row.node2 > 0) incidence_(row.node2, b) = -1.0;
    }
    auto control = [&]() {
      const int j = branch_of(row.ref1);
      if (j < 0) throw_not_found(row.ref1);
      return j + 1;
    };
    const double g = row.value;
    switch (row.kind) {
      case 'V':
        Zv_(b, b) = complex{1.0, 0.0};
        vval_(b, 1) = g;
        break;
      case 'C':
        Zv_(b, b) = complex{-0.0 * g, -g};
        Zi_(b, b) = complex{1.0, 0.0};
        break;
      case 'E': {
        const int j = control();
        Zv_(b, b) = complex{1.0, 0.0};
        Zv_(b, j) = complex{Zv_(b, j).re - g, Zv_(b, j).im};
        break;
      }
      case 'H': {
        const int j = control();
        Zv_(b, b) = complex{1.0, 0.0};
        Zi_(b, j) = complex{Zi_(b, j).re - g, Zi_(b, j).im};
        break;
      }
      case 'R':
        Zv_(b, b) = complex{1.0, 0.0};
        Zi_(b, b) = complex{-g, 0.0};
        break;
      case 'S':
      case 'D':
        Zv_(b, b) = complex{1.0, 0.0};
        Zi_(b, b) = complex{nsw_ < r_.rows ? -r_(nsw_ + 1, 1) : 0.0, 0.0};
        switch_names_.push_back(row.label);
        sw.push_back(b);
        ++nsw_;
        break;
      case 'G': {
        const int j = control();
        Zi_(b, b) = complex{1.0, 0.0};
        Zv_(b, j) = complex{Zv_(b, j).re - g, Zv_(b, j).im};
        break;
      }
      case 'F': {
        const int j = control();
        Zi_(b, b) = complex{1.0, 0.0};
        Zi_(b, j) = complex{Zi_(b, j).re - g, Zi_(b, j).im};
        break;
      }
      case 'L':
        Zv_(b, b) = complex{1.0, 0.0};
        Zi_(b, b) = complex{Zi_(b, b).re, Zi_(b, b).im - g};
        break;
      case 'I':
        Zi_(b, b) = complex{1.0, 0.0};
        ival_(b, 1) = g;
        break;
      default:
        break;   // no relation: the derivation reports the network
    }
    // "#" sources: their value is solved from outputs each step.
    if ((row.kind == 'V' || row.kind == 'I') && row.name.size() > 1 && row.name[1] == '#') {
      (row.kind == 'V' ? vflag_ : iflag_)(b, 1) = 1.0;
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

  order_ = zeros(nb_, 1);
  int q = 0;
  for (int level = 0; level <= 10; ++level)
    for (int k = 0; k < nb_; ++k)
      if (priority(branches_[k]->kind) == level) order_(++q, 1) = k + 1;
}

void topology_table::source_eqns() {
  // Normal tree: the independent columns of the incidence matrix taken in priority order.
  DM Ip = zeros(nt_, nb_);
  for (int c = 1; c <= nb_; ++c)
    for (int r = 1; r <= nt_; ++r) Ip(r, c) = incidence_(r, order_(c, 1));
  DM R = nt_ > 0 ? rref(Ip) : Ip;
  DM piv = rpac(R, nt_, nb_);
  perm_ = zeros(nb_, 1);
  for (int c = 1; c <= nb_; ++c) perm_(c, 1) = order_(piv(c, 1), 1);
  Qc_ = zeros(nt_, nb_);
  Bf_ = zeros(nl_, nb_);
  for (int i = 1; i <= nt_; ++i) {
    Qc_(i, i) = 1.0;
    for (int l = 1; l <= nl_; ++l) {
      const double t = R(i, piv(nt_ + l, 1));
      Qc_(i, nt_ + l) = t;
      Bf_(l, i) = -t;
    }
  }
  for (int l = 1; l <= nl_; ++l) Bf_(l, nt_ + l) = 1.0;

  // From here on branch quantities stand in z order (tree, then links).
  std::vector<int> p(nb_);
  for (int c = 0; c < nb_; ++c) p[c] = static_cast<int>(perm_(c + 1, 1)) - 1;
  CM Zv = czeros(nb_, nb_), Zi = czeros(nb_, nb_);
  for (int c = 0; c < nb_; ++c)
    for (int r = 0; r < nb_; ++r) {
      Zv(r + 1, c + 1) = Zv_(p[r] + 1, p[c] + 1);
      Zi(r + 1, c + 1) = Zi_(p[r] + 1, p[c] + 1);
    }
  Zv_ = Zv;
  Zi_ = Zi;
  var_names_.clear();
  for (int c = 0; c < nb_; ++c)
    var_names_.push_back((c < nt_ ? "V_" : "I_") + branch_names_[p[c]]);
  zpos_.assign(nb_, 0);
  for (int c = 0; c < nb_; ++c) zpos_[p[c]] = c;

  candidates_.clear();
  for (const model_row* row : branches_)
    if (row->kind == 'C') candidates_.push_back("V_" + row->name);
  for (const model_row* row : branches_)
    if (row->kind == 'L') candidates_.push_back("I_" + row->name);

  // Derivation column order: every other unknown first, then tree capacitor voltages and
  // link inductor currents in candidate order, so that the elimination keeps those.
  std::vector<char> is_cand(nb_, 0);
  std::vector<int> cand_cols;
  for (const std::string& cname : candidates_) {
    for (int c = 0; c < nb_; ++c) {
      if (var_names_[c] == cname) {
        is_cand[c] = 1;
        cand_cols.push_back(c);
      }
    }
  }
  zcol_.clear();
  for (int c = 0; c < nb_; ++c)
    if (!is_cand[c]) zcol_.push_back(c);
  zcol_.insert(zcol_.end(), cand_cols.begin(), cand_cols.end());

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
  U_ = zeros(nb_, m_);
  u0_ = zeros(m_, 1);
  source_names_.clear();
  drive_pos_.clear();
  vgs_to_u_.assign(nvgs, 0);
  for (int j = 0; j < m_; ++j) {
    const int k = p[sel[j]];
    U_(sel[j] + 1, j + 1) = 1.0;
    u0_(j + 1, 1) = branches_[k]->value;
    source_names_.push_back(branch_names_[k]);
    if (vflag_(k + 1, 1) != 0.0 || iflag_(k + 1, 1) != 0.0) drive_pos_.push_back(j + 1);
    if (vgs_row[k] > 0) vgs_to_u_[vgs_row[k] - 1] = j + 1;
  }
  write_names("src.dat", source_names_, "Error creating src.dat");

  // Outputs through z: a voltage is a row of Qc', a current a row of Bf'.
  Q_ = zeros(nout_, nb_);
  for (int o = 0; o < nout_; ++o) {
    const int k = branch_of(net_.outputs[o].name);
    if (k < 0) throw_not_found(net_.outputs[o].name);
    const int b = zpos_[k] + 1;
    if (net_.outputs[o].kind == 'I') {
      for (int l = 1; l <= nl_; ++l) Q_(o + 1, nt_ + l) = Bf_(l, b);
    } else {
      for (int i = 1; i <= nt_; ++i) Q_(o + 1, i) = Qc_(i, b);
    }
  }
}
