// c2d against closed forms: integrators (singular A), an RL circuit at tiny steps,
// LC oscillator, series RLC; and its shape failures.
#include <gtest/gtest.h>

#include <cmath>

#include "fatal_expect.h"
#include "matrix/dm_ops.h"
#include "matrix/expm.h"
#include "common/dm_builders.h"

namespace {

DM col2(double a, double b) {
  const double v[] = {a, b};
  return DM(2, 1, v);
}

TEST(C2d, PureIntegrator) {
  DM Phi, Gamma;
  c2d(Phi, Gamma, DM(0.0), DM(1.0), 0.5);
  ASSERT_EQ(Phi.n, 1u);
  ASSERT_EQ(Gamma.n, 1u);
  EXPECT_EQ(Phi(1), 1.0);
  EXPECT_EQ(Gamma(1), 0.5);
}

TEST(C2d, DoubleIntegratorIsExact) {
  // x'' = u: Phi = [[1, h], [0, 1]], Gamma = [h^2 / 2; h]
  DM Phi, Gamma;
  for (double h : {0.5, 0.25, 2.0}) {
    c2d(Phi, Gamma, rows2(0.0, 1.0, 0.0, 0.0), col2(0.0, 1.0), h);
    EXPECT_EQ(Phi(1, 1), 1.0) << h;
    EXPECT_EQ(Phi(1, 2), h) << h;
    EXPECT_EQ(Phi(2, 1), 0.0) << h;
    EXPECT_EQ(Phi(2, 2), 1.0) << h;
    EXPECT_EQ(Gamma(1), h * h / 2) << h;
    EXPECT_EQ(Gamma(2), h) << h;
  }
}

TEST(C2d, InductorChargingCapacitorSingularA) {
  // x = [iL; vC], iL' = u / L, vC' = iL / C: Phi = [[1, 0], [h/C, 1]],
  // Gamma = [h / L; h^2 / (2 L C)]
  const double L = 1e-3, C = 1e-6, h = 1e-6;
  DM Phi, Gamma;
  c2d(Phi, Gamma, rows2(0.0, 0.0, 1.0 / C, 0.0), col2(1.0 / L, 0.0), h);
  EXPECT_NEAR(Phi(1, 1), 1.0, 1e-15);
  EXPECT_NEAR(Phi(1, 2), 0.0, 1e-15);
  EXPECT_NEAR(Phi(2, 1), h / C, 1e-15 * h / C);
  EXPECT_NEAR(Phi(2, 2), 1.0, 1e-15);
  EXPECT_NEAR(Gamma(1), h / L, 1e-15 * h / L);
  EXPECT_NEAR(Gamma(2), h * h / (2 * L * C), 1e-15 * h * h / (2 * L * C));
}

TEST(C2d, LcOscillator) {
  // iL' = (u - vC) / L, vC' = iL / C; w = 1 / sqrt(LC), Z = sqrt(L / C)
  const double L = 2e-3, C = 5e-6, h = 1e-5;
  const double w = 1.0 / std::sqrt(L * C), Z = std::sqrt(L / C);
  DM Phi, Gamma;
  c2d(Phi, Gamma, rows2(0.0, -1.0 / L, 1.0 / C, 0.0), col2(1.0 / L, 0.0), h);
  const double c = std::cos(w * h), s = std::sin(w * h);
  EXPECT_NEAR(Phi(1, 1), c, 1e-14);
  EXPECT_NEAR(Phi(1, 2), -s / Z, 1e-14 / Z);
  EXPECT_NEAR(Phi(2, 1), Z * s, 1e-14 * Z);
  EXPECT_NEAR(Phi(2, 2), c, 1e-14);
  EXPECT_NEAR(Gamma(1), s / Z, 1e-14 / Z);
  EXPECT_NEAR(Gamma(2), 1.0 - c, 1e-14);
}

TEST(C2d, SeriesRlcAgainstClosedForm) {
  // iL' = (u - R iL - vC) / L, vC' = iL / C, under-damped.
  const long double R = 1.0L, L = 1e-3L, C = 1e-5L, h = 2e-5L;
  const long double a11 = -R / L, a12 = -1.0L / L, a21 = 1.0L / C, b1 = 1.0L / L;
  const long double alpha = R / (2 * L);
  const long double wd = std::sqrt(1.0L / (L * C) - alpha * alpha);
  // e^(At) = e^(-alpha t) [cos(wd t) I + sin(wd t) / wd (A + alpha I)]
  const long double ea = std::exp(-alpha * h), cw = std::cos(wd * h), sw = std::sin(wd * h) / wd;
  const long double p11 = ea * (cw + sw * (a11 + alpha)), p12 = ea * sw * a12;
  const long double p21 = ea * sw * a21, p22 = ea * (cw + sw * alpha);
  // Gamma = A^-1 (Phi - I) B with A^-1 = [[0, C], [-L, -R C]] (det A = 1 / (L C))
  const long double g1 = C * (p21 * b1), g2 = -L * ((p11 - 1) * b1) - R * C * (p21 * b1);

  DM Phi, Gamma;
  c2d(Phi, Gamma, rows2(static_cast<double>(a11), static_cast<double>(a12),
                        static_cast<double>(a21), 0.0),
      col2(static_cast<double>(b1), 0.0), static_cast<double>(h));
  const double tol = 1e-13;
  EXPECT_NEAR(Phi(1, 1), static_cast<double>(p11), tol);
  EXPECT_NEAR(Phi(1, 2), static_cast<double>(p12), tol * std::fabs(static_cast<double>(p12)));
  EXPECT_NEAR(Phi(2, 1), static_cast<double>(p21), tol * std::fabs(static_cast<double>(p21)));
  EXPECT_NEAR(Phi(2, 2), static_cast<double>(p22), tol);
  EXPECT_NEAR(Gamma(1), static_cast<double>(g1), tol * std::fabs(static_cast<double>(g1)));
  EXPECT_NEAR(Gamma(2), static_cast<double>(g2), tol * std::fabs(static_cast<double>(g2)));
}

TEST(C2d, SlowRlCircuitSettlesAtTinySteps) {
  // i' = -i + u (tau = 1 s) with u = 1: the discrete steady state Gamma / (1 - Phi) is 1
  for (double h : {1e-4, 1e-6, 1e-7, 1e-8}) {
    DM Phi, Gamma;
    c2d(Phi, Gamma, DM(-1.0), DM(1.0), h);
    ASSERT_LT(Phi(1), 1.0) << h;
    EXPECT_NEAR(Phi(1) - 1.0, std::expm1(-h), 4e-15) << h;  // a few ulps of Phi
    EXPECT_NEAR(Gamma(1) / (1.0 - Phi(1)), 1.0, 1e-6) << h;
  }
}

TEST(C2d, SeveralInputs) {
  // integrator with two inputs: x' = 2 u1 - u2
  DM Phi, Gamma;
  const double b[] = {2.0, -1.0};
  c2d(Phi, Gamma, DM(0.0), DM(1, 2, b), 0.25);
  ASSERT_EQ(Gamma.rows, 1);
  ASSERT_EQ(Gamma.cols, 2);
  EXPECT_EQ(Gamma(1, 1), 0.5);
  EXPECT_EQ(Gamma(1, 2), -0.25);
}

TEST(C2d, NoStates) {
  DM Phi(3, 3, 7.0), Gamma;
  c2d(Phi, Gamma, DM(), DM(0, 2), 1e-3);
  EXPECT_EQ(Phi.rows, 0);
  EXPECT_EQ(Phi.cols, 0);
  EXPECT_EQ(Gamma.rows, 0);
  EXPECT_EQ(Gamma.cols, 2);
}

TEST(C2d, AFailedExponentialLeavesTheOutputs) {
  DM Phi(1, 1, 7.0), Gamma(1, 1, 8.0);
  EXPECT_FATAL(c2d(Phi, Gamma, DM(std::nan("")), DM(1.0), 1e-3), "Matrix contains Inf or NaN",
               "expm");
  EXPECT_EQ(Phi(1), 7.0);
  EXPECT_EQ(Gamma(1), 8.0);
}

TEST(C2d, ShapeFailures) {
  DM Phi, Gamma;
  EXPECT_FATAL(c2d(Phi, Gamma, DM(-1.0), DM(1, 0), 1e-3), "rows,cols out of range allowed",
               "construct DM(r,c)");
  EXPECT_FATAL(c2d(Phi, Gamma, rows2(1, 0, 0, 1), DM(3, 1, 1.0), 1e-3),
               "Must be same number of rows", "Horizontal concat");
}

}  // namespace
