// The cycle map of a two-state circuit for the steady-state methods' tests:
// x -> Phi x + b, Phi = [0.6 0.2; 0.1 0.7] (eigenvalues 0.5 and 0.8), b = (1, -2).
// (I - Phi) x = b gives the fixed point (-1, -7).
#pragma once
#include "matrix/dm.h"

inline DM affine(const DM& x) {
  DM y(2, 1);
  y(1) = 0.6 * x(1) + 0.2 * x(2) + 1.0;
  y(2) = 0.1 * x(1) + 0.7 * x(2) - 2.0;
  return y;
}
