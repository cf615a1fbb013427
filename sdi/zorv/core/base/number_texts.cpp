#include "sdi/zorv/core/base/number_texts.h"

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

namespace {

enum class ValueRead { Ok, NotANumber, OutOfRange };

ValueRead ParseValue(const std::string& text, double& value) {
  std::string t;
  for (char c : text)
    if (!IsBlank(c)) t += c;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  // A digit or point must start the number: from_chars would take "inf" and "nan".
  if (i == t.size() || !(std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == '.')) return ValueRead::NotANumber;
  const char* end = t.data() + t.size();
  double v = 0.0;
  const auto r = std::from_chars(t.data() + i, end, v);
  if (r.ec != std::errc() && r.ec != std::errc::result_out_of_range) return ValueRead::NotANumber;
  bool outOfRange = r.ec == std::errc::result_out_of_range || !std::isfinite(v);
  const char* p = r.ptr;
  if (p != end) {
    static const std::string kSuffixes = "afpnumkKMGT";
    static const int kExponents[] = {-18, -15, -12, -9, -6, -3, 3, 3, 6, 9, 12};
    const std::size_t s = kSuffixes.find(*p);
    if (s == std::string::npos) return ValueRead::NotANumber;
    const std::string number(t.data() + i, static_cast<std::size_t>(r.ptr - (t.data() + i)));
    std::string digits(p + 1, static_cast<std::size_t>(end - p - 1));
    for (char c : digits)
      if (!std::isdigit(static_cast<unsigned char>(c))) return ValueRead::NotANumber;
    // "4k7": the suffix is the decimal point of a whole number.
    if (!digits.empty() && number.find_first_not_of("0123456789") != std::string::npos) return ValueRead::NotANumber;
    if (number.find_first_of("eE") != std::string::npos) return ValueRead::NotANumber;  // "1e3k"
    const std::string scaled = number + (digits.empty() ? "" : "." + digits) + "e" + std::to_string(kExponents[s]);
    const auto rs = std::from_chars(scaled.data(), scaled.data() + scaled.size(), v);
    if (rs.ec != std::errc() && rs.ec != std::errc::result_out_of_range) return ValueRead::NotANumber;
    outOfRange = rs.ec == std::errc::result_out_of_range || !std::isfinite(v);
  }
  if (outOfRange) return ValueRead::OutOfRange;
  value = t[0] == '-' ? -v : v;
  return ValueRead::Ok;
}

}  // namespace

bool ReadValue(const std::string& text, double& value) { return ParseValue(text, value) == ValueRead::Ok; }

bool ValueOutOfRange(const std::string& text) {
  double v = 0.0;
  return ParseValue(text, v) == ValueRead::OutOfRange;
}

}  // namespace zorv
