// parse_args and usage: the argument vector of simu into the option store.
#include "simu/options.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "simu/console.h"
#include "simu/messages.h"
#include "simu/run_settings.h"

option_store sim_options;
int usage_debug = 0;

namespace {

// A valued option: scanned with "%le" or "%d", then checked against its lower bound.
struct valued_option {
  const char* name;
  double* real;     // "%le" options
  int* whole;       // "%d" options
  int* given;
  double lowest;
};

const char* or_null(const char* s) { return s ? s : "(null)"; }

// Scans text into the option's value; true when it is a number within the bound. The
// value is stored only then, so a rejected argument leaves the option as it was.
bool scan_valued(const valued_option& o, const char* text) {
  if (o.real) {
    double v = 0.0;
    // An infinite time or tolerance would make the run endless and its Esc poll rare.
    if (std::sscanf(text, "%le", &v) != 1 || !(v >= o.lowest) || !std::isfinite(v)) return false;
    *o.real = v;
  } else {
    int v = 0;
    if (std::sscanf(text, "%d", &v) != 1 || !(v >= o.lowest)) return false;
    *o.whole = v;
  }
  return true;
}

}  // namespace

void usage(int argc, char** argv) {
  sim_fprintf(stderr, "Arguments given:");
  for (int i = 1; i < argc; ++i) sim_fprintf(stderr, " %s", or_null(argv[i]));
  sim_fprintf(stderr, "\nExpected Format: simu [options] {input-file} {output-file}!\n");
  sim_fprintf(stderr, "        Options include:\n");
  if (usage_debug) {
    sim_fprintf(stderr, "            -np no plot during simulation\n");
    sim_fprintf(stderr, "            -wc (Watch memory left in core)\n");
  }
  static const char* const lines[] = {
      "            -tl plot_title\n",
      "            -u horiz_upd vert_upd\n",
      "            -o output_number\n",
      "        Simulation Parameters:\n",
      "            -tsim final_time\n",
      "            -td step_size\n",
      "            -points points_to_save\n",
      "            -start_si start_of_save_interval\n",
      "            -finish_si finish_of_save_interval\n",
      "        Steady State Parameters:\n",
      "            -ss (steady state?)\n",
      "            -ssmethos (steady state method ?)\n",
      "            -nclkss number_of_cycles\n",
      "            -sstol_f SS_tolerance_fine\n",
      "            -stop_close (stop when close to steady state?)\n",
      "            -sstol_c SS_tolerance_coarse\n",
      "            -sv (save steady state condition?)\n",
      "            -ld (load steady state condition?)\n",
      "        Small Signal Parameters:\n",
      "            -start_freq start_frequency\n",
      "            -end_freq end_frequency\n",
      "            -npts number_of_points\n",
      "            -one_c (one cycle simulation)\n",
      "            -none_c # cycles in one cycle simulation\n",
  };
  for (const char* line : lines) sim_fprintf(stderr, "%s", line);
  sim_message("Invalid simulation invokation");
}

int parse_args(int argc, char** argv) {
  sim_fprintf(stderr, "DEBUG::Arguments given:");
  for (int i = 1; i < argc; ++i) sim_fprintf(stderr, " %s", or_null(argv[i]));
  sim_fprintf(stderr, "\n");

  // A fresh store per parse: an option given in an earlier run must not override a
  // later run that omits it.
  option_store& o = sim_options;
  o = option_store();

  const valued_option valued[] = {
      {"tsim", &o.tsim, nullptr, &o.tsim_given, 0.0},
      {"td", &o.td, nullptr, &o.td_given, 0.0},
      {"start_si", &o.start_si, nullptr, &o.start_si_given, 0.0},
      {"finish_si", &o.finish_si, nullptr, &o.finish_si_given, 0.0},
      {"points", nullptr, &o.points, &o.points_given, 0.0},
      {"nclkss", nullptr, &o.nclkss, &o.nclkss_given, 0.0},
      {"sstol_f", &o.sstol_f, nullptr, &o.sstol_f_given, 0.0},
      {"sstol_c", &o.sstol_c, nullptr, &o.sstol_c_given, 0.0},
      {"ssmethod", nullptr, &o.ssmethod, &o.ssmethod_given, 1.0},
      {"none_c", nullptr, &o.none_c, &o.none_c_given, 0.0},
      {"Cycles_togo", nullptr, &o.Cycles_togo, &o.Cycles_togo_given, 0.0},
  };
  struct flag_option {
    const char* name;
    int* count;
  };
  const flag_option flags[] = {
      {"ss", &o.ss}, {"stop_close", &o.stop_close}, {"sv", &o.sv}, {"ld", &o.ld}, {"one_c", &o.one_c}};

  int i = 1;
  while (i < argc) {
    const char* arg = argv[i];
    if (!arg) break;
    if (arg[0] != '-') {
      if (i + 1 >= argc) {
        sim_fprintf(stderr, "Need to specify input and output file\n");
        usage(argc, argv);
      }
      o.infile = arg;
      o.outfile = i + 1 < argc ? argv[i + 1] : nullptr;
      sim_printf("Infile = %s, Outfile = %s\n", or_null(o.infile), or_null(o.outfile));
      return 0;
    }
    const char* name = arg + 1;
    ++i;
    if (std::strcmp(name, "tl") == 0) {
      if (i >= argc) {
        sim_fprintf(stderr, "Need 1 argument after -tl\n");
        usage(argc, argv);
        continue;
      }
      o.title = argv[i++];
      continue;
    }
    if (std::strcmp(name, "u") == 0) {
      if (i + 1 >= argc) {
        sim_fprintf(stderr, "Need 2 arguments after -u\n");
        usage(argc, argv);
        i = argc;
        continue;
      }
      double h = 0.0, v = 0.0;
      bool ok = std::sscanf(argv[i], "%le", &h) == 1 && std::sscanf(argv[i + 1], "%le", &v) == 1;
      i += 2;
      if (!ok || !(h > 0.0) || !(v > 0.0)) {
        sim_fprintf(stderr, "Units/div are <= 0\n");
        usage(argc, argv);
        continue;
      }
      o.horiz_upd = h;
      o.vert_upd = v;
      continue;
    }
    if (std::strcmp(name, "o") == 0) {
      if (i >= argc) {
        sim_fprintf(stderr, "Need 1 argument after -o\n");
        usage(argc, argv);
        continue;
      }
      int probe = 0;
      bool ok = std::sscanf(argv[i++], "%d", &probe) == 1;
      if (!ok || probe < 1 || probe > 100) {
        sim_fprintf(stderr, "Probe offset is not in range 1..100\n");
        usage(argc, argv);
        continue;
      }
      o.probe = probe;
      continue;
    }
    bool matched = false;
    for (const flag_option& f : flags) {
      if (std::strcmp(name, f.name) == 0) {
        ++*f.count;
        matched = true;
        break;
      }
    }
    if (matched) continue;
    for (const valued_option& v : valued) {
      if (std::strcmp(name, v.name) != 0) continue;
      matched = true;
      if (i >= argc) {
        sim_fprintf(stderr, "Need 1 argument after -%s\n", v.name);
        usage(argc, argv);
        break;
      }
      if (scan_valued(v, argv[i++])) {
        ++*v.given;
      } else {
        sim_fprintf(stderr, "-%s value is out of range\n", v.name);
        usage(argc, argv);
      }
      break;
    }
    if (!matched) usage(argc, argv);
  }
  sim_printf("Infile = %s, Outfile = %s\n", or_null(o.infile), or_null(o.outfile));
  usage(argc, argv);
  return 0;
}

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

}  // namespace

void cli_run_settings(int argc, char** argv) {
  run_start_si = 0.0;
  run_finish_si = 1e300;
  run_ssmethod = 1;
  run_cycles_togo = 0;
  for (int i = 1; i < argc && argv[i] && argv[i][0] == '-'; i += 1 + arity(argv[i])) {
    if (i + 1 >= argc || !argv[i + 1]) break;
    const char* name = argv[i];
    const char* value = argv[i + 1];
    double d = 0.0;
    int k = 0;
    if (std::strcmp(name, "-start_si") == 0 && std::sscanf(value, "%le", &d) == 1 && d >= 0.0)
      run_start_si = d;
    else if (std::strcmp(name, "-finish_si") == 0 && std::sscanf(value, "%le", &d) == 1 && d >= 0.0)
      run_finish_si = d;
    else if (std::strcmp(name, "-ssmethod") == 0 && std::sscanf(value, "%d", &k) == 1 && k >= 1)
      run_ssmethod = k;
    else if (std::strcmp(name, "-Cycles_togo") == 0 && std::sscanf(value, "%d", &k) == 1 && k >= 0)
      run_cycles_togo = k;
  }
}
