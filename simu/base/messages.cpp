#include "simu/base/messages.h"

#include "simu/base/run_services.h"

int error_box(const char* text) {
  main_window().message_box(text, box_style::plain);
  return 0;
}

int info_box(const char* text) { return main_window().message_box(text, box_style::information); }

void throw_text(const std::string& text) {
  static std::string thrown;
  thrown = text;
  throw static_cast<const char*>(thrown.c_str());
}
