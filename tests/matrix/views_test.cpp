// Index views: index tests, gather, scatter, view-to-view and the CM twin.
#include <limits>

#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"
#include "common/dm_builders.h"

namespace {
DM m34() {
  DM A(3, 4);
  A.seqa(1.0, 12, 1.0);   // A(i, j) = (j - 1) * 3 + i
  return A;
}
}  // namespace

TEST(ViewGather, TwoIndexWithRepeats) {
  DM A = m34();
  DM G = A(row({3, 1}), col({2, 2}));
  ASSERT_EQ(G.rows, 2);
  ASSERT_EQ(G.cols, 2);
  EXPECT_EQ(G(1, 1), A(3, 2));
  EXPECT_EQ(G(1, 2), A(3, 2));
  EXPECT_EQ(G(2, 1), A(1, 2));
  EXPECT_EQ(G(2, 2), A(1, 2));
  EXPECT_NE(G.blk, A.blk);
}

TEST(ViewGather, LinearTakesTheIndexShape) {
  DM A = m34();
  const double idx[] = {12, 1, 5, 5, 2, 7};
  DM G = A(DM(2, 3, idx));
  ASSERT_EQ(G.rows, 2);
  ASSERT_EQ(G.cols, 3);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(G(k), idx[k - 1]);
}

TEST(ViewGather, TruncatedIndices) {
  DM A = m34();
  DM G = A(DM(2.9), DM(4.99));
  EXPECT_EQ(G(1), A(2, 4));
  DM L = A(DM(11.5));
  EXPECT_EQ(L(1), 11.0);
}

TEST(ViewGather, ColonForms) {
  DM A = m34();
  DM C = A(colon(), row({4, 1}));
  ASSERT_EQ(C.rows, 3);
  ASSERT_EQ(C.cols, 2);
  EXPECT_EQ(C(3, 1), 12.0);
  EXPECT_EQ(C(2, 2), 2.0);
  DM R = A(DM(2.0), colon());
  ASSERT_EQ(R.rows, 1);
  ASSERT_EQ(R.cols, 4);
  EXPECT_EQ(R(4), 11.0);
  DM E = DM(0, 3)(colon(), DM(2.0));
  EXPECT_EQ(E.n, 0u);
  EXPECT_EQ(E.rows, 0);
  EXPECT_EQ(E.cols, 1);
}

TEST(ViewGather, ConstMatrixAndConversionToArgument) {
  const DM A = m34();
  EXPECT_EQ(sum(A(DM(1.0), colon())), 1.0 + 4 + 7 + 10);
}

TEST(ViewIndexTest, OutOfRangeTexts) {
  DM A = m34();
  EXPECT_FATAL(A(DM(0.5), DM(1.0)), "Index DM contains elements out of range", "DM(DM,DM)");
  EXPECT_FATAL(A(DM(1.0), DM(5.0)), "Index DM contains elements out of range", "DM(DM,DM)");
  EXPECT_FATAL(A(DM(4.0), colon()), "Index DM contains elements out of range", "DM(DM,DM)");
  EXPECT_FATAL(A(DM(0.5)), "Index DM contains elements out of range", "DM(DM)");
  EXPECT_FATAL(A(DM(13.0)), "Index DM contains elements out of range", "DM(DM)");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FATAL(A(DM(nan)), "Index DM contains elements out of range", "DM(DM)");
  EXPECT_FATAL(A(DM(nan), DM(1.0)), "Index DM contains elements out of range", "DM(DM,DM)");
  DM two(2, 2, 0.0);
  DM G = two(DM(2.9), DM(1.0));
  EXPECT_EQ(G.n, 1u);
}

TEST(ViewScatter, TwoIndex) {
  DM A = m34();
  const double b[] = {-1, -2, -3, -4};
  A(row({3, 1}), row({4, 2})) = DM(2, 2, b);
  EXPECT_EQ(A(3, 4), -1.0);
  EXPECT_EQ(A(1, 4), -2.0);
  EXPECT_EQ(A(3, 2), -3.0);
  EXPECT_EQ(A(1, 2), -4.0);
  EXPECT_EQ(A(2, 2), 5.0);
  EXPECT_FATAL(A(row({1, 2}), row({1, 2})) = DM(2, 3, 0.0),
               "Number of elements in J must equal number of columns in B", "A(I,J) = B");
  EXPECT_FATAL(A(row({1, 2}), row({1, 2})) = DM(3, 2, 0.0),
               "Number of elements in I must equal number of rows in B", "A(I,J) = B");
}

TEST(ViewScatter, LinearAnyShapeAndRepeats) {
  DM A = m34();
  A(row({1, 2, 3})) = col({7, 8, 9});
  EXPECT_EQ(A(3), 9.0);
  A(col({1, 2, 3})) = row({4, 5, 6});
  EXPECT_EQ(A(2), 5.0);
  A(row({2, 2})) = row({5, 7});
  EXPECT_EQ(A(2), 7.0);
  EXPECT_FATAL(A(row({1, 2})) = row({1, 2, 3}), "Number of elements in I must equal number in B",
               "A(I) = B");
}

TEST(ViewScatter, EmptyRightHandSide) {
  DM A = m34();
  EXPECT_FATAL(A(row({1, 2})) = DM(), "This operation is not supported", "SDM::operator =");
  DM E;
  E(DM()) = DM();   // nothing to do
  EXPECT_EQ(E.n, 0u);
}

TEST(ViewScatter, SeenThroughSharingMatrices) {
  DM A = m34();
  DM B(A);
  A(DM(1.0), DM(1.0)) = DM(100.0);
  EXPECT_EQ(B(1, 1), 100.0);
}

TEST(ViewScatter, FromItsOwnBlockWorksAsFromASnapshot) {
  DM A(2, 1);
  A.seqa(1.0, 2, 1.0);
  A(row({2, 1}), DM(1.0)) = A;   // swap through the target itself
  EXPECT_EQ(A(1), 2.0);
  EXPECT_EQ(A(2), 1.0);
  DM C(3, 1);
  C.seqa(1.0, 3, 1.0);
  DM S(C);
  C(row({3, 1, 2})) = S;   // a sharing copy is the same block
  EXPECT_EQ(C(3), 1.0);
  EXPECT_EQ(C(1), 2.0);
  EXPECT_EQ(C(2), 3.0);
}

TEST(ViewScatter, IndicesThatShareTheTargetAreReadBeforeTheWrites) {
  // A(A) = B with A = [2 1]: the indices are [2 1] as the view found them, so A(2) = 5
  // and A(1) = 7; the first write must not turn the second index into 5.
  DM A = row({2, 1});
  A(A) = row({5, 7});
  EXPECT_EQ(A(1), 7.0);
  EXPECT_EQ(A(2), 5.0);
  // Rows [2 1 1 2] of column 1 of [2 1; 1 2] (the index is the target's own block).
  const double v[] = {2, 1, 1, 2};
  DM M(2, 2, v);
  M(M, DM(1.0)) = col({5, 6, 7, 8});
  EXPECT_EQ(M(1, 1), 7.0);
  EXPECT_EQ(M(2, 1), 8.0);
  EXPECT_EQ(M(1, 2), 1.0);
  EXPECT_EQ(M(2, 2), 2.0);
}

TEST(ViewToView, GathersBeforeScattering) {
  DM A(1, 4);
  A.seqa(1.0, 4, 1.0);
  A(row({2, 3, 4})) = A(row({1, 2, 3}));
  EXPECT_EQ(A(1), 1.0);
  EXPECT_EQ(A(2), 1.0);
  EXPECT_EQ(A(3), 2.0);
  EXPECT_EQ(A(4), 3.0);
  DM B(2, 2, 0.0);
  B(colon(), DM(2.0)) = A(col({4, 3}));
  EXPECT_FATAL(B(colon(), DM(2.0)) = A(row({4, 3})),
               "Number of elements in I must equal number of rows in B", "A(I,J) = B");
  EXPECT_EQ(B(1, 2), 3.0);
  EXPECT_EQ(B(2, 2), 2.0);
}

TEST(ViewSetDouble, RowIndexIsTestedUntruncated) {
  DM A(2, 2, 0.0);
  A(DM(1.5), DM(1.0)) = 3.0;
  EXPECT_EQ(A(1, 1), 3.0);
  DM R(1, 2, 0.0);
  EXPECT_FATAL(R(DM(1.5), DM(1.0)) = 3.0, "Index out of range", "DM(i,j)");
  DM T(2, 2, 0.0);
  EXPECT_FATAL(T(DM(2.7), DM(1.0)) = 1.0, "Index out of range", "DM(i,j)");
  T(DM(1.0), DM(2.7)) = 4.0;   // columns are truncated
  EXPECT_EQ(T(1, 2), 4.0);
  T(row({1, 4})) = 9.0;
  EXPECT_EQ(T(4), 9.0);
  EXPECT_EQ(T(1), 9.0);
  T(colon(), DM(1.0)) = -1.0;
  EXPECT_EQ(T(2, 1), -1.0);
}

TEST(ViewCM, GatherScatterAndTexts) {
  const complex z[] = {complex(1, 1), complex(2, 2), complex(3, 3), complex(4, 4)};
  CM A(2, 2, z);
  CM G = A(colon(), DM(2.0));
  ASSERT_EQ(G.rows, 2);
  EXPECT_EQ(G(2).im, 4.0);
  CM L = A(row({4, 1}));
  EXPECT_EQ(L.cols, 2);
  EXPECT_EQ(L(1).re, 4.0);
  A(DM(1.0), colon()) = CM(1, 2, 0.0, -1.0);
  EXPECT_EQ(A(1, 2).im, -1.0);
  A(row({2, 1})) = A(row({1, 2}));
  EXPECT_EQ(A(1).re, 2.0);
  EXPECT_EQ(A(2).im, -1.0);
  A(DM(2.0), DM(2.0)) = complex(7, 8);
  EXPECT_EQ(A(2, 2).im, 8.0);
  A(row({2, 1}), DM(1.0)) = A(colon(), DM(1.0));
  EXPECT_EQ(A(1, 1).re, 0.0);
  EXPECT_FATAL(A(DM(3.0), DM(1.0)), "Index DM contains elements out of range", "CM(DM,DM)");
  EXPECT_FATAL(A(DM(0.0)), "Index DM contains elements out of range", "CM(DM)");
  EXPECT_FATAL(A(DM(1.0)) = CM(), "This operation is not supported", "SCM::operator =");
  EXPECT_FATAL(A(DM(1.0)) = CM(1, 2, 0.0), "Number of elements in I must equal number in B", "A(I) = B");
  EXPECT_FATAL(A(DM(1.0), colon()) = CM(2, 2, 0.0),
               "Number of elements in I must equal number of rows in B", "A(I,J) = B");
  CM S(A);
  A(DM(1.0)) = complex(5, 5);
  EXPECT_EQ(S(1).re, 5.0);
}

TEST(ViewGather, SizeBeyond32BitsIsOutOfMemory) {
  // 70000 x 70000 elements do not fit a 32-bit count: the gather must not wrap to a
  // small block and then write past it.
  DM I;
  I.redim(70000, 1, false);
  I.fill(1.0);
  DM A(1, 1, 2.0);
  EXPECT_FATAL(DM G = A(I, I), "out of memory", "new_DDB()");
  CM C(1, 1, 2.0);
  EXPECT_FATAL(CM G = C(I, I), "out of memory", "new_CDB()");
  DM ok = A(I, DM(1.0));
  EXPECT_EQ(ok.n, 70000u);
  EXPECT_EQ(ok(70000), 2.0);
}

TEST(ViewGather, EmptyGatherAssignedTakesItsShape) {
  DM E(2, 2, 1.0);
  DM G;
  G = E(colon(), DM());
  EXPECT_EQ(G.rows, 2);
  EXPECT_EQ(G.cols, 0);
  EXPECT_EQ(G.n, 0u);
}
