// The end of a run whose state or outputs stopped being finite.
#include <cstdio>
#include <string>

#include "simu/driver/driver.h"
#include "simu/driver/finite_check.h"
#include "simu/base/messages.h"
#include "simu/input/options.h"

void transient_driver::stop_non_finite(double t) {
  const int bad_x = first_non_finite(x_);
  const int bad_y = bad_x ? 0 : first_non_finite(y_);
  std::string what;
  double value = 0.0;
  if (bad_x) {
    const auto& names = topo_.state_names();
    what = "state " + (bad_x <= static_cast<int>(names.size()) ? names[bad_x - 1] : std::to_string(bad_x));
    value = x_(bad_x);
  } else {
    what = "output " + (bad_y <= static_cast<int>(net_.outputs.size())
                            ? std::string(1, net_.outputs[bad_y - 1].kind) + " " + net_.outputs[bad_y - 1].name
                            : std::to_string(bad_y));
    value = y_(bad_y);
  }
  // The table keeps the rows up to the last finite one; no state file is written, so a
  // later run cannot load these numbers.
  out_->write_all(sim_options.outfile);
  char text[160];
  std::snprintf(text, sizeof text, "Simulation stopped at t = %.8e s: %s is not finite (%g).\n", t, what.c_str(),
                value);
  throw_text(text);
}
