#include "simu/finite_check.h"

#include <cmath>

int first_non_finite(const DM& v) {
  const int n = static_cast<int>(v.n);
  if (n == 0) return 0;
  const double* d = v.blk->data;
  // x * 0 is 0 for every finite x and NaN for an infinity or a NaN: one pass without
  // branches, the search only when something is wrong.
  double acc = 0.0;
  for (int i = 0; i < n; ++i) acc += d[i] * 0.0;
  if (acc == 0.0) return 0;
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(d[i])) return i + 1;
  return 0;
}
