// Selection of the unknowns of the periodic-steady-state methods.
#include "simu/pss_unknowns.h"

#include <cmath>

int is_sine_state(const std::string& name) {
  return name.rfind("V_Cs", 0) == 0 || name.rfind("I_Ls", 0) == 0;
}

std::vector<int> pss_unknowns(const std::vector<std::string>& state_names) {
  std::vector<int> unk;
  for (size_t k = 0; k < state_names.size(); ++k)
    if (!is_sine_state(state_names[k])) unk.push_back(static_cast<int>(k) + 1);
  return unk;
}

std::vector<int> all_states(int n_x) {
  std::vector<int> unk;
  for (int k = 1; k <= n_x; ++k) unk.push_back(k);
  return unk;
}

DM gather_states(const DM& x, const std::vector<int>& unk) {
  DM v(static_cast<int>(unk.size()), 1);
  for (size_t k = 0; k < unk.size(); ++k) v.blk->data[k] = x(unk[k]);
  return v;
}

void scatter_states(DM& x, const DM& v, const std::vector<int>& unk) {
  for (size_t k = 0; k < unk.size(); ++k) x(unk[k]) = v.blk->data[k];
}

int all_finite(const DM& A) {
  for (uint32_t k = 0; k < A.n; ++k)
    if (!std::isfinite(A.blk->data[k])) return 0;
  return 1;
}
