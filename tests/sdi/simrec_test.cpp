#include "sdi/simrec.h"

#include <gtest/gtest.h>

TEST(Simrec, CommentTextDropsReaderTriggers) {
  EXPECT_EQ(sdi::comment_text("Vo]ut"), "Vout");
  EXPECT_EQ(sdi::comment_text("a[b'c%d\te\n"), "abcde");
  EXPECT_EQ(sdi::comment_text("V_out 2"), "V_out 2");
  sdi::simrec r;
  r.set_name("x]y");
  EXPECT_EQ(r.name, "xy");
}
