// Whether a column holds only finite numbers, and where the first that is not stands.
//
//     if (!all_finite(x, y)) { int k = first_non_finite(x); ... }   // x(k): infinity or NaN
#pragma once

#include <cstdint>

#include "matrix/dm.h"

// x * 0 is 0 for every finite x and NaN for an infinity or a NaN: one pass without
// branches or allocation, inline because the driver asks after every step.
inline double finite_sum(const DM& v) {
  const double* d = v.blk->data;
  double acc = 0.0;
  for (std::uint32_t i = 0; i < v.n; ++i) acc += d[i] * 0.0;
  return acc;
}
inline bool all_finite(const DM& v) { return finite_sum(v) == 0.0; }
inline bool all_finite(const DM& a, const DM& b) { return finite_sum(a) + finite_sum(b) == 0.0; }

// 0 when every entry of v is finite, else the 1-based position of the first that is not.
int first_non_finite(const DM& v);
