// Printing a DM and the matrix file: exact text, byte layout, round trip, bad files.
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

#include "common/temp_dir.h"
#include "common/text_file.h"
#include "matrix/matrix.h"
#include "matrix/fatal_expect.h"

namespace {

std::string printed(const DM& A, const char* name, const char* fmt = nullptr) {
  testing::internal::CaptureStdout();
  if (fmt)
    A.print(name, fmt);
  else
    A.print(name);
  return testing::internal::GetCapturedStdout();
}

void put(std::string& s, uint32_t v) {
  for (int b = 0; b < 4; ++b) s.push_back(static_cast<char>(v >> (8 * b)));
}

void put(std::string& s, double d) {
  uint64_t v;
  std::memcpy(&v, &d, 8);
  for (int b = 0; b < 8; ++b) s.push_back(static_cast<char>(v >> (8 * b)));
}

}  // namespace

TEST(DMPrint, TwoByTwoNamedA) {
  const double v[] = {1, 3, 2, 4};
  EXPECT_EQ(printed(DM(2, 2, v), "A"), "A =      1      2 \n         3      4 \n");
}

TEST(DMPrint, EmptyRowAndColumn) {
  EXPECT_EQ(printed(DM(0, 4), "E"), "E = []\n");
  const double v[] = {0.5, -2, 12345678};
  EXPECT_EQ(printed(DM(1, 3, v), "r"), "r =    0.5     -2 1.235e+07 \n");
  EXPECT_EQ(printed(DM(3, 1, v), "xy"), "xy =    0.5 \n         -2 \n     1.235e+07 \n");
}

TEST(DMPrint, OwnFormat) {
  const double v[] = {1.5, 2.25};
  EXPECT_EQ(printed(DM(2, 1, v), "miss", "%g"), "miss = 1.5 \n       2.25 \n");
}

TEST(DMFile, EmptyMatrixIsASixteenByteFile) {
  TempDir dir;
  DM E(0, 4);
  DM& r = E.write("e.dm");
  EXPECT_EQ(&r, &E);
  std::string expected;
  put(expected, 0u);
  put(expected, 0u);
  put(expected, 4u);
  put(expected, 0u);
  EXPECT_EQ(slurp("e.dm"), expected);
  DM B(2, 2, 1.0);
  DM& q = B.read("e.dm");
  EXPECT_EQ(&q, &B);
  EXPECT_EQ(B.n, 0u);
  EXPECT_EQ(B.rows, 0);
  EXPECT_EQ(B.cols, 4);
  EXPECT_EQ(B.blk, &empty_DDB);
}

TEST(DMFile, ByteLayoutAndRoundTrip) {
  TempDir dir;
  const double v[] = {1.0, -0.0, std::numeric_limits<double>::quiet_NaN(), 1e-310, 0.1, -3e300};
  DM A(2, 3, v);
  A.write("a.dm");
  std::string expected;
  put(expected, 6u);
  put(expected, 2u);
  put(expected, 3u);
  put(expected, 0u);
  for (double d : v) put(expected, d);
  EXPECT_EQ(slurp("a.dm"), expected);
  DM B;
  B.read("a.dm");
  ASSERT_EQ(B.rows, 2);
  ASSERT_EQ(B.cols, 3);
  ASSERT_EQ(B.n, 6u);
  EXPECT_EQ(std::memcmp(B.blk->data, v, sizeof v), 0);
  EXPECT_EQ(B.blk->refs, 1u);
}

TEST(DMFile, ReadReplacesASharedMatrixWithoutTouchingTheOtherHolder) {
  TempDir dir;
  DM(1, 2, 5.0).write("b.dm");
  DM A(3, 3, 1.0);
  DM S(A);
  A.read("b.dm");
  EXPECT_EQ(A.cols, 2);
  EXPECT_EQ(A(2), 5.0);
  EXPECT_EQ(S.rows, 3);
  EXPECT_EQ(S(9), 1.0);
}

TEST(DMFile, MissingFileAndUncreatableFile) {
  TempDir dir;
  DM A(1, 1, 2.0);
  EXPECT_FATAL(A.read("nothing.dm"), "Unable to read DM file", "nothing.dm");
  EXPECT_FATAL(A.write("no/such/dir.dm"), "Unable to create DM file", "no/such/dir.dm");
  EXPECT_EQ(A(1), 2.0);
}

TEST(DMFile, TruncatedFilesAreRejectedAndLeaveTheMatrix) {
  TempDir dir;
  DM(2, 2, 3.0).write("full.dm");
  std::string bytes = slurp("full.dm");
  write_text("short.dm", bytes.substr(0, bytes.size() - 1));
  write_text("head.dm", bytes.substr(0, 10));
  DM A(1, 1, 7.0);
  EXPECT_FATAL(A.read("short.dm"), "Error reading DM file", "short.dm");
  EXPECT_FATAL(A.read("head.dm"), "Error reading DM file", "head.dm");
  EXPECT_EQ(A.rows, 1);
  EXPECT_EQ(A(1), 7.0);
}

TEST(DMFile, CorruptHeadersAreRejected) {
  TempDir dir;
  auto file = [](uint32_t n, uint32_t r, uint32_t c, int elements) {
    std::string s;
    put(s, n);
    put(s, r);
    put(s, c);
    put(s, 0xdeadbeefu);   // reserved word: ignored
    for (int k = 0; k < elements; ++k) put(s, 1.0 * k);
    return s;
  };
  write_text("count.dm", file(5, 2, 2, 5));
  write_text("neg.dm", file(2, static_cast<uint32_t>(-1), static_cast<uint32_t>(-2), 2));
  write_text("huge.dm", file(0xffffffffu, 0xffffffffu, 1, 1));
  write_text("ok.dm", file(4, 2, 2, 4));
  DM A;
  EXPECT_FATAL(A.read("count.dm"), "Error reading DM file", "count.dm");
  EXPECT_FATAL(A.read("neg.dm"), "Error reading DM file", "neg.dm");
  EXPECT_FATAL(A.read("huge.dm"), "Error reading DM file", "huge.dm");
  EXPECT_EQ(A.n, 0u);
  A.read("ok.dm");
  EXPECT_EQ(A(2, 2), 3.0);
}

TEST(DMFile, LongFileNameInTheMessage) {
  TempDir dir;
  std::string name(300, 'x');
  name += ".dm";
  DM A;
  EXPECT_FATAL(A.read(name.c_str()), "Unable to read DM file", name);
}
