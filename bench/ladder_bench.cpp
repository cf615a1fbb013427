// The engine at its limit on switched RLC ladders: the buck converter of the examples
// (V1, clocked switch S1, diode D1, L1 C1 filter, 5 ohm load) with its output filter
// lengthened to k LC sections (L_k = 100 uH / k, C_k = 100 uF / k): n = 2k states, m = 2
// sources. k = 1 is the buck itself.
//
//     build/bench/ladder_bench                      # n = 2, 8, 32, 64
//     build/bench/ladder_bench --benchmark_filter=ladder/32
//
// Each iteration runs simu three times on the ladder, as the simu program would (the
// last two periods saved): P/2 and P periods at 40 steps per period, and P periods at
// 400. The clock turns S1 on and off once a period and D1 follows at once in continuous
// conduction: 2 switchings a period. The P-period runs differ in ordinary steps alone,
// the two 40-step runs in whole periods, so that set-up and the first sight of each
// topology drop out:
//     ns/step          = (t400 - t40) / (ordinary steps of 400 - of 40)
//     us/switching     = (t40 - t40half - 38 P/2 ns/step) / P
//     allocs/switching = (allocations of 40 - of 40half) / P    (steps allocate nothing)
//     setup_ms         = t40half less its steps and switchings
//     flops/ns         = 2(n^2 + nm) / ns/step: the floor's arithmetic (x = Phi x + Gamma u)
//                        per ns of a step; the machine's peak flops/ns over it is the
//                        step's ratio to the floor.
// Times are the thread's processor time, minima over the iterations (the machine is
// shared; the minimum is the least disturbed run). The Time column is the 40-steps run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "converter_examples.h"
#include "heap_count.h"
#include "simu/input/options.h"
#include "simu/base/run_services.h"
#include "simu/driver/simu_entry.h"

namespace {

const std::filesystem::path& scratch() {
  static const std::filesystem::path dir = make_scratch("zorv-ladder-XXXXXX");
  return dir;
}

constexpr double period = 1e-5;

// The netlist of a ladder of k sections, in the simu program's netlist language.
std::string ladder_netlist(int k) {
  // Starting at the operating point (6 V on every capacitor, 1.2 A in every inductor),
  // the ladder stays in continuous conduction and meets no new topology after the first
  // period, however lightly its long filter is damped.
  std::string s = "tsim = 1e-3\ntd = 1e-7\npoints = 100\nswinit = [ 1 0 ]\nx0 = [";
  for (int i = 0; i < k; ++i) s += " 6";
  for (int i = 0; i < k; ++i) s += " 1.2";
  s += " ]\ntmd = [ 0 1e-5 1 1\n 5e-6 1e-5 0 1 ]\n"
       "Cy = [ 1 0\n -1 0 ]\nCt = [ 0 0 0 0\n 0 0 0 0 ]\nCsw = [ 1\n 1 ]\nCc = [ 0\n 0 ]\n"
       "thon(1,:)=[  2   2];\nthoff(1,:)=[  2   1];\n";
  char row[160];
  s += "X = [ 'V1 1 0 1.2e1 '\n 'S1 1 2 0 '\n 'D1 0 2 0 '\n";
  for (int i = 1; i <= k; ++i) {
    std::snprintf(row, sizeof row, " 'L%d %d %d %.17g '\n 'C%d %d 0 %.17g '\n", i, i + 1, i + 2,
                  1e-4 / i, i, i + 2, 1e-4 / i);
    s += row;
  }
  std::snprintf(row, sizeof row, " 'R1 %d 0 5 '\n 'I01 %d 0 0 ' ]\n", k + 2, k + 2);
  s += row;
  s += "Y = [ 'I D1 '\n 'V I01 ' ]\n";
  std::snprintf(row, sizeof row, "numn = %d;\n", k + 3);
  s += row;
  return s;
}

// Processor time of this thread: time spent waiting for a processor that other users of
// the machine hold is left out.
double thread_seconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

struct run_cost {
  double seconds;
  long allocations;
};

// One simu run of the file over the given periods and steps per period.
run_cost run(const std::string& file, double periods, int steps_per_period, bool* failed) {
  char tsim[32], td[32], points[32], start[32];
  std::snprintf(tsim, sizeof tsim, "%.17g", periods * period);
  std::snprintf(td, sizeof td, "%.17g", period / steps_per_period);
  std::snprintf(points, sizeof points, "%d", static_cast<int>(periods * 40));
  std::snprintf(start, sizeof start, "%.17g", std::max(0.0, periods - 2) * period);
  std::vector<std::string> words = {"simu", "-tsim", tsim, "-td", td, "-points", points,
                                    "-start_si", start, "-finish_si", tsim, file, "ladder.plt"};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());
  cli_run_settings(argc, argv.data());
  const long a0 = heap_allocations.load();
  const double t0 = thread_seconds();
  if (simu(argc, argv.data()) != 1) *failed = true;
  const double t1 = thread_seconds();
  return {t1 - t0, heap_allocations.load() - a0};
}

void BM_Ladder(benchmark::State& state) {
  scratch();
  quiet_services host;
  main_window_scope scope(host);
  const int n = static_cast<int>(state.range(0)), m = 2;
  const int periods = static_cast<int>(state.range(1));   // even
  const std::string file = "ladder" + std::to_string(n) + ".m";
  std::ofstream(file) << ladder_netlist(n / 2);
  bool failed = false;
  run_cost best_half{1e300, 0}, best40{1e300, 0}, best400{1e300, 0};
  for (auto _ : state) {
    const run_cost half = run(file, periods / 2, 40, &failed);
    const run_cost r40 = run(file, periods, 40, &failed);
    const run_cost r400 = run(file, periods, 400, &failed);
    if (failed) {
      state.SkipWithError("the run failed (see stderr.out)");
      break;
    }
    state.SetIterationTime(r40.seconds);
    if (half.seconds < best_half.seconds) best_half = half;
    if (r40.seconds < best40.seconds) best40 = r40;
    if (r400.seconds < best400.seconds) best400 = r400;
  }
  const double P = periods;
  const double step = (best400.seconds - best40.seconds) / (398.0 * P - 38.0 * P);
  const double sw = (best40.seconds - best_half.seconds - 38.0 * P / 2 * step) / P;
  state.counters["ns/step"] = step * 1e9;
  state.counters["us/switching"] = sw * 1e6;
  state.counters["allocs/switching"] =
      static_cast<double>(best40.allocations - best_half.allocations) / P;
  state.counters["flops/ns"] = 2.0 * (n * n + n * m) / (step * 1e9);
  state.counters["setup_ms"] = (best_half.seconds - 38.0 * P / 2 * step - P * sw) * 1e3;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("ladder", BM_Ladder)
      ->ArgNames({"n", "periods"})
      ->Args({2, 1000})
      ->Args({8, 1000})
      ->Args({32, 300})
      ->Args({64, 100})
      ->UseManualTime()
      ->Iterations(12)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  remove_scratch(scratch());
  return 0;
}
