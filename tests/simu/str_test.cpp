// The engine's owned string: null versus empty, copies that own their text, and
// assignment from a text inside the string's own buffer.
#include <gtest/gtest.h>

#include <string>

#include "simu/base/str.h"

namespace {

TEST(Str, NullEmptyAndConcatenation) {
  const str null_str, empty(""), a("1.005"), unit(" s");
  const struct { str got; bool is_null; const char* text; } rows[] = {
      {null_str, true, ""},     {empty, false, ""},           {str(nullptr), true, ""},
      {a + unit, false, "1.005 s"}, {null_str + empty, true, ""}, {empty + a, false, "1.005"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(r.got.is_null(), r.is_null);
    EXPECT_STREQ(r.got.c_str(), r.text);
    EXPECT_EQ(r.got.size(), std::string(r.text).size());
  }
  EXPECT_FALSE(null_str == empty);
  EXPECT_TRUE(null_str == str());
  EXPECT_TRUE(a + unit == str("1.005 s"));
}

TEST(Str, AssignmentsKeepTheirOwnCopy) {
  str s("abcdef");
  s = s.c_str() + 2;  // a text inside the own buffer
  EXPECT_STREQ(s.c_str(), "cdef");
  char text[] = "xyz";
  s = text;
  text[0] = 'Q';
  EXPECT_STREQ(s.c_str(), "xyz");
  str t("old");
  t = s;
  s = static_cast<const char*>(nullptr);
  EXPECT_TRUE(s.is_null());
  EXPECT_STREQ(t.c_str(), "xyz");
  t = s;
  EXPECT_TRUE(t.is_null());
  str m(std::move(t));
  EXPECT_TRUE(m.is_null());
  m = str("moved");
  EXPECT_STREQ(m.c_str(), "moved");
}

}  // namespace
