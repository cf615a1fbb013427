// Builders, concatenation, maps and shape predicates of DM.
#include <cmath>

#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"

TEST(DMSeqa, RepeatedAddition) {
  DM s = seqa(0.0, 5, 0.1);
  ASSERT_EQ(s.rows, 5);
  ASSERT_EQ(s.cols, 1);
  EXPECT_EQ(s(5), 0.1 + 0.1 + 0.1 + 0.1);
  DM t = seqa(0.0, 11, 0.1);
  EXPECT_EQ(t(11), 0.9999999999999999);   // 10 * 0.1 would be 1.0
  DM A(2, 2);
  DM& r = A.seqa(1.0, 4, 1.0);
  EXPECT_EQ(&r, &A);
  EXPECT_EQ(A(2, 2), 4.0);
  EXPECT_FATAL(DM(2, 2).seqa(1.0, 3, 1.0), "seqa number != matrix size.", "");
  EXPECT_EQ(seqa(1.0, 0, 1.0).n, 0u);
  EXPECT_FATAL(seqa(1.0, 15001, 1.0), "rows,cols out of range allowed", "construct DM(r,c)");
}

TEST(DMFill, EveryElement) {
  DM A(3, 2);
  DM& r = A.fill(2.5);
  EXPECT_EQ(&r, &A);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(A(k), 2.5);
}

TEST(DMEye, Rectangular) {
  DM I = eye(2, 3);
  const double want[] = {1, 0, 0, 1, 0, 0};
  ASSERT_EQ(I.rows, 2);
  ASSERT_EQ(I.cols, 3);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(I(k), want[k - 1]);
  EXPECT_EQ(eye(3, 2)(3, 2), 0.0);
  EXPECT_EQ(eye(3, 2)(2, 2), 1.0);
  EXPECT_FATAL(eye(0, 3), "rows,cols out of range allowed", "construct DM(r,c)");
}

TEST(DMConcat, HorizontalAndVertical) {
  const double a[] = {1, 2, 3, 4};   // [1 3; 2 4]
  const double b[] = {5, 6};
  DM A(2, 2, a);
  DM H = hconcat(A, DM(2, 1, b));
  ASSERT_EQ(H.cols, 3);
  EXPECT_EQ(H(1, 3), 5.0);
  EXPECT_EQ(H(2, 2), 4.0);
  DM V = vconcat(A, DM(1, 2, b));
  ASSERT_EQ(V.rows, 3);
  ASSERT_EQ(V.cols, 2);
  const double want[] = {1, 2, 5, 3, 4, 6};
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(V(k), want[k - 1]);
  EXPECT_FATAL(hconcat(A, DM(3, 1, 0.0)), "Must be same number of rows", "Horizontal concat");
  EXPECT_FATAL(vconcat(DM(2, 3, 0.0), DM(2, 4, 0.0)), "Must be same number of columns", "Vertical concat");
  EXPECT_FATAL(hconcat(DM(1, 15000, 0.0), DM(1, 1, 0.0)), "rows,cols out of range allowed",
               "construct DM(r,c)");
}

TEST(DMConcat, EmptyOperandShares) {
  DM B(2, 2, 1.0);
  EXPECT_EQ(hconcat(DM(), B).blk, B.blk);
  EXPECT_EQ(hconcat(B, DM(0, 5)).blk, B.blk);
  EXPECT_EQ(vconcat(DM(3, 0), B).blk, B.blk);
  EXPECT_EQ(vconcat(B, DM()).blk, B.blk);
}

TEST(DMAppend, RowsAndColumns) {
  const double a[] = {1, 3, 2, 4};   // [1 2; 3 4]
  const double b[] = {5, 6};
  DM T(2, 2, a);
  T.append_rows(DM(1, 2, b));
  ASSERT_EQ(T.rows, 3);
  ASSERT_EQ(T.cols, 2);
  const double want[] = {1, 3, 5, 2, 4, 6};
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(T(k), want[k - 1]);
  T.append_columns(DM(3, 1, 9.0));
  ASSERT_EQ(T.cols, 3);
  EXPECT_EQ(T(3, 3), 9.0);
  EXPECT_EQ(T(2, 2), 4.0);
  EXPECT_FATAL(T.append_rows(DM(1, 2, 0.0)), "Must be same number of columns", "Vertical concat");
  EXPECT_FATAL(T.append_columns(DM(2, 1, 0.0)), "Must be same number of rows", "Horizontal concat");
  T.append_rows(DM());
  EXPECT_EQ(T.rows, 3);
}

TEST(DMAppend, ToAnEmptyMatrixCopies) {
  DM B(2, 2, 1.0);
  DM T;
  T.append_columns(B);
  EXPECT_NE(T.blk, B.blk);
  T(1) = 5.0;
  EXPECT_EQ(B(1), 1.0);
  DM U(0, 2);
  U.append_rows(B);
  EXPECT_NE(U.blk, B.blk);
  EXPECT_EQ(U.rows, 2);
}

TEST(DMAppend, ToItself) {
  const double a[] = {1, 2, 3, 4, 5, 6};   // 2 x 3
  DM T(2, 3, a);
  T.append_columns(T);
  ASSERT_EQ(T.cols, 6);
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(T(k), a[(k - 1) % 6]);
  DM U(2, 3, a);
  U.append_rows(U);
  ASSERT_EQ(U.rows, 4);
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(U(i, j), a[(j - 1) * 2 + (i - 1) % 2]);
}

TEST(DMAppend, SharedTargetGetsItsOwnBlock) {
  DM T(2, 2, 1.0);
  DM S(T);
  T.append_rows(DM(1, 2, 2.0));
  EXPECT_EQ(S.rows, 2);
  EXPECT_EQ(S.n, 4u);
  EXPECT_EQ(T(3, 2), 2.0);
}

TEST(DMMaps, StandardFunctions) {
  const double v[] = {-1.5, 0.25};
  DM A(1, 2, v);
  EXPECT_EQ(abs(A)(1), 1.5);
  EXPECT_EQ(floor(A)(1), -2.0);
  EXPECT_EQ(log(DM(1.0))(1), 0.0);
  EXPECT_EQ(log10(DM(1000.0))(1), 3.0);
  EXPECT_EQ(sin(A)(2), std::sin(0.25));
  EXPECT_EQ(cos(A)(2), std::cos(0.25));
  EXPECT_EQ(tan(A)(2), std::tan(0.25));
  EXPECT_EQ(asin(A)(2), std::asin(0.25));
  EXPECT_EQ(acos(A)(2), std::acos(0.25));
  EXPECT_EQ(atan(A)(1), std::atan(-1.5));
  DM M = map([](double x) { return 2 * x; }, A);
  EXPECT_EQ(M.rows, 1);
  EXPECT_EQ(M(1), -3.0);
  DM R = map_ref([](const double* p) { return *p + 1; }, A);
  EXPECT_EQ(R(2), 1.25);
  EXPECT_TRUE(std::isnan(log(DM(-1.0))(1)));
}

TEST(DMShapes, Predicates) {
  EXPECT_EQ(is1x1(DM(1.0)), 1);
  EXPECT_EQ(is1x1(DM(1, 2)), 0);
  EXPECT_EQ(same_shape(DM(2, 3), DM(2, 3)), 1);
  EXPECT_EQ(same_shape(DM(2, 3), DM(3, 2)), 0);
  EXPECT_EQ(isvector(DM(1, 4)), 1);
  EXPECT_EQ(isvector(DM(4, 1)), 1);
  EXPECT_EQ(isvector(DM(1, 0)), 0);
  EXPECT_EQ(isvector(DM(2, 2)), 0);
  EXPECT_EQ(isrow(DM(1, 3)), 1);
  EXPECT_EQ(isrow(DM(3, 1)), 0);
  EXPECT_EQ(iscol(DM(3, 1)), 1);
  EXPECT_EQ(iscol(DM(0, 1)), 0);
}
