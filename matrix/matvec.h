// The engine's per-step product: o = A a + B b over raw column-major storage.
//
//     mat_vec2(Phi.blk->data, x.blk->data, n, Gamma.blk->data, u.blk->data, m, n, xn.blk->data);
//
// A is r x na, B is r x nb (column-major, leading dimension r); a, b, o are vectors; o must
// not overlap the others. Each element is summed from 0.0 over the columns whose
// coefficient is non-zero, in column order, A's before B's: the order of the plain
// column loop, so results are the same to the last bit (signed zeros included; a NaN stays
// a NaN).
// Columns are taken in blocks of up to 8, so o is loaded and stored once per block, and
// the machine's widest vector instructions are chosen when the program starts; below 4
// rows the plain loop itself is cheaper. Nothing is allocated.
#pragma once

void mat_vec2_blocked(const double* A, const double* a, int na, const double* B, const double* b,
                      int nb, int r, double* o);

// The plain loop for R < 4 rows, its sums kept in registers.
template <int R>
inline void mat_vec2_small(const double* A, const double* a, int na, const double* B,
                           const double* b, int nb, double* o) {
  double v[R];
  for (int i = 0; i < R; ++i) v[i] = 0.0;
  for (int j = 0; j < na; ++j)
    if (a[j] != 0.0)
      for (int i = 0; i < R; ++i) v[i] += A[j * R + i] * a[j];
  for (int j = 0; j < nb; ++j)
    if (b[j] != 0.0)
      for (int i = 0; i < R; ++i) v[i] += B[j * R + i] * b[j];
  for (int i = 0; i < R; ++i) o[i] = v[i];
}

inline void mat_vec2(const double* A, const double* a, int na, const double* B, const double* b,
                     int nb, int r, double* o) {
  switch (r) {
    case 0: return;
    case 1: mat_vec2_small<1>(A, a, na, B, b, nb, o); return;
    case 2: mat_vec2_small<2>(A, a, na, B, b, nb, o); return;
    case 3: mat_vec2_small<3>(A, a, na, B, b, nb, o); return;
    default: mat_vec2_blocked(A, a, na, B, b, nb, r, o);
  }
}
