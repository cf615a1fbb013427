#include "simu/str.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Str, DefaultIsNullAndDistinctFromEmpty) {
  str n;
  str e("");
  EXPECT_TRUE(n.is_null());
  EXPECT_FALSE(e.is_null());
  EXPECT_STREQ(n.c_str(), "");
  EXPECT_FALSE(n == e);
  EXPECT_FALSE(e == n);
  EXPECT_TRUE(n == str());
  EXPECT_TRUE(e == str(""));
}

TEST(Str, ConstructionCopiesTheText) {
  char buf[] = "abc";
  str s(buf);
  buf[0] = 'x';
  EXPECT_STREQ(s.c_str(), "abc");
  EXPECT_EQ(s.size(), 3u);
}

TEST(Str, CopyOfNullStaysNull) {
  str n;
  str c(n);
  EXPECT_TRUE(c.is_null());
  str a("text");
  str b(a);
  EXPECT_STREQ(b.c_str(), "text");
  EXPECT_NE(a.c_str(), b.c_str());
}

TEST(Str, AssignmentFromStrAndText) {
  str a("one");
  str b("two");
  a = b;
  EXPECT_STREQ(a.c_str(), "two");
  a = str();
  EXPECT_TRUE(a.is_null());
  a = "three";
  EXPECT_STREQ(a.c_str(), "three");
}

TEST(Str, AssignOwnBufferDoesNothing) {
  str a("same");
  const char* before = a.c_str();
  a = before;
  EXPECT_EQ(a.c_str(), before);
  EXPECT_STREQ(a.c_str(), "same");
}

TEST(Str, AssignTailOfOwnBuffer) {
  str a("prefix-tail");
  a = a.c_str() + 7;
  EXPECT_STREQ(a.c_str(), "tail");
}

TEST(Str, SelfAssignmentKeepsText) {
  str a("keep");
  str& r = a;
  a = r;
  EXPECT_STREQ(a.c_str(), "keep");
}

TEST(Str, EqualityComparesTexts) {
  EXPECT_TRUE(str("1.005") == str("1.005"));
  EXPECT_FALSE(str("1.005") == str("1.006"));
  EXPECT_FALSE(str("ab") == str("abc"));
}

TEST(Str, ConcatenationJoinsTexts) {
  str r = str("Elapsed ") + str("1.005");
  EXPECT_STREQ(r.c_str(), "Elapsed 1.005");
  EXPECT_STREQ((str("a") + str()).c_str(), "a");
  EXPECT_STREQ((str() + str("b")).c_str(), "b");
  EXPECT_STREQ((str("") + str("b")).c_str(), "b");
}

TEST(Str, ConcatenationOfEmptiesIsNull) {
  EXPECT_TRUE((str("") + str("")).is_null());
  EXPECT_TRUE((str() + str()).is_null());
  EXPECT_TRUE((str() + str("")).is_null());
}

TEST(Str, MoveLeavesSourceNull) {
  str a("moved");
  str b(std::move(a));
  EXPECT_STREQ(b.c_str(), "moved");
  EXPECT_TRUE(a.is_null());  // NOLINT(bugprone-use-after-move)
}

TEST(Str, StrCopyCopiesTerminator) {
  char dst[8];
  std::memset(dst, 'x', sizeof dst);
  str_copy(dst, "abc");
  EXPECT_STREQ(dst, "abc");
  EXPECT_EQ(dst[4], 'x');
}
