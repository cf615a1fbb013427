// The example circuits open and run end to end to their closed-form answers.
#include <gtest/gtest.h>

#include <cmath>

#include "plt_table.h"
#include "run_launch_circuits.h"
#include "sdi/launcher.h"
#include "simu/recording_run_services.h"

namespace {

std::string example(const std::string& file) { return std::string(ZORV_TEST_DATA) + "/../../../examples/" + file; }

// Opens an example and runs it in a fresh folder; the result table.
Table run_example(const std::string& file, const std::string& base, bool steady, double tsim = 0.0) {
  Capture cap;
  recording_run_services host;
  main_window_scope scope(host);
  EXPECT_EQ(sdi::open_circuit_file(example(file)), sdi::circuit_read);
  base_name = base;
  if (tsim > 0.0) run_tsim = run_finish_si = tsim;
  run_ss = steady ? 1 : 0;
  run_ssmethod = 1;
  EXPECT_EQ(sdi::run_simulation(), 1);
  EXPECT_TRUE(cap.messages.empty());
  return read_plt(base + ".plt");
}

}  // namespace

TEST(Examples, RcFollowsItsExponential) {
  TempDir dir;
  CircuitGuard guard;
  SettingsGuard settings;
  Table t = run_example("rc.ckt", "rc", false);
  ASSERT_EQ(t.header, (std::vector<std::string>{"Time", "VP1"}));
  ASSERT_GT(t.rows.size(), 400u);
  for (const auto& row : t.rows) EXPECT_NEAR(row[1], 10.0 * (1.0 - std::exp(-row[0] / 1e-3)), 1e-5) << row[0];
}

// Peak rectifier from rest: the output follows the source until the diode
// current C v' + v / R reaches zero (omega t = pi - atan(omega R C)), then
// decays with R C until the source climbs back to it.
TEST(Examples, RectifierFollowsThePeakRectifierWaveform) {
  TempDir dir;
  CircuitGuard guard;
  SettingsGuard settings;
  Table t = run_example("rectifier.ckt", "rectifier", false);
  ASSERT_EQ(t.header.size(), 2u);
  ASSERT_GT(t.rows.size(), 3000u);
  const double pi = 4.0 * std::atan(1.0), w = 2.0 * pi * 50.0, T = 0.02, RC = 100.0 * 1e-4;
  auto vs = [&](double x) { return 10.0 * std::sin(w * x); };
  const double toff0 = (pi - std::atan(w * RC)) / w;
  const double voff = vs(toff0);
  auto expected = [&](double x) {
    if (x < toff0) return vs(x);
    const double tk = toff0 + std::floor((x - toff0) / T) * T;
    auto decay = [&](double y) { return voff * std::exp(-(y - tk) / RC); };
    double lo = tk - toff0 + T, hi = lo + T / 4;  // the source climbs back within this quarter
    for (int i = 0; i < 100; ++i) {
      double mid = 0.5 * (lo + hi);
      (vs(mid) < decay(mid) ? lo : hi) = mid;
    }
    return x < lo ? decay(x) : vs(x);
  };
  for (const auto& row : t.rows) EXPECT_NEAR(row[1], expected(row[0]), 2e-3) << row[0];
}
