// The headless services, in place until an application installs its own: boxes are
// printed to the console streams and dismissed at once with OK.
#include "simu/base/run_services.h"

#include <gtest/gtest.h>

#include <string>

#include "simu/base/messages.h"

TEST(HeadlessServices, ABoxIsPrintedAsOneLineAndAnsweredOk) {
  const struct { const char* text; bool info; const char* out; const char* err; int result; } rows[] = {
      {"Broyden:  Steady state reached!", false, "", "Broyden:  Steady state reached!\n", 0},
      {"two\nlines\n", false, "", "two\nlines\n", 0},
      {"", false, "", "\n", 0},
      {"Simulation completed!", true, "Simulation completed!\n", "", 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int result = r.info ? info_box(r.text) : error_box(r.text);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), r.out);
    EXPECT_EQ(err, r.err);
    EXPECT_EQ(result, r.result);
  }
}
