// Exact propagation of a topology's model over steps of any length, through the modal
// (eigen) decomposition of its A, built once per topology record.
//
//     mode_cache cache;
//     cache.propagate(x, x0, u, *rec, dt, 0);     // x = state dt after x0, u held constant
//     cache.propagate(x, x0, u, *rec, dt2, 1);    // same rec, x0, u: coefficients reused
//
// With A = V diag(l) V^-1 and w_k the rows of V^-1:
//     x(t) = sum_k v_k [ e^(l_k t) (w_k x0) + t phi1(l_k t) (w_k B u) ],  phi1(z) = (e^z - 1)/z
// so zero and near-zero eigenvalues (integrators) are carried without division by them;
// a complex pair is stored once and counted twice through its real part. When eig fails
// or V is ill-conditioned (cond1 > 1e10, defective A), the entry falls back to c2d over
// each dt. dt = 0 returns x0 exactly. States in V and A, time in s; vectors are DM
// columns (1-based); x may be the same matrix as x0. Nothing is allocated per call once
// x has its size, except on the fallback path.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "matrix/dm.h"
#include "simu/model/topology.h"

class mode_cache {
public:
  mode_cache();
  ~mode_cache();
  mode_cache(const mode_cache&) = delete;
  mode_cache& operator=(const mode_cache&) = delete;

  // reuse != 0 keeps the entry and coefficients of the previous call, which must have
  // had the same record, x0 and u.
  void propagate(DM& x, const DM& x0, const DM& u, const topology& rec, double dt, int reuse);
  // Decomposes rec.A; the new entry becomes current.
  void build_entry(const topology& rec);
  // Frees every entry.
  void clear();

  int entries() const { return static_cast<int>(map_.size()); }
  int builds() const { return builds_; }
  int recomputations() const { return recomputations_; }
  int propagations() const { return propagations_; }
  // Whether rec's entry uses the modal form (false: c2d fallback). Builds it if needed.
  bool modal(const topology& rec);

private:
  struct entry;
  std::unordered_map<const topology*, std::unique_ptr<entry>> map_;
  entry* current_ = nullptr;
  int builds_ = 0, recomputations_ = 0, propagations_ = 0;
  std::vector<double> xw_, bu_;
};
