// DM and CM storage: construction, sharing copies and copying assignment, element
// access on double indices, redim, append; and the matrix file and printing.
#include <cstring>
#include <limits>
#include <utility>

#include "common/temp_dir.h"
#include "common/text_file.h"
#include "common/dm_builders.h"
#include "matrix/expect_matrix.h"
#include "matrix/fatal_expect.h"
#include "matrix/matrix.h"

namespace {

const double v6[] = {1, 2, 3, 4, 5, 6};

TEST(DMStorage, ConstructionIsColumnMajor) {
  expect_dm(DM(2, 3, v6), 2, 3, {1, 3, 5, 2, 4, 6});
  expect_dm(DM(2, 2, 1.5), 2, 2, {1.5, 1.5, 1.5, 1.5});
  expect_dm(DM(2.5), 1, 1, {2.5});
  DM big(15000, 1), wide(0, 7);
  EXPECT_EQ(big.n, 15000u);
  EXPECT_EQ(wide.n, 0u);
  EXPECT_EQ(wide.cols, 7);
  EXPECT_EQ(length(DM(3, 7)), 7);
  EXPECT_EQ(length(DM(7, 3)), 7);
  expect_cm(CM(2, 1, 1.0, -1.0), 2, 1, {complex(1, -1), complex(1, -1)});
  expect_cm(CM(DM(2, 3, v6)), 2, 3, {1, 3, 5, 2, 4, 6});
  expect_cm(CM(1.0, 2.0), 1, 1, {complex(1, 2)});
  EXPECT_EQ(CM(DM(0, 3)).cols, 3);
  EXPECT_EQ(length(CM(2, 4)), 4);
}

TEST(DMStorage, CopiesShareAssignmentCopies) {
  DM A(2, 2, 1.0);
  DM B(A);  // shares
  B(1, 1) = 5.0;
  EXPECT_EQ(A(1, 1), 5.0);
  DM E;
  E = A;  // copies
  E(1, 1) = 7.0;
  EXPECT_EQ(A(1, 1), 5.0);
  B = A;  // already the same block: stays shared
  B(1, 2) = 3.0;
  EXPECT_EQ(A(1, 2), 3.0);
  A = A;
  EXPECT_EQ(A(1, 2), 3.0);
  DM r = (E = B);  // the result shares the assigned matrix
  r(2, 2) = 8.0;
  EXPECT_EQ(E(2, 2), 8.0);
  EXPECT_EQ(B(2, 2), 1.0);
  DM M;
  M = std::move(B);  // no move turns an assignment into an alias
  M(1) = -1.0;
  EXPECT_EQ(B(1), 5.0);
  DM T(3, 3, 0.0);
  T = hconcat(DM(), A);  // a temporary sharing A is copied too
  T(1) = 4.0;
  EXPECT_EQ(A(1), 5.0);
  DM S(3, 1, 0.0);
  S.share(A);  // shallow on request
  EXPECT_EQ(S.rows, 2);
  S(2, 2) = 9.0;
  EXPECT_EQ(A(2, 2), 9.0);
  DM Z(3, 0);
  Z = DM(2, 2, 1.0);
  Z = DM(5, 0);
  EXPECT_EQ(Z.rows, 5);
  EXPECT_EQ(Z.n, 0u);

  CM P(2, 2, 1.0), Q(P), W;
  Q(1, 1) = complex(5, 5);
  EXPECT_EQ(P(1, 1).im, 5.0);
  W = P;
  W(1, 1) = complex(7, 0);
  EXPECT_EQ(P(1, 1).re, 5.0);
  CM X(1, 1, 0.0);
  X.share(P);
  X(2) = complex(0, 3);
  EXPECT_EQ(P(2).im, 3.0);
}

TEST(DMStorage, DoubleIndicesAreTestedBeforeTruncation) {
  DM A(2, 2, v6);
  EXPECT_EQ(A(1.9, 1), 1.0);
  EXPECT_EQ(A(2.0, 1.99), 2.0);
  EXPECT_EQ(A(3.7), 3.0);
  DM three(3, 1, 0.0);
  three(2.5, 1) = 6.0;
  EXPECT_EQ(three(2), 6.0);
  EXPECT_EQ(CM(2, 2, 1.0)(1.9, 1).re, 1.0);
}

TEST(DMStorage, RedimKeepsLinearOrderAndNeverChangesASharedBlock) {
  DM A(3, 2, v6);
  A.redim(2, 3, false);
  expect_dm(A, 2, 3, {1, 3, 5, 2, 4, 6});
  A.redim(4, 4, false);
  for (int k = 7; k <= 16; ++k) A(k) = k;
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(A(k), k);
  A.redim(1, 2, false);
  expect_dm(A, 1, 2, {1, 2});
  DM B(A);
  DM& r = B.redim(2, 2, true);
  EXPECT_EQ(&r, &B);
  B(1) = 100.0;
  expect_dm(A, 1, 2, {1, 2});
  EXPECT_EQ(B(2), 2.0);
  DM C(A);
  C.redim(1, 3, false);
  C(1) = -1.0;
  EXPECT_EQ(A(1), 1.0);
  A.redim(0, 3, true);
  EXPECT_EQ(A.n, 0u);
  A.redim(2, 1, true);
  A(2) = 4.0;
  EXPECT_EQ(A(2, 1), 4.0);
  DM E;
  E.redim(20000, 2, false);  // redim has no 15000 limit
  E(40000) = 1.0;

  const complex z[] = {complex(1, -1), complex(2, -2), complex(3, -3), complex(4, -4)};
  CM Z(2, 2, z), Y(Z);
  Y.redim(3, 3, true);
  Y(1) = complex(0);
  EXPECT_EQ(Z(1).re, 1.0);
  EXPECT_EQ(Y(4).im, -4.0);
  Z.redim(4, 1, false);
  EXPECT_EQ(Z(3).re, 3.0);
}

TEST(DMStorage, AppendRowsAndColumnsAlsoToItself) {
  DM T = rows2(1, 2, 3, 4), S(T);
  T.append_rows(row({5, 6}));
  T.append_columns(DM(3, 1, 9.0));
  expect_dm(T, 3, 3, {1, 2, 9, 3, 4, 9, 5, 6, 9});
  expect_dm(S, 2, 2, {1, 2, 3, 4});  // the sharing matrix keeps its block
  T.append_rows(DM());
  EXPECT_EQ(T.rows, 3);
  DM U(2, 3, v6);
  U.append_columns(U);
  expect_dm(U, 2, 6, {1, 3, 5, 1, 3, 5, 2, 4, 6, 2, 4, 6});
  DM V(2, 3, v6);
  V.append_rows(V);
  expect_dm(V, 4, 3, {1, 3, 5, 2, 4, 6, 1, 3, 5, 2, 4, 6});
  DM W;
  W.append_columns(S);  // to an empty matrix: a copy
  W(1) = 5.0;
  EXPECT_EQ(S(1), 1.0);
  const complex z[] = {complex(1, 1), complex(2, 0)};
  CM Z(2, 1, z);
  Z.append_columns(Z);
  Z.append_rows(CM(1, 2, 0.0, 7.0));
  expect_cm(Z, 3, 2, {complex(1, 1), complex(1, 1), complex(2), complex(2), complex(0, 7), complex(0, 7)});
  CM Y(1, 1, 0.0, 1.0);  // single elements append too
  Y.append_columns(CM(2.0));
  Y.append_rows(CM(1, 2, 3.0));
  expect_cm(Y, 2, 2, {complex(0, 1), 2, 3, 3});
  DM X(1.0);
  X.append_rows(DM(2.0));
  X.append_columns(col({3, 4}));
  expect_dm(X, 2, 2, {1, 3, 2, 4});
}

void put(std::string& s, uint64_t v, int bytes) {
  for (int b = 0; b < bytes; ++b) s.push_back(static_cast<char>(v >> (8 * b)));
}
void put(std::string& s, double d) {
  uint64_t v;
  std::memcpy(&v, &d, 8);
  put(s, v, 8);
}
std::string header(uint32_t n, uint32_t r, uint32_t c, uint32_t reserved = 0) {
  std::string s;
  for (uint32_t w : {n, r, c, reserved}) put(s, w, 4);
  return s;
}

TEST(DMFile, ByteLayoutRoundTripAndBadFiles) {
  TempDir dir;
  const double v[] = {1.0, -0.0, std::numeric_limits<double>::quiet_NaN(), 1e-310, 0.1, -3e300};
  DM(2, 3, v).write("a.dm");
  std::string bytes = header(6, 2, 3);
  for (double d : v) put(bytes, d);
  EXPECT_EQ(slurp("a.dm"), bytes);
  DM B(3, 3, 1.0), S(B);
  EXPECT_EQ(&B.read("a.dm"), &B);
  ASSERT_EQ(B.n, 6u);
  EXPECT_EQ(B.cols, 3);
  EXPECT_EQ(std::memcmp(B.blk->data, v, sizeof v), 0);
  EXPECT_EQ(S(9), 1.0);  // the matrix that shared B's old block keeps it
  DM(0, 4).write("e.dm");
  EXPECT_EQ(slurp("e.dm"), header(0, 0, 4));
  B.read("e.dm");
  EXPECT_EQ(B.n, 0u);
  EXPECT_EQ(B.cols, 4);

  write_text("short.dm", bytes.substr(0, bytes.size() - 1));
  write_text("head.dm", bytes.substr(0, 10));
  write_text("count.dm", header(5, 2, 2) + bytes.substr(16, 40));
  write_text("neg.dm", header(2, -1u, -2u) + bytes.substr(16, 16));
  write_text("huge.dm", header(-1u, -1u, 1) + bytes.substr(16, 8));
  DM A(1, 1, 7.0);
  for (const char* f : {"short.dm", "head.dm", "count.dm", "neg.dm", "huge.dm"}) {
    SCOPED_TRACE(f);
    EXPECT_FATAL(A.read(f), "Error reading DM file", f);
  }
  EXPECT_FATAL(A.read("nothing.dm"), "Unable to read DM file", "nothing.dm");
  EXPECT_FATAL(A.write("no/such/dir.dm"), "Unable to create DM file", "no/such/dir.dm");
  expect_dm(A, 1, 1, {7});
  write_text("ok.dm", header(4, 2, 2, 0xdeadbeef) + bytes.substr(16, 32));  // reserved: ignored
  A.read("ok.dm");
  EXPECT_EQ(A(2, 2), 1e-310);
}

std::string printed(const DM& A, const char* name, const char* fmt = nullptr) {
  testing::internal::CaptureStdout();
  fmt ? A.print(name, fmt) : A.print(name);
  return testing::internal::GetCapturedStdout();
}

TEST(DMPrint, Texts) {
  EXPECT_EQ(printed(rows2(1, 2, 3, 4), "A"), "A =      1      2 \n         3      4 \n");
  EXPECT_EQ(printed(DM(0, 4), "E"), "E = []\n");
  EXPECT_EQ(printed(row({0.5, -2, 12345678}), "r"), "r =    0.5     -2 1.235e+07 \n");
  EXPECT_EQ(printed(col({0.5, -2}), "xy"), "xy =    0.5 \n         -2 \n");
  EXPECT_EQ(printed(col({1.5, 2.25}), "miss", "%g"), "miss = 1.5 \n       2.25 \n");
}

}  // namespace
