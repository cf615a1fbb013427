// The eigen decomposition of a DM: plain row-major working arrays in, D and V out.
#include "matrix/eig.h"

#include <cmath>
#include <vector>

#include "matrix/eig_eispack.h"

namespace {

struct EigenWork {
  int n;
  std::vector<double> a, wr, wi, vr, vi, wr2, wi2, z, scale;
  std::vector<int> inter, cnt;

  EigenWork(const DM& A, const char* not_square) : n(A.cols) {
    if (A.rows != A.cols) matrix_fatal(not_square, "999");
    const size_t nn = static_cast<size_t>(n) * n;
    a.resize(nn);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        double v = A(i + 1, j + 1);
        // An infinite element would keep the balancing loops from ending.
        if (!std::isfinite(v)) matrix_fatal("eig : matrix has non-finite elements", "999");
        a[static_cast<size_t>(i) * n + j] = v;
      }
    wr.resize(n);
    wi.resize(n);
    wr2.resize(n);
    wi2.resize(n);
    scale.resize(n);
    inter.resize(n);
    cnt.resize(n);
    vr.resize(nn);
    vi.resize(nn);
    z.resize(nn);
    eigen_driver(a.data(), n, wr.data(), wi.data(), vr.data(), vi.data(), 1, wr2.data(),
                 wi2.data(), z.data(), scale.data(), inter.data(), cnt.data());
  }

  void values(CM& D) const {
    D.redim(n, n, false);
    D.fill(complex(0.0, 0.0));
    for (int i = 0; i < n; ++i) D(i + 1, i + 1) = complex(wr[i], wi[i]);
  }

  void vectors(CM& V) const {
    V.redim(n, n, false);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const size_t ij = static_cast<size_t>(i) * n + j;
        V(i + 1, j + 1) = complex(vr[ij], vi[ij]);
      }
  }
};

}  // namespace

int eig(const DM& A, CM& D, CM& V) {
  EigenWork w(A, "eigvalue : Matrix not square!");
  w.values(D);
  w.vectors(V);
  return 0;
}

CM eigvalue(const DM& A) {
  EigenWork w(A, "eigvalue : Matrix not square!");
  CM D;
  w.values(D);
  return D;
}

CM eigvector(const DM& A) {
  EigenWork w(A, "eigvector : Matrix not square!");
  CM V;
  w.vectors(V);
  return V;
}
