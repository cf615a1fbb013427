// Tableau of a switch setting, its derivation, and the table of records per setting.
#include <algorithm>
#include <cstdio>
#include <utility>

#include "matrix/expm.h"
#include "matrix/matrix.h"
#include "simu/base/console.h"
#include "simu/base/messages.h"
#include "simu/base/name_file.h"
#include "simu/model/tableau.h"
#include "simu/base/stopwatch.h"
#include "simu/model/topology.h"

namespace {

DM zeros(int r, int c) {
  DM M(r, c);
  for (int j = 1; j <= c; ++j)
    for (int i = 1; i <= r; ++i) M(i, j) = 0.0;
  return M;
}

int entries(const DM& s) { return s.rows * s.cols; }

}  // namespace

void topology_table::set_resistances(const DM& setting) {
  DM s(setting);
  const int n = entries(s);
  r_ = DM(n, 1);
  for (int k = 1; k <= n; ++k) r_(k, 1) = (s(k) == 0.0 ? 1.0 : 0.0) * 1e6 + 0.001;
}

void topology_table::key_into(const DM& setting, std::string& key) const {
  const int n = entries(setting);
  key.assign(n, '0');
  for (int k = 1; k <= n; ++k)
    if (setting.at(k) != 0.0) key[k - 1] = '1';
}

namespace {

// Switch k on sets bit k - 1 (settings of up to 64 switches).
std::uint64_t bits_of(const DM& setting) {
  std::uint64_t bits = 0;
  for (int k = 1; k <= entries(setting); ++k)
    if (setting.at(k) != 0.0) bits |= std::uint64_t{1} << (k - 1);
  return bits;
}

}  // namespace

// Settings have nsw_ entries here. Up to 64 switches a setting's number is its key;
// beyond, its on/off text, built in a kept buffer. Neither allocates on a lookup.
int topology_table::find_index(const DM& setting) {
  if (nsw_ <= 64) {
    auto it = bits_index_.find(bits_of(setting));
    return it == bits_index_.end() ? 0 : it->second;
  }
  key_into(setting, key_);
  auto it = index_.find(key_);
  return it == index_.end() ? 0 : it->second;
}

void topology_table::remember(const DM& setting, int record) {
  if (nsw_ <= 64) {
    bits_index_[bits_of(setting)] = record;
  } else {
    key_into(setting, key_);
    index_[key_] = record;
  }
}

void topology_table::reduce_system() {
  // H = [Zv Qc', Zi Bf'] over z; real part = algebraic, imaginary part = d/dt. The
  // switch diagonal of Zi is left out here and added per setting (switch_system). Each
  // sum runs over the branches in ascending order, as a dense product would.
  H0base_ = SM(nb_, nb_);
  H1_ = SM(nb_, nb_);
  std::vector<char> is_sw(nb_, 0);
  for (int z : sw_zrow_) is_sw[z] = 1;
  std::vector<double> re(nb_, 0.0), im(nb_, 0.0);
  std::vector<char> used(nb_, 0);
  std::vector<int> touched;
  for (int r = 0; r < nb_; ++r) {
    touched.clear();
    auto add = [&](const SM& Z, const SM& MT, int offset, std::vector<double>& acc, bool skip_sw) {
      for (const sp_entry& z : Z.row(r)) {
        if (skip_sw && z.col == r && is_sw[r]) continue;
        for (const sp_entry& q : MT.row(z.col)) {
          const int c = offset + q.col;
          if (!used[c]) {
            used[c] = 1;
            touched.push_back(c);
          }
          acc[c] += z.val * q.val;
        }
      }
    };
    add(Zv_.re, QcT_, 0, re, false);
    add(Zv_.im, QcT_, 0, im, false);
    add(Zi_.re, BfT_, nt_, re, true);
    add(Zi_.im, BfT_, nt_, im, true);
    std::sort(touched.begin(), touched.end());
    for (int c : touched) {
      if (re[c] != 0.0) H0base_.row(r).push_back({c, re[c]});
      if (im[c] != 0.0) H1_.row(r).push_back({c, im[c]});
      re[c] = im[c] = 0.0;
      used[c] = 0;
    }
  }
  switch_system();
}

void topology_table::switch_system() { assemble(tableau_); }

void topology_table::assemble(SM& T) const {
  const int rows = nout_ + nb_, cols = nout_ + 2 * nb_ + m_;
  T = SM(rows, cols);
  for (int o = 0; o < nout_; ++o) {
    std::vector<sp_entry>& row = T.row(o);
    row.push_back({o, 1.0});
    for (const sp_entry& e : Q_.row(o)) row.push_back({nout_ + nb_ + zinv_[e.col], -e.val});
  }
  for (int b = 0; b < nb_; ++b) {
    std::vector<sp_entry>& row = T.row(nout_ + b);
    for (const sp_entry& e : H1_.row(b)) row.push_back({nout_ + zinv_[e.col], e.val});
    for (const sp_entry& e : H0base_.row(b)) row.push_back({nout_ + nb_ + zinv_[e.col], e.val});
  }
  for (int j = 0; j < m_; ++j) T.row(nout_ + sel_[j]).push_back({nout_ + 2 * nb_ + j, -1.0});
  T.sort_rows();
  // v_s - r i_s = 0 for each switch: its current is the s-th row of Bf'.
  for (int n = 0; n < nsw_; ++n) {
    const int s = sw_zrow_[n];
    const double rn = n < r_.rows ? DM(r_)(n + 1, 1) : 0.0;
    for (const sp_entry& e : BfT_.row(s)) {
      if (e.val == 0.0) continue;
      const int col = nout_ + nb_ + zinv_[nt_ + e.col];
      T.set(nout_ + s, col, T.get(nout_ + s, col) - rn * e.val);
    }
  }
}

int topology_table::derive_state_eqns(SM tableau, std::vector<std::string> names, int first) {
  topology& rec = *records_.back();
  try {
    tableau_reduce(std::move(tableau), nout_, m_, names, rec.A, rec.B, rec.C, rec.D);
  } catch (const char* text) {
    if (text == sources_only_row) refuse_sources_alone(text);
    throw;
  }
  source_laws(rec);
  if (first) {
    state_names_ = names;
    write_names("states.dat", names, "Can't open states.dat file");
  } else if (names != state_names_) {
    // Switches are resistors in every setting, so the states never change; a different
    // set means the numbers, not the network, decided.
    throw_text("Internal simulation problem.  The states of a switch setting differ from the first.");
  }
  return 2;
}

topology* topology_table::new_topology() {
  records_.push_back(std::make_unique<topology>());
  return records_.back().get();
}

void topology_table::select_switches() {
  sw_zrow_.clear();
  for (int n = 1; n <= nsw_; ++n) sw_zrow_.push_back(zpos_[static_cast<int>(sw_branch_(n, 1)) - 1]);
}

topology* topology_table::first_eqns(const DM& setting, double h, DM& drive_outputs, DM& drive_pos,
                                     double& gain) {
  set_resistances(setting);
  stamp_elements(drive_outputs, gain);
  if (r_.rows != nsw_)
    throw_text("Internal simulation problem.  swinit has " + std::to_string(r_.rows) +
               " entries for " + std::to_string(nsw_) + " switches.");
  source_eqns();
  select_switches();
  reduce_system();
  new_topology();
  std::vector<std::string> names;
  for (int c : zcol_) names.push_back(var_names_[c]);
  derive_state_eqns(tableau_, names, 1);
  remember(setting, record_count());

  const int nc = static_cast<int>(candidates_.size());
  mask_ = zeros(1, nc);
  const bool all = static_cast<int>(state_names_.size()) == nc;
  for (int k = 0; k < nc; ++k) {
    bool hit = all;
    for (const std::string& s : state_names_) hit = hit || s == candidates_[k];
    mask_(1, k + 1) = hit ? 1.0 : 0.0;
  }
  if (!all) mask_.print("miss");

  topology* rec = records_.back().get();
  c2d_timed(rec->Phi, rec->Gamma, rec->A, rec->B, h);
  drive_pos = zeros(static_cast<int>(drive_pos_.size()), 1);
  for (size_t q = 0; q < drive_pos_.size(); ++q) drive_pos(q + 1, 1) = drive_pos_[q];
  return rec;
}

topology* topology_table::find_eqns(const DM& setting, double h) {
  // Every known setting has nsw_ entries.
  if (entries(setting) == nsw_)
    if (const int k = find_index(setting)) return records_[k - 1].get();
  // A switch without an entry would silently become a short.
  if (entries(setting) != nsw_)
    throw_text("Internal simulation problem.  The setting has " + std::to_string(entries(setting)) +
               " entries for " + std::to_string(nsw_) + " switches.");
  set_resistances(setting);
  switch_system();
  topology* rec = new_topology();
  std::vector<std::string> names;
  for (int c : zcol_) names.push_back(var_names_[c]);
  derive_state_eqns(tableau_, names, 0);
  c2d_timed(rec->Phi, rec->Gamma, rec->A, rec->B, h);
  remember(setting, record_count());
  return rec;
}

DM topology_table::initial_state(const DM& x0) const {
  DM x(x0), mask(mask_);
  const int ns = static_cast<int>(state_names_.size());
  DM out = zeros(ns, 1);
  int q = 0;
  for (int k = 1; k <= mask.cols && q < ns; ++k) {
    if (mask(1, k) != 1.0) continue;
    out(++q, 1) = k <= entries(x) ? x(k) : 0.0;
  }
  return out;
}

void c2d_timed(DM& Phi, DM& Gamma, const DM& A, const DM& B, double h) {
  timer_mark();
  const int n = A.rows, m = B.cols;
  if (n == 0) {
    Phi = DM(0, 0);
    Gamma = DM(0, m);
  } else if (m == 0) {
    Phi = expm(A * DM(h));
    Gamma = DM(n, 0);
  } else {
    c2d(Phi, Gamma, A, B, h);
  }
  timer_switch(9);
}
