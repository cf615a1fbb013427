// Whole runs of the simu program's engine on the converter examples: 1000 switching
// periods at 100 and at 1000 steps per period. Reports simulated steps per second and
// the wall time per simulated switching period.
//
//     build/bench/simu_bench                       # every converter, both step counts
//     build/bench/simu_bench --benchmark_filter=buck_ccm
//
// Each run parses the options, reads the netlist, derives and discretises its topologies
// and writes the result table and state file, like the simu program. The console output
// goes to "stdout.out"/"stderr.out" of a scratch folder. The counters are per processor
// second (the Time column is wall time, which includes waiting for the disk).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_netlists.h"
#include "converter_examples.h"
#include "simu/base/console.h"
#include "simu/base/run_services.h"
#include "simu/input/run_settings.h"
#include "simu/driver/simu_entry.h"

namespace {

// A scratch folder holding copies of the examples; the process works in it.
const std::filesystem::path& scratch() {
  static const std::filesystem::path dir = make_scratch("zorv-bench-XXXXXX");
  return dir;
}

void run_converter(benchmark::State& state, const converter& c) {
  scratch();
  quiet_services host;
  main_window_scope scope(host);
  const int steps_per_period = static_cast<int>(state.range(0));
  const int periods = 1000;
  char tsim[32], td[32];
  std::snprintf(tsim, sizeof tsim, "%.17g", periods * c.period);
  std::snprintf(td, sizeof td, "%.17g", c.period / steps_per_period);
  std::string base = std::string(c.file).substr(0, std::string(c.file).size() - 2);
  std::vector<std::string> words = {"simu", "-tsim", tsim, "-td", td, "-points", "1000",
                                    c.file, base + ".plt"};
  for (auto _ : state) {
    if (run_simu_words(words) != 1) {
      state.SkipWithError("the run failed (see stderr.out)");
      break;
    }
  }
  const double steps = static_cast<double>(periods) * steps_per_period;
  state.counters["steps/s"] = benchmark::Counter(steps, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["s/period"] = benchmark::Counter(
      periods, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
  for (const converter& c : converters)
    benchmark::RegisterBenchmark(c.name, run_converter, c)
        ->Arg(100)
        ->Arg(1000)
        ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  remove_scratch(scratch());
  return 0;
}
