// The cursor lists: where insert and remove leave the cursor, and every misuse
// reported with a neutral result and nothing changed.
#include "sdi/elements/elist.h"

#include <gtest/gtest.h>

#include <functional>

#include "capture.h"
#include "sdi/base/ilist.h"
#include "sdi/elements/base_elements.h"

namespace {
std::vector<int> values(sdi::ilist& l) {
  std::vector<int> out;
  for (sdi::inode* n = l.head; n; n = static_cast<sdi::inode*>(n->next)) out.push_back(n->value);
  return out;
}
}  // namespace

TEST(Lists, CursorFollowsInsertAndRemove) {
  sdi::ilist l;
  EXPECT_EQ(l.list_first(), 0);
  for (int v : {1, 2, 3}) l.insert(v);
  l.list_first();
  l.insert(9);  // after the cursor, which moves to it
  EXPECT_EQ(values(l), (std::vector<int>{1, 9, 2, 3}));
  EXPECT_EQ(*l.current(), 9);
  l.append(7);
  EXPECT_EQ(*l.current(), 7);
  EXPECT_EQ(l.seek(2), 1);
  EXPECT_EQ(l.remove_current(), 2);  // the cursor goes back to its predecessor
  EXPECT_EQ(*l.current(), 9);
  EXPECT_EQ(l.next(), 1);
  EXPECT_EQ(l.next(), 1);
  EXPECT_EQ(l.next(), 0);  // at the last node: stays
  EXPECT_EQ(*l.current(), 7);
  l.list_first();
  EXPECT_EQ(l.remove_current(), 1);  // the head: the cursor on the new head
  EXPECT_EQ(*l.current(), 9);
  EXPECT_EQ(l.remove(3), 3);
  EXPECT_EQ(values(l), (std::vector<int>{9, 7}));
  EXPECT_EQ(l.find(7, 0), 1);
  EXPECT_EQ(*l.current(), 9);  // not moved
  l.grow(4);
  EXPECT_EQ(values(l), (std::vector<int>{9, 0, 0, 7}));
  l.list_clear();
  EXPECT_EQ(l.count(), 0);
  sdi::dlist d;
  d.resize(3);
  *d.list_value_at(2) = 1.5;
  EXPECT_EQ(*d.current(), 1.5);
  d.list_clear();
}

TEST(Lists, MisuseIsReportedAndChangesNothing) {
  sdi::ilist three;
  for (int v : {4, 5, 6}) three.append(v);
  sdi::elist one;
  sdi::basic r(sdi::kind_resistor, 1);
  r.id = 3;
  one.insert(&r);
  const struct {
    const char* label;
    std::function<bool()> neutral;
    const char* report;
  } rows[] = {
      {"ilist current without a cursor", [] { sdi::ilist e; return e.current() == nullptr; }, "sdi/base/ilist.cpp: Internal Assertion"},
      {"dlist current without a cursor", [] { sdi::dlist e; return e.current() == nullptr; }, "sdi/base/ilist.cpp: Internal Assertion"},
      {"rlist current without a cursor", [] { sdi::rlist e; return e.current() == nullptr; }, "sdi/base/ilist.cpp: Internal Assertion"},
      {"elist current without a cursor", [] { sdi::elist e; return e.current() == nullptr; }, "sdi/elements/elist.cpp: Internal Assertion"},
      {"next without a cursor", [] { sdi::ilist e; return e.next() == 0; }, "sdi/base/list.h: Internal Assertion"},
      {"removing without a cursor", [] { sdi::ilist e; return e.remove_current() == 0; }, "sdi/base/list.h: Internal Assertion"},
      {"removing a value not held", [&] { return three.remove(9) == 9 && three.count() == 3; }, "sdi/base/ilist.cpp: Internal Assertion"},
      {"growing to fewer", [&] { three.grow(2); return three.count() == 3; }, "sdi/base/ilist.cpp: Internal Assertion"},
      {"resizing to fewer", [] { sdi::dlist d; d.resize(2); d.resize(1); bool ok = d.count() == 2; d.list_clear(); return ok; },
       "sdi/base/ilist.cpp: Internal Assertion"},
      {"an index past the end", [&] { return three.list_value_at(3) == nullptr; }, "sdi/base/list.cpp: Internal Assertion"},
      {"a negative index", [&] { return three.list_value_at(-1) == nullptr; }, "sdi/base/list.cpp: Internal Assertion"},
      {"the last node of no chain", [] { return sdi::list_last(nullptr) == nullptr; }, "sdi/base/list.cpp: Internal"},
      {"getting a missing id", [&] { return one.get(4) == nullptr; }, "sdi/elements/elist.cpp: Internal Assertion"},
      {"removing a missing id", [&] { return one.remove_by_id(4) == nullptr && one.count() == 1; }, "sdi/elements/elist.cpp: Internal Assertion"},
      {"an id for an empty list", [] { sdi::elist e; e.assign_id(); return true; }, "sdi/elements/elist.cpp: Internal Assertion"},
      {"renumbering nodes of an empty list", [] { sdi::elist e; return e.replace_node(1, 2) == 0; }, "sdi/elements/elist.cpp: Internal Assertion"},
  };
  for (const auto& row : rows) {
    Capture cap;
    EXPECT_TRUE(row.neutral()) << row.label;
    EXPECT_EQ(cap.errors, std::vector<std::string>{row.report}) << row.label;
  }
  EXPECT_EQ(values(three), (std::vector<int>{4, 5, 6}));
  sdi::elist none;
  EXPECT_EQ(none.last(), 0);
  EXPECT_EQ(none.current_, nullptr);
  one.list_clear();
  three.list_clear();
}
