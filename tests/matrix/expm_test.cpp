// expm and c2d against closed forms: nilpotent and rotation generators, a stiff
// diagonalisable matrix, integrators (singular A), LC and series RLC circuits, tiny steps.
#include <cmath>

#include "common/dm_builders.h"
#include "matrix/expect_matrix.h"
#include "matrix/fatal_expect.h"
#include "matrix/matrix.h"

namespace {

TEST(Expm, ClosedForms) {
  expect_dm(expm(DM(3, 3, 0.0)), 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1});
  expect_dm(expm(rows2(0, 1, 0, 0)), 2, 2, {1, 1, 0, 1});
  // e^N = I + N + N^2 / 2 for the shift N; norm 2 takes a larger scaling count
  expect_dm(expm(rows_of(3, 3, {0, 2, 0, 0, 0, 2, 0, 0, 0})), 3, 3, {1, 2, 2, 0, 1, 2, 0, 0, 1}, 1e-15);
  for (double a : {1.0, -1.0, 0.5, -20.0, 7.25}) EXPECT_NEAR(expm(DM(a))(1), std::exp(a), 1e-14 * std::exp(a)) << a;
  for (double t : {0.3, 1.0, 10.0}) {
    SCOPED_TRACE(t);
    const double c = std::cos(t), s = std::sin(t);
    expect_dm(expm(rows2(0, t, -t, 0)), 2, 2, {c, s, -s, c}, 1e-13);
  }
  // [[-49, 24], [-64, 31]] = V diag(-1, -17) V^-1 with V = [[1, 3], [2, 4]]
  const DM E = expm(rows2(-49, 24, -64, 31));
  const double e1 = std::exp(-1.0), e17 = std::exp(-17.0);
  const double w[] = {-2 * e1 + 3 * e17, 1.5 * e1 - 1.5 * e17, -4 * e1 + 4 * e17, 3 * e1 - 2 * e17};
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(E(k / 2 + 1, k % 2 + 1), w[k], 1e-12 * std::fabs(w[k])) << k;
  // A small norm keeps e^a - 1 to a few ulps: the scaling count is capped below 1.
  EXPECT_NEAR(expm(DM(-1e-8))(1) - 1.0, std::expm1(-1e-8), 1e-15);
  EXPECT_NEAR(expm(DM(-1e-7))(1) - 1.0, std::expm1(-1e-7), 1e-16);
  expect_dm(expm(DM()), 0, 0, {});
  const double counts[][2] = {{0, 0}, {0.3, 3}, {0.9, 2}, {1, 2}, {1.5, 2}, {1000, 11}, {0.1, 3}, {1e-8, 3}};
  for (auto& c : counts) EXPECT_EQ(expm_scaling(c[0]), c[1]) << c[0];
}

TEST(C2d, IntegratorsAreExact) {
  DM Phi, Gamma;
  c2d(Phi, Gamma, DM(0.0), row({2, -1}), 0.25);  // x' = 2 u1 - u2
  expect_dm(Phi, 1, 1, {1});
  expect_dm(Gamma, 1, 2, {0.5, -0.25});
  for (double h : {0.5, 0.25, 2.0}) {  // x'' = u
    SCOPED_TRACE(h);
    c2d(Phi, Gamma, rows2(0, 1, 0, 0), col({0, 1}), h);
    expect_dm(Phi, 2, 2, {1, h, 0, 1});
    expect_dm(Gamma, 2, 1, {h * h / 2, h});
  }
  // iL' = u / L, vC' = iL / C: Phi = [[1, 0], [h / C, 1]], Gamma = [h / L; h^2 / (2 L C)]
  const double L = 1e-3, C = 1e-6, h = 1e-6;
  c2d(Phi, Gamma, rows2(0, 0, 1 / C, 0), col({1 / L, 0}), h);
  expect_dm(Phi, 2, 2, {1, 0, h / C, 1}, 1e-15);
  EXPECT_NEAR(Gamma(1), h / L, 1e-15 * h / L);
  EXPECT_NEAR(Gamma(2), h * h / (2 * L * C), 1e-15 * h * h / (2 * L * C));
  DM P0(3, 3, 7.0), G0;
  c2d(P0, G0, DM(), DM(0, 2), 1e-3);
  expect_dm(P0, 0, 0, {});
  expect_dm(G0, 0, 2, {});
}

TEST(C2d, Oscillators) {
  // LC: iL' = (u - vC) / L, vC' = iL / C; w = 1 / sqrt(LC), Z = sqrt(L / C)
  const double L = 2e-3, C = 5e-6, h = 1e-5, w = 1 / std::sqrt(L * C), Z = std::sqrt(L / C);
  DM Phi, Gamma;
  c2d(Phi, Gamma, rows2(0, -1 / L, 1 / C, 0), col({1 / L, 0}), h);
  const double c = std::cos(w * h), s = std::sin(w * h);
  EXPECT_NEAR(Phi(1, 1), c, 1e-14);
  EXPECT_NEAR(Phi(1, 2), -s / Z, 1e-14 / Z);
  EXPECT_NEAR(Phi(2, 1), Z * s, 1e-14 * Z);
  EXPECT_NEAR(Phi(2, 2), c, 1e-14);
  EXPECT_NEAR(Gamma(1), s / Z, 1e-14 / Z);
  EXPECT_NEAR(Gamma(2), 1 - c, 1e-14);
  // Series RLC, under-damped: e^(At) = e^(-alpha t) [cos(wd t) I + sin(wd t) / wd (A + alpha I)]
  // and Gamma = A^-1 (Phi - I) B with A^-1 = [[0, C], [-L, -R C]].
  const long double R = 1, l = 1e-3L, k = 1e-5L, t = 2e-5L, a11 = -R / l, a12 = -1 / l,
                    a21 = 1 / k, b1 = 1 / l, alpha = R / (2 * l);
  const long double wd = std::sqrt(1 / (l * k) - alpha * alpha), ea = std::exp(-alpha * t),
                    cw = std::cos(wd * t), sw = std::sin(wd * t) / wd;
  const long double p[] = {ea * (cw + sw * (a11 + alpha)), ea * sw * a12, ea * sw * a21,
                           ea * (cw + sw * alpha)};
  const long double g[] = {k * p[2] * b1, -l * (p[0] - 1) * b1 - R * k * p[2] * b1};
  c2d(Phi, Gamma, rows2(double(a11), double(a12), double(a21), 0), col({double(b1), 0}), double(t));
  for (int i = 0; i < 4; ++i)
    EXPECT_NEAR(Phi(i / 2 + 1, i % 2 + 1), double(p[i]), 1e-13 * std::fabs(double(p[i]))) << i;
  for (int i = 0; i < 2; ++i) EXPECT_NEAR(Gamma(i + 1), double(g[i]), 1e-13 * std::fabs(double(g[i]))) << i;
}

TEST(C2d, SlowCircuitSettlesAtTinySteps) {
  // i' = -i + u: the discrete steady state Gamma / (1 - Phi) is 1
  for (double h : {1e-4, 1e-6, 1e-7, 1e-8}) {
    SCOPED_TRACE(h);
    DM Phi, Gamma;
    c2d(Phi, Gamma, DM(-1.0), DM(1.0), h);
    ASSERT_LT(Phi(1), 1.0);
    EXPECT_NEAR(Phi(1) - 1.0, std::expm1(-h), 4e-15);
    EXPECT_NEAR(Gamma(1) / (1.0 - Phi(1)), 1.0, 1e-6);
  }
  DM Phi(1, 1, 7.0), Gamma(1, 1, 8.0);  // a failed exponential leaves the outputs
  EXPECT_FATAL(c2d(Phi, Gamma, DM(std::nan("")), DM(1.0), 1e-3), "Matrix contains Inf or NaN", "expm");
  EXPECT_EQ(Phi(1) + Gamma(1), 15.0);
}

}  // namespace
