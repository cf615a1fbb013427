// Register-blocked matrix-vector product; see matvec.h for the summation order it keeps.
#include "matrix/matvec.h"

#include <cstddef>

#include "matrix/simd.h"

namespace {

constexpr int block = 8;

// o[i] = (start ? 0.0 : o[i]) + c[0][i] s[0] + ... + c[K-1][i] s[K-1], left to right.
template <int K>
[[gnu::always_inline]] inline void add_columns(const double* const* c, const double* s, int r, double* o, bool start) {
  int i = 0;
  for (; i + 4 <= r; i += 4) {
    v4 v = start ? v4{0.0, 0.0, 0.0, 0.0} : *reinterpret_cast<const v4*>(o + i);
#pragma GCC unroll 8
    for (int k = 0; k < K; ++k) v = v + *reinterpret_cast<const v4*>(c[k] + i) * s[k];
    *reinterpret_cast<v4*>(o + i) = v;
  }
  for (; i < r; ++i) {
    double v = start ? 0.0 : o[i];
#pragma GCC unroll 8
    for (int k = 0; k < K; ++k) v = v + c[k][i] * s[k];
    o[i] = v;
  }
}

[[gnu::always_inline]] inline void add_block(const double* const* c, const double* s, int k, int r, double* o, bool start) {
  switch (k) {
    case 1: add_columns<1>(c, s, r, o, start); break;
    case 2: add_columns<2>(c, s, r, o, start); break;
    case 3: add_columns<3>(c, s, r, o, start); break;
    case 4: add_columns<4>(c, s, r, o, start); break;
    case 5: add_columns<5>(c, s, r, o, start); break;
    case 6: add_columns<6>(c, s, r, o, start); break;
    case 7: add_columns<7>(c, s, r, o, start); break;
    default: add_columns<8>(c, s, r, o, start); break;
  }
}

}  // namespace

// An AVX2 clone chosen at load time. Clang wants the attribute on the header's first
// declaration too, so its builds (the fuzz targets) keep the one portable version.
#if defined(__clang__)
#define ZORV_MATVEC_CLONES
#else
#define ZORV_MATVEC_CLONES __attribute__((target_clones("avx2", "default")))
#endif

ZORV_MATVEC_CLONES
void mat_vec2_blocked(const double* A, const double* a, int na, const double* B, const double* b,
                      int nb, int r, double* o) {
  const double* cols[block];
  double coef[block];
  int k = 0;
  bool start = true;
  for (int pass = 0; pass < 2; ++pass) {
    const double* M = pass == 0 ? A : B;
    const double* v = pass == 0 ? a : b;
    const int nc = pass == 0 ? na : nb;
    for (int j = 0; j < nc; ++j) {
      if (v[j] == 0.0) continue;
      cols[k] = M + static_cast<std::size_t>(j) * r;
      coef[k] = v[j];
      if (++k == block) {
        add_block(cols, coef, k, r, o, start);
        start = false;
        k = 0;
      }
    }
  }
  if (k > 0) {
    add_block(cols, coef, k, r, o, start);
  } else if (start) {
    for (int i = 0; i < r; ++i) o[i] = 0.0;
  }
}
