// Reduction to upper Hessenberg form by stabilised elementary similarity
// transformations, and the accumulation of those transformations.
#include <cmath>

#include "matrix/eig_eispack.h"

void elmhes(int nm, int n, int low, int igh, double* a, int* inter) {
  auto at = [a, nm](int i, int j) -> double& { return a[i * nm + j]; };
  for (int m = low + 1; m <= igh - 1; ++m) {
    double x = 0.0;
    int i = m;
    for (int j = m; j <= igh; ++j) {
      if (std::fabs(at(j, m - 1)) > std::fabs(x)) {
        x = at(j, m - 1);
        i = j;
      }
    }
    inter[m] = i;
    if (i != m) {
      for (int j = m - 1; j < n; ++j) {
        double y = at(i, j);
        at(i, j) = at(m, j);
        at(m, j) = y;
      }
      for (int j = 0; j <= igh; ++j) {
        double y = at(j, i);
        at(j, i) = at(j, m);
        at(j, m) = y;
      }
    }
    if (x == 0.0) continue;
    for (i = m + 1; i <= igh; ++i) {
      double y = at(i, m - 1);
      if (y == 0.0) continue;
      y = y / x;
      at(i, m - 1) = y;
      for (int j = m; j < n; ++j) at(i, j) = at(i, j) - y * at(m, j);
      for (int j = 0; j <= igh; ++j) at(j, m) = at(j, m) + y * at(j, i);
    }
  }
}

void elmtrans(int nm, int n, int low, int igh, const double* a, const int* inter, double* z) {
  auto zat = [z, nm](int i, int j) -> double& { return z[i * nm + j]; };
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) zat(i, j) = i == j ? 1.0 : 0.0;
  for (int mp = igh - 1; mp >= low + 1; --mp) {
    for (int i = mp + 1; i <= igh; ++i) zat(i, mp) = a[i * nm + mp - 1];
    int i = inter[mp];
    if (i == mp) continue;
    for (int j = mp; j <= igh; ++j) {
      zat(mp, j) = zat(i, j);
      zat(i, j) = 0.0;
    }
    zat(i, mp) = 1.0;
  }
}
