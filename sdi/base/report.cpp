#include "sdi/base/report.h"

#include <cstdarg>
#include <cstdio>

namespace sdi {

error_fn error_hook = default_error_hook;
message_fn message_box_hook = default_message_box;

void default_error_hook(const char* format, ...) {
  char text[80];  // longer messages are cut
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  show_message(text);
}

void default_message_box(const char* text) { std::fprintf(stderr, "%s\n", text); }

void show_message(const char* text) {
  if (message_box_hook) message_box_hook(text ? text : "");
}

}  // namespace sdi
