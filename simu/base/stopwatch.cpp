#include "simu/base/stopwatch.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>

#include "simu/base/console.h"

const char* const timer_labels[timer_count] = {
    "Nothing              ", "Reading data file    ", "Getting to main loop ",
    "Completing main loop ", "Small signal analysis", "Saving points        ",
    "Getting to first eqns", "Finding first eqns   ", "Finding eqns         ",
    "C2dd time            ",
};

namespace {

std::uint64_t steady_ms() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint64_t totals[timer_count];
const char* const* labels_in_use = timer_labels;
int current_category = 0;  // kept across runs, as timer_init leaves it
std::uint64_t last_mark = 0;
std::uint64_t watch_start = 0;
std::uint64_t watch_stop = 0;
std::uint64_t waited = 0;        // the user's waits so far, never reset: the clock only moves on
int waits_open = 0;
std::uint64_t wait_from = 0;

void charge(int k) {
  std::uint64_t now = now_ms();
  if (k >= 0 && k < timer_count) totals[k] += now - last_mark;
  last_mark = now;
}

}  // namespace

std::uint64_t now_ms() { return (waits_open ? wait_from : steady_ms()) - waited; }

user_wait::user_wait() {
  if (waits_open++ == 0) wait_from = steady_ms();
}

user_wait::~user_wait() {
  if (--waits_open == 0) waited += steady_ms() - wait_from;
}

void timer_init(const char* const* labels) {
  for (auto& t : totals) t = 0;
  labels_in_use = labels ? labels : timer_labels;
  last_mark = now_ms();
}

void timer_switch(int k) {
  charge(k);
  current_category = k;
}

int timer_mark() {
  charge(current_category);
  return current_category;
}

void timer_report() {
  for (int k = 0; k < timer_count; ++k) {
    if (totals[k] == 0) continue;
    const char* label = labels_in_use[k] ? labels_in_use[k] : "";
    sim_printf("%s: %s\n", label, ms_to_text(totals[k]).c_str());
  }
}

void stopwatch_start() { watch_start = now_ms(); }
void stopwatch_stop() { watch_stop = now_ms(); }
std::uint64_t stopwatch_elapsed() { return watch_stop >= watch_start ? watch_stop - watch_start : 0; }

str ms_to_text(std::uint64_t ms) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%" PRIu64 ".%03" PRIu64, ms / 1000, ms % 1000);
  return str(buf);
}
