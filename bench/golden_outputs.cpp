// Runs each stored circuit through the editor's launcher in the current folder:
// a transient run that saves its final state, then a Newton steady-state run.
// What they leave (netlist, .plt, .ini, .seq, src.dat, states.dat) is what
// scripts/golden compares across a change that must not alter results.
//
//     golden_outputs buck.ckt      // writes buck.m, buck.plt, buck.ini, buck.seq ...
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "sdi/files/circuit_file.h"
#include "sdi/netlist/launcher.h"
#include "simu/input/run_settings.h"

int main(int argc, char** argv) {
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path file = argv[i];
    if (sdi::open_circuit_file(file) != sdi::circuit_read) {
      std::fprintf(stderr, "golden_outputs: cannot read %s\n", argv[i]);
      ++failures;
      continue;
    }
    base_name = file.stem().string();
    run_sv = 1;
    run_ss = 0;
    // A refused run writes no table: say so and go on with the steady-state run.
    std::error_code no_table;
    if (sdi::run_simulation() != 0) std::filesystem::rename(base_name + ".plt", base_name + ".tr.plt", no_table);
    else no_table = std::make_error_code(std::errc::no_such_file_or_directory);
    if (no_table) {
      std::printf("golden_outputs: %s: transient run refused, no table\n", argv[i]);
      ++failures;
    }
    run_ss = 1;
    run_ssmethod = 1;
    if (sdi::run_simulation() == 0) {
      std::printf("golden_outputs: %s: steady-state run refused\n", argv[i]);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
