#include "simu/base/console.h"

namespace {

int redirect_mode = 0;
int open_count = 0;
std::FILE* out_file = nullptr;
std::FILE* err_file = nullptr;

}  // namespace

sim_print_table sim_print = {sim_vfprintf, sim_fprintf, sim_printf, sim_vprintf};

void redirect_stdio() {
  redirect_mode = 1;
  if (++open_count == 1) {
    out_file = std::fopen("stdout.out", "w");
    err_file = std::fopen("stderr.out", "w");
  }
}

std::FILE* redirected_stream(std::FILE* stream) {
  if (stream == stdout) return out_file;
  if (stream == stderr) return err_file;
  return nullptr;
}

int sim_vfprintf(std::FILE* stream, const char* format, std::va_list args) {
  std::FILE* target = stream;
  if (redirect_mode && (stream == stdout || stream == stderr)) {
    if (std::FILE* f = redirected_stream(stream)) target = f;
  }
  return std::vfprintf(target, format, args);
}

int sim_fprintf(std::FILE* stream, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  int n = sim_print.vfprintf_fn(stream, format, args);
  va_end(args);
  return n;
}

int sim_printf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  int n = sim_print.vfprintf_fn(stdout, format, args);
  va_end(args);
  return n;
}

int sim_vprintf(const char* format, std::va_list args) {
  return sim_print.vfprintf_fn(stdout, format, args);
}

void flush_console() {
  if (out_file) std::fflush(out_file);
  if (err_file) std::fflush(err_file);
  std::fflush(stdout);
  std::fflush(stderr);
}

void close_stdio_redirection() {
  if (out_file) std::fclose(out_file);
  if (err_file) std::fclose(err_file);
  out_file = err_file = nullptr;
  open_count = 0;
  redirect_mode = 0;
}
