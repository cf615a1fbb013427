#include "simu/input/x0_warnings.h"

#include "simu/base/console.h"

// Each line starts with its line end, as the setup's own messages that follow do.

void warn_ignored_x0(const DM& x0, const DM& mask, const std::vector<std::string>& candidates) {
  const int given = static_cast<int>(x0.n);
  const int nc = static_cast<int>(candidates.size());
  for (int k = 1; k <= given && k <= nc; ++k) {
    const bool state = k <= static_cast<int>(mask.n) && mask(k) == 1.0;
    if (!state && x0(k) != 0.0)
      sim_fprintf(stderr, "\nWarning: x0 value %g of %s is ignored: it is not an independent state.", x0(k),
                  candidates[k - 1].c_str());
  }
}
