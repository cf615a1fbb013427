#include "sdi/simrec.h"

#include <gtest/gtest.h>

#include <limits>

#include "capture.h"
#include "sdi/simrec_matrix.h"

namespace {

std::string printed(const sdi::simrec& r, int width) {
  std::string s;
  r.print(s, width);
  return s;
}

}  // namespace

TEST(Simrec, FieldsPrintLeftAlignedInTheirWidths) {
  sdi::simrec r;
  r.add_string("R1", 10);
  r.add_int(12);
  r.add_int(0);
  r.add_double(5.0);
  EXPECT_EQ(printed(r, 2), "R1        12  0   5.0000e+00     ");
  EXPECT_EQ(r.n(), 4);
}

TEST(Simrec, RowWidthPadsOnDeclaredWidths) {
  sdi::simrec r;
  r.add_string("V", 10);
  r.add_string("I01", 10);
  EXPECT_EQ(printed(r, 45), "V         I01       " + std::string(25, ' '));
  sdi::simrec wide;
  wide.add_double(-1.0);
  wide.add_double(2.5e-7);
  wide.add_double(1e100);
  wide.add_double(0.0);
  // 60 declared columns: no padding at width 45.
  EXPECT_EQ(printed(wide, 45), "-1.0000e+00    2.5000e-07     1.0000e+100    0.0000e+00     ");
}

TEST(Simrec, EmptyRowPrintsTheRowWidthInBlanks) {
  sdi::simrec r;
  EXPECT_EQ(printed(r, 45), std::string(45, ' '));
  EXPECT_EQ(printed(r, 0), "");
}

TEST(Simrec, FieldThatFillsItsWidthIsFollowedByABlank) {
  sdi::simrec r;
  r.add_int(1000);
  r.add_int(-100);
  r.add_int(999);
  r.add_string("L1234", 4);
  r.add_string("I0123", 5);
  r.add_string("F1000_10", 10);
  r.add_string("abc", 4);
  EXPECT_EQ(printed(r, 2), "1000 -100 999 L1234 I0123 F1000_10  abc ");
}

TEST(Simrec, ClearEmptiesFieldsAndName) {
  sdi::simrec r;
  r.add_int(1);
  r.set_name("R1");
  r.clear();
  EXPECT_EQ(r.n(), 0);
  EXPECT_EQ(r.name, "");
}

TEST(Simrec, CommentTextDropsReaderTriggers) {
  EXPECT_EQ(sdi::comment_text("Vo]ut"), "Vout");
  EXPECT_EQ(sdi::comment_text("a[b'c%d\te\n"), "abcde");
  EXPECT_EQ(sdi::comment_text("V_out 2"), "V_out 2");
  sdi::simrec r;
  r.set_name("x]y");
  EXPECT_EQ(r.name, "xy");
}

TEST(Simrec, UnknownFieldTypeIsAnInternalCase) {
  Capture cap;
  sdi::simrec r;
  r.add_int(7);
  r.fields[0].type = 5;
  EXPECT_EQ(printed(r, 2), "");
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simrec: Internal Case"}));
}

TEST(WriteMatrix, NoCountedRowsPrintNothing) {
  sdi::rlist rows;
  rows.append(new sdi::simrec);
  std::string out;
  sdi::write_matrix(out, "tmd", rows, false, 2);
  EXPECT_EQ(out, "");
  sdi::free_rows(rows);
  EXPECT_EQ(rows.count(), 0);
  sdi::write_matrix(out, "tmd", rows, false, 2);
  EXPECT_EQ(out, "");
}

TEST(WriteMatrix, RowsAlignUnderTheFirstAndTheLastCloses) {
  sdi::rlist rows;
  for (int i = 1; i <= 3; ++i) {
    auto* r = new sdi::simrec;
    r->add_int(i);
    rows.append(r);
  }
  rows.append(new sdi::simrec);  // empty rows are skipped
  std::string out;
  sdi::write_matrix(out, "Csw", rows, false, 2);
  EXPECT_EQ(out, "Csw = [ 1     \n        2     \n        3    ]\n");
  sdi::free_rows(rows);
}

TEST(WriteMatrix, QuotedRowsWithComments) {
  sdi::rlist rows;
  auto* a = new sdi::simrec;
  a->add_string("R1", 10);
  a->set_name("R1");
  auto* b = new sdi::simrec;
  b->add_string("I02", 10);
  rows.append(a);
  rows.append(b);
  std::string out;
  sdi::write_matrix(out, "X", rows, true, 12);
  EXPECT_EQ(out,
            "X = [ 'R1          '   % R1\n"
            "      'I02         ' ]\n");
  sdi::free_rows(rows);
}

TEST(Simrec, NonFiniteDoubleIsReported) {
  Capture cap;
  sdi::simrec r;
  r.add_double(std::numeric_limits<double>::infinity());
  r.add_double(2.0);
  std::string s = printed(r, 2);
  EXPECT_EQ(s.substr(15), "2.0000e+00     ");
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simrec: Internal"}));
}
