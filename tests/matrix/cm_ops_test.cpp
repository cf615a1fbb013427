// CM arithmetic, comparisons, reductions, concatenation and maps.
#include <cmath>

#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"

namespace {
CM c22() {
  const complex z[] = {complex(1, 1), complex(2, 0), complex(0, 3), complex(4, -1)};
  return CM(2, 2, z);   // [(1,1) (0,3); (2,0) (4,-1)]
}
}  // namespace

TEST(CMArith, SumsAndScalarExpansion) {
  CM A = c22();
  CM S = A + CM(1.0, 1.0);
  EXPECT_EQ(S(1).re, 2.0);
  EXPECT_EQ(S(1).im, 2.0);
  EXPECT_EQ(S(4).im, 0.0);
  CM D = A - A;
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(D(k).re, 0.0);
  CM M = A + DM(2, 2, 1.0);   // a real operand converts
  EXPECT_EQ(M(2).re, 3.0);
  EXPECT_FATAL(A + CM(3, 1, 1.0), "Incompatible matrices for", "+");
  EXPECT_FATAL(A - CM(1, 2, 1.0), "Incompatible matrices for", "-");
  EXPECT_FATAL(ediv(A, CM(1, 2, 1.0)), "Incompatible matrices for", "/");
}

TEST(CMArith, EdivUsesSmithDivision) {
  CM Q = ediv(CM(1.0, 0.0), CM(2, 1, 0.0, 2.0));
  EXPECT_EQ(Q(2).re, 0.0);
  EXPECT_EQ(Q(2).im, -0.5);
}

TEST(CMArith, Products) {
  CM A = c22();
  CM P = A * A;
  // (1,1)(1,1) + (0,3)(2,0) = (0,2) + (0,6) = (0,8)
  EXPECT_EQ(P(1, 1).re, 0.0);
  EXPECT_EQ(P(1, 1).im, 8.0);
  // (2,0)(0,3) + (4,-1)(4,-1) = (0,6) + (15,-8) = (15,-2)
  EXPECT_EQ(P(2, 2).re, 15.0);
  EXPECT_EQ(P(2, 2).im, -2.0);
  CM S = CM(0.0, 1.0) * A;
  EXPECT_EQ(S(1).re, -1.0);
  EXPECT_EQ(S(1).im, 1.0);
  CM T = A * CM(2.0);
  EXPECT_EQ(T(3).im, 6.0);
  EXPECT_FATAL(CM(2, 3, 1.0) * CM(2, 3, 1.0), "Matrices do not conform", "*");
  CM E = emul(A, A);
  EXPECT_EQ(E(3).re, -9.0);
  EXPECT_FATAL(emul(A, CM(1, 4, 1.0)), "Must be same shape matrices.", "emul");
}

TEST(CMUnary, NegateTransposeNotRealImag) {
  CM A = c22();
  CM N = -A;
  EXPECT_EQ(N(1).im, -1.0);
  CM T = CM(1, 2, 1.0, 2.0).transpose();
  EXPECT_EQ(T.rows, 2);
  EXPECT_EQ(T(1).im, 2.0);   // no conjugation
  const complex z[] = {complex(0, 0), complex(0, 1), complex(1, 0)};
  DM n = !CM(3, 1, z);
  EXPECT_EQ(n(1), 1.0);
  EXPECT_EQ(n(2), 0.0);
  EXPECT_EQ(n(3), 0.0);
  DM r = A.real(), i = A.imag();
  EXPECT_EQ(r(3), 0.0);
  EXPECT_EQ(i(3), 3.0);
  EXPECT_EQ(r.rows, 2);
}

TEST(CMCompare, EqualityAndLogic) {
  DM e = CM(1.0, 2.0) == CM(1.0, 3.0);
  EXPECT_EQ(e(1), 0.0);
  DM ne = CM(1.0, 2.0) != CM(1.0, 3.0);
  EXPECT_EQ(ne(1), 1.0);
  DM a = CM(0.0, 0.5) && CM(2.0);
  EXPECT_EQ(a(1), 1.0);   // no truncation
  DM o = CM(0.0, 0.0) || CM(0.0, 0.0);
  EXPECT_EQ(o(1), 0.0);
  DM x = CM(2.0) == c22();
  EXPECT_EQ(x.rows, 2);
  EXPECT_EQ(x(2), 1.0);
  EXPECT_EQ(x(1), 0.0);
  EXPECT_FATAL(CM(1, 2, 1.0) == CM(2, 1, 1.0), "Must be same shape matrices.", "==");
  EXPECT_FATAL(CM(1, 2, 1.0) || CM(2, 1, 1.0), "Must be same shape matrices.", "||");
}

TEST(CMFind, PositionsOfNonZero) {
  const complex z[] = {complex(0, 0), complex(0, 1), complex(0, 0), complex(2, 0)};
  DM f = find(CM(1, 4, z));
  ASSERT_EQ(f.rows, 1);
  ASSERT_EQ(f.cols, 2);
  EXPECT_EQ(f(1), 2.0);
  EXPECT_EQ(f(2), 4.0);
  DM g = find(CM(4, 1, z));
  EXPECT_EQ(g.cols, 1);
  EXPECT_EQ(find(CM(2, 2, 0.0)).n, 0u);
}

TEST(CMReduce, Sums) {
  CM A = c22();
  complex s = sum(A);
  EXPECT_EQ(s.re, 7.0);
  EXPECT_EQ(s.im, 3.0);
  CM c = sumc(A);
  EXPECT_EQ(c.rows, 1);
  EXPECT_EQ(c(2).re, 4.0);
  EXPECT_EQ(c(2).im, 2.0);
  CM r = sumr(A);
  EXPECT_EQ(r.cols, 1);
  EXPECT_EQ(r(1).im, 4.0);
  EXPECT_FATAL(sumc(CM(0, 3)), "Index out of range", "CM(i,j)");
}

TEST(CMBuild, SeqaFillEye) {
  CM s = seqa(complex(0, 1), 3, complex(0.5, -1));
  EXPECT_EQ(s.rows, 3);
  EXPECT_EQ(s(3).re, 1.0);
  EXPECT_EQ(s(3).im, -1.0);
  EXPECT_FATAL(CM(2, 2).seqa(complex(0, 0), 3, complex(1, 0)), "seqa number != matrix size.", "");
  CM f(2, 2);
  f.fill(complex(3, 4));
  EXPECT_EQ(f(4).im, 4.0);
  CM I = ceye(2, 3);
  EXPECT_EQ(I(1, 1).re, 1.0);
  EXPECT_EQ(I(2, 2).re, 1.0);
  EXPECT_EQ(I(1, 2).re, 0.0);
  EXPECT_EQ(I(2, 3).im, 0.0);
  EXPECT_FATAL(ceye(0, 3), "rows,cols out of range allowed", "construct CM(r,c)");
}

TEST(CMConcat, NewAndInPlace) {
  CM A = c22();
  CM H = hconcat(A, CM(2, 1, 9.0));
  EXPECT_EQ(H.cols, 3);
  EXPECT_EQ(H(2, 3).re, 9.0);
  EXPECT_EQ(hconcat(CM(), A).blk, A.blk);
  CM V = vconcat(A, CM(1, 2, 0.0, 7.0));
  EXPECT_EQ(V.rows, 3);
  EXPECT_EQ(V(3, 2).im, 7.0);
  EXPECT_EQ(V(2, 2).re, 4.0);
  EXPECT_FATAL(vconcat(A, CM(1, 3, 1.0)), "Must be same number of columns", "Vertical concat");
  CM T(A);
  T.append_rows(T);
  EXPECT_EQ(T.rows, 4);
  EXPECT_EQ(T(3, 1).im, 1.0);
  EXPECT_EQ(T(4, 2).re, 4.0);
  CM U;
  U.append_columns(A);
  EXPECT_NE(U.blk, A.blk);
  U.append_columns(U);
  EXPECT_EQ(U.cols, 4);
  EXPECT_EQ(U(2, 4).im, -1.0);
  EXPECT_FATAL(U.append_columns(CM(3, 1, 1.0)), "Must be same number of rows", "Horizontal concat");
}

TEST(CMMaps, ElementWise) {
  CM A(1, 2, -1.0);
  CM L = log(A);
  EXPECT_NEAR(L(2).im, 3.14159265358979323846, 1e-15);
  CM S = sin(CM(0.0, 1.0));
  EXPECT_EQ(S(1).re, 0.0);
  EXPECT_NEAR(S(1).im, std::sinh(1.0), 1e-15);
  DM m = map([](complex z) { return z.re + z.im; }, c22());
  EXPECT_EQ(m(4), 3.0);
  DM r = map_ref([](const complex* z) { return z->im; }, c22());
  EXPECT_EQ(r(3), 3.0);
  EXPECT_EQ(log10(CM(100.0))(1).re, 2.0);
  EXPECT_EQ(is1x1(CM(1.0)), 1);
  EXPECT_EQ(isrow(CM(1, 3)), 1);
  EXPECT_EQ(iscol(CM(1, 3)), 0);
  EXPECT_EQ(isvector(CM(0, 3)), 0);
  EXPECT_EQ(same_shape(CM(2, 3), CM(2, 3)), 1);
}
