#include "simu/base/run_services.h"

#include <cstdio>
#include <cstring>

namespace {

run_services headless;
run_services* installed = &headless;

}  // namespace

int run_services::message_box(const char* text, box_style style) {
  std::FILE* out = style == box_style::information ? stdout : stderr;
  std::size_t n = std::strlen(text);
  std::fputs(text, out);
  if (n == 0 || text[n - 1] != '\n') std::fputc('\n', out);
  std::fflush(out);
  return 1;
}

void run_services::simulation_done(const char* secs) {
  std::printf("Simulation completed! Total simulation time = %s secs.\n", secs);
  std::fflush(stdout);
}

run_services& main_window() { return *installed; }

void set_main_window(run_services* services) { installed = services ? services : &headless; }

main_window_scope::main_window_scope(run_services& services) : previous_(&main_window()) {
  set_main_window(&services);
}

main_window_scope::~main_window_scope() { set_main_window(previous_); }
