// Cost of one topology: derive its state equations and discretise them (first_eqns),
// and of one exact propagation through the mode cache, for 2, 8 and 32 states; and of
// the other per-step work: switch-condition evaluation, output sampling, clock edges and
// the multiplier solve.
//
// The circuit is a buck front end (V1, switch S1, diode D1) feeding a ladder of LC
// sections with a load at the end: k sections give 2k states. Runs in a scratch folder,
// since a derivation writes "src.dat" and "states.dat".
//
// The counter "allocs" is the number of heap allocations per iteration (malloc, calloc
// and realloc, which also serve operator new): the per-step paths must show 0.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_netlists.h"
#include "heap_count.h"
#include "simu/switching/clock_table.h"
#include "simu/model/mode_cache.h"
#include "simu/model/multiplier.h"
#include "simu/driver/output_store.h"
#include "simu/switching/switch_cond.h"
#include "simu/model/topology.h"

namespace {

model_netlist ladder(int states) {
  model_netlist net;
  auto add = [&](const std::string& name, unsigned n1, unsigned n2, double v) { add_row(net, name, n1, n2, v); };
  add("V1", 1, 0, 24.0);
  add("S1", 1, 2, 0.0);
  add("D1", 0, 2, 0.0);
  const int sections = states / 2;
  for (int k = 1; k <= sections; ++k) {
    const unsigned a = k + 1, b = k + 2;
    const std::string number = std::to_string(k);
    add(std::string(1, 'L').append(number), a, b, 1e-4 / k);
    add(std::string(1, 'C').append(number), b, 0, 1e-5 / k);
  }
  add("R1", sections + 2, 0, 5.0);
  net.outputs.push_back(model_output{'I', "D1"});
  net.outputs.push_back(model_output{'V', "R1"});
  net.numn = sections + 3;
  return net;
}

DM on_off() {
  DM s(2, 1);
  s(1) = 1.0;
  s(2) = 0.0;
  return s;
}

void BM_DeriveAndDiscretise(benchmark::State& state) {
  const model_netlist net = ladder(static_cast<int>(state.range(0)));
  const DM setting = on_off();
  for (auto _ : state) {
    topology_table tab(net);
    DM drive_out, drive_pos;
    double gain = 0.0;
    topology* rec = tab.first_eqns(setting, 1e-6, drive_out, drive_pos, gain);
    benchmark::DoNotOptimize(rec->Phi.blk);
  }
  state.counters["states"] = static_cast<double>(state.range(0));
}

void propagate(benchmark::State& state, int reuse) {
  const model_netlist net = ladder(static_cast<int>(state.range(0)));
  topology_table tab(net);
  DM drive_out, drive_pos;
  double gain = 0.0;
  topology* rec = tab.first_eqns(on_off(), 1e-6, drive_out, drive_pos, gain);
  mode_cache cache;
  const int n = rec->A.rows;
  DM x0(n, 1), x(n, 1), u = tab.source_values();
  for (int i = 1; i <= n; ++i) x0(i) = 0.1 * i;
  cache.propagate(x, x0, u, *rec, 3e-7, 0);   // the decomposition, once
  double dt = 1e-7;
  alloc_count allocs;
  for (auto _ : state) {
    cache.propagate(x, x0, u, *rec, dt, reuse);
    dt = dt < 9e-7 ? dt + 1e-9 : 1e-7;
    benchmark::DoNotOptimize(x.blk);
  }
  allocs.report(state);
  state.counters["states"] = static_cast<double>(n);
}

// A first trial instant: the coefficients for x0 and u are formed, then the modal sum.
void BM_Propagate(benchmark::State& state) { propagate(state, 0); }
// Later trial instants of one search: the modal sum alone.
void BM_PropagateReusing(benchmark::State& state) { propagate(state, 1); }

DM column(int n, double v) {
  DM c(n, 1);
  for (int i = 1; i <= n; ++i) c(i) = v;
  return c;
}

// The turn-off conditions of two diodes that are on (g = i_D1, g = i_D2), neither
// crossing, as after every step; the candidate list is handed in sharing the kept
// candidates.
void BM_EvaluateConditions(benchmark::State& state) {
  DM Cy(2, 2, 0.0), Ct(2, 4, 0.0), Cc(2, 1, 0.0), Csw(2, 1, 1.0);
  Cy(1, 1) = 1.0;
  Cy(2, 2) = 1.0;
  Csw(2) = 2.0;
  sw_condition cond(Cy, Ct, Cc, Csw);
  DM candidates = column(2, 0.0), list;
  candidates(1) = 1.0;
  candidates(2) = 2.0;
  DM on_time = column(2, 0.0), y = column(2, 0.0), tv = column(4, 0.0);
  y(1) = 1e-3;
  y(2) = 2e-3;
  alloc_count allocs;
  for (auto _ : state) {
    list.share(candidates);
    cond.evaluate(list, on_time, y, tv, 1e-7, '0');
    cond.take_present();
    benchmark::DoNotOptimize(cond.crossed);
  }
  allocs.report(state);
}

// Sampling after every step of a run of 10^6 steps that keeps every instant.
void BM_Sample(benchmark::State& state) {
  output_store out(0.0, 1.0, 0.0, 1.0, 1e-6, 1000000, false);
  DM y = column(4, 0.5);
  double t = 0.0;
  alloc_count allocs;
  for (auto _ : state) {
    t += 1e-6;
    out.sample(t, y);
    benchmark::DoNotOptimize(out.just_stored);
  }
  allocs.report(state);
}

// The clock edge test before every step (two clocks, as a PWM switch has).
void BM_NextEdge(benchmark::State& state) {
  DM tmd(2, 4, 0.0);
  tmd(1, 2) = 1e-5;
  tmd(1, 3) = 1.0;
  tmd(1, 4) = 1.0;
  tmd(2, 1) = 5e-6;
  tmd(2, 2) = 1e-5;
  tmd(2, 4) = 1.0;
  clock_table clk(tmd);
  double t = 0.0;
  alloc_count allocs;
  for (auto _ : state) {
    double dt = 1e-7;
    DM due = clk.next_edge(t, dt);
    t += dt;
    if (clk.due_count > 0) clk.advance(t);
    benchmark::DoNotOptimize(due.blk);
  }
  allocs.report(state);
}

// The multiplier solve after every step: y = C x + D u, then u(K) = g y(I1) y(I2).
void BM_MultiplierSolve(benchmark::State& state) {
  topology rec;
  rec.C = DM(3, 2, 0.0);
  rec.D = DM(3, 2, 0.0);
  rec.C(1, 1) = 1.0;
  rec.C(2, 2) = 1.0;
  rec.C(3, 1) = 1.0;
  rec.C(3, 2) = 1.0;
  rec.D(1, 2) = 0.5;
  rec.D(2, 2) = 0.25;
  rec.D(3, 2) = 1.0;
  DM x = column(2, 1.0), u = column(2, 1.0), K = column(1, 2.0), I = column(2, 1.0);
  I(2) = 2.0;
  DM y = column(3, 0.0);
  alloc_count allocs;
  for (auto _ : state) {
    x(1) = x(1) < 2.0 ? x(1) + 1e-6 : 1.0;
    for (int r = 1; r <= 3; ++r) y(r) = rec.C(r, 1) * x(1) + rec.C(r, 2) * x(2) + rec.D(r, 2) * u(2);
    y = multiplier_solve(K, I, rec, y, x, u, 0.1);
    benchmark::DoNotOptimize(y.blk);
  }
  allocs.report(state);
}

BENCHMARK(BM_DeriveAndDiscretise)->Arg(2)->Arg(8)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Propagate)->Arg(2)->Arg(8)->Arg(32);
BENCHMARK(BM_PropagateReusing)->Arg(2)->Arg(8)->Arg(32);
BENCHMARK(BM_EvaluateConditions);
BENCHMARK(BM_Sample)->Iterations(1000000);
BENCHMARK(BM_NextEdge);
BENCHMARK(BM_MultiplierSolve);

}  // namespace

int main(int argc, char** argv) {
  std::string dir = (std::filesystem::temp_directory_path() / "zorv-bench-XXXXXX").string();
  if (!mkdtemp(dir.data())) return 1;
  const std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::current_path(old);
  std::filesystem::remove_all(dir);
  return 0;
}
