// Switch topologies of one run: the state-space model of each switch setting, derived
// once and kept.
//
//     topology_table tab(net);                        // net: model_netlist (model_rows.h),
//                                                     // kept alive as long as tab
//     DM drive_out, drive_pos; double gain = 0.0;
//     topology* r = tab.first_eqns(swinit, td, drive_out, drive_pos, gain);
//                                                     // writes "src.dat" and "states.dat"
//     DM x = tab.initial_state(x0);                   // x0 per candidate -> x per state
//     ... r = tab.find_eqns(setting, td);             // whenever the setting may change
//     if (int k = broken_law(*r, u))                  // whenever the setting or u changes
//       refuse(law_breach(*r, k, u, tab.source_names()));
//
// dx/dt = A x + B u, y = C x + D u; Phi, Gamma discretise A, B over the step h.
// States are the independent capacitor voltages (V) and inductor currents (A), named
// "V_" + capacitor, "I_" + inductor, in candidate order (capacitors then inductors, row
// order); time in s. A setting is a column (or row) of nsw entries in "S"/"D" row order,
// non-zero = on (0.001 ohm), 0 = off (1e6 + 0.001 ohm). Matrices are DM, 1-based.
// Failures of the network are thrown as plain text (const char*, static storage).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "matrix/dm.h"
#include "matrix/sparse.h"
#include "simu/model/model_rows.h"
#include "simu/input/sim_params.h"

// A law that the ideal network of a setting (on switches shorts, off switches open) puts
// on the independent sources: the source voltages around a loop of voltage sources and on
// switches sum to zero (KVL), the source currents through a cut of current sources and
// off switches sum to zero (KCL). Its terms are terms[first, last) of the record.
struct source_law {
  bool loop = true;           // KVL of a loop, else KCL of a cut
  int first = 0, last = 0;
  std::string elements;       // every element in the loop or cut, blank-separated
};
struct law_term {
  int at;                     // position in u, 0-based
  double sign;                // +1 or -1
};

struct topology {
  DM A, B, C, D, Phi, Gamma;
  // The laws of this setting that involve a source of u (sources outside u are 0). Where
  // u breaks one, the setting has no consistent solution, and the model above is only the
  // resistors' model of it.
  std::vector<source_law> laws;
  std::vector<law_term> terms;
};

// The first law of rec (1-based) that u breaks beyond 1e-9 of the largest source in it;
// 0 when u keeps them all. Allocates nothing.
int broken_law(const topology& rec, const DM& u);
// What law k of rec is and the values of u that break it; sources: the names of u.
std::string law_breach(const topology& rec, int k, const DM& u, const std::vector<std::string>& sources);

class topology_table {
public:
  explicit topology_table(const model_netlist& net);
  ~topology_table();
  topology_table(const topology_table&) = delete;
  topology_table& operator=(const topology_table&) = delete;

  // Builds everything for the initial setting and returns its record. drive_outputs gets
  // the output numbers that drive "#" sources, drive_pos the positions in u of the "#"
  // sources (columns, 1-based); gain is set only when the netlist has a "#M" source.
  topology* first_eqns(const DM& setting, double h, DM& drive_outputs, DM& drive_pos, double& gain);
  // The record of a setting, derived and discretised on first sight.
  topology* find_eqns(const DM& setting, double h);

  // The steps of first_eqns in their order (select_switches before reduce_system).
  void stamp_elements(DM& drive_outputs, double& gain);
  void source_eqns();
  void reduce_system();
  void switch_system();
  int derive_state_eqns(SM tableau, std::vector<std::string> names, int first);
  topology* new_topology();
  void select_switches();

  const std::vector<std::string>& state_names() const { return state_names_; }
  const std::vector<std::string>& candidates() const { return candidates_; }
  const std::vector<std::string>& switch_names() const { return switch_names_; }
  const std::vector<std::string>& source_names() const { return source_names_; }
  const std::vector<std::string>& variable_names() const { return var_names_; }
  const DM& initial_mask() const { return mask_; }
  const DM& source_values() const { return u0_; }
  const SM& tableau() const { return tableau_; }
  // Position in u (1-based) of each row of vgs, 0 where that source is not in u.
  const std::vector<int>& vgs_to_u() const { return vgs_to_u_; }
  // x0 per candidate (the netlist's "x0") reduced to the states of the first topology.
  DM initial_state(const DM& x0) const;
  int record_count() const { return static_cast<int>(records_.size()); }
  topology* record(int k) const { return records_[k - 1].get(); }
  int nb() const { return nb_; }
  int nt() const { return nt_; }
  int nl() const { return nl_; }
  int m() const { return m_; }
  int nsw() const { return nsw_; }

private:
  int branch_of(const std::string& name) const;   // 0-based branch in row order, -1 none
  void set_resistances(const DM& setting);
  void key_into(const DM& setting, std::string& key) const;
  int find_index(const DM& setting);   // record number, 0 when unknown
  void remember(const DM& setting, int record);
  void assemble(SM& T) const;
  // The source laws of the present setting (the resistances r_) into rec (topology_faults.cpp);
  // sources_alone: only the loops and cuts that hold sources and no switch.
  void source_laws(topology& rec, bool sources_alone = false) const;
  // Rethrows the derivation's "Warning check the circuit." naming a loop or cut of
  // sources alone, when there is one (topology_faults.cpp).
  [[noreturn]] void refuse_sources_alone(const char* text) const;

  const model_netlist& net_;
  std::vector<const model_row*> branches_;         // branch rows in row order
  std::vector<const model_row*> couplings_;        // "M" rows
  int nb_ = 0, nn_ = 0, nt_ = 0, nl_ = 0, nsw_ = 0, m_ = 0, nout_ = 0;
  std::vector<std::string> branch_names_;          // row order
  std::vector<std::string> switch_names_;
  std::vector<std::string> var_names_;             // z: "V_" tree, "I_" links
  std::vector<std::string> candidates_;
  std::vector<std::string> state_names_;
  std::vector<std::string> source_names_;
  // The derivation's matrices are sparse (a branch relation touches a few branches), so
  // that memory grows with the circuit, not with its square. 0-based; "z order" is tree
  // branches, then links.
  struct zcoef { SM re, im; };                     // complex coefficients, d/dt in im
  zcoef Zv_, Zi_;                                  // nb x nb: row order while stamping, z order after
  std::vector<double> vval_, ival_, vflag_, iflag_;   // per branch, row order
  std::vector<int> order_;                         // branches (row order) in priority order
  DM sw_branch_;                                   // branch number of each switch (row order)
  SM incidence_;                                   // nt x nb
  SM QcT_, BfT_;                                   // nb x nt, nb x nl: Qc', Bf' in z order
  DM r_;                                           // resistance per switch
  std::vector<int> sel_;                           // z position of each selected source
  SM Q_;                                           // nout x nb, output rows over z
  SM H0base_, H1_;                                 // switch-independent blocks, nb x nb
  DM u0_;
  DM mask_;
  SM tableau_;
  std::vector<int> zcol_;                          // derivation column order over z
  std::vector<int> zinv_;                          // tableau column (within a block) of each z
  std::vector<int> zpos_;                          // z position of each branch (row order)
  std::vector<int> sw_zrow_;                       // z position of each switch branch
  std::vector<int> vgs_to_u_;
  std::vector<int> drive_pos_;
  std::vector<std::unique_ptr<topology>> records_;
  std::unordered_map<std::uint64_t, int> bits_index_;   // setting's bits -> record number
  std::unordered_map<std::string, int> index_;     // setting key -> record (over 64 switches)
  std::string key_;                                // the key buffer of index_
};

// Phi, Gamma = c2d(A, B, h), the time charged to the "C2dd time" category. Accepts
// models without states or without sources.
void c2d_timed(DM& Phi, DM& Gamma, const DM& A, const DM& B, double h);

// Bounds of the states [lower upper] (ns x 2): the defaults lo, hi, replaced by every
// named entry of the two lists that matches a state name. Each entry that matches none
// is reported on standard output with its name; the run goes on.
DM state_bounds(const std::vector<std::string>& states, const bound_list& stmin,
                const bound_list& stmax, double lo, double hi);
// Clamps x in place: above upper -> upper, then below lower -> lower (lower wins).
void clamp_states(DM& x, const DM& bounds);
