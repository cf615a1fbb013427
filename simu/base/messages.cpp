#include "simu/base/messages.h"

#include "simu/base/run_services.h"
#include "simu/base/stopwatch.h"

// A box waits for the user ("Steady state reached!" mid-run): that wait is no part of
// any time the run reports.
int engine_box(const char* text, box_style style) {
  user_wait wait;
  return main_window().message_box(text, style);
}

int error_box(const char* text) {
  engine_box(text, box_style::plain);
  return 0;
}

int info_box(const char* text) { return engine_box(text, box_style::information); }

void throw_text(const std::string& text) {
  static std::string thrown;
  thrown = text;
  throw static_cast<const char*>(thrown.c_str());
}
