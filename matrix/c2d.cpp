// Zero-order-hold discretisation through the exponential of the augmented block matrix.
#include "matrix/dm_ops.h"
#include "matrix/expm.h"
#include "matrix/views.h"

void c2d(DM& Phi, DM& Gamma, const DM& A, const DM& B, double h) {
  const int n = A.cols;
  const int m = B.cols;
  // e^([A B; 0 0] h) = [Phi Gamma; 0 I]: no inverse of A is needed.
  const DM M = hconcat(A, B) * DM(h);
  const DM Z(m, n + m, 0.0);
  const DM E = expm(vconcat(M, Z));
  const DM I = seqa(1.0, n, 1.0);
  const DM J = seqa(n + 1.0, m, 1.0);
  const DM P = E(I, I);
  const DM G = E(I, J);
  Phi = P;
  Gamma = G;
}
