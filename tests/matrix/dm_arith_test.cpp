// Sums, products, quotients, negation and transpose of DM.
#include <cmath>
#include <limits>

#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"

namespace {
DM m23() {
  const double v[] = {1, 2, 3, 4, 5, 6};   // [1 3 5; 2 4 6]
  return DM(2, 3, v);
}
}  // namespace

TEST(DMShapeClass, OrderOfTests) {
  EXPECT_EQ(shape_class(DM(1.0), DM(1.0)), 1);
  EXPECT_EQ(shape_class(DM(1.0), DM(2, 3)), 1);
  EXPECT_EQ(shape_class(DM(2, 3), DM(1.0)), 2);
  EXPECT_EQ(shape_class(DM(2, 3), DM(2, 3)), 6);
  EXPECT_EQ(shape_class(DM(1, 3), DM(3, 1)), 3);
  EXPECT_EQ(shape_class(DM(1, 3), DM(4, 1)), 3);
  EXPECT_EQ(shape_class(DM(3, 1), DM(1, 3)), 4);
  EXPECT_EQ(shape_class(DM(2, 3), DM(3, 4)), 5);
  EXPECT_EQ(shape_class(DM(2, 3), DM(4, 5)), 0);
  EXPECT_EQ(shape_class(DM(2, 2), DM(2, 2)), 6);
}

TEST(DMAdd, ScalarExpansionAndSameShape) {
  DM A = m23();
  DM S = DM(10.0) + A;
  EXPECT_EQ(S.rows, 2);
  EXPECT_EQ(S.cols, 3);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(S(k), 10.0 + k);
  DM T = A - DM(1.0);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(T(k), k - 1.0);
  DM U = A + A;
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(U(k), 2.0 * k);
  DM V = DM(1.0) - A;
  EXPECT_EQ(V(6), -5.0);
  EXPECT_EQ((A + 1.0)(1), 2.0);
}

TEST(DMAdd, IncompatibleShapesFail) {
  EXPECT_FATAL(DM(2, 3, 1.0) + DM(3, 2, 1.0), "Incompatible matrices for", "+");
  EXPECT_FATAL(DM(2, 3, 1.0) - DM(3, 2, 1.0), "Incompatible matrices for", "-");
  EXPECT_FATAL(ediv(DM(2, 3, 1.0), DM(3, 2, 1.0)), "Incompatible matrices for", "/");
  EXPECT_FATAL(DM(1, 3, 1.0) + DM(3, 1, 1.0), "Incompatible matrices for", "+");
}

TEST(DMEdiv, QuotientsWithoutZeroTest) {
  const double a[] = {1, -1, 0, 6};
  const double b[] = {0, 0, 0, 4};
  DM Q = ediv(DM(2, 2, a), DM(2, 2, b));
  EXPECT_EQ(Q(1), std::numeric_limits<double>::infinity());
  EXPECT_EQ(Q(2), -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(Q(3)));
  EXPECT_EQ(Q(4), 1.5);
  const double c[] = {1, 2, 4, 8};
  DM R = ediv(DM(1.0), DM(2, 2, c));
  EXPECT_EQ(R(3), 0.25);
  DM S = ediv(DM(2, 2, c), DM(2.0));
  EXPECT_EQ(S(4), 4.0);
}

TEST(DMMul, ScalarRowColumnAndOuter) {
  const double r[] = {1, 2, 3};
  DM row(1, 3, r), col(3, 1, r);
  DM dot = row * col;
  EXPECT_EQ(dot.rows, 1);
  EXPECT_EQ(dot.cols, 1);
  EXPECT_EQ(dot(1), 14.0);
  DM outer = col * row;
  EXPECT_EQ(outer.rows, 3);
  EXPECT_EQ(outer.cols, 3);
  EXPECT_EQ(outer(2, 3), 6.0);
  EXPECT_EQ(outer(3, 1), 3.0);
  DM s = DM(2.0) * m23();
  EXPECT_EQ(s(2, 3), 12.0);
  DM t = m23() * DM(0.5);
  EXPECT_EQ(t(1, 2), 1.5);
}

TEST(DMMul, MatrixProduct) {
  const double a[] = {1, 3, 2, 4};   // [1 2; 3 4]
  const double b[] = {5, 7, 6, 8};   // [5 6; 7 8]
  DM P = DM(2, 2, a) * DM(2, 2, b);
  EXPECT_EQ(P(1, 1), 19.0);
  EXPECT_EQ(P(1, 2), 22.0);
  EXPECT_EQ(P(2, 1), 43.0);
  EXPECT_EQ(P(2, 2), 50.0);
  DM Q = m23() * m23().transpose();   // class 5
  EXPECT_EQ(Q.rows, 2);
  EXPECT_EQ(Q.cols, 2);
  EXPECT_EQ(Q(1, 1), 35.0);
  EXPECT_EQ(Q(1, 2), 44.0);
  EXPECT_EQ(Q(2, 2), 56.0);
}

TEST(DMMul, AccumulatesInIncreasingK) {
  // (1e16 + 1) - 1e16 in increasing k is 0; another order would give 1.
  const double a[] = {1e16, 1, -1e16};
  const double b[] = {1, 1, 1};
  DM p = DM(1, 3, a) * DM(3, 1, b);
  EXPECT_EQ(p(1), 0.0);
}

TEST(DMMul, NonConformingFails) {
  EXPECT_FATAL(DM(2, 3, 1.0) * DM(2, 3, 1.0), "Matrices do not conform", "*");
  EXPECT_FATAL(DM(2, 3, 1.0) * DM(4, 5, 1.0), "Matrices do not conform", "*");
  EXPECT_FATAL(DM(1, 3, 1.0) * DM(4, 1, 1.0), "Matrices do not conform", "*");
  EXPECT_FATAL(matmul(DM(2, 3, 1.0), DM(2, 3, 1.0)), "Matrices do not conform", "*");
}

TEST(DMMul, EmptyInnerDimensionGivesZeros) {
  DM P = matmul(DM(2, 0), DM(0, 3));
  EXPECT_EQ(P.rows, 2);
  EXPECT_EQ(P.cols, 3);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(P(k), 0.0);
}

TEST(DMEmul, SameShapeOnly) {
  DM E = emul(m23(), m23());
  EXPECT_EQ(E(6), 36.0);
  EXPECT_EQ(E.rows, 2);
  EXPECT_FATAL(emul(DM(2, 3, 1.0), DM(1, 2, 1.0)), "Must be same shape matrices.", "emul");
  EXPECT_FATAL(emul(DM(2, 3, 1.0), DM(3, 2, 1.0)), "Must be same shape matrices.", "emul");
}

TEST(DMScale, EveryElement) {
  DM S = scale(-2.0, m23());
  EXPECT_EQ(S(5), -10.0);
  EXPECT_EQ(S.cols, 3);
}

TEST(DMUnary, NegateFlipsSignBits) {
  const double v[] = {0.0, 1.0, -2.0};
  DM N = -DM(3, 1, v);
  EXPECT_TRUE(std::signbit(N(1)));
  EXPECT_EQ(N(2), -1.0);
  EXPECT_EQ(N(3), 2.0);
  EXPECT_EQ(N.rows, 3);
}

TEST(DMUnary, Transpose) {
  DM T = m23().transpose();
  EXPECT_EQ(T.rows, 3);
  EXPECT_EQ(T.cols, 2);
  EXPECT_EQ(T(3, 1), 5.0);
  EXPECT_EQ(T(1, 2), 2.0);
  EXPECT_EQ(T(3, 2), 6.0);
  DM E = DM(0, 4).transpose();
  EXPECT_EQ(E.rows, 4);
  EXPECT_EQ(E.cols, 0);
}

TEST(DMUnary, Not) {
  const double v[] = {0.0, -0.0, 2.0, std::numeric_limits<double>::quiet_NaN()};
  DM N = !DM(2, 2, v);
  EXPECT_EQ(N(1), 1.0);
  EXPECT_EQ(N(2), 1.0);
  EXPECT_EQ(N(3), 0.0);
  EXPECT_EQ(N(4), 0.0);
}
