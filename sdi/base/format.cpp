#include "sdi/base/format.h"

#include <cmath>
#include <cstdio>

namespace sdi {

std::string FormatEngineering(double value, int digits) {
  static const char* const prefixes[11] = {"a", "f", "p", "n", "u", "m", "", "k", "M", "G", "T"};
  double m = std::fabs(value);
  int i = 6;
  while (m != 0 && m < 1.0 && i > 0) {
    m *= 1000;
    --i;
  }
  while (m != 0 && m >= 1000.0 && i < 10) {
    m /= 1000;
    ++i;
  }
  int precision = m >= 100 ? digits - 2 : m >= 10 ? digits - 1 : digits;
  if (precision >= 1) --precision;
  if (precision < 0) precision = 0;  // a negative precision would mean six decimals
  const char sign = value >= 0.0 ? ' ' : '-';
  int n = std::snprintf(nullptr, 0, "%c%.*f %s", sign, precision, m, prefixes[i]);
  if (n < 0) return std::string();
  std::string out(static_cast<std::size_t>(n), '\0');
  std::snprintf(out.data(), out.size() + 1, "%c%.*f %s", sign, precision, m, prefixes[i]);
  return out;
}

}  // namespace sdi
