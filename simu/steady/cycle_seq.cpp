// Switching-sequence report "<base>.seq" of a closed cycle.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <string>

#include "matrix/dm_ops.h"
#include "simu/base/atomic_file.h"
#include "simu/base/name_file.h"
#include "simu/steady/cycle.h"
#include "simu/model/topology.h"

namespace {

double max_abs(const DM& A) {
  double m = 0.0;
  for (uint32_t k = 1; k <= A.n; ++k) m = std::max(m, std::fabs(A(k)));
  return m;
}

// max|X1 - X2| / max|X1| < 1e-4; matrices that are equal (also all-zero ones) agree.
bool close_models(const DM& X1, const DM& X2) {
  if (X1.rows != X2.rows || X1.cols != X2.cols) return false;
  double diff = 0.0;
  for (uint32_t k = 1; k <= X1.n; ++k) {
    double d = std::fabs(X1(k) - X2(k));
    if (std::isnan(d)) return false;
    diff = std::max(diff, d);
  }
  if (diff == 0.0) return true;
  return diff / max_abs(X1) < 1e-4;
}

// Column label of the state groups: the column number (a digit up to 9).
std::string column_label(int k) {
  return k <= 9 ? std::string(1, static_cast<char>('0' + k)) : std::to_string(k);
}

}  // namespace

int same_equations(const topology* R1, const topology* R2) {
  if (!R1 || !R2) return 0;
  if (!close_models(R1->A, R2->A)) return 0;
  return close_models(R1->B, R2->B) ? 1 : 0;
}

void CYCLE::write_seq_file(const char* netlist, double tol,
                           const std::vector<std::string>& names) const {
  std::string file = netlist_based_name(netlist, ".seq");
  // A report of an earlier run stays until this one is complete.
  atomic_file out;
  if (!out.open(file))
    matrix_fatal("write_seq_file()", open_failure_text(out, file).c_str());
  std::FILE* f = out.file();
  // "disk full" only when the disk is full; mark is the "!" most sections put after it.
  auto check = [&out](int r, const char* where, const char* mark = "!") {
    if (r < 0) {
      const std::string reason = write_failure_text(errno) + mark;
      out.discard();
      matrix_fatal(where, reason.c_str());
    }
  };
  const int N = count;
  check(std::fprintf(f, "Switching sequence file for:  %s\n\n\n", netlist), "write_seq_file(title)");
  // Intervals run between the instants at which their settings began (t0, state x0 there):
  // a later transition that kept a setting has overwritten that entry's t and x.
  double period = N >= 1 ? entry(N).t0 - entry(1).t0 : 0.0;
  check(std::fprintf(f, "period = %.6e\n", period), "write_seq_file(period)");
  check(std::fprintf(f, "Steady state tolerance = %.6e\n", tol), "write_seq_file(tolerance)");
  check(std::fprintf(f, "\nSwitches: "), "write_seq_file(sw)");
  for (const std::string& name : names) check(std::fprintf(f, "%s ", name.c_str()), "write_seq_file(sw)");
  check(std::fprintf(f, "\nMode\t sw_setting\t\t\t intervals\n"), "write_seq_file(titles)");

  int mode = 1;
  for (int i = 1; i <= N - 1; ++i) {
    if (i > 1 && !same_equations(entry(i).R, entry(i - 1).R)) ++mode;
    check(std::fprintf(f, "%d\t  ", mode), "write_seq_file(i)", "");
    const DM& S = entry(i).S;
    for (uint32_t k = 1; k <= S.n; ++k)
      check(std::fprintf(f, "%c", S(k) != 0.0 ? '1' : '0'), "write_seq_file(i)", "");
    check(std::fprintf(f, "\t\t\t\t%.6e\n", entry(i + 1).t0 - entry(i).t0), "write_seq_file(ti)", "");
  }
  for (int i = 1; i <= N - 1; ++i)
    if (same_equations(entry(i).R, entry(i + 1).R))
      check(std::fprintf(f, "Intervals %d and %d have the same equations.\n", i, i + 1),
            "write_seq_file(eqn)", "");

  check(std::fprintf(f, "\nState at beginning of intervals:\n"), "write_seq_file(  )");
  const int nx = N >= 1 ? static_cast<int>(entry(1).x0.n) : 0;
  const int full = N >= 1 ? (N - 1) / 3 : 0;
  for (int g = 0; g <= full; ++g) {
    bool last = g == full;
    int first = 3 * g + 1;
    int cols = last ? N - 3 * full : 3;
    for (int k = first; k < first + cols; ++k)
      check(std::fprintf(f, last ? " X%s\t\t    " : " X%s\t\t\t    ", column_label(k).c_str()),
            "write_seq_file(Xi)");
    check(std::fprintf(f, "\n"), "write_seq_file(Xi)");
    for (int r = 1; r <= nx; ++r) {
      for (int k = first; k < first + cols; ++k)
        check(std::fprintf(f, last ? "%24.16e\t" : "%24.16e  ", entry(k).x0(r)), "write_seq_file(X)");
      check(std::fprintf(f, "\n"), "write_seq_file(X)");
    }
  }
  check(std::fprintf(f, "\n"), "write_seq_file(  )");
  if (!out.commit()) matrix_fatal("write_seq_file(  )", (out.failure_text() + "!").c_str());
}
