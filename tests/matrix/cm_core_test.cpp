// CM construction, sharing, assignment, access and resizing.
#include <limits>

#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"

TEST(CMConstruct, ScalarsFillsAndConversion) {
  CM a(1.0, 2.0);
  EXPECT_EQ(a.rows, 1);
  EXPECT_EQ(a(1).re, 1.0);
  EXPECT_EQ(a(1).im, 2.0);
  CM b(3.0);
  EXPECT_EQ(b(1, 1).im, 0.0);
  CM f(2, 2, 1.0);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(f(k).re, 1.0);
    EXPECT_EQ(f(k).im, 0.0);
  }
  CM g(2, 1, 1.0, -1.0);
  EXPECT_EQ(g(2).im, -1.0);
  const double v[] = {1, 2, 3, 4, 5, 6};
  CM h = DM(2, 3, v);
  EXPECT_EQ(h.rows, 2);
  EXPECT_EQ(h.cols, 3);
  EXPECT_EQ(h(2, 3).re, 6.0);
  EXPECT_EQ(h(2, 3).im, 0.0);
  const complex z[] = {complex(1, 1), complex(2, 2)};
  CM c(1, 2, z);
  EXPECT_EQ(c(1, 2).im, 2.0);
  CM e, e2(0, 5);
  EXPECT_EQ(e.blk, &empty_CDB);
  EXPECT_EQ(e2.blk, &empty_CDB);
  EXPECT_EQ(e2.cols, 5);
  CM fromEmpty = DM(0, 3);
  EXPECT_EQ(fromEmpty.blk, &empty_CDB);
  EXPECT_EQ(fromEmpty.cols, 3);
}

TEST(CMConstruct, SizeLimits) {
  EXPECT_FATAL(CM(15001, 1), "rows,cols out of range allowed", "construct CM(r,c)");
  EXPECT_FATAL(CM(0, 2, 1.0), "rows,cols out of range allowed", "construct CM(r,c)");
  EXPECT_FATAL(CM(0, 2, 1.0, 1.0), "rows,cols out of range allowed", "construct CM(r,c)");
  EXPECT_FATAL(new_CDB(uint64_t(1) << 32), "out of memory", "new_CDB()");
}

TEST(CMShare, CopySharesAssignmentCopies) {
  CM A(2, 2, 1.0);
  CM B(A);
  B(1, 1) = complex(5, 5);
  EXPECT_EQ(A(1, 1).im, 5.0);
  CM E;
  E = A;
  E(1, 1) = complex(7, 0);
  EXPECT_EQ(A(1, 1).re, 5.0);
  B = A;
  EXPECT_EQ(B.blk, A.blk);
  CM S(1, 1, 0.0);
  S.share(A);
  EXPECT_EQ(S.blk, A.blk);
  EXPECT_EQ(S.rows, 2);
  CM Z;
  Z = CM(0, 7);
  EXPECT_EQ(Z.cols, 7);
}

TEST(CMAccess, RangeTests) {
  CM A(2, 2, 1.0);
  EXPECT_EQ(A(1.9, 1).re, 1.0);
  EXPECT_FATAL(A(2.5, 1), "Index out of range", "CM(i,j)");
  EXPECT_FATAL(A(std::numeric_limits<double>::quiet_NaN(), 1), "Index out of range", "CM(i,j)");
  EXPECT_FATAL(A(5), "Index out of range", "CM(i)");
  EXPECT_FATAL(CM()(1), "Index out of range", "CM(i)");
}

TEST(CMRedim, KeepsLinearOrderAndNeverTouchesSharedBlocks) {
  const complex z[] = {complex(1, -1), complex(2, -2), complex(3, -3), complex(4, -4)};
  CM A(2, 2, z);
  CM B(A);
  B.redim(3, 3, true);
  EXPECT_NE(B.blk, A.blk);
  EXPECT_EQ(B(4).im, -4.0);
  EXPECT_EQ(A.rows, 2);
  A.redim(4, 1, false);
  EXPECT_EQ(A(3).re, 3.0);
  EXPECT_FATAL(A.redim(-1, 0, true), "Cannot redimension to negative size", "redim(r,c)");
  EXPECT_FATAL(A.redim(70000, 70000, true), "out of memory", "new_CDB()");
  EXPECT_EQ(A.n, 4u);
  EXPECT_EQ(length(A), 4);
}
