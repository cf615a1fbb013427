#include "simu/base/control_characters.h"

#include <cstdio>

bool is_control_character(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u <= 0x1f || u == 0x7f;
}

bool has_control_character(const std::string& name) {
  for (char c : name)
    if (is_control_character(c)) return true;
  return false;
}

std::string shown_name(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (!is_control_character(c)) {
      out += c;
      continue;
    }
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
        out += hex;
      }
    }
  }
  return out;
}
