// Newton solve of the multiplier source, on scalars: it runs after every step, so it
// allocates nothing.
#include "simu/model/multiplier.h"

#include <algorithm>
#include <cmath>

#include "simu/model/topology.h"

namespace {

// Output r of y = C x + D u: the two products summed as the matrix product does.
double output_row(const DM& C, const DM& D, double r, const DM& x, const DM& u) {
  if (C.cols != static_cast<int>(x.n) || D.cols != static_cast<int>(u.n))
    matrix_fatal("Matrices do not conform", "*");
  double cx = 0.0, du = 0.0;
  for (int j = 1; j <= C.cols; ++j) cx += C(r, j) * x(j);
  for (int j = 1; j <= D.cols; ++j) du += D(r, j) * u(j);
  return cx + du;
}

// Solves [a11 a12; a21 a22] d = b in place of b with the partial pivoting and the order of
// operations of the library's left division; a zero pivot gives infinite or undefined
// values, as there.
void solve2(double a11, double a12, double a21, double a22, double& b1, double& b2) {
  if (std::fabs(a21) > std::fabs(a11)) {
    std::swap(a11, a21);
    std::swap(a12, a22);
    std::swap(b1, b2);
  }
  double m = 0.0;
  if (a11 != 0.0) {
    m = -1.0 / a11 * a21;
    if (a12 != 0.0) a22 = a22 + a12 * m;
  }
  if (b1 != 0.0) b2 = b2 + b1 * m;
  b2 = b2 / a22;
  if (b2 != 0.0) b1 = b1 + -b2 * a12;
  b1 = b1 / a11;
}

}  // namespace

DM multiplier_solve(const DM& K, const DM& I, const topology& rec, const DM& y, const DM& x,
                    DM& u, double gain) {
  const double k = K(1), i1 = I(1), i2 = I(2);
  const DM& C = rec.C;
  const DM& D = rec.D;
  double z1 = y(i1), z2 = y(i2);
  const double dk1 = D(i1, k), dk2 = D(i2, k);
  for (int n = 0;; ++n) {
    u(k) = gain * z1 * z2;
    const double n1 = output_row(C, D, i1, x, u), n2 = output_row(C, D, i2, x, u);
    const double e = std::max(std::fabs(n1 - z1), std::fabs(n2 - z2));
    if (e < 1e-6 || n > 500) break;
    // z += (eye(2) - J) \ (z_new - z), J = Dk [g z2, g z1]
    double d1 = n1 - z1, d2 = n2 - z2;
    solve2(1.0 - dk1 * (gain * z2), 0.0 - dk1 * (gain * z1), 0.0 - dk2 * (gain * z2),
           1.0 - dk2 * (gain * z1), d1, d2);
    z1 = z1 + d1;
    z2 = z2 + d2;
  }
  // Every output follows the final u, the two controlling ones included.
  DM out(y);
  if (out.n != static_cast<uint32_t>(C.rows) || out.cols != 1) out = DM(C.rows, 1);
  for (int r = 1; r <= C.rows; ++r) out(r) = output_row(C, D, r, x, u);
  return out;
}
