// Matrix exponential: diagonal Pade approximant of degree 6, scaling and squaring.
#include "matrix/expm.h"

#include <cmath>

#include "matrix/dm_ops.h"
#include "matrix/lu.h"

double expm_scaling(double norm) {
  if (!(norm > 0.0)) return 0.0;
  double s = std::floor(std::fabs(std::log(norm) / std::log(2.0))) + 2.0;
  // For a norm below 1 the count above scales A further down, by about 4 / norm: with a
  // small norm A / 2^s drops below one ulp of the identity and e^A loses its diagonal
  // (a slow circuit at a small step would never settle). Three halvings are enough there.
  if (norm < 1.0 && s > 3.0) s = 3.0;
  return s;
}

DM expm(const DM& A) {
  if (A.n == 0 && A.rows == A.cols) return DM();
  for (uint32_t k = 0; k < A.n; ++k)
    if (!std::isfinite(A.blk->data[k])) matrix_fatal("Matrix contains Inf or NaN", "expm");
  const double norm = max(sumr(abs(A)));
  if (!std::isfinite(norm)) matrix_fatal("Matrix contains Inf or NaN", "expm");
  const double s = expm_scaling(norm);

  const DM A1 = A * DM(std::pow(0.5, s));
  DM X;
  X = A1;
  double c = 0.5;
  const double q = 6.0;
  const DM I = eye(A1.rows, A1.rows);
  DM E = I + DM(c) * A1;
  DM D = I - DM(c) * A1;
  bool p = true;
  for (int k = 2; k <= 6; ++k) {
    c = c * (q + 1.0 - k) / (k * (2.0 * q + 1.0 - k));
    X = A1 * X;
    E = E + DM(c) * X;
    if (p)
      D = D + DM(c) * X;
    else
      D = D - DM(c) * X;
    p = !p;
  }
  E = Dback_div(D, E);
  for (int i = 0; i < s; ++i) E = E * E;
  return E;
}
