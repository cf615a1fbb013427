// The simu command-line program: runs the engine on a netlist with the headless run
// services (progress does nothing, boxes and the report are printed, Esc is never seen).
//
//     simu [options] circuit.m circuit.plt
//
// The four run settings that the engine reads directly follow the options, as the
// editor's would: -start_si, -finish_si, -ssmethod and -Cycles_togo. Without
// -finish_si the whole run is saved (the window ends at tsim). Exit status 0 when the
// run ended normally, 1 otherwise.
#include <cstdio>
#include <cstring>

#include "simu/run_settings.h"
#include "simu/simu_entry.h"

namespace {

// How many arguments follow an option, as parse_args reads them.
int arity(const char* option) {
  static const char* const valued[] = {"-tl", "-o", "-tsim", "-td", "-start_si", "-finish_si",
                                       "-points", "-nclkss", "-sstol_f", "-sstol_c", "-ssmethod",
                                       "-none_c", "-Cycles_togo"};
  if (std::strcmp(option, "-u") == 0) return 2;
  for (const char* v : valued)
    if (std::strcmp(option, v) == 0) return 1;
  return 0;
}

// The value after the option name, or null.
const char* option_value(int argc, char** argv, const char* name) {
  const char* found = nullptr;
  for (int i = 1; i < argc && argv[i][0] == '-'; i += 1 + arity(argv[i]))
    if (std::strcmp(argv[i], name) == 0 && i + 1 < argc) found = argv[i + 1];
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  run_start_si = 0.0;
  run_finish_si = 1e300;
  run_ssmethod = 1;
  run_cycles_togo = 0;
  double d = 0.0;
  int k = 0;
  if (const char* v = option_value(argc, argv, "-start_si"); v && std::sscanf(v, "%le", &d) == 1 && d >= 0.0)
    run_start_si = d;
  if (const char* v = option_value(argc, argv, "-finish_si"); v && std::sscanf(v, "%le", &d) == 1 && d >= 0.0)
    run_finish_si = d;
  if (const char* v = option_value(argc, argv, "-ssmethod"); v && std::sscanf(v, "%d", &k) == 1 && k >= 1)
    run_ssmethod = k;
  if (const char* v = option_value(argc, argv, "-Cycles_togo"); v && std::sscanf(v, "%d", &k) == 1 && k >= 0)
    run_cycles_togo = k;
  return simu(argc, argv) == 1 ? 0 : 1;
}
