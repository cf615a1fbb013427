// Cost of one topology: derive its state equations and discretise them (first_eqns),
// and of one exact propagation through the mode cache, for 2, 8 and 32 states.
//
// The circuit is a buck front end (V1, switch S1, diode D1) feeding a ladder of LC
// sections with a load at the end: k sections give 2k states. Runs in a scratch folder,
// since a derivation writes "src.dat" and "states.dat".
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "simu/mode_cache.h"
#include "simu/topology.h"

namespace {

model_netlist ladder(int states) {
  model_netlist net;
  auto add = [&](const std::string& name, unsigned n1, unsigned n2, double v) {
    model_row r;
    r.kind = name[0];
    r.name = name;
    r.node1 = n1;
    r.node2 = n2;
    r.value = v;
    net.rows.push_back(r);
  };
  add("V1", 1, 0, 24.0);
  add("S1", 1, 2, 0.0);
  add("D1", 0, 2, 0.0);
  const int sections = states / 2;
  for (int k = 1; k <= sections; ++k) {
    const unsigned a = k + 1, b = k + 2;
    add("L" + std::to_string(k), a, b, 1e-4 / k);
    add("C" + std::to_string(k), b, 0, 1e-5 / k);
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
  for (auto _ : state) {
    cache.propagate(x, x0, u, *rec, dt, reuse);
    dt = dt < 9e-7 ? dt + 1e-9 : 1e-7;
    benchmark::DoNotOptimize(x.blk);
  }
  state.counters["states"] = static_cast<double>(n);
}

// A first trial instant: the coefficients for x0 and u are formed, then the modal sum.
void BM_Propagate(benchmark::State& state) { propagate(state, 0); }
// Later trial instants of one search: the modal sum alone.
void BM_PropagateReusing(benchmark::State& state) { propagate(state, 1); }

BENCHMARK(BM_DeriveAndDiscretise)->Arg(2)->Arg(8)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Propagate)->Arg(2)->Arg(8)->Arg(32);
BENCHMARK(BM_PropagateReusing)->Arg(2)->Arg(8)->Arg(32);

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
