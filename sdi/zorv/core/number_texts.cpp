#include "sdi/zorv/core/number_texts.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace zorv {

namespace {

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string NumberText(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 5);
  return std::string(buf, r.ptr);
}

double ReadPlainNumber(const std::string& text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p != end && IsBlank(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  // from_chars takes no sign of its own after ours, as atof would not.
  if (p == end || *p == '+' || *p == '-') return 0.0;
  double v = 0.0;
  const auto r = std::from_chars(p, end, v);
  if (r.ec == std::errc::result_out_of_range) {
    // As atof: too large is infinite, too small is 0.
    const std::string read(p, r.ptr);
    const std::size_t e = read.find_first_of("eE");
    const bool tiny = e != std::string::npos && e + 1 < read.size() && read[e + 1] == '-';
    v = tiny ? 0.0 : HUGE_VAL;
  } else if (r.ec != std::errc()) {
    return 0.0;
  }
  return negative ? -v : v;
}

bool ReadInteger(const std::string& text, long& value) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  const char* first = text.data() + b;
  if (b < e && *first == '+') ++first;
  const char* last = text.data() + e;
  if (first == last || *first == '+') return false;
  long v = 0;
  const auto r = std::from_chars(first, last, v);
  if (r.ec != std::errc() || r.ptr != last) return false;
  value = v;
  return true;
}

}  // namespace zorv
