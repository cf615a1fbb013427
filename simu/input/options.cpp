// parse_args and usage: the argument vector of simu into the option store.
#include "simu/input/options.h"

#include <cstdio>
#include <cstring>

#include "simu/base/console.h"
#include "simu/input/run_settings.h"

option_store sim_options;
int usage_debug = 0;

namespace {

const char* or_null(const char* s) { return s ? s : "(null)"; }

// A bad option: its message has been printed; the usage follows, and the run is refused.
void refuse(option_store& o, int argc, char** argv) {
  ++o.refused;
  usage(argc, argv);
}

int arity(const char* option);

// What follows the file names is not read, but an option there that lacks its value
// shows that the command line was cut short: the run is refused as it is for one
// before the file names.
void refuse_unfinished(option_store& o, int argc, char** argv, int from) {
  for (int i = from; i < argc && argv[i]; ++i) {
    if (argv[i][0] != '-') continue;
    const int needed = arity(argv[i]);
    int present = 0;
    while (present < needed && i + 1 + present < argc && argv[i + 1 + present]) ++present;
    if (present < needed) {
      sim_fprintf(stderr, "Need %d argument%s after %s\n", needed, needed == 1 ? "" : "s", argv[i]);
      refuse(o, argc, argv);
      return;
    }
    i += needed;
  }
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
}

int parse_args(int argc, char** argv) {
  sim_fprintf(stderr, "DEBUG::Arguments given:");
  for (int i = 1; i < argc; ++i) sim_fprintf(stderr, " %s", or_null(argv[i]));
  sim_fprintf(stderr, "\n");

  // A fresh store per parse: an option given in an earlier run must not override a
  // later run that omits it.
  option_store& o = sim_options;
  o = option_store();

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
      // "a.m -tsim o.plt": an option in the output file's place lost its value or its
      // place; a table named after it is not the run asked for.
      if (o.outfile && o.outfile[0] == '-' && (arity(o.outfile) > 0 || find_run_setting(o.outfile + 1))) {
        sim_fprintf(stderr, "Need to specify input and output file (%s is an option)\n", o.outfile);
        refuse(o, argc, argv);
        return 0;
      }
      refuse_unfinished(o, argc, argv, i + 2);
      return 0;
    }
    const char* name = arg + 1;
    ++i;
    if (std::strcmp(name, "tl") == 0) {
      if (i >= argc) {
        sim_fprintf(stderr, "Need 1 argument after -tl\n");
        refuse(o, argc, argv);
        continue;
      }
      o.title = argv[i++];
      continue;
    }
    if (std::strcmp(name, "u") == 0) {
      if (i + 1 >= argc) {
        sim_fprintf(stderr, "Need 2 arguments after -u\n");
        refuse(o, argc, argv);
        i = argc;
        continue;
      }
      double h = 0.0, v = 0.0;
      bool ok = std::sscanf(argv[i], "%le", &h) == 1 && std::sscanf(argv[i + 1], "%le", &v) == 1;
      i += 2;
      if (!ok || !(h > 0.0) || !(v > 0.0)) {
        sim_fprintf(stderr, "Units/div are <= 0\n");
        refuse(o, argc, argv);
        continue;
      }
      o.horiz_upd = h;
      o.vert_upd = v;
      continue;
    }
    if (std::strcmp(name, "o") == 0) {
      if (i >= argc) {
        sim_fprintf(stderr, "Need 1 argument after -o\n");
        refuse(o, argc, argv);
        continue;
      }
      int probe = 0;
      bool ok = std::sscanf(argv[i++], "%d", &probe) == 1;
      if (!ok || probe < 1 || probe > 100) {
        sim_fprintf(stderr, "Probe offset is not in range 1..100\n");
        refuse(o, argc, argv);
        continue;
      }
      o.probe = probe;
      continue;
    }
    const run_setting* s = find_run_setting(name);
    if (!s) {
      refuse(o, argc, argv);
      continue;
    }
    if (s->flag) {
      s->store_option(o, 0.0);
      continue;
    }
    if (i >= argc) {
      sim_fprintf(stderr, "Need 1 argument after -%s\n", s->option);
      refuse(o, argc, argv);
      continue;
    }
    double v = 0.0;
    if (s->scan(argv[i++], v)) {
      s->store_option(o, v);
    } else {
      sim_fprintf(stderr, "-%s value is out of range\n", s->option);
      refuse(o, argc, argv);
    }
  }
  sim_printf("Infile = %s, Outfile = %s\n", or_null(o.infile), or_null(o.outfile));
  usage(argc, argv);
  return 0;
}

namespace {

// How many arguments follow an option, as parse_args reads them.
int arity(const char* option) {
  if (std::strcmp(option, "-u") == 0) return 2;
  if (std::strcmp(option, "-tl") == 0 || std::strcmp(option, "-o") == 0) return 1;
  const run_setting* s = find_run_setting(option + 1);
  return s && !s->flag ? 1 : 0;
}

}  // namespace

void cli_run_settings(int argc, char** argv) {
  run_start_si = 0.0;
  run_finish_si = whole_run_finish;
  run_ssmethod = 1;
  run_cycles_togo = 0;
  const void* const read_by_engine[] = {&run_start_si, &run_finish_si, &run_ssmethod, &run_cycles_togo};
  for (int i = 1; i < argc && argv[i] && argv[i][0] == '-'; i += 1 + arity(argv[i])) {
    if (i + 1 >= argc || !argv[i + 1]) break;
    const run_setting* s = find_run_setting(argv[i] + 1);
    if (!s) continue;
    const void* variable = s->real ? static_cast<const void*>(s->real) : s->whole;
    double v = 0.0;
    for (const void* r : read_by_engine)
      if (r == variable && s->scan(argv[i + 1], v)) s->set(v);
  }
}
