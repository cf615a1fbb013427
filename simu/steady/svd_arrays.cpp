// The 1-based arrays of the decomposition and its error report.
#include <cstdio>
#include <new>

#include "simu/base/console.h"
#include "simu/steady/svd.h"

double** matrix(int rl, int rh, int cl, int ch) {
  if (rl < 0 || cl < 0 || rh < rl - 1 || ch < cl - 1) nr_error("allocation failure 1 in matrix()");
  const size_t nrows = static_cast<size_t>(rh) + 2;   // 0..rh, then the block's own slot
  const size_t ncols = static_cast<size_t>(ch) + 1;   // 0..ch
  double** m = new (std::nothrow) double*[nrows]();
  if (!m) nr_error("allocation failure 1 in matrix()");
  const size_t used = static_cast<size_t>(rh - rl + 1) * ncols;
  double* block = new (std::nothrow) double[used > 0 ? used : 1]();
  if (!block) {
    delete[] m;
    nr_error("allocation failure 2 in matrix()");
  }
  for (int i = rl; i <= rh; ++i) m[i] = block + static_cast<size_t>(i - rl) * ncols;
  m[nrows - 1] = block;
  return m;
}

void free_matrix(double** m, int /*rl*/, int rh, int /*cl*/, int /*ch*/) {
  if (!m) return;
  delete[] m[static_cast<size_t>(rh) + 1];
  delete[] m;
}

double* vector(int l, int h) {
  if (l < 0 || h < l - 1) nr_error("allocation failure in vector()");
  double* v = new (std::nothrow) double[static_cast<size_t>(h) + 1]();
  if (!v) nr_error("allocation failure in vector()");
  return v;
}

void free_vector(double* v, int /*l*/, int /*h*/) { delete[] v; }

void nr_error(const char* message) {
  sim_fprintf(stderr, "Numerical Recipes run-time error...\n");
  sim_fprintf(stderr, "%s\n", message);
  sim_fprintf(stderr, "...now exiting to system...\n");
  throw message;
}
