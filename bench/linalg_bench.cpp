// Timing of the per-topology work of the engine: c2d of an n-state model with two inputs,
// and the eigen decomposition of its A, for n = 2, 4, 8, 16, 32.
//     build/bench/linalg_bench
// The models are lossy RLC ladders (banded, stable, with complex modes), as circuits give.
#include <benchmark/benchmark.h>

#include "matrix/dm_ops.h"
#include "matrix/eig.h"
#include "matrix/expm.h"

namespace {

// n states alternating inductor current and capacitor voltage along a ladder.
DM ladder(int n) {
  DM A(n, n, 0.0);
  for (int i = 1; i <= n; ++i) {
    const bool inductor = i % 2 == 1;
    A(i, i) = inductor ? -10.0 : -0.5;                    // series R, shunt G
    if (i > 1) A(i, i - 1) = inductor ? -1e3 : 2e4;       // coupling to the previous node
    if (i < n) A(i, i + 1) = inductor ? -1e3 : -2e4;
  }
  return A;
}

DM inputs(int n) {
  DM B(n, 2, 0.0);
  B(1, 1) = 1e3;
  B(n, 2) = -1e3;
  return B;
}

void BM_c2d(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const DM A = ladder(n), B = inputs(n);
  DM Phi, Gamma;
  for (auto _ : state) {
    c2d(Phi, Gamma, A, B, 1e-6);
    benchmark::DoNotOptimize(Phi.blk->data);
  }
}

void BM_eig(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const DM A = ladder(n);
  CM D, V;
  for (auto _ : state) {
    eig(A, D, V);
    benchmark::DoNotOptimize(V.blk->data);
  }
}

}  // namespace

BENCHMARK(BM_c2d)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->Arg(32);
BENCHMARK(BM_eig)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->Arg(32);
BENCHMARK_MAIN();
