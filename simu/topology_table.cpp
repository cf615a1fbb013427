// Tableau of a switch setting, its derivation, and the table of records per setting.
#include <cstdio>

#include "matrix/expm.h"
#include "matrix/matrix.h"
#include "simu/console.h"
#include "simu/messages.h"
#include "simu/name_file.h"
#include "simu/model_text.h"
#include "simu/tableau.h"
#include "simu/timers.h"
#include "simu/topology.h"

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
  // switch diagonal of Zi is left out here and added per setting (switch_system).
  H0base_ = zeros(nb_, nb_);
  H1_ = zeros(nb_, nb_);
  std::vector<char> is_sw(nb_, 0);
  for (int z : sw_zrow_) is_sw[z] = 1;
  for (int r = 1; r <= nb_; ++r) {
    for (int c = 1; c <= nt_; ++c) {
      double re = 0.0, im = 0.0;
      for (int k = 1; k <= nb_; ++k) {
        const double q = Qc_(c, k);
        if (q == 0.0) continue;
        re += Zv_(r, k).re * q;
        im += Zv_(r, k).im * q;
      }
      H0base_(r, c) = re;
      H1_(r, c) = im;
    }
    for (int c = 1; c <= nl_; ++c) {
      double re = 0.0, im = 0.0;
      for (int k = 1; k <= nb_; ++k) {
        const double b = Bf_(c, k);
        if (b == 0.0 || (k == r && is_sw[r - 1])) continue;
        re += Zi_(r, k).re * b;
        im += Zi_(r, k).im * b;
      }
      H0base_(r, nt_ + c) = re;
      H1_(r, nt_ + c) = im;
    }
  }
  switch_system();
}

void topology_table::switch_system() { assemble(tableau_); }

void topology_table::assemble(DM& T) const {
  const int rows = nout_ + nb_, cols = nout_ + 2 * nb_ + m_;
  T = zeros(rows, cols);
  DM Q(Q_), H0(H0base_), H1(H1_), U(U_), Bf(Bf_), r(r_);
  for (int o = 1; o <= nout_; ++o) {
    T(o, o) = 1.0;
    for (int q = 0; q < nb_; ++q) T(o, nout_ + nb_ + q + 1) = -Q(o, zcol_[q] + 1);
  }
  for (int b = 1; b <= nb_; ++b) {
    const int row = nout_ + b;
    for (int q = 0; q < nb_; ++q) {
      T(row, nout_ + q + 1) = H1(b, zcol_[q] + 1);
      T(row, nout_ + nb_ + q + 1) = H0(b, zcol_[q] + 1);
    }
    for (int j = 1; j <= m_; ++j) T(row, nout_ + 2 * nb_ + j) = -U(b, j);
  }
  // v_s - r i_s = 0 for each switch: its current is the s-th row of Bf'.
  for (int n = 0; n < nsw_; ++n) {
    const int s = sw_zrow_[n] + 1;
    const double rn = n < r.rows ? r(n + 1, 1) : 0.0;
    for (int q = 0; q < nb_; ++q) {
      const int z = zcol_[q];
      if (z < nt_) continue;
      const double b = Bf(z - nt_ + 1, s);
      if (b != 0.0) T(nout_ + s, nout_ + nb_ + q + 1) -= rn * b;
    }
  }
}

int topology_table::derive_state_eqns(DM tableau, std::vector<std::string> names, int first) {
  topology& rec = *records_.back();
  tableau_reduce(tableau, nout_, m_, names, rec.A, rec.B, rec.C, rec.D);
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
