// span: counts, repeated addition, argument orders and the refusal of bad ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "fatal_expect.h"
#include "matrix/span.h"

namespace {

TEST(Span, QuarterSteps) {
  DM r = span(1.0, 2.0, 0.25);
  ASSERT_EQ(r.rows, 1);
  ASSERT_EQ(r.cols, 5);
  const double w[] = {1.0, 1.25, 1.5, 1.75, 2.0};
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(r(k), w[k - 1]);
}

TEST(Span, RepeatedAddition) {
  DM r = span(0.0, 1.0, 0.1);
  ASSERT_EQ(r.cols, 11);
  EXPECT_EQ(r(11), 0.9999999999999999);  // ten additions of 0.1, not 10 * 0.1
  EXPECT_EQ(r(4), 0.30000000000000004);
}

TEST(Span, OtherArgumentForms) {
  DM a = span(1.0, 4.0);
  ASSERT_EQ(a.cols, 4);
  EXPECT_EQ(a(4), 4.0);
  DM b = span_by(0.0, 0.5, 2.0);
  ASSERT_EQ(b.cols, 5);
  EXPECT_EQ(b(5), 2.0);
}

TEST(Span, EmptyAndNegativeCounts) {
  DM e = span(2.0, 1.0, 1.0);
  EXPECT_EQ(e.rows, 1);
  EXPECT_EQ(e.cols, 0);
  EXPECT_FATAL(span(3.0, 1.0, 1.0), "Can not have negative size range", "span");
  EXPECT_FATAL(span(0.0, 1.0, 0.0), "Can not have negative size range", "span");
  EXPECT_FATAL(span(0.0, 1.0, std::nan("")), "Can not have negative size range", "span");
  EXPECT_FATAL(span(0.0, std::numeric_limits<double>::infinity(), 1.0),
               "Can not have negative size range", "span");
  EXPECT_FATAL(span(0.0, 1e20, 1.0), "Can not have negative size range", "span");
}

TEST(Span, LivesBesideTheStandardSpan) {
  std::vector<double> xs{1.0, 2.0};
  std::span<const double> s(xs);
  DM r = span(s[0], s[1]);
  EXPECT_EQ(r.cols, 2);
}

TEST(Span, CountsBeyondTheMatrixLimit) {
  EXPECT_FATAL(span(0.0, 15000.0, 1.0), "rows,cols out of range allowed", "construct DM(r,c)");
  EXPECT_FATAL(span(0.0, 2147483647.0, 1.0), "rows,cols out of range allowed",
               "construct DM(r,c)");
  DM r = span(1.0, 15000.0, 1.0);
  EXPECT_EQ(r.cols, 15000);
  EXPECT_EQ(r(15000), 15000.0);
}

}  // namespace
