// Named bounds of the states and the clamp applied after each step.
#include "simu/base/console.h"
#include "simu/model/topology.h"

DM state_bounds(const std::vector<std::string>& states, const bound_list& stmin,
                const bound_list& stmax, double lo, double hi) {
  const int ns = static_cast<int>(states.size());
  DM b(ns, 2);
  for (int i = 1; i <= ns; ++i) {
    b(i, 1) = lo;
    b(i, 2) = hi;
  }
  auto apply = [&](const bound_list& list, int col) {
    for (const state_bound& e : list) {
      int hit = 0;
      for (int i = 0; i < ns && !hit; ++i)
        if (states[i] == e.name) hit = i + 1;
      if (hit)
        b(hit, col) = e.value;
      else
        sim_printf("ERROR: state does not exist: %s\n", e.name.c_str());
    }
  };
  apply(stmin, 1);
  apply(stmax, 2);
  return b;
}

void clamp_states(DM& x, const DM& bounds) {
  const int n = x.rows * x.cols;
  if (n > 0 && bounds.rows > 0 && bounds.cols < 2) bounds(1, 2);   // the checked path's message
  for (int i = 1; i <= n && i <= bounds.rows; ++i) {
    double& v = x.at(i);
    if (v > bounds.at(i, 2)) v = bounds.at(i, 2);
    if (v < bounds.at(i, 1)) v = bounds.at(i, 1);
  }
}
