#include "simu/base/exact_number.h"

#include <charconv>

std::string exact_number(double v, number_form form, int least_precision) {
  const bool scientific = form == number_form::scientific;
  const std::chars_format format = scientific ? std::chars_format::scientific : std::chars_format::general;
  const int most = scientific ? 16 : 17;  // 17 significant digits always read back
  char buf[64];
  for (int precision = least_precision;; ++precision) {
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, format, precision);
    if (ec != std::errc()) return std::string();
    double back = 0.0;
    const auto read = std::from_chars(buf, end, back);
    if (precision >= most || (read.ec == std::errc() && back == v)) return std::string(buf, end);
  }
}
