#include "simu/input/run_settings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "simu/base/exact_number.h"
#include "simu/input/options.h"
#include "simu/input/sim_params.h"

double run_tsim = 0.001;
double run_td = 1e-6;
double run_start_si = 0.0;
double run_finish_si = 0.001;
int run_points = 9999999;
int run_sv = 1;
int run_ld = 0;
double run_sstol_f = 1e-6;
int run_nclkss = 25;
int run_stop_close = 0;
double run_sstol_c = 1.0;
int run_cycles_togo = 0;
int run_ssmethod = 1;
int run_none_c = 2;
int run_ss = 0;
int run_one_c = 0;

std::string base_name;

namespace {

using O = option_store;
using P = sim_params;

constexpr double huge = std::numeric_limits<double>::max();

constexpr run_setting real(const char* option, double& v, int header_at, double O::*value, int O::*given,
                           double P::*field) {
  return {option, &v, nullptr, false, header_at, 0.0, huge, value, nullptr, given, field, nullptr};
}

constexpr run_setting whole(const char* option, int& v, int header_at, double least, int O::*value, int O::*given,
                            int P::*field, double most = std::numeric_limits<int>::max()) {
  return {option, nullptr, &v, false, header_at, least, most, nullptr, value, given, nullptr, field};
}

constexpr run_setting flag(const char* option, int& v, int header_at, int O::*count, int P::*field) {
  return {option, nullptr, &v, true, header_at, 0.0, 0.0, nullptr, count, nullptr, nullptr, field};
}

}  // namespace

const run_setting run_settings_table[run_setting_count] = {
    flag("one_c", run_one_c, 0, &O::one_c, &P::one_c),
    real("tsim", run_tsim, 4, &O::tsim, &O::tsim_given, &P::tsim),
    real("td", run_td, 12, &O::td, &O::td_given, &P::td),
    whole("points", run_points, 36, 0.0, &O::points, &O::points_given, &P::points),
    real("start_si", run_start_si, 40, &O::start_si, &O::start_si_given, nullptr),
    real("finish_si", run_finish_si, 48, &O::finish_si, &O::finish_si_given, nullptr),
    flag("ss", run_ss, 80, &O::ss, &P::steady),
    flag("stop_close", run_stop_close, 96, &O::stop_close, &P::stop_close),
    flag("sv", run_sv, 88, &O::sv, nullptr),
    flag("ld", run_ld, 92, &O::ld, &P::ld),
    whole("nclkss", run_nclkss, 84, 0.0, &O::nclkss, &O::nclkss_given, &P::nclkss),
    real("sstol_f", run_sstol_f, 56, &O::sstol_f, &O::sstol_f_given, &P::sstol_f),
    real("sstol_c", run_sstol_c, 64, &O::sstol_c, &O::sstol_c_given, &P::sstol_c),
    whole("ssmethod", run_ssmethod, 0, 1.0, &O::ssmethod, &O::ssmethod_given, nullptr, 4.0),
    whole("none_c", run_none_c, 0, 0.0, &O::none_c, &O::none_c_given, &P::none_c),
    whole("Cycles_togo", run_cycles_togo, 0, 0.0, &O::Cycles_togo, &O::Cycles_togo_given, nullptr),
};

const run_setting* find_run_setting(const char* option) {
  for (const run_setting& s : run_settings_table)
    if (std::strcmp(s.option, option) == 0) return &s;
  return nullptr;
}

void run_setting::set(double v) const {
  if (real)
    *real = v;
  else
    *whole = static_cast<int>(v);
}

std::string run_setting::text() const {
  // "%g", unless its six digits would cut the value: the engine must run on the
  // setting as it was typed.
  if (real) return exact_number(*real, number_form::general, 6);
  return std::to_string(static_cast<long>(*whole));
}

bool run_setting::scan(const char* text, double& v) const {
  // A run on "12" for "12abc", or on a wrapped-around int, would not be the run asked for.
  char* end = nullptr;
  errno = 0;
  if (real) {
    v = std::strtod(text, &end);
  } else {
    const long k = std::strtol(text, &end, 10);
    v = static_cast<double>(k);
  }
  // An infinite time or tolerance would make the run endless and its Esc poll rare.
  return end != text && *end == '\0' && errno != ERANGE && std::isfinite(v) && v >= least && v <= most;
}

void run_setting::store_option(option_store& o, double v) const {
  if (flag)
    ++(o.*option_whole);
  else if (real)
    o.*option_real = v;
  else
    o.*option_whole = static_cast<int>(v);
  if (!flag) ++(o.*given);
}

void run_setting::override_record(const option_store& o, sim_params& p) const {
  // The save window, the method, its cycles and the state-saving flag have no field:
  // the engine reads the run settings themselves.
  if (!record_real && !record_whole) return;
  if (flag)
    p.*record_whole = o.*option_whole != 0;
  else if (!(o.*given))
    return;
  else if (real)
    p.*record_real = o.*option_real;
  else
    p.*record_whole = o.*option_whole;
}
