// Symbol files of subcircuit instances: numbers past any sheet are refused.
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
