// Newton solve of the multiplier source.
#include "simu/multiplier.h"

#include <algorithm>
#include <cmath>

#include "matrix/dm_ops.h"
#include "matrix/lu.h"
#include "simu/topology.h"

DM multiplier_solve(const DM& K, const DM& I, const topology& rec, const DM& y, const DM& x,
                    DM& u, double gain) {
  const double k = K(1);
  DM z(2, 1);
  z(1) = y(I(1));
  z(2) = y(I(2));
  DM Ci(2, rec.C.cols), Di(2, rec.D.cols);
  for (int r = 1; r <= 2; ++r) {
    for (int j = 1; j <= rec.C.cols; ++j) Ci(r, j) = rec.C(I(r), j);
    for (int j = 1; j <= rec.D.cols; ++j) Di(r, j) = rec.D(I(r), j);
  }
  DM Dk(2, 1);
  Dk(1) = Di(1, k);
  Dk(2) = Di(2, k);
  const DM I2 = eye(2, 2);
  for (int n = 0;; ++n) {
    u(k) = gain * z(1) * z(2);
    DM z_new = Ci * x + Di * u;
    double e = std::max(std::fabs(z_new(1) - z(1)), std::fabs(z_new(2) - z(2)));
    if (e < 1e-6 || n > 500) break;
    DM row(1, 2);
    row(1) = gain * z(2);
    row(2) = gain * z(1);
    DM J = Dk * row;
    z = z + (I2 - J) % (z_new - z);
  }
  return rec.C * x + rec.D * u;
}
