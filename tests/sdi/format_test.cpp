#include "sdi/base/format.h"

#include <gtest/gtest.h>

#include <limits>

// Three significant digits (precision minus one, never below zero) and the
// prefix of the power of a thousand, which stops at the table's ends.
TEST(FormatEngineering, DigitsAndPrefixes) {
  const struct { double v; int precision; const char* text; } rows[] = {
      {1234.5, 3, " 1.23 k"}, {-0.00047, 3, "-470 u"}, {0.0, 3, " 0.00 "},    {1.0, 3, " 1.00 "},
      {47.0, 3, " 47.0 "},    {470.0, 3, " 470 "},     {470.0, 2, " 470 "},    {470.0, 1, " 470 "},
      {1e-6, 2, " 1.0 u"},    {10000.0, 2, " 10 k"},   {-2.2e9, 3, "-2.20 G"}, {1e-21, 3, " 0.00 a"},
      {5e15, 3, " 5000 T"},   {std::numeric_limits<double>::infinity(), 3, " inf T"},
  };
  for (const auto& r : rows) EXPECT_EQ(sdi::FormatEngineering(r.v, r.precision), r.text) << r.v << " " << r.precision;
  const std::string huge = sdi::FormatEngineering(1e300, 3);  // no fixed buffer to overflow
  EXPECT_EQ(huge.substr(0, 2), " 1");
  EXPECT_EQ(huge.size(), 1 + 289 + 2u);
}
