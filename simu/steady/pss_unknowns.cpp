// Selection of the unknowns of the periodic-steady-state methods.
#include "simu/steady/pss_unknowns.h"

#include <cmath>

#include "matrix/lu.h"

int is_sine_state(const std::string& name) {
  return name.rfind("V_Cs", 0) == 0 || name.rfind("I_Ls", 0) == 0;
}

std::vector<int> sine_partners(const std::vector<std::string>& state_names) {
  std::vector<int> partner(state_names.size(), 0);
  for (size_t k = 0; k < state_names.size(); ++k) {
    const std::string& name = state_names[k];
    if (!is_sine_state(name)) continue;
    const std::string other = (name[0] == 'V' ? "I_Ls" : "V_Cs") + name.substr(4);
    partner[k] = -1;
    for (size_t j = 0; j < state_names.size(); ++j)
      if (state_names[j] == other) partner[k] = static_cast<int>(j) + 1;
  }
  return partner;
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

int pss_solve(const DM& A, const DM& b, DM& x) {
  if (A.n == 0) {
    x = DM(0, 1);
    return 1;
  }
  if (!all_finite(A) || !all_finite(b)) return 0;
  double norm = 0.0;
  for (int j = 1; j <= A.cols; ++j) {
    double s = 0.0;
    for (int i = 1; i <= A.rows; ++i) s += std::fabs(A(i, j));
    norm = std::fmax(norm, s);
  }
  DLU lu(A);
  // rcond |A| estimates 1 / |A^-1|, the distance to the nearest singular matrix.
  if (!(lu.rcond >= 1e-12) || !(lu.rcond * norm >= 1e-10 * (1.0 + norm))) return 0;
  DM r = lu.solve(b);
  if (!all_finite(r)) return 0;
  x = r;
  return 1;
}
