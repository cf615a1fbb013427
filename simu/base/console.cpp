#include "simu/base/console.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

int redirect_mode = 0;
int open_count = 0;
std::FILE* out_file = nullptr;
std::FILE* err_file = nullptr;

// A log that is a pipe no process reads would block the open, and the editor's start
// with it: such a log is not opened, and its text goes to the process's own stream.
std::FILE* open_log(const char* name) {
  const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "w");
  if (!f) ::close(fd);
  return f;
}

}  // namespace

sim_print_table sim_print = {sim_vfprintf, sim_fprintf, sim_printf, sim_vprintf};

void redirect_stdio() {
  redirect_mode = 1;
  if (++open_count == 1) {
    out_file = open_log("stdout.out");
    err_file = open_log("stderr.out");
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
