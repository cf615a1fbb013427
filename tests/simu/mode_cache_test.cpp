// Exact propagation through the mode cache: closed forms, and c2d over random steps for
// real, complex, zero and defective spectra.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "matrix/expm.h"
#include "matrix/matrix.h"
#include "simu/mode_cache.h"
#include "simu/model_expect.h"
#include "common/dm_builders.h"

namespace {

topology model(const DM& A, const DM& B) {
  topology t;
  t.A = A;
  t.B = B;
  return t;
}

// x(dt) from the library's discretisation.
DM by_c2d(const topology& t, const DM& x0, const DM& u, double dt) {
  DM Phi, Gamma;
  c2d(Phi, Gamma, t.A, t.B, dt);
  return Phi * x0 + Gamma * u;
}

void expect_close(const DM& x, const DM& ref, double rel) {
  ASSERT_EQ(x.rows, ref.rows);
  double scale = 0.0;
  for (int i = 1; i <= ref.rows; ++i) scale = std::fmax(scale, std::fabs(ref(i)));
  for (int i = 1; i <= ref.rows; ++i) EXPECT_NEAR(x(i), ref(i), rel * std::fmax(scale, 1e-300)) << i;
}

void sweep(const topology& t, const DM& x0, const DM& u, double tmax, double rel) {
  mode_cache cache;
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> pick(0.0, tmax);
  DM x;
  for (int k = 0; k < 40; ++k) {
    const double dt = pick(rng);
    cache.propagate(x, x0, u, t, dt, k);
    expect_close(x, by_c2d(t, x0, u, dt), rel);
  }
  EXPECT_EQ(cache.builds(), 1);
  EXPECT_EQ(cache.recomputations(), 1);
  EXPECT_EQ(cache.propagations(), 40);
}

TEST(ModeCache, ScalarRealModeClosedForm) {
  const double a = -3.0, b = 2.0, x0 = 1.5, u = 4.0;
  topology t = model(mat({{a}}), mat({{b}}));
  mode_cache cache;
  DM x;
  for (double dt : {1e-9, 0.01, 0.3, 2.0}) {
    cache.propagate(x, DM(x0), DM(u), t, dt, 0);
    const double e = std::exp(a * dt);
    EXPECT_NEAR(x(1), e * x0 + (e - 1.0) / a * b * u, 1e-14 * 10.0);
  }
}

TEST(ModeCache, ZeroEigenvalueIntegrates) {
  // A capacitor fed by a current source: x(t) = x0 + t B u, no division by the eigenvalue.
  topology t = model(mat({{0.0}}), mat({{5e5}}));
  mode_cache cache;
  DM x;
  cache.propagate(x, DM(2.0), DM(1e-3), t, 2e-6, 0);
  EXPECT_TRUE(cache.modal(t));
  EXPECT_NEAR(x(1), 2.0 + 2e-6 * 5e5 * 1e-3, 1e-15);
  cache.propagate(x, DM(2.0), DM(1e-3), t, 1.0, 1);
  EXPECT_NEAR(x(1), 2.0 + 500.0, 1e-12);
}

TEST(ModeCache, NearZeroEigenvalueMatchesItsClosedForm) {
  const double a = -1e-13, b = 1.0;
  topology t = model(mat({{a}}), mat({{b}}));
  mode_cache cache;
  DM x;
  cache.propagate(x, DM(0.0), DM(1.0), t, 1e-3, 0);
  EXPECT_NEAR(x(1), std::expm1(a * 1e-3) / a, 1e-18);
  EXPECT_TRUE(std::isfinite(x(1)));
}

TEST(ModeCache, ComplexPairClosedForm) {
  // x' = [s w; -w s] x + [0; 1] u: a damped rotation about the steady point.
  const double s = -0.5, w = 4.0;
  topology t = model(mat({{s, w}, {-w, s}}), mat({{0.0}, {1.0}}));
  mode_cache cache;
  DM x0 = mat({{1.0}, {-2.0}}), u = DM(3.0), x;
  const double d = s * s + w * w;
  const double xs1 = w / d * 3.0, xs2 = -s / d * 3.0;   // -A^-1 B u
  for (double dt : {0.0, 0.05, 0.7, 3.0}) {
    cache.propagate(x, x0, u, t, dt, dt == 0.0 ? 0 : 1);
    const double e = std::exp(s * dt), c = std::cos(w * dt), sn = std::sin(w * dt);
    const double r1 = 1.0 - xs1, r2 = -2.0 - xs2;
    EXPECT_NEAR(x(1), xs1 + e * (c * r1 + sn * r2), 1e-13);
    EXPECT_NEAR(x(2), xs2 + e * (-sn * r1 + c * r2), 1e-13);
  }
}

TEST(ModeCache, ZeroStepReturnsTheStartStateExactly) {
  topology t = model(mat({{-1.0, 2.0}, {0.3, -7.0}}), mat({{1.0}, {0.0}}));
  mode_cache cache;
  DM x0 = mat({{0.1}, {1.0 / 3.0}}), x;
  cache.propagate(x, x0, DM(5.0), t, 0.0, 0);
  EXPECT_EQ(x(1), 0.1);
  EXPECT_EQ(x(2), 1.0 / 3.0);
}

TEST(ModeCache, RealModesAgainstC2d) {
  topology t = model(mat({{-1.0, 2.0, 0.0}, {0.0, -3.0, 1.0}, {0.5, 0.0, -10.0}}),
                     mat({{1.0, 0.0}, {0.5, 1.0}, {0.0, -2.0}}));
  sweep(t, mat({{1.0}, {-1.0}, {2.0}}), mat({{3.0}, {0.25}}), 2.0, 1e-10);
}

TEST(ModeCache, ComplexAndRealModesAgainstC2d) {
  topology t = model(mat({{-1.0, 5.0, 0.0, 0.0}, {-5.0, -1.0, 0.0, 0.0}, {0.0, 1.0, -2.0, 0.0},
                          {1.0, 0.0, 3.0, -0.2}}),
                     mat({{0.0}, {1.0}, {0.0}, {2.0}}));
  sweep(t, mat({{0.5}, {0.0}, {-1.0}, {1.0}}), DM(2.0), 1.5, 1e-10);
}

TEST(ModeCache, ZeroEigenvalueBesideOthersAgainstC2d) {
  // An integrator coupled to a decaying mode and an undamped oscillator.
  topology t = model(mat({{0.0, 1.0, 0.0, 0.0}, {0.0, -4.0, 0.0, 0.0}, {0.0, 0.0, 0.0, 2.0},
                          {0.0, 1.0, -2.0, 0.0}}),
                     mat({{0.0}, {1.0}, {0.0}, {0.5}}));
  sweep(t, mat({{1.0}, {1.0}, {0.0}, {-1.0}}), DM(1.0), 2.0, 1e-10);
}

TEST(ModeCache, StiffConverterModesAgainstC2d) {
  // Off switch beside microhenries and microfarads: eigenvalues near -1e10 and -1e3.
  const double L = 1e-4, C = 1e-5, R = 5.0, r = 1e6;
  topology t = model(mat({{-1.0 / (R * C), 1.0 / C}, {-1.0 / L, -r / L}}), mat({{0.0}, {1.0 / L}}));
  sweep(t, mat({{3.0}, {0.5}}), DM(12.0), 1e-4, 1e-9);
}

TEST(ModeCache, DefectiveMatrixFallsBackToC2d) {
  // A double integrator has one eigenvector: V is singular.
  topology t = model(mat({{0.0, 1.0}, {0.0, 0.0}}), mat({{0.0}, {1.0}}));
  mode_cache cache;
  EXPECT_FALSE(cache.modal(t));
  DM x;
  cache.propagate(x, mat({{1.0}, {2.0}}), DM(3.0), t, 0.5, 0);
  EXPECT_NEAR(x(1), 1.0 + 2.0 * 0.5 + 3.0 * 0.125, 1e-14);
  EXPECT_NEAR(x(2), 2.0 + 1.5, 1e-14);
  sweep(t, mat({{1.0}, {2.0}}), DM(3.0), 3.0, 1e-12);
}

TEST(ModeCache, FailedDecompositionFallsBackToC2d) {
  // A widely scaled tridiagonal matrix on which the QR iteration of eig does not converge
  // in 30 iterations: the entry carries the state by c2d, and the run is not ended.
  DM A(8, 8, 0.0);
  const double sub[7] = {-3512.3832984153846, 6.5265687637392862, 15.685465298094277,
                         6.1488834111408664e-05, 236.13094652053479, 500.80458676149277,
                         -0.0034164897353398905};
  const double super[7] = {26635.680892687367, -3.0635051168428142e-06, 0.0011857359460874725,
                           -0.0017551377710058355, -7.3931502769059664e-06,
                           4.2942236321541461e-05, 3.4563675012448525};
  for (int i = 1; i <= 7; ++i) {
    A(i + 1, i) = sub[i - 1];
    A(i, i + 1) = super[i - 1];
  }
  {
    CM D, V;
    std::string text;
    testing::internal::CaptureStdout();
    try {
      eig(A, D, V);
    } catch (const char* t) {
      text = t;
    }
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(text, "Fatal Error : eig : no convergence in 30 iterations - hqr2\n");
  }
  topology t = model(A, DM(8, 1, 1.0));
  DM x0(8, 1);
  for (int i = 1; i <= 8; ++i) x0(i) = 0.1 * i;
  mode_cache cache;
  testing::internal::CaptureStdout();
  bool modal = true;
  EXPECT_NO_THROW(modal = cache.modal(t));
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(modal);
  EXPECT_EQ(printed.find("Fatal Error"), std::string::npos) << printed;
  testing::internal::CaptureStdout();   // the decomposition's own diagnostic line
  sweep(t, x0, DM(2.0), 1e-4, 1e-12);
  testing::internal::GetCapturedStdout();
  // The library's own failures still take the fatal path afterwards.
  testing::internal::CaptureStdout();
  EXPECT_THROW(DM(2, 3) * DM(2, 3), char*);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Fatal Error : Matrices do not conform - *\n");
}

TEST(ModeCache, NoSourcesAndNoStates) {
  topology osc = model(mat({{0.0, 2.0}, {-2.0, 0.0}}), DM(2, 0));
  mode_cache cache;
  DM x;
  cache.propagate(x, mat({{0.0}, {1.0}}), DM(0, 1), osc, 0.25, 0);
  EXPECT_NEAR(x(1), std::sin(0.5), 1e-14);
  EXPECT_NEAR(x(2), std::cos(0.5), 1e-14);

  topology none = model(DM(0, 0), DM(0, 1));
  cache.propagate(x, DM(0, 1), DM(1.0), none, 0.25, 0);
  EXPECT_EQ(x.rows, 0);
  EXPECT_EQ(cache.entries(), 2);
}

TEST(ModeCache, OutputMayBeTheStartState) {
  topology t = model(mat({{-2.0}}), mat({{2.0}}));
  mode_cache cache;
  DM x = DM(1.0);
  cache.propagate(x, x, DM(1.0), t, std::log(2.0), 0);
  EXPECT_NEAR(x(1), 1.0, 1e-15);   // already at the steady value
  x(1) = 0.0;
  cache.propagate(x, x, DM(1.0), t, std::log(2.0), 0);
  EXPECT_NEAR(x(1), 0.75, 1e-15);
}

TEST(ModeCache, EntriesAreKeptPerRecord) {
  topology a = model(mat({{-1.0}}), mat({{1.0}})), b = model(mat({{-2.0}}), mat({{1.0}}));
  mode_cache cache;
  DM x;
  cache.propagate(x, DM(0.0), DM(1.0), a, 0.1, 0);
  cache.propagate(x, DM(0.0), DM(1.0), b, 0.1, 0);
  cache.propagate(x, DM(0.0), DM(1.0), a, 0.2, 0);
  EXPECT_NEAR(x(1), 1.0 - std::exp(-0.2), 1e-15);
  EXPECT_EQ(cache.builds(), 2);
  EXPECT_EQ(cache.recomputations(), 3);
  cache.clear();
  EXPECT_EQ(cache.entries(), 0);
}

}  // namespace
