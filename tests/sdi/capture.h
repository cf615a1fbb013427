// Test helpers: capture the model's error and message hooks, and read back
// what a stream wrote.
//
//     Capture cap;                      // installs capturing hooks, restores on exit
//     ... call the model ...
//     EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/elements/elist.cpp: Internal Assertion"}));
//
// Internal reports are recorded in errors as "<file>: <kind>" with the line number
// left out, since it follows the source file; reports keeps them whole.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "sdi/base/report.h"

struct Capture {
  static inline std::vector<std::string>* errors_ptr = nullptr;
  static inline std::vector<std::string>* messages_ptr = nullptr;
  static inline std::vector<std::string>* reports_ptr = nullptr;

  std::vector<std::string> errors;
  std::vector<std::string> messages;
  std::vector<std::string> reports;
  sdi::error_fn old_error;
  sdi::message_fn old_message;

  Capture() : old_error(sdi::error_hook), old_message(sdi::message_box_hook) {
    errors_ptr = &errors;
    messages_ptr = &messages;
    reports_ptr = &reports;
    sdi::error_hook = &on_error;
    sdi::message_box_hook = &on_message;
  }
  ~Capture() {
    sdi::error_hook = old_error;
    sdi::message_box_hook = old_message;
    errors_ptr = nullptr;
    messages_ptr = nullptr;
    reports_ptr = nullptr;
  }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  static void on_error(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string s(text);
    if (reports_ptr) reports_ptr->push_back(s);
    // "sdi/elements/elist.cpp, 123: Internal Assertion" -> "sdi/elements/elist.cpp: Internal Assertion"
    auto comma = s.find(", ");
    auto colon = s.find(": ", comma == std::string::npos ? 0 : comma);
    if (comma != std::string::npos && colon != std::string::npos) s = s.substr(0, comma) + s.substr(colon);
    if (errors_ptr) errors_ptr->push_back(s);
  }
  static void on_message(const char* text) {
    if (messages_ptr) messages_ptr->push_back(text);
  }
};

// Everything written to a temporary stream, as bytes.
inline std::vector<unsigned char> stream_bytes(std::FILE* f) {
  std::vector<unsigned char> out;
  std::fflush(f);
  long end = std::ftell(f);
  std::rewind(f);
  for (long i = 0; i < end; ++i) out.push_back(static_cast<unsigned char>(std::fgetc(f)));
  return out;
}
