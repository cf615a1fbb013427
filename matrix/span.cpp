// Ranges by repeated addition.
#include "matrix/span.h"

#include <cmath>
#include <cstdint>

DM span(double start, double end, double step) {
  // A quotient that is NaN, infinite or outside 32 bits counts as the most negative
  // 32-bit count; the test comes before any conversion, and the count is 64-bit.
  const double q = (end - start) / step;
  int64_t count = INT32_MIN;
  if (std::isfinite(q) && std::trunc(q) >= INT32_MIN && std::trunc(q) <= INT32_MAX)
    count = static_cast<int64_t>(std::trunc(q));
  count += 1;
  if (count < 0) matrix_fatal("Can not have negative size range", "span");
  DM R(1, count > INT32_MAX ? INT32_MAX : static_cast<int>(count));
  double v = start;
  for (int64_t k = 0; k < count; ++k) {
    R.blk->data[k] = v;
    v = v + step;
  }
  return R;
}

DM span(double start, double end) { return span(start, end, 1.0); }

DM span_by(double start, double step, double end) { return span(start, end, step); }
