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

TEST(Simrec, CommentTextDropsReaderTriggers) {
  EXPECT_EQ(sdi::comment_text("Vo]ut"), "Vout");
  EXPECT_EQ(sdi::comment_text("a[b'c%d\te\n"), "abcde");
  EXPECT_EQ(sdi::comment_text("V_out 2"), "V_out 2");
  sdi::simrec r;
  r.set_name("x]y");
  EXPECT_EQ(r.name, "xy");
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

TEST(Simrec, NonFiniteDoubleIsReported) {
  Capture cap;
  sdi::simrec r;
  r.add_double(std::numeric_limits<double>::infinity());
  r.add_double(2.0);
  std::string s = printed(r, 2);
  EXPECT_EQ(s.substr(15), "2.0000e+00     ");
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simrec: Internal"}));
}
