// Symbol files of subcircuit instances: pins, names and bounded lines; numbers
// past any sheet and malformed files are refused.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "capture.h"
#include "common/temp_dir.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/placement.h"
#include "sdi/elements/sub_element.h"

namespace {
std::unique_ptr<sdi::sub> place(const std::string& name) {
  sdi::pending_element = nullptr;
  sdi::new_subcircuit(name.c_str());
  std::unique_ptr<sdi::sub> s(static_cast<sdi::sub*>(sdi::pending_element));
  sdi::pending_element = sdi::previous_pending_element = nullptr;
  return s;
}
}  // namespace

TEST(SymbolFile, MalformedFilesAreNotASymbol) {
  const std::pair<const char*, const char*> files[] = {
      {"wide", "WIDE\n2147483647,33,16,16\n0\n2\n0,16\n32,16\n0\n"},
      {"far", "FAR\n41,33,16,16\n1\n0,0,-2147483648,0\n2\n0,16\n32,16\n0\n"},
      {"pin", "PIN\n41,33,16,16\n0\n2\n0,16\n2000000000,16\n0\n"},
      {"short", "SHORT\n17,17,8,8\n2\n0,0,16,0\n"},  // ends inside the segments
      {"neg", "NEG\n17,17,8,8\n-1\n0\n0\n"},
      {"word", "WORD\n17,17,8,8\n0\ntwo\n8,0\n8,16\n0\n"},
  };
  TempDir dir;
  for (const auto& [name, text] : files) {
    SCOPED_TRACE(name);
    std::ofstream(std::string(name) + ".sym") << text;
    Capture cap;
    auto s = place(name);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->nodes.count(), 0);
    EXPECT_EQ(s->image->w, 0);
    s->image->place_ref_at({200, 200});  // an empty image placed where it is put
    EXPECT_EQ(s->image->bounds(), sdi::rect(200, 200, 0, 0));
    EXPECT_EQ(cap.messages, (std::vector<std::string>{"File " + std::string(name) + ".sym is not a valid symbol file"}));
  }
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
  EXPECT_EQ(s->strings[0], "vin");
}

// The bounds of a symbol file, each taken exactly and refused one past it.
TEST(SymbolFile, EachBoundHoldsExactly) {
  struct Row {
    const char* label;
    int width, segments, pins, names, segment_x, pin_x;
    bool valid;
  };
  const Row rows[] = {
      {"widest", 1000000, 1, 2, 0, 0, 0, true},         {"too wide", 1000001, 1, 2, 0, 0, 0, false},
      {"segment far left", 17, 1, 2, 0, -1000000, 0, true}, {"segment past it", 17, 1, 2, 0, -1000001, 0, false},
      {"pin far right", 17, 1, 2, 0, 0, 1000000, true},  {"pin past it", 17, 1, 2, 0, 0, 1000001, false},
      {"most segments", 17, 10000, 2, 0, 0, 0, true},    {"one segment more", 17, 10001, 2, 0, 0, 0, false},
      {"most pins", 17, 1, 1000, 0, 0, 0, true},         {"one pin more", 17, 1, 1001, 0, 0, 0, false},
      {"most names", 17, 1, 2, 1000, 0, 0, true},        {"one name more", 17, 1, 2, 1001, 0, 0, false},
  };
  TempDir dir;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    {
      std::ofstream f("lim.sym");
      f << "LIM\n" << r.width << ",17,8,8\n" << r.segments << '\n';
      for (int i = 0; i < r.segments; ++i) f << (i ? 0 : r.segment_x) << ",0,16,16\n";
      f << r.pins << '\n';
      for (int i = 0; i < r.pins; ++i) f << (i ? 8 * i : r.pin_x) << ",0\n";
      f << r.names << '\n';
      for (int i = 0; i < r.names; ++i) f << "n" << i << '\n';
    }
    Capture cap;
    auto s = place("lim");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->nodes.count(), r.valid ? r.pins : 0);
    EXPECT_EQ(cap.messages.size(), r.valid ? 0u : 1u);
    EXPECT_EQ(s->read_symbol("lim"), r.valid);  // read again: the same answer
  }
}
