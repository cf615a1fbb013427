// Puts the process-wide run settings back as the program started with them before
// every test, so that a test binary run as one process (not test by test through
// CTest) gives every test the start values it expects.
//
// Register once per test binary, from a .cpp of that binary:
//     static const bool registered = register_run_settings_reset();
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "simu/input/run_settings.h"

struct run_settings_values {
  double tsim, td, start_si, finish_si, sstol_f, sstol_c;
  int points, sv, ld, nclkss, stop_close, cycles_togo, ssmethod, none_c, ss, one_c;
  std::string base;

  static run_settings_values take() {
    return {run_tsim,    run_td,   run_start_si,    run_finish_si, run_sstol_f,  run_sstol_c,
            run_points,  run_sv,   run_ld,          run_nclkss,    run_stop_close, run_cycles_togo,
            run_ssmethod, run_none_c, run_ss,       run_one_c,     base_name};
  }
  void put_back() const {
    run_tsim = tsim, run_td = td, run_start_si = start_si, run_finish_si = finish_si;
    run_sstol_f = sstol_f, run_sstol_c = sstol_c, run_points = points, run_sv = sv, run_ld = ld;
    run_nclkss = nclkss, run_stop_close = stop_close, run_cycles_togo = cycles_togo;
    run_ssmethod = ssmethod, run_none_c = none_c, run_ss = ss, run_one_c = one_c, base_name = base;
  }
};

// Takes its snapshot when the first test starts (after every static initialiser ran).
class run_settings_reset : public ::testing::EmptyTestEventListener {
public:
  void OnTestStart(const ::testing::TestInfo&) override {
    if (!taken_) {
      start_ = run_settings_values::take();
      taken_ = true;
    }
    start_.put_back();
  }

private:
  bool taken_ = false;
  run_settings_values start_{};
};

inline bool register_run_settings_reset() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new run_settings_reset);
  return true;
}
