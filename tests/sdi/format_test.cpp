#include "sdi/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FormatEngineering, Examples) {
  EXPECT_EQ(sdi::FormatEngineering(1234.5, 3), " 1.23 k");
  EXPECT_EQ(sdi::FormatEngineering(-0.00047, 3), "-470 u");
  EXPECT_EQ(sdi::FormatEngineering(0.0, 3), " 0.00 ");
}

TEST(FormatEngineering, PrecisionRule) {
  EXPECT_EQ(sdi::FormatEngineering(1.0, 3), " 1.00 ");     // 3, minus 1
  EXPECT_EQ(sdi::FormatEngineering(47.0, 3), " 47.0 ");    // 2, minus 1
  EXPECT_EQ(sdi::FormatEngineering(470.0, 3), " 470 ");    // 1, minus 1
  EXPECT_EQ(sdi::FormatEngineering(470.0, 2), " 470 ");    // 0 stays 0
  EXPECT_EQ(sdi::FormatEngineering(470.0, 1), " 470 ");    // never a negative precision
  EXPECT_EQ(sdi::FormatEngineering(1e-6, 2), " 1.0 u");
  EXPECT_EQ(sdi::FormatEngineering(10000.0, 2), " 10 k");
  EXPECT_EQ(sdi::FormatEngineering(-2.2e9, 3), "-2.20 G");
}

TEST(FormatEngineering, ScalingStopsAtTheTableEnds) {
  EXPECT_EQ(sdi::FormatEngineering(1e-21, 3), " 0.00 a");
  EXPECT_EQ(sdi::FormatEngineering(5e15, 3), " 5000 T");
  std::string huge = sdi::FormatEngineering(1e300, 3);  // no fixed buffer to overflow
  EXPECT_EQ(huge.substr(0, 2), " 1");
  EXPECT_EQ(huge.size(), 1 + 289 + 2u);
  EXPECT_EQ(sdi::FormatEngineering(std::numeric_limits<double>::infinity(), 3), " inf T");
}
