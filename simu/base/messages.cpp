#include "simu/base/messages.h"

#include "simu/base/run_services.h"
#include "simu/base/stopwatch.h"

namespace {

// A box waits for the user ("Steady state reached!" mid-run): that wait is no part of
// the run's reported time.
int box(const char* text, box_style style) {
  const std::uint64_t from = now_ms();
  const int answer = main_window().message_box(text, style);
  stopwatch_exclude(now_ms() - from);
  return answer;
}

}  // namespace

int error_box(const char* text) {
  box(text, box_style::plain);
  return 0;
}

int info_box(const char* text) { return box(text, box_style::information); }

void throw_text(const std::string& text) {
  static std::string thrown;
  thrown = text;
  throw static_cast<const char*>(thrown.c_str());
}
