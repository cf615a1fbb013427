// libFuzzer target for the engine beyond its reader: a netlist that reads goes on to
// model derivation and a transient run bounded to a few hundred steps (tsim capped
// from td and from the clock periods). Every input must end in a finished run or a thrown text, never a crash, a
// hang, a sanitizer report, or a result table or state file holding a non-finite
// number. Built and run by the ./fuzz script, in a scratch folder of its own (the run
// writes its table, state file, "states.dat" and "src.dat" into the current folder),
// removed at exit.
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "simu/base/console.h"
#include "simu/input/netlist.h"
#include "simu/input/options.h"
#include "simu/driver/run_checks.h"
#include "simu/base/run_services.h"
#include "simu/input/run_settings.h"
#include "simu/driver/sim_main.h"
#include "simu/input/sim_params.h"
#include "simu/input/table_checks.h"
#include "simu/base/stopwatch.h"

namespace {

constexpr double max_steps = 300.0;

int quiet(std::FILE*, const char*, std::va_list) { return 0; }

class quiet_services : public run_services {
public:
  int message_box(const char*, box_style) override { return 1; }
  void simulation_done(const char*) override {}
};

char scratch[] = "/tmp/zorv-engine-fuzz-XXXXXX";

// The folder and what the runs left in it go when the fuzzer exits normally.
void remove_scratch_folder() {
  std::error_code ec;
  std::filesystem::remove_all(scratch, ec);
}

void enter_scratch_folder() {
  if (!mkdtemp(scratch) || chdir(scratch) != 0) std::abort();
  std::atexit(remove_scratch_folder);
  if (!std::freopen("/dev/null", "w", stdout)) std::abort();   // the matrix library's prints
  sim_print.vfprintf_fn = quiet;
  static quiet_services services;
  set_main_window(&services);
}

// A written file must not hold "nan" or "inf" (the table prints "% E", the state file "%.16e").
// The table's first line holds the output names, which may spell anything.
void check_no_non_finite(const char* file, bool names_first) {
  std::ifstream in(file);
  std::string word;
  if (names_first) std::getline(in, word);
  while (in >> word) {
    std::string low = word;
    std::transform(low.begin(), low.end(), low.begin(), [](unsigned char c) { return std::tolower(c); });
    if (low.find("nan") != std::string::npos || low.find("inf") != std::string::npos) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = (enter_scratch_folder(), true);
  (void)ready;
  std::FILE* f = std::fopen("fuzz.m", "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::remove("fuzz.plt");
  std::remove("fuzz.ini");

  static char infile[] = "fuzz.m", outfile[] = "fuzz.plt";
  sim_options = option_store();
  sim_options.infile = infile;
  sim_options.outfile = outfile;
  run_start_si = 0.0;
  run_finish_si = 1e300;
  run_ssmethod = 1 + static_cast<int>(size % 4);   // each method in turn
  run_cycles_togo = 0;

  sim_params p;
  current_params = &p;
  timer_init(timer_labels);
  try {
    read_netlist(infile, &p);
    // The netlist's own flags stand in for the options; no state file is loaded.
    p.steady = p.steady != 0;
    p.stop_close = 0;
    p.one_c = 0;
    p.ld = 0;
    // A few hundred steps, and as many edges of the fastest clock.
    if (p.td > 0.0) p.tsim = std::min(p.tsim, max_steps * p.td);
    for (int r = 1; p.tmd.cols >= 3 && r <= p.tmd.rows; ++r)
      if (p.tmd(r, 2) > 0.0) p.tsim = std::min(p.tsim, max_steps * p.tmd(r, 2));
    check_run_length(p.tsim, p.td, p.tmd);
    check_netlist_tables(p);
    sim_main();
  } catch (const char*) {
  }
  current_params = nullptr;
  free_netlist();
  check_no_non_finite("fuzz.plt", true);
  check_no_non_finite("fuzz.ini", false);
  return 0;
}
