// Index views of DM and CM: gather, scatter, view to view, and the aliasing cases where
// the source or the indices share the target's block.
#include "common/dm_builders.h"
#include "matrix/expect_matrix.h"
#include "matrix/matrix.h"

namespace {

DM m34() {  // A(i, j) = (j - 1) * 3 + i
  DM A(3, 4);
  return A.seqa(1.0, 12, 1.0);
}

TEST(Views, Gather) {
  const DM A = m34();
  expect_dm(A(row({3, 1}), col({2, 2})), 2, 2, {6, 6, 4, 4});
  expect_dm(A(rows_of(2, 3, {12, 5, 2, 1, 5, 7})), 2, 3, {12, 5, 2, 1, 5, 7});  // the index's shape
  expect_dm(A(DM(2.9), DM(4.99)), 1, 1, {11});  // truncated
  expect_dm(A(DM(11.5)), 1, 1, {11});
  expect_dm(A(colon(), row({4, 1})), 3, 2, {10, 1, 11, 2, 12, 3});
  expect_dm(A(DM(2.0), colon()), 1, 4, {2, 5, 8, 11});
  EXPECT_EQ(sum(A(DM(1.0), colon())), 22.0);
  expect_dm(DM(0, 3)(colon(), DM(2.0)), 0, 1, {});
  expect_dm(DM(2, 2, 0.0)(DM(2.9), DM(1.0)), 1, 1, {0});
  DM G;
  G = DM(2, 2, 1.0)(colon(), DM());
  EXPECT_EQ(G.rows, 2);
  EXPECT_EQ(G.cols, 0);
  DM I;
  I.redim(70000, 1, false);
  I.fill(1.0);
  DM tall = DM(2.0)(I, DM(1.0));
  EXPECT_EQ(tall.n, 70000u);
  EXPECT_EQ(tall(70000), 2.0);
}

TEST(Views, Scatter) {
  DM A = m34(), B(A);
  A(row({3, 1}), row({4, 2})) = rows2(-1, -2, -3, -4);
  expect_dm(B(colon(), row({2, 4})), 3, 2, {-4, -3, 5, 11, -2, -1});  // seen through B
  A(row({1, 2, 3})) = col({7, 8, 9});
  A(col({4, 5})) = row({4, 5});
  A(row({6, 6})) = row({0, 6});  // the last write wins
  expect_dm(A(row({1, 2, 3, 4, 5, 6})), 1, 6, {7, 8, 9, 4, 5, 6});
  DM E;
  E(DM()) = DM();
  EXPECT_EQ(E.n, 0u);
  DM T(2, 2, 0.0);
  T(DM(1.5), DM(1.0)) = 3.0;  // rows tested untruncated and pass
  T(DM(1.0), DM(2.7)) = 4.0;  // columns truncated
  T(row({4, 4})) = 9.0;
  T(colon(), DM(1.0)) = T(col({4, 3}));
  expect_dm(T, 2, 2, {9, 4, 4, 9});
}

TEST(Views, AliasedSourcesAndIndicesReadBeforeWriting) {
  DM A = col({1, 2});
  A(row({2, 1}), DM(1.0)) = A;  // swap through the target itself
  expect_dm(A, 2, 1, {2, 1});
  DM C = col({1, 2, 3}), S(C);
  C(row({3, 1, 2})) = S;  // a sharing copy is the same block
  expect_dm(C, 3, 1, {2, 3, 1});
  DM D = row({2, 1});
  D(D) = row({5, 7});  // the indices as the view found them
  expect_dm(D, 1, 2, {7, 5});
  DM M = rows2(2, 1, 1, 2);
  M(M, DM(1.0)) = col({5, 6, 7, 8});
  expect_dm(M, 2, 2, {7, 1, 8, 2});
  DM R = row({1, 2, 3, 4});
  R(row({2, 3, 4})) = R(row({1, 2, 3}));  // view to view gathers first
  expect_dm(R, 1, 4, {1, 1, 2, 3});
}

TEST(Views, ComplexTwin) {
  const complex z[] = {complex(1, 1), complex(2, 2), complex(3, 3), complex(4, 4)};
  CM A(2, 2, z), S(A);
  expect_cm(A(colon(), DM(2.0)), 2, 1, {complex(3, 3), complex(4, 4)});
  expect_cm(A(row({4, 1})), 1, 2, {complex(4, 4), complex(1, 1)});
  expect_cm(A(DM(2.0), row({2, 1})), 1, 2, {complex(4, 4), complex(2, 2)});
  A(DM(1.0), colon()) = CM(1, 2, 0.0, -1.0);
  A(row({2, 1})) = A(row({1, 2}));
  A(DM(2.0), DM(2.0)) = complex(7, 8);
  A(row({2, 1}), DM(1.0)) = A(colon(), DM(1.0));
  A(row({3})) = complex(5, 5);
  expect_cm(S, 2, 2, {complex(0, -1), complex(5, 5), complex(2, 2), complex(7, 8)});
  A(row({1, 2}), DM(2.0)) = CM(2, 1, 0.0, 1.0);
  expect_cm(S(colon(), DM(2.0)), 2, 1, {complex(0, 1), complex(0, 1)});
}

}  // namespace
