// A whole run whose initial switch setting contradicts its own conditions: the switching
// happens at the first instant instead of ending the run in a failed search.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/temp_dir.h"
#include "simu/driver_run.h"
#include "simu/recording_run_services.h"

namespace {

// V1 = -5 V drives R1 = 1 ohm and the diode D1, which starts on: its current is negative
// from the start, so its turn-off condition (g = i_D) is already below zero at t = 0.
// The port I01 measures the diode's voltage.
const char* const reverse_diode = R"(tsim = 1.0000e-05
td = 1.0000e-06
points = 100
swinit = [ 1 ]
Cy = [ 1.0  0.0
       -1.0 0.0 ]
Ct = [ 0 0 0 0
       0 0 0 0 ]
Csw = [ 1
        1 ]
Cc = [ 0
       0 ]
thon(1,:)=[  1   2];
thoff(1,:)=[  1   1];
X = [ 'V1  1 0 -5.0 ' % V1
      'R1  1 2 1.0 ' % R1
      'D1  2 0 0.0 ' % D1
      'I01 2 0 0.0 ' ] % Vd
Y = [ 'I D1 '
      'V I01 ' ] % Vd
numn = 3;
)";

TEST(InstantSearchRun, DiodeOnWithReverseCurrentTurnsOffAtTheStart) {
  TempDir dir;
  write_text("rev.m", reverse_diode);
  recording_run_services host;
  main_window_scope scope(host);
  run_output r = run_simu({"-tsim", "1e-5", "-td", "1e-6", "rev.m", "rev.plt"});
  ASSERT_EQ(r.result, 1) << r.out << r.err;
  EXPECT_TRUE(host.boxes.empty());
  plt_table t = read_plt("rev.plt");
  EXPECT_EQ(t.header, "Time Vd ");
  ASSERT_GE(t.rows.size(), 3u);
  const double on = -5.0 * 0.001 / (1.0 + 0.001);
  const double off = -5.0 * (1e6 + 0.001) / (1.0 + 1e6 + 0.001);
  EXPECT_EQ(t.rows[0][0], 0.0);
  EXPECT_NEAR(t.rows[0][1], on, 1e-8);
  // The first step is cut to the shortest length and the diode is off after it.
  EXPECT_NEAR(t.rows[1][0], 1e-10, 1e-18);
  EXPECT_NEAR(t.rows.back()[0], 1e-5, 1e-15);
  EXPECT_NEAR(t.rows.back()[1], off, 1e-5);
  // The state file holds the diode off.
  std::vector<double> ini = read_numbers("rev.ini");
  ASSERT_GE(ini.size(), 6u);
  EXPECT_EQ(ini[4], 0.0);
}

}  // namespace
