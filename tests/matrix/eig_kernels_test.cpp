// The eigenvalue pipeline on plain row-major arrays: balancing, isolation, the pair
// convention, unit vectors, residuals of random and defective matrices, failure path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <string>
#include <vector>

#include "matrix/dm.h"
#include "matrix/eig_eispack.h"

namespace {

using cplx = std::complex<double>;  // reference arithmetic for the residual checks only

struct Eig {
  int n;
  std::vector<double> wr, wi, vr, vi;
  explicit Eig(std::vector<double> a) : n(static_cast<int>(std::lround(std::sqrt(a.size())))) {
    const size_t nn = static_cast<size_t>(n) * n;
    wr.resize(n);
    wi.resize(n);
    vr.resize(nn);
    vi.resize(nn);
    std::vector<double> wr2(n), wi2(n), z(nn), scale(n);
    std::vector<int> inter(n), cnt(n);
    eigen_driver(a.data(), n, wr.data(), wi.data(), vr.data(), vi.data(), 1, wr2.data(),
                 wi2.data(), z.data(), scale.data(), inter.data(), cnt.data());
  }
  cplx v(int i, int j) const { return cplx(vr[i * n + j], vi[i * n + j]); }
  cplx lambda(int j) const { return cplx(wr[j], wi[j]); }
};

// max |A v_j - lambda_j v_j| over all entries, relative to the 1-norm of A.
double relative_residual(const std::vector<double>& a, const Eig& e) {
  const int n = e.n;
  double anorm = 0.0;
  for (int j = 0; j < n; ++j) {
    double s = 0.0;
    for (int i = 0; i < n; ++i) s += std::fabs(a[i * n + j]);
    anorm = std::max(anorm, s);
  }
  double worst = 0.0;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      cplx av = 0.0;
      for (int k = 0; k < n; ++k) av += a[i * n + k] * e.v(k, j);
      worst = std::max(worst, std::abs(av - e.lambda(j) * e.v(i, j)));
    }
  return anorm == 0.0 ? worst : worst / anorm;
}

void expect_unit_columns(const Eig& e) {
  for (int j = 0; j < e.n; ++j) {
    double s = 0.0;
    for (int i = 0; i < e.n; ++i) s += std::norm(e.v(i, j));
    EXPECT_NEAR(s, 1.0, 1e-14) << "column " << j;
  }
}

// Complex pairs: +Im first, conjugate eigenvalue and conjugate vector next.
void expect_pair_convention(const Eig& e) {
  for (int j = 0; j < e.n; ++j) {
    if (e.wi[j] == 0.0) continue;
    ASSERT_GT(e.wi[j], 0.0) << "pair must start with +Im at " << j;
    ASSERT_LT(j + 1, e.n);
    EXPECT_EQ(e.wr[j + 1], e.wr[j]);
    EXPECT_EQ(e.wi[j + 1], -e.wi[j]);
    for (int i = 0; i < e.n; ++i) {
      EXPECT_EQ(e.vr[i * e.n + j + 1], e.vr[i * e.n + j]);
      EXPECT_EQ(e.vi[i * e.n + j + 1], -e.vi[i * e.n + j]);
    }
    ++j;
  }
}

struct Lcg {
  uint64_t s;
  double next() {  // uniform in [-1, 1)
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(s >> 11) / 9007199254740992.0 * 2.0 - 1.0;
  }
};

TEST(EigKernels, MachineEpsilon) { EXPECT_EQ(machep(), std::ldexp(1.0, -52)); }

TEST(EigKernels, DiagonalIsFullyIsolated) {
  Eig e({2.0, 0.0, 0.0, 3.0});
  EXPECT_EQ(e.wr, (std::vector<double>{2.0, 3.0}));
  EXPECT_EQ(e.wi, (std::vector<double>{0.0, 0.0}));
  EXPECT_EQ(e.vr, (std::vector<double>{1.0, 0.0, 0.0, 1.0}));
  EXPECT_EQ(e.vi, (std::vector<double>{0.0, 0.0, 0.0, 0.0}));
}

TEST(EigKernels, OneByOne) {
  Eig e({5.0});
  EXPECT_EQ(e.wr[0], 5.0);
  EXPECT_EQ(e.wi[0], 0.0);
  EXPECT_EQ(e.vr[0], 1.0);
  EXPECT_EQ(e.vi[0], 0.0);
}

TEST(EigKernels, RotationGivesConjugatePairPlusFirst) {
  Eig e({0.0, 1.0, -1.0, 0.0});
  EXPECT_EQ(e.wr[0], 0.0);
  EXPECT_EQ(e.wi[0], 1.0);
  EXPECT_EQ(e.wi[1], -1.0);
  expect_pair_convention(e);
  expect_unit_columns(e);
  EXPECT_LT(relative_residual({0.0, 1.0, -1.0, 0.0}, e), 1e-15);
}

TEST(EigKernels, BalancingScalesByPowersOfTwoOnly) {
  std::vector<double> a = {1.0, 1000.0, 0.001, 1.0};
  int low = -1, igh = -1;
  double scale[2];
  balance(2, 2, a.data(), low, igh, scale);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(igh, 1);
  for (double s : scale) {
    int e;
    EXPECT_EQ(std::frexp(s, &e), 0.5) << s;
  }
  EXPECT_NE(scale[0], scale[1]);
  EXPECT_LT(std::fabs(a[1]), 1000.0);  // the off-diagonal pair is brought together
  EXPECT_EQ(a[0], 1.0);
  EXPECT_EQ(a[3], 1.0);
  EXPECT_DOUBLE_EQ(a[1] * a[2], 1.0);  // an exact similarity keeps the product

  Eig e({1.0, 1000.0, 0.001, 1.0});
  std::vector<double> w = {e.wr[0], e.wr[1]};
  std::sort(w.begin(), w.end());
  EXPECT_NEAR(w[0], 0.0, 1e-14);
  EXPECT_NEAR(w[1], 2.0, 1e-14);
  EXPECT_LT(relative_residual({1.0, 1000.0, 0.001, 1.0}, e), 1e-15);
}

TEST(EigKernels, ZeroMatrixGivesIdentityVectors) {
  Eig e(std::vector<double>(9, 0.0));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(e.wr[i], 0.0);
    EXPECT_EQ(e.wi[i], 0.0);
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(e.vr[i * 3 + j], i == j ? 1.0 : 0.0);
      EXPECT_EQ(e.vi[i * 3 + j], 0.0);
    }
  }
}

TEST(EigKernels, CompanionMatrixRoots) {
  // x^3 - 6x^2 + 11x - 6 = (x - 1)(x - 2)(x - 3)
  std::vector<double> a = {6.0, -11.0, 6.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0};
  Eig e(a);
  std::vector<double> w = e.wr;
  std::sort(w.begin(), w.end());
  EXPECT_NEAR(w[0], 1.0, 1e-13);
  EXPECT_NEAR(w[1], 2.0, 1e-13);
  EXPECT_NEAR(w[2], 3.0, 1e-13);
  for (double x : e.wi) EXPECT_EQ(x, 0.0);
  expect_unit_columns(e);
  EXPECT_LT(relative_residual(a, e), 1e-14);
}

TEST(EigKernels, KnownComplexPairAndRealRoot) {
  // x^3 - 5x^2 + 11x - 15 = (x - 3)(x^2 - 2x + 5): roots 3 and 1 +- 2i
  std::vector<double> a = {5.0, -11.0, 15.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0};
  Eig e(a);
  int pairs = 0;
  for (int j = 0; j < 3; ++j) {
    if (e.wi[j] > 0.0) {
      ++pairs;
      EXPECT_NEAR(e.wr[j], 1.0, 1e-13);
      EXPECT_NEAR(e.wi[j], 2.0, 1e-13);
    } else if (e.wi[j] == 0.0) {
      EXPECT_NEAR(e.wr[j], 3.0, 1e-13);
    }
  }
  EXPECT_EQ(pairs, 1);
  expect_pair_convention(e);
  expect_unit_columns(e);
  EXPECT_LT(relative_residual(a, e), 1e-14);
}

TEST(EigKernels, DefectiveMatrices) {
  // A Jordan block of size 3 hidden by a similarity, and a plain 2 x 2 Jordan block.
  std::vector<double> j2 = {1.0, 1.0, 0.0, 1.0};
  Eig e2(j2);
  EXPECT_EQ(e2.wr, (std::vector<double>{1.0, 1.0}));
  EXPECT_LT(relative_residual(j2, e2), 1e-15);
  expect_unit_columns(e2);

  // S J S^-1 with J = [[2,1,0],[0,2,1],[0,0,2]], S = [[1,1,0],[0,1,1],[1,0,1]] (det 2)
  std::vector<double> a = {2.0, 1.0, 0.0, -0.5, 2.5, 0.5, 0.5, 0.5, 1.5};
  Eig e3(a);
  for (int j = 0; j < 3; ++j) EXPECT_NEAR(std::abs(e3.lambda(j) - 2.0), 0.0, 1e-4);
  EXPECT_LT(relative_residual(a, e3), 1e-12);
  expect_pair_convention(e3);
  expect_unit_columns(e3);
}

TEST(EigKernels, RandomNonSymmetricResiduals) {
  Lcg rng{12345};
  for (int n = 1; n <= 30; ++n) {
    for (int rep = 0; rep < 3; ++rep) {
      std::vector<double> a(static_cast<size_t>(n) * n);
      for (double& x : a) x = rng.next() * (rep == 2 ? std::pow(10.0, 6.0 * rng.next()) : 1.0);
      Eig e(a);
      EXPECT_LT(relative_residual(a, e), 1e-13 * n) << "n=" << n << " rep=" << rep;
      expect_pair_convention(e);
      expect_unit_columns(e);
    }
  }
}

TEST(EigKernels, IterationCounts) {
  // Roots isolated by the balancing took no iteration.
  std::vector<double> a = {1.0, 4.0, 5.0, 0.0, 2.0, 6.0, 0.0, 0.0, 3.0};
  std::vector<double> wr(3), wi(3), vr(9), vi(9), wr2(3), wi2(3), z(9), scale(3);
  std::vector<int> inter(3), cnt(3, -99);
  eigen_driver(a.data(), 3, wr.data(), wi.data(), vr.data(), vi.data(), 1, wr2.data(),
               wi2.data(), z.data(), scale.data(), inter.data(), cnt.data());
  EXPECT_EQ(cnt, (std::vector<int>{0, 0, 0}));

  // Two roots found together carry +its at the lower and -its at the upper index; a
  // complex pair is always found together.
  Lcg rng{777};
  int iterations = 0;
  for (int n = 3; n <= 12; ++n) {
    const size_t nn = static_cast<size_t>(n) * n;
    std::vector<double> b(nn), wr_(n), wi_(n), vr_(nn), vi_(nn), wr2_(n), wi2_(n), z_(nn),
        scale_(n);
    std::vector<int> inter_(n), cnt_(n);
    for (double& x : b) x = rng.next();
    eigen_driver(b.data(), n, wr_.data(), wi_.data(), vr_.data(), vi_.data(), 1, wr2_.data(),
                 wi2_.data(), z_.data(), scale_.data(), inter_.data(), cnt_.data());
    for (int j = 0; j < n; ++j) {
      EXPECT_LE(std::abs(cnt_[j]), 30) << n;
      if (cnt_[j] < 0) {
        EXPECT_EQ(cnt_[j - 1], -cnt_[j]) << n << " root " << j;
      }
      if (wi_[j] > 0.0) {
        EXPECT_EQ(cnt_[j + 1], -cnt_[j]) << n << " pair " << j;
      }
      iterations += std::abs(cnt_[j]);
    }
  }
  EXPECT_GT(iterations, 0);
}

TEST(EigKernels, NormaliseByLargestComponent) {
  // Row-major 4 x 4 packed vectors: column 0 real, columns 1-2 a pair (re, im), column 3
  // real and zero.
  std::vector<double> z = {2.0,  1.0, 1.0, 0.0,   //
                           -4.0, 0.0, 2.0, 0.0,   //
                           4.0,  0.0, 0.0, 0.0,   //
                           1.0,  0.0, 0.0, 0.0};
  const double wi[] = {0.0, 1.0, -1.0, 0.0};
  normalise_by_largest(4, 4, z.data(), nullptr, wi);
  // Column 0: the first of the equal largest |-4| and |4| divides.
  EXPECT_EQ(z[0], -0.5);
  EXPECT_EQ(z[4], 1.0);
  EXPECT_EQ(z[8], -1.0);
  EXPECT_EQ(z[12], -0.25);
  // The pair: the largest modulus is 2i (row 1); (1 + i) / 2i = 0.5 - 0.5i.
  EXPECT_EQ(z[1], 0.5);
  EXPECT_EQ(z[2], -0.5);
  EXPECT_EQ(z[5], 1.0);
  EXPECT_EQ(z[6], 0.0);
  EXPECT_EQ(z[9], 0.0);
  EXPECT_EQ(z[10], 0.0);
  // A zero column is left as it is.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(z[i * 4 + 3], 0.0);
}

TEST(EigKernels, NoConvergenceIsFatal) {
  // A NaN keeps every splitting test false, so the iteration runs into its limit.
  std::vector<double> a = {1.0, 2.0, 3.0, 4.0, std::nan(""), 6.0, 7.0, 8.0, 9.0};
  std::vector<double> wr(3), wi(3), vr(9), vi(9), wr2(3), wi2(3), z(9), scale(3);
  std::vector<int> inter(3), cnt(3);
  testing::internal::CaptureStdout();
  std::string thrown;
  try {
    eigen_driver(a.data(), 3, wr.data(), wi.data(), vr.data(), vi.data(), 1, wr2.data(),
                 wi2.data(), z.data(), scale.data(), inter.data(), cnt.data());
  } catch (const char* text) {
    thrown = text;
  }
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(thrown, "Fatal Error : eig : no convergence in 30 iterations - hqr2\n");
  EXPECT_EQ(out, " ierr=2\nFatal Error : eig : no convergence in 30 iterations - hqr2\n");
  EXPECT_EQ(cnt[2], 31);
}

}  // namespace
