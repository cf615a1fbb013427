#include "simu/driver/finite_check.h"

#include <cmath>

int first_non_finite(const DM& v) {
  for (std::uint32_t i = 0; i < v.n; ++i)
    if (!std::isfinite(v.blk->data[i])) return static_cast<int>(i) + 1;
  return 0;
}
