#include "simu/base/messages.h"

#include <cstdarg>
#include <cstdio>

#include "simu/base/run_services.h"

void sim_message(const char* format, ...) {
  // Formatted for parity with the other hooks, then deliberately dropped.
  char buf[512];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
}

int error_box(const char* text) {
  main_window().message_box(text, box_style::plain);
  return 0;
}

int info_box(const char* text) { return main_window().message_box(text, box_style::information); }

int always_true() { return 1; }

void throw_text(const std::string& text) {
  static std::string thrown;
  thrown = text;
  throw static_cast<const char*>(thrown.c_str());
}
