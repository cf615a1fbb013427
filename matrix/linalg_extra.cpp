// Exact comparison and powers of ten.
#include "matrix/linalg_extra.h"

#include <cmath>

#include "matrix/dm_ops.h"

int identical(const DM& A, const DM& B) {
  if (A.rows != B.rows || A.cols != B.cols) return 0;
  for (uint32_t k = 0; k < A.n; ++k)
    if (!(A.blk->data[k] == B.blk->data[k])) return 0;
  return 1;
}

double pow10(double x) { return std::pow(10.0, x); }

DM pow10(const DM& A) { return map(static_cast<double (*)(double)>(pow10), A); }
