// Switch settings whose ideal network the sources' present values make inconsistent end
// the run, at the start, at a switching or at a source step.
#include <cstdio>
#include <string>

#include "simu/driver/driver.h"
#include "simu/base/messages.h"

bool transient_driver::setting_leaves_at_once() const {
  // A condition already crossed or a clock edge at the start switches within the first
  // instant, before the setting is used for a step; the switching is then checked. A
  // condition at exactly 0 only touches zero (an idle diode) and switches nothing.
  if (conds_) {
    const DM& list = candidates_.col();
    for (int q = 1; q <= static_cast<int>(list.n); ++q)
      if (cond_.present(list(q)) < 0.0) return true;
  }
  return clocks_ && next_clock_ <= t_ + clock_tolerance;
}

void transient_driver::check_start_setting() const {
  const int law = broken_law(*rec_, u_);
  if (law == 0 || setting_leaves_at_once()) return;
  throw_text("The switch setting at the start has no consistent solution: " +
             law_breach(*rec_, law, u_, topo_.source_names()) + "; run refused.\n");
}

void transient_driver::check_reached_setting() const {
  const int law = broken_law(*rec_, u_);
  if (law == 0) return;
  // The first instant's switching (a condition crossed or an edge at the start) is taken
  // no later than the search's shortest step: that is still the start.
  char when[64];
  if (t_ <= 1e-10)
    std::snprintf(when, sizeof when, "At the start");
  else
    std::snprintf(when, sizeof when, "At t = %.8e s", t_);
  // What brought the setting: the adjustment after a crossing, a clock edge or a source
  // step, or without conditions the edge or step itself.
  const char* cause = clock_applies_ && event_applies_ ? "a clock edge and a source step"
                      : clock_applies_                 ? "a clock edge"
                      : event_applies_                 ? "a source step"
                      : code_ == code_crossing         ? "a switching condition"
                                                       : nullptr;
  std::string what;
  if (conds_)
    what = (cause ? std::string(", after ") + cause + "," : std::string()) +
           " the switch adjustment settled on a setting that has no consistent solution: ";
  else if (clock_applies_)
    what = std::string(" ") + cause + " forced a switch setting that has no consistent solution: ";
  else if (event_applies_)
    what = " a source step left the switch setting without a consistent solution: ";
  else
    what = " the switch setting has no consistent solution: ";
  throw_text(when + what + law_breach(*rec_, law, u_, topo_.source_names()) + ".\n");
}
