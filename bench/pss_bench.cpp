// Time to periodic steady state of each method on the converter examples of the engine
// benchmark: Picard (cycle after cycle), Newton, Skelboe and Broyden, from rest to the
// fine tolerance 1e-6, at 100 steps per switching period.
//
//     build/bench/pss_bench                               # every converter and method
//     build/bench/pss_bench --benchmark_filter=buck_dcm
//
// The Time column is the wall time of one whole run (parsing, models, the search, the
// result files); "cycles" is the number of switching periods simulated, read from the end
// time in the state file; "reached" is 1 when the run ended in steady state. Console
// output goes to "stdout.out"/"stderr.out" of a scratch folder.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "converter_examples.h"
#include "simu/base/console.h"
#include "simu/base/run_services.h"
#include "simu/input/run_settings.h"
#include "simu/driver/simu_entry.h"

namespace {

// Boxes go nowhere, but the run's verdict is kept.
class verdict_services : public run_services {
public:
  bool reached = false;
  int message_box(const char* text, box_style) override {
    reached = reached || std::string(text).find("Steady state reached!") != std::string::npos;
    return 1;
  }
  void simulation_done(const char*) override {}
};

const char* const method_names[] = {"", "newton", "skelboe", "broyden", "picard"};

const std::filesystem::path& scratch() {
  static const std::filesystem::path dir = make_scratch("zorv-pss-bench-XXXXXX");
  return dir;
}

void to_steady_state(benchmark::State& state, const converter& c, int method) {
  scratch();
  verdict_services host;
  main_window_scope scope(host);
  char tsim[32], td[32];
  std::snprintf(tsim, sizeof tsim, "%.17g", 100000 * c.period);
  std::snprintf(td, sizeof td, "%.17g", c.period / 100);
  const std::string base = std::string(c.file).substr(0, std::string(c.file).size() - 2);
  std::vector<std::string> words = {"simu", "-ss", "-tsim", tsim, "-td", td, "-nclkss", "100000",
                                    "-points", "1000", c.file, base + ".plt"};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  run_start_si = 0.0;
  run_finish_si = 1e300;
  run_ssmethod = method;
  run_cycles_togo = 0;
  for (auto _ : state) {
    host.reached = false;
    if (simu(static_cast<int>(words.size()), argv.data()) != 1) {
      state.SkipWithError("the run failed (see stderr.out)");
      break;
    }
  }
  double t_end = 0.0;
  std::ifstream(base + ".ini") >> t_end;
  state.counters["cycles"] = std::round(t_end / c.period);
  state.counters["reached"] = host.reached ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (const converter& c : converters)
    for (int method : {4, 1, 2, 3})
      benchmark::RegisterBenchmark((std::string(c.name) + "/" + method_names[method]).c_str(), to_steady_state,
                                   c, method)
          ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  remove_scratch(scratch());
  return 0;
}
