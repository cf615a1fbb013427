// Symbol files of subcircuit instances: pins, names and bounded lines; numbers past any sheet and malformed files are refused.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "capture.h"
#include "common/temp_dir.h"
#include "sdi/factories.h"
#include "sdi/placement.h"
#include "sdi/sub_element.h"

namespace {
std::unique_ptr<sdi::sub> place(const char* name) {
  sdi::pending_element = nullptr;
  sdi::new_subcircuit(name);
  std::unique_ptr<sdi::sub> s(static_cast<sdi::sub*>(sdi::pending_element));
  sdi::pending_element = sdi::previous_pending_element = nullptr;
  return s;
}
}  // namespace

TEST(SymbolFile, HugeNumbersAreNotAValidSymbol) {
  TempDir dir;
  std::ofstream("wide.sym") << "WIDE\n2147483647,33,16,16\n0\n2\n0,16\n32,16\n0\n";
  std::ofstream("far.sym") << "FAR\n41,33,16,16\n1\n0,0,-2147483648,0\n2\n0,16\n32,16\n0\n";
  std::ofstream("pin.sym") << "PIN\n41,33,16,16\n0\n2\n0,16\n2000000000,16\n0\n";
  Capture cap;
  for (const char* name : {"wide", "far", "pin"}) {
    auto s = place(name);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->nodes.count(), 0) << name;
    EXPECT_EQ(s->image->w, 0) << name;
    s->image->place_ref_at(sdi::point(96, 96));
    EXPECT_EQ(s->hit_test(sdi::point(100, 100)), 0);
  }
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"File wide.sym is not a valid symbol file",
                                                     "File far.sym is not a valid symbol file",
                                                     "File pin.sym is not a valid symbol file"}));
}

TEST(SymbolFile, NumbersUpToTheBoundAreKept) {
  TempDir dir;
  std::ofstream("big.sym") << "BIG\n1000000,33,16,16\n1\n0,0,-1000000,0\n1\n0,1000000\n0\n";
  Capture cap;
  auto s = place("big");
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(s->image->w, 1000000);
  EXPECT_EQ(s->nodes.count(), 1);
}

TEST(SymbolFile, NoNamesAndTwoPinsGiveTwoTerminals) {
  TempDir dir;
  std::ofstream("two.sym") << "TWO\n41,33,16,16\n1\n0,0,40,0\n2\n0,16\n32,16\n0\n";
  Capture cap;
  auto s = place("two");
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(s->type_name, "TWO");
  EXPECT_EQ(s->string_count, 0);
  EXPECT_EQ(s->strings[0], "");
  ASSERT_EQ(s->nodes.count(), 2);
  EXPECT_EQ(*s->nodes.list_value_at(0), -1);
  EXPECT_EQ(*s->nodes.list_value_at(1), -1);
  s->image->place_ref_at(sdi::point(96, 96));
  // Pins are image positions: (0,16) and (32,16) from the corner, the reference at (16,16).
  EXPECT_EQ(s->terminal_at(0), sdi::point(80, 96));
  EXPECT_EQ(s->terminal_at(1), sdi::point(112, 96));
}

TEST(SymbolFile, TenNamesAreKeptOfMore) {
  TempDir dir;
  {
    std::ofstream sym("many.sym");
    sym << "MANY\n17,17,8,8\n0\n1\n8,0\n12\n";
    for (int i = 1; i <= 12; ++i) sym << "n" << i << "\n";
  }
  Capture cap;
  auto s = place("many");
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(s->string_count, 10);
  EXPECT_EQ(s->strings[0], "n1");
  EXPECT_EQ(s->strings[9], "n10");
  EXPECT_EQ(s->nodes.count(), 1);
}

TEST(SymbolFile, OverlongAndWindowsLinesAreRead) {
  TempDir dir;
  const std::string long_name(400, 'Q');
  std::ofstream("wide.sym", std::ios::binary) << long_name << "\r\n17,17,8,8\r\n0\r\n2\r\n8,0\r\n8,16\r\n1\r\nvin\r\n";
  Capture cap;
  auto s = place("wide");
  EXPECT_TRUE(cap.messages.empty());
  // The line is cut at 255 characters; the rest of it does not shift the lines after it.
  EXPECT_EQ(s->type_name, std::string(255, 'Q'));
  EXPECT_EQ(s->nodes.count(), 2);
  EXPECT_EQ(s->string_count, 1);
  EXPECT_EQ(s->strings[0], "vin");
}

TEST(SymbolFile, MissingLinesAndBadCountsAreNotASymbol) {
  TempDir dir;
  std::ofstream("short.sym") << "SHORT\n17,17,8,8\n2\n0,0,16,0\n";     // ends inside the segments
  std::ofstream("neg.sym") << "NEG\n17,17,8,8\n-1\n0\n0\n";            // a negative count
  std::ofstream("word.sym") << "WORD\n17,17,8,8\n0\ntwo\n8,0\n8,16\n0\n";  // a count that is no number
  Capture cap;
  for (const char* name : {"short", "neg", "word"}) {
    auto s = place(name);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->nodes.count(), 0) << name;
  }
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"File short.sym is not a valid symbol file",
                                                     "File neg.sym is not a valid symbol file",
                                                     "File word.sym is not a valid symbol file"}));
}
