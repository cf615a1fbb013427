// Model derivation of large, nearly empty networks, and whole runs on them.
//
//     build/bench/derivation_bench
//     build/bench/derivation_bench --benchmark_filter=chain_setup/10000
//
// chain_setup/N: V1 = 10 V, N resistors of 1 ohm in a chain, one capacitor of 1 uF at its
//   end: first_eqns (stamping, normal tree, tableau, reduction, discretisation).
//   Counters: tableau entries before and after the reduction (the fill-in).
// chain_run/N: the same circuit as a netlist, run by simu over one time constant (N us,
//   100 steps); Vout is checked against 10 (1 - e^(-t / (N * 1 us))) at every saved row.
// ladder_run/N: N RC sections (1 ohm, 1 uF each: N states), 100 steps of 0.1 us.
// Runs in a scratch folder (a derivation writes "src.dat" and "states.dat").
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_netlists.h"
#include "converter_examples.h"
#include "simu/base/run_services.h"
#include "simu/model/topology.h"
#if __has_include("matrix/sparse.h")
#include "matrix/sparse.h"
#define HAVE_SPARSE 1
#endif

namespace {

const std::filesystem::path& scratch() {
  static const std::filesystem::path dir = make_scratch("zorv-derivation-XXXXXX");
  return dir;
}

class quiet_services : public run_services {
public:
  int message_box(const char*, box_style) override { return 1; }
  void simulation_done(const char*) override {}
};

model_netlist chain_model(int n) {
  model_netlist net;
  add_row(net, "V1", 1, 0, 10.0);
  for (int k = 1; k <= n; ++k) add_row(net, "R" + std::to_string(k), k, k + 1, 1.0);
  add_row(net, "C1", n + 1, 0, 1e-6);
  net.outputs.push_back({'V', "C1"});
  net.numn = n + 2;
  return net;
}

std::string row(const std::string& name, int n1, int n2, double v) {
  char line[96];
  std::snprintf(line, sizeof line, "'%-9s %-3d %-3d %.4e                 '", name.c_str(), n1, n2, v);
  return line;
}

// A netlist of rows (each from row()) with output Vout = voltage of the probe I01 at node.
void write_netlist(const char* file, double tsim, double td, std::vector<std::string> rows,
                   int probe_node, int numn) {
  rows.push_back(row("I01", probe_node, 0, 0.0));
  std::ofstream f(file);
  f << "tsim = " << tsim << "\ntd = " << td << "\npoints = 100\nx0 = [ 0.0000e+00 ]\n"
    << "% Circuit Description\nX = [ ";
  for (size_t k = 0; k < rows.size(); ++k) f << (k ? "\n      " : "") << rows[k];
  f << " ]\n\n% Output Description\nY = [ 'V         I01                                ' ] % Vout\n"
    << "\n% Number of nodes\nnumn = " << numn << ";\n";
}

bool run(const char* netlist, const char* plt) { return run_simu_words({"simu", netlist, plt}) == 1; }

void chain_setup(benchmark::State& state) {
  scratch();
  const int n = static_cast<int>(state.range(0));
  model_netlist net = chain_model(n);
  DM swinit(0, 1), drive_out, drive_pos;
  double gain = 0.0;
  for (auto _ : state) {
    try {
      topology_table tab(net);
      topology* rec = tab.first_eqns(swinit, 1e-8 * n, drive_out, drive_pos, gain);
      // One state, dV/dt = (10 - V) / (N * 1 us).
      if (rec->A.rows != 1 || std::fabs(rec->A(1, 1) * n * 1e-6 + 1.0) > 1e-9) {
        state.SkipWithError("wrong model");
        return;
      }
    } catch (const char* text) {
      state.SkipWithError(text);
      return;
    }
  }
#ifdef HAVE_SPARSE
  topology_table tab(net);
  tab.first_eqns(swinit, 1e-8 * n, drive_out, drive_pos, gain);
  SM T = tab.tableau();
  state.counters["tableau_nnz"] = static_cast<double>(T.nnz());
  rref_in_place(T, column_tolerances(T));
  state.counters["reduced_nnz"] = static_cast<double>(T.nnz());
#endif
}

void chain_run(benchmark::State& state) {
  scratch();
  quiet_services host;
  main_window_scope scope(host);
  const int n = static_cast<int>(state.range(0));
  const double tau = n * 1e-6;
  std::vector<std::string> rows = {row("V1", 1, 0, 10.0)};
  for (int k = 1; k <= n; ++k) rows.push_back(row("R" + std::to_string(k), k, k + 1, 1.0));
  rows.push_back(row("C1", n + 1, 0, 1e-6));
  write_netlist("chain.m", tau, tau / 100, rows, n + 1, n + 2);
  for (auto _ : state) {
    if (!run("chain.m", "chain.plt")) {
      state.SkipWithError("the run failed (see stderr.out)");
      return;
    }
  }
  std::ifstream in("chain.plt");
  std::string line;
  std::getline(in, line);
  double worst = 0.0;
  int count = 0;
  for (double t, v; in >> t >> v; ++count)
    worst = std::max(worst, std::fabs(v - 10.0 * (1.0 - std::exp(-t / tau))));
  state.counters["max_err_V"] = worst;
  // The table keeps 7 significant digits.
  if (count < 100 || worst > 1e-5) state.SkipWithError("Vout differs from 10 (1 - e^(-t/tau))");
}

void ladder_run(benchmark::State& state) {
  scratch();
  quiet_services host;
  main_window_scope scope(host);
  const int n = static_cast<int>(state.range(0));
  std::vector<std::string> rows = {row("V1", 1, 0, 10.0)};
  for (int k = 1; k <= n; ++k) {
    rows.push_back(row("R" + std::to_string(k), k, k + 1, 1.0));
    rows.push_back(row("C" + std::to_string(k), k + 1, 0, 1e-6));
  }
  write_netlist("ladder.m", 1e-5, 1e-7, rows, n + 1, n + 2);
  for (auto _ : state) {
    if (!run("ladder.m", "ladder.plt")) {
      state.SkipWithError("the run failed (see stderr.out)");
      return;
    }
  }
}

}  // namespace

BENCHMARK(chain_setup)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(chain_run)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ladder_run)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  remove_scratch(scratch());
  return 0;
}
