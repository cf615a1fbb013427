// Switch settings without a unique solution end the run, at the start or at a switching.
#include <cstdio>
#include <string>

#include "simu/driver/driver.h"
#include "simu/base/messages.h"

bool transient_driver::setting_leaves_at_once() const {
  // A condition already crossed or a clock edge at the start switches within the first
  // instant, before the setting is used for a step; the switching is then checked.
  if (conds_) {
    const DM& list = candidates_.col();
    for (int q = 1; q <= static_cast<int>(list.n); ++q)
      if (cond_.present(list(q)) <= 0.0) return true;
  }
  return clocks_ && next_clock_ <= t_ + clock_tolerance;
}

void transient_driver::check_start_setting() const {
  if (rec_->fault.empty() || setting_leaves_at_once()) return;
  throw_text("The switch setting at the start has no unique solution: " + rec_->fault + "; run refused.\n");
}

void transient_driver::check_reached_setting() const {
  if (rec_->fault.empty()) return;
  char when[64];
  std::snprintf(when, sizeof when, "At t = %.8e s", t_);
  throw_text(std::string("Fatal Error : Switch Adjustment - No valid combination found!\n") + when +
             " the switch setting reached has no unique solution: " + rec_->fault + ".\n");
}
