// DM construction, sharing, assignment, element access, redim and the fatal path.
#include <cmath>
#include <cstring>
#include <limits>

#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"

TEST(DMConstruct, EmptyMatricesShareTheStaticBlock) {
  DM a, b(0, 0), c(0, 7);
  EXPECT_EQ(a.n, 0u);
  EXPECT_EQ(b.n, 0u);
  EXPECT_EQ(c.n, 0u);
  EXPECT_EQ(c.rows, 0);
  EXPECT_EQ(c.cols, 7);
  EXPECT_EQ(a.blk, &empty_DDB);
  EXPECT_EQ(b.blk, &empty_DDB);
  EXPECT_EQ(c.blk, &empty_DDB);
  EXPECT_EQ(empty_DDB.data, nullptr);
}

TEST(DMConstruct, ScalarAndFilledAndFromArray) {
  DM s(2.5);
  EXPECT_EQ(s.rows, 1);
  EXPECT_EQ(s.cols, 1);
  EXPECT_EQ(s(1, 1), 2.5);
  DM f(2, 3, 1.5);
  EXPECT_EQ(f.n, 6u);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(f(k), 1.5);
  const double v[] = {1, 2, 3, 4, 5, 6};
  DM a(2, 3, v);
  EXPECT_EQ(a(1, 1), 1.0);
  EXPECT_EQ(a(2, 1), 2.0);
  EXPECT_EQ(a(1, 2), 3.0);
  EXPECT_EQ(a(2, 3), 6.0);
  EXPECT_EQ(a.blk->refs, 1u);
  // The elements sit in the same allocation, right behind the header.
  EXPECT_EQ(reinterpret_cast<char*>(a.blk->data), reinterpret_cast<char*>(a.blk) + sizeof(DDB));
}

TEST(DMConstruct, SizeLimits) {
  DM big(15000, 1);
  EXPECT_EQ(big.n, 15000u);
  EXPECT_FATAL(DM(15001, 1), "rows,cols out of range allowed", "construct DM(r,c)");
  EXPECT_FATAL(DM(1, 15001), "rows,cols out of range allowed", "construct DM(r,c)");
  EXPECT_FATAL(DM(-1, 1), "rows,cols out of range allowed", "construct DM(r,c)");
  EXPECT_FATAL(DM(0, 7, 1.0), "rows,cols out of range allowed", "construct DM(r,c)");
  const double v[] = {1.0};
  EXPECT_FATAL(DM(1, 0, v), "rows,cols out of range allowed", "construct DM(r,c)");
  EXPECT_FATAL(DM(15001, 1, 0.0), "rows,cols out of range allowed", "construct DM(r,c)");
}

TEST(DMShare, CopyConstructionShares) {
  DM A(2, 2, 1.0);
  DM B(A);
  EXPECT_EQ(A.blk, B.blk);
  EXPECT_EQ(A.blk->refs, 2u);
  B(1, 1) = 5.0;
  EXPECT_EQ(A(1, 1), 5.0);
  {
    DM C(B);
    EXPECT_EQ(A.blk->refs, 3u);
  }
  EXPECT_EQ(A.blk->refs, 2u);
}

DM pass_through(DM x) { return x; }

TEST(DMShare, ByValueReturnShares) {
  DM A(2, 2, 1.0);
  DM R = pass_through(A);
  R(2, 2) = 9.0;
  EXPECT_EQ(A(2, 2), 9.0);
}

TEST(DMAssign, AssignmentCopies) {
  DM A(2, 2, 1.0);
  DM E;
  E = A;
  EXPECT_NE(E.blk, A.blk);
  EXPECT_EQ(E.rows, 2);
  EXPECT_EQ(E.cols, 2);
  E(1, 1) = 7.0;
  EXPECT_EQ(A(1, 1), 1.0);
  EXPECT_EQ(E(1, 1), 7.0);
}

TEST(DMAssign, AssignmentOfAliasesKeepsThemAliased) {
  DM A(2, 2, 1.0);
  DM B(A);
  B = A;
  EXPECT_EQ(B.blk, A.blk);
  B(1, 2) = 3.0;
  EXPECT_EQ(A(1, 2), 3.0);
  A = A;
  EXPECT_EQ(A(1, 2), 3.0);
}

TEST(DMAssign, AssignmentFromTemporaryCopies) {
  // A by-value result that shares a live matrix must not become an alias when assigned.
  DM B(2, 2, 1.0);
  DM A(3, 3, 0.0);
  A = hconcat(DM(), B);
  EXPECT_NE(A.blk, B.blk);
  A(1, 1) = 4.0;
  EXPECT_EQ(B(1, 1), 1.0);
}

TEST(DMAssign, ResultSharesTheAssignedMatrix) {
  DM A(1, 1, 0.0);
  DM B(2, 1, 3.0);
  DM r = (A = B);
  EXPECT_EQ(r.blk, A.blk);
  EXPECT_NE(r.blk, B.blk);
}

TEST(DMAssign, EmptyOfAnotherShapeTakesTheShape) {
  DM B;
  B = DM(0, 7);
  EXPECT_EQ(B.rows, 0);
  EXPECT_EQ(B.cols, 7);
  EXPECT_EQ(B.n, 0u);
  DM C(3, 0);
  C = DM(2, 2, 1.0);
  EXPECT_EQ(C.rows, 2);
  C = DM(5, 0);
  EXPECT_EQ(C.rows, 5);
  EXPECT_EQ(C.cols, 0);
  EXPECT_EQ(C.blk, &empty_DDB);
}

TEST(DMAssign, ShareIsShallow) {
  DM A(2, 2, 1.0);
  DM B(3, 1, 0.0);
  DM r = B.share(A);
  EXPECT_EQ(B.blk, A.blk);
  EXPECT_EQ(r.blk, A.blk);
  EXPECT_EQ(B.rows, 2);
  EXPECT_EQ(B.cols, 2);
  B(2, 2) = 8.0;
  EXPECT_EQ(A(2, 2), 8.0);
  EXPECT_EQ(A.blk->refs, 3u);
}

TEST(DMAccess, DoubleIndexIsTestedBeforeTruncation) {
  const double v[] = {1, 2, 3, 4};
  DM A(2, 2, v);
  EXPECT_EQ(A(1.9, 1), 1.0);
  EXPECT_EQ(A(2.0, 1.99), 2.0);
  EXPECT_FATAL(A(2.5, 1), "Index out of range", "DM(i,j)");
  EXPECT_FATAL(A(0.5, 1), "Index out of range", "DM(i,j)");
  EXPECT_FATAL(A(1, 3), "Index out of range", "DM(i,j)");
  EXPECT_FATAL(A(1, 0), "Index out of range", "DM(i,j)");
  DM three(3, 1, 0.0);
  three(2.5, 1) = 6.0;
  EXPECT_EQ(three(2), 6.0);
  DM one(1, 2, 0.0);
  EXPECT_FATAL(one(1.5, 1), "Index out of range", "DM(i,j)");
}

TEST(DMAccess, LinearIndex) {
  const double v[] = {1, 2, 3, 4};
  DM A(2, 2, v);
  EXPECT_EQ(A(3), 3.0);
  EXPECT_EQ(A(3.7), 3.0);
  EXPECT_FATAL(A(4.5), "Index out of range", "DM(i)");
  EXPECT_FATAL(A(5), "Index out of range", "DM(i)");
  EXPECT_FATAL(A(0.9), "Index out of range", "DM(i)");
  DM E;
  EXPECT_FATAL(E(1), "Index out of range", "DM(i)");
  EXPECT_FATAL(E(0), "Index out of range", "DM(i)");
  EXPECT_FATAL(DM(0, 3)(1), "Index out of range", "DM(i)");
}

TEST(DMAccess, NaNIndexIsOutOfRange) {
  DM A(2, 2, 1.0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FATAL(A(nan, 1), "Index out of range", "DM(i,j)");
  EXPECT_FATAL(A(1, nan), "Index out of range", "DM(i,j)");
  EXPECT_FATAL(A(nan), "Index out of range", "DM(i)");
}

TEST(DMAccess, FailedAccessChangesNothing) {
  DM A(2, 2, 1.0);
  try {
    testing::internal::CaptureStdout();
    A(3, 1) = 5.0;
  } catch (const char*) {
  }
  testing::internal::GetCapturedStdout();
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(A(k), 1.0);
}

TEST(DMRedim, UnsharedKeepsLinearOrder) {
  const double v[] = {1, 2, 3, 4, 5, 6};
  DM A(3, 2, v);
  A.redim(2, 3, false);
  EXPECT_EQ(A.rows, 2);
  EXPECT_EQ(A.cols, 3);
  EXPECT_EQ(A.n, 6u);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(A(k), k);
  EXPECT_EQ(A(1, 2), 3.0);
  // Growth in place keeps the first elements and gives room for the rest.
  A.redim(4, 4, false);
  EXPECT_EQ(A.n, 16u);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(A(k), k);
  for (int k = 7; k <= 16; ++k) A(k) = k;   // the whole new size is writable
  EXPECT_EQ(A(16), 16.0);
  A.redim(1, 2, false);
  EXPECT_EQ(A(2), 2.0);
}

TEST(DMRedim, SharedBlockIsNeverChanged) {
  const double v[] = {1, 2, 3, 4};
  DM A(2, 2, v);
  DM B(A);
  DDB* old = A.blk;
  DM& r = B.redim(4, 4, true);
  EXPECT_EQ(&r, &B);
  EXPECT_NE(B.blk, old);
  EXPECT_EQ(A.blk, old);
  EXPECT_EQ(A.blk->refs, 1u);
  EXPECT_EQ(A.rows, 2);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(B(k), k);
  B(1) = 100.0;
  EXPECT_EQ(A(1), 1.0);
}

TEST(DMRedim, SharedWithoutKeepTakesAFreshBlock) {
  DM A(2, 2, 1.0);
  DM B(A);
  B.redim(1, 3, false);
  EXPECT_EQ(B.n, 3u);
  EXPECT_NE(B.blk, A.blk);
  EXPECT_EQ(A(1), 1.0);
}

TEST(DMRedim, ToAndFromEmpty) {
  DM A(2, 2, 1.0);
  A.redim(0, 3, true);
  EXPECT_EQ(A.n, 0u);
  EXPECT_EQ(A.cols, 3);
  EXPECT_EQ(A.blk, &empty_DDB);
  A.redim(2, 1, true);
  EXPECT_EQ(A.n, 2u);
  A(2) = 4.0;
  EXPECT_EQ(A(2, 1), 4.0);
  DM E;
  E.redim(20000, 2, false);   // redim has no 15000 limit
  EXPECT_EQ(E.n, 40000u);
  E(40000) = 1.0;
}

TEST(DMRedim, NegativeSizeFails) {
  DM A(2, 2, 1.0);
  EXPECT_FATAL(A.redim(-1, 2, false), "Cannot redimension to negative size", "redim(r,c)");
  EXPECT_FATAL(A.redim(2, -1, true), "Cannot redimension to negative size", "redim(r,c)");
  EXPECT_EQ(A.rows, 2);
  EXPECT_EQ(A(4), 1.0);
}

TEST(DMRedim, ImpossibleSizeIsOutOfMemoryAndLeavesTheMatrixValid) {
  DM A(2, 2, 3.0);
  // 70000 x 70000 does not fit 32 bits: it must not wrap to a small block.
  EXPECT_FATAL(A.redim(70000, 70000, true), "out of memory", "new_DDB()");
  EXPECT_EQ(A.rows, 2);
  EXPECT_EQ(A.n, 4u);
  EXPECT_EQ(A(4), 3.0);
  DM B(A);
  EXPECT_FATAL(B.redim(70000, 70000, true), "out of memory", "new_DDB()");
  EXPECT_EQ(B.blk, A.blk);
  DM E;
  EXPECT_FATAL(E.redim(70000, 70000, false), "out of memory", "new_DDB()");
  EXPECT_EQ(E.n, 0u);
}

TEST(DMBlock, NewBlockLimits) {
  EXPECT_EQ(new_DDB(0), &empty_DDB);
  EXPECT_FATAL(new_DDB(uint64_t(1) << 32), "out of memory", "new_DDB()");
  DDB* b = new_DDB(3);
  EXPECT_EQ(b->refs, 1u);
  release_DDB(b);
  release_DDB(&empty_DDB);   // never freed
}

TEST(DMLength, LargerDimension) {
  EXPECT_EQ(length(DM(3, 7)), 7);
  EXPECT_EQ(length(DM(7, 3)), 7);
  EXPECT_EQ(length(DM()), 0);
}

TEST(Fatal, TableEntriesAndTexts) {
  EXPECT_EQ(matrix_error_handlers[0], &fatal_error);
  EXPECT_EQ(matrix_error_handlers[1], &warning_msg);
  EXPECT_EQ(matrix_error_handlers[2], &note_msg);
  EXPECT_FATAL(fatal_error("a", "b"), "a", "b");
  EXPECT_FATAL(matrix_error_handlers[0]("msg", "where"), "msg", "where");
  testing::internal::CaptureStdout();
  warning_msg("w1", "w2");
  note_msg("n1", "n2");
  mat_printf("%d|%s\n", 42, "x");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning : w1 - w2\nNote : n1 - n2\n42|x\n");
}

TEST(Fatal, LongTextIsNotOverflowedAndOutlivesTheThrow) {
  std::string longname(1000, 'f');
  const char* kept = nullptr;
  testing::internal::CaptureStdout();
  try {
    fatal_error("Unable to read DM file", longname.c_str());
  } catch (char* t) {
    kept = t;
  }
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "Fatal Error : Unable to read DM file - " + longname + "\n");
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(std::string(kept), out);
}

TEST(DMAssign, MovingIsCopying) {
  // No move operation may turn an assignment into an alias.
  DM B(2, 2, 1.0);
  DM A;
  A = std::move(B);
  EXPECT_NE(A.blk, B.blk);
  EXPECT_EQ(B.n, 4u);
  A(1) = 3.0;
  EXPECT_EQ(B(1), 1.0);
  DM C(std::move(B));   // construction shares, as a copy does
  EXPECT_EQ(C.blk, B.blk);
  EXPECT_EQ(B.blk->refs, 2u);
}
