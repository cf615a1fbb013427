// Console output of the engine: the print table and the redirection to the
// console files "stdout.out" and "stderr.out" in the current folder.
//
// The engine prints only through sim_printf / sim_fprintf (or the table). With
// redirection on, whatever is meant for standard output or standard error goes to
// the two files instead; any other stream is written directly.
//     redirect_stdio();                         // once, at editor start-up
//     sim_printf("Final simulation time = %.8e.\n", t);
//     sim_fprintf(stderr, "\nJob completed!");
// The files are opened once per process (truncated) and every later run appends.
// A file that cannot be opened leaves its stream printing to the real one.
#pragma once
#include <cstdarg>
#include <cstdio>

#define ZORV_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))

int sim_vfprintf(std::FILE* stream, const char* format, std::va_list args);
int sim_fprintf(std::FILE* stream, const char* format, ...) ZORV_PRINTF_LIKE(2, 3);
int sim_printf(const char* format, ...) ZORV_PRINTF_LIKE(1, 2);
int sim_vprintf(const char* format, std::va_list args);

// The print table, in this order; the last three pass their text on to the first.
struct sim_print_table {
  int (*vfprintf_fn)(std::FILE*, const char*, std::va_list);
  int (*fprintf_fn)(std::FILE*, const char*, ...);
  int (*printf_fn)(const char*, ...);
  int (*vprintf_fn)(const char*, std::va_list);
};
extern sim_print_table sim_print;

// Turns redirection on; the first call opens "stdout.out" and "stderr.out".
void redirect_stdio();
// The console file for stdout or stderr; null for other streams or when not open.
std::FILE* redirected_stream(std::FILE* stream);
// Pushes both console files to disk (end of each run, so logs survive a crash).
void flush_console();
// Closes the console files and prints to the real streams again (tests, shutdown).
void close_stdio_redirection();
