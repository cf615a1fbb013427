// A save interval that ends before it starts keeps no samples and leaves the run itself
// as it is: the buck example ends in the same state as with the whole run saved.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "simu/driver_run.h"
#include "simu/recording_run_services.h"

namespace {

std::string example_buck() {
  std::ifstream in(std::string(ZORV_TEST_DATA) + "/netlists/buck.m");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(OutputWindowRun, InvertedSaveIntervalDoesNotChangeTheRun) {
  const std::string buck = example_buck();
  ASSERT_FALSE(buck.empty());
  std::vector<double> whole, inverted;
  {
    TempDir dir;
    write_text("buck.m", buck);
    recording_run_services host;
    main_window_scope scope(host);
    run_output r = run_simu({"-tsim", "1e-3", "buck.m", "buck.plt"}, 4, 0, 0.0, 1e-3);
    ASSERT_EQ(r.result, 1);
    whole = read_numbers("buck.ini");
  }
  {
    TempDir dir;
    write_text("buck.m", buck);
    recording_run_services host;
    main_window_scope scope(host);
    run_output r = run_simu({"-tsim", "1e-3", "buck.m", "buck.plt"}, 4, 0, 5e-4, 2e-4);
    ASSERT_EQ(r.result, 1);
    inverted = read_numbers("buck.ini");
    EXPECT_EQ(read_plt("buck.plt").rows.size(), 0u);
  }
  ASSERT_EQ(whole.size(), inverted.size());
  ASSERT_GE(whole.size(), 7u);
  EXPECT_EQ(inverted[0], whole[0]);   // the final time
  // The two states (V_C1, I_L1): the inverted window only adds one exact cut at 0.5 ms.
  EXPECT_NEAR(inverted[5], whole[5], 1e-9 * std::fabs(whole[5]));
  EXPECT_NEAR(inverted[6], whole[6], 1e-9 * std::fabs(whole[6]));
}

}  // namespace
