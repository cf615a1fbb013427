// The library's error handlers and its printf.
#include "matrix/dm.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
// The thrown text must outlive the throwing frame: it lives here until the next fatal
// error. Long file names are cut at the buffer's end rather than overflowing it.
char fatal_text[4096];
}  // namespace

void fatal_error(const char* a, const char* b) {
  std::printf("Fatal Error : %s - %s\n", a, b);
  std::fflush(stdout);   // the line must be out before the run unwinds
  std::snprintf(fatal_text, sizeof fatal_text, "Fatal Error : %s - %s\n", a, b);
  throw static_cast<char*>(fatal_text);
}

void warning_msg(const char* a, const char* b) { std::printf("Warning : %s - %s\n", a, b); }

void note_msg(const char* a, const char* b) { std::printf("Note : %s - %s\n", a, b); }

matrix_error_handler matrix_error_handlers[3] = {fatal_error, warning_msg, note_msg};

void matrix_fatal(const char* msg, const char* where) {
  matrix_error_handlers[0](msg, where);
  std::abort();  // the Fatal handler never returns
}

int mat_printf(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  int r = std::vprintf(fmt, ap);
  va_end(ap);
  return r;
}
