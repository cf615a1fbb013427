#include "sdi/elements/naming.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "capture.h"
#include "ckt_builder.h"
#include "common/temp_dir.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/factories.h"
#include "sdi/edit/place_element.h"
#include "sdi/elements/sub_element.h"

namespace {

std::string name_of(sdi::element* e) { return e->name(); }

}  // namespace

TEST(Naming, LongSubcircuitTypeNamesShortenThePrefixNotTheNumber) {
  TempDir dir;
  CircuitGuard guard;
  sdi::symbol_folder = dir.path().string();
  {
    std::ofstream("conv.sym") << "CONVERTER\n17,17,8,8\n0\n1\n8,0\n0\n";
    std::ofstream("other.sym") << "CONVERTER\n17,17,8,8\n0\n1\n8,0\n0\n";
  }
  auto* a = new sdi::sub("conv", 1);
  sdi::assign_default_name(a);
  EXPECT_EQ(name_of(a), "CONVER1");
  add_symbol(a, sdi::point(200, 200));
  for (int i = 2; i <= 9; ++i) {
    auto* s = new sdi::sub("conv", 1);
    sdi::assign_default_name(s);
    add_symbol(s, sdi::point(200 + 40 * i, 200));
  }
  auto* tenth = new sdi::sub("conv", 1);
  sdi::assign_default_name(tenth);
  EXPECT_EQ(name_of(tenth), "CONVE10");
  delete tenth;
  sdi::symbol_folder.clear();
}

TEST(Naming, OnlyTheSameKindsNamesAreTaken) {
  CircuitGuard guard;
  add_symbol(new sdi::basic(sdi::kind_resistor, 1), sdi::point(200, 160), "C1");  // renamed by the user
  sdi::basic c(sdi::kind_capacitor, 1);
  sdi::assign_default_name(&c);
  EXPECT_EQ(name_of(&c), "C1");  // a resistor's name does not take a capacitor's
  add_symbol(new sdi::basic(sdi::kind_capacitor, 1), sdi::point(296, 160), "C2");
  sdi::basic c2(sdi::kind_capacitor, 1);
  sdi::assign_default_name(&c2);
  EXPECT_EQ(name_of(&c2), "C3");  // one capacitor: the count starts at 2, and C2 is taken
}

// Kinds without a prefix are reported and name with an empty one.
TEST(Naming, KindsWithoutAPrefix) {
  for (int k : {3, 4, 11, 16, 18, 19, 35}) {
    Capture cap;
    EXPECT_STREQ(sdi::name_prefix(k), "") << k;
    EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/elements/element.cpp: Internal"}) << k;
  }
  Capture cap;
  EXPECT_STREQ(sdi::name_prefix(sdi::kind_threshold), "THRES");
  EXPECT_TRUE(cap.errors.empty());
}

// Subcircuit instances count only the instances of their own type; names that
// are no plain file name in the current folder name no subcircuit.
TEST(Naming, SubcircuitsCountTheirOwnType) {
  TempDir dir;
  CircuitGuard guard;
  std::ofstream("pa.sym") << "PA\n17,17,8,8\n0\n1\n8,0\n0\n";
  std::ofstream("qb.sym") << "QB\n17,17,8,8\n0\n1\n8,0\n0\n";
  auto* a = new sdi::sub("pa", 1);
  sdi::assign_default_name(a);
  add_symbol(a, sdi::point(200, 200));
  auto* b = new sdi::sub("qb", 1);
  sdi::assign_default_name(b);
  EXPECT_EQ(name_of(a), "PA1");
  EXPECT_EQ(name_of(b), "QB1");
  delete b;
  for (const char* name : {"", ".", "..", "lib/pa", "lib\\pa"}) EXPECT_FALSE(sdi::plain_file_name(name)) << name;
  EXPECT_TRUE(sdi::plain_file_name("pa"));
}
