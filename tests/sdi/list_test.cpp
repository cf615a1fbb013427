#include "sdi/elist.h"

#include <gtest/gtest.h>

#include "capture.h"
#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/ilist.h"

namespace {
std::vector<int> values(const sdi::ilist& l) {
  std::vector<int> v;
  for (const sdi::inode* n = l.head; n; n = static_cast<const sdi::inode*>(n->next)) v.push_back(n->value);
  return v;
}

std::vector<int> ids(const sdi::elist& l) {
  std::vector<int> v;
  for (const sdi::enode* n = l.head; n; n = static_cast<const sdi::enode*>(n->next)) v.push_back(n->value->id);
  return v;
}

// Elements with given ids, owned by the fixture.
struct Elements {
  std::vector<sdi::element*> all;
  sdi::elist list;
  explicit Elements(std::vector<int> id_list) {
    for (int id : id_list) {
      auto* e = new sdi::basic(sdi::kind_resistor, 1);
      e->id = id;
      all.push_back(e);
      list.insert(e);
    }
  }
  ~Elements() {
    list.list_clear();
    for (auto* e : all) delete e;
  }
};
}  // namespace

TEST(Ilist, FirstAndNext) {
  sdi::ilist l;
  EXPECT_EQ(l.list_first(), 0);
  l.insert(1);
  l.insert(2);
  l.insert(3);
  EXPECT_EQ(l.list_first(), 1);
  EXPECT_EQ(*l.current(), 1);
  EXPECT_EQ(l.next(), 1);
  EXPECT_EQ(l.next(), 1);
  EXPECT_EQ(l.next(), 0);
  EXPECT_EQ(*l.current(), 3);  // stays on the last node
  l.list_clear();
  EXPECT_EQ(l.head, nullptr);
  EXPECT_EQ(l.current_, nullptr);
}

TEST(Ilist, InsertGoesAfterCursor) {
  sdi::ilist l;
  l.insert(1);
  EXPECT_EQ(l.head, l.current_);
  l.insert(3);
  l.list_first();
  l.insert(2);  // between 1 and 3
  EXPECT_EQ(values(l), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(*l.current(), 2);
  l.list_clear();
}

TEST(Ilist, RemoveCurrentCursorRules) {
  sdi::ilist l;
  for (int v : {1, 2, 3, 4}) l.insert(v);
  l.list_first();
  l.next();  // on 2
  EXPECT_EQ(l.remove_current(), 2);
  EXPECT_EQ(*l.current(), 1);  // predecessor
  l.next();
  EXPECT_EQ(*l.current(), 3);
  l.list_first();
  EXPECT_EQ(l.remove_current(), 1);  // head removed: cursor on the new head
  EXPECT_EQ(*l.current(), 3);
  l.next();
  EXPECT_EQ(*l.current(), 4);  // a following next skips the new head
  EXPECT_EQ(values(l), (std::vector<int>{3, 4}));
  l.list_clear();
  l.insert(9);
  EXPECT_EQ(l.remove_current(), 9);
  EXPECT_EQ(l.head, nullptr);
  EXPECT_EQ(l.current_, nullptr);
}

TEST(Ilist, NullCursorIsReported) {
  Capture cap;
  sdi::ilist l;
  EXPECT_EQ(l.current(), nullptr);
  EXPECT_EQ(l.next(), 0);
  EXPECT_EQ(l.remove_current(), 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>(3, "sdi/Ilist: Internal Assertion"));
}

TEST(Ilist, GrowAndValueAt) {
  Capture cap;
  sdi::ilist l;
  l.grow(3);
  EXPECT_EQ(values(l), (std::vector<int>{0, 0, 0}));
  *l.list_value_at(1) = 7;
  EXPECT_EQ(values(l), (std::vector<int>{0, 7, 0}));
  l.grow(3);
  EXPECT_TRUE(cap.errors.empty());
  l.grow(2);
  EXPECT_EQ(values(l), (std::vector<int>{0, 7, 0}));
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Ilist: Internal Assertion"});
  EXPECT_EQ(l.list_value_at(3), nullptr);
  EXPECT_EQ(l.list_value_at(-1), nullptr);
  EXPECT_EQ(cap.errors.size(), 3u);
  EXPECT_EQ(cap.errors[1], "sdi/List: Internal Assertion");
  l.list_clear();
}

TEST(Ilist, FindSeekRemove) {
  Capture cap;
  sdi::ilist l;
  for (int v : {5, 6, 5, 7}) l.insert(v);
  l.list_first();
  EXPECT_EQ(l.find(7, 0), 1);
  EXPECT_EQ(*l.current(), 5);  // not moved
  EXPECT_EQ(l.seek(6), 1);
  EXPECT_EQ(*l.current(), 6);
  EXPECT_EQ(l.remove(5), 5);  // the first occurrence only
  EXPECT_EQ(values(l), (std::vector<int>{6, 5, 7}));
  EXPECT_TRUE(cap.errors.empty());
  // A missing value removes nothing, not even the entry under the cursor.
  l.list_first();
  EXPECT_EQ(l.remove(42), 42);
  EXPECT_EQ(values(l), (std::vector<int>{6, 5, 7}));
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Ilist: Internal Assertion"});
  l.list_clear();
}

TEST(Ilist, ShallowCopyWalksSameNodes) {
  sdi::ilist l;
  for (int v : {1, 2, 3}) l.insert(v);
  sdi::ilist walk = l;
  walk.list_first();
  walk.next();
  EXPECT_EQ(*walk.current(), 2);
  EXPECT_EQ(*l.current(), 3);  // the original's cursor is its own
  l.list_clear();
}

TEST(Dlist, Resize) {
  Capture cap;
  sdi::dlist l;
  l.resize(4);
  EXPECT_EQ(l.count(), 4);
  *l.list_value_at(3) = 2.5;
  EXPECT_EQ(*l.current(), 2.5);  // cursor on the last node added
  l.resize(1);
  EXPECT_EQ(l.count(), 4);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Dlist: Internal Assertion"});
  l.list_clear();
}

TEST(ListChain, CountNodeAtLast) {
  Capture cap;
  sdi::ilist l;
  for (int v : {1, 2, 3}) l.insert(v);
  EXPECT_EQ(sdi::list_count(l.head), 3);
  EXPECT_EQ(sdi::list_count(nullptr), 0);
  EXPECT_EQ(static_cast<sdi::inode*>(sdi::list_node_at(l.head, 2))->value, 3);
  EXPECT_EQ(static_cast<sdi::inode*>(sdi::list_last(l.head))->value, 3);
  EXPECT_TRUE(cap.errors.empty());
  EXPECT_EQ(sdi::list_last(nullptr), nullptr);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/List: Internal"});
  l.list_clear();
}

TEST(Elist, AssignIdSmallestFree) {
  Elements el({1, 2, 4, 0});
  el.list.assign_id();  // cursor on the last inserted
  EXPECT_EQ(el.all[3]->id, 3);
  Elements e2({5});
  e2.list.assign_id();
  EXPECT_EQ(e2.all[0]->id, 5);
  Capture cap;
  sdi::elist empty;
  empty.assign_id();
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Elist: Internal Assertion"});
}

TEST(Elist, GetAndSeekCursor) {
  Capture cap;
  Elements el({1, 2, 3});
  el.list.list_first();
  EXPECT_EQ(el.list.get(3), el.all[2]);
  EXPECT_EQ(el.list.current(), el.all[0]);  // get does not move it
  EXPECT_EQ(el.list.find_id(2, 0), 1);
  EXPECT_EQ(el.list.current(), el.all[0]);
  EXPECT_EQ(el.list.seek(2), 1);
  EXPECT_EQ(el.list.current(), el.all[1]);
  EXPECT_TRUE(cap.errors.empty());
  EXPECT_EQ(el.list.get(9), nullptr);  // never the element under the cursor
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Elist: Internal Assertion"});
}

TEST(Elist, RemoveByIdMissingRemovesNothing) {
  Capture cap;
  Elements el({1, 2, 3});
  el.list.list_first();
  EXPECT_EQ(el.list.remove_by_id(7), nullptr);
  EXPECT_EQ(ids(el.list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Elist: Internal Assertion"});
  EXPECT_EQ(el.list.remove_by_id(2), el.all[1]);
  EXPECT_EQ(ids(el.list), (std::vector<int>{1, 3}));
  EXPECT_EQ(el.list.current(), el.all[0]);
}

TEST(Elist, LastAndCopy) {
  Elements el({1, 2, 3});
  el.list.list_first();
  sdi::elist c = el.list.copy();
  EXPECT_EQ(ids(c), (std::vector<int>{1, 2, 3}));
  EXPECT_NE(c.head, el.list.head);
  EXPECT_EQ(c.current(), el.all[2]);
  EXPECT_EQ(el.list.current(), el.all[0]);
  c.list_clear();  // the elements stay alive
  EXPECT_EQ(el.all[1]->id, 2);
  EXPECT_EQ(el.list.last(), 1);
  EXPECT_EQ(el.list.current(), el.all[2]);
  sdi::elist empty;
  EXPECT_EQ(empty.last(), 0);
  EXPECT_EQ(empty.current_, nullptr);
}

TEST(Elist, HitSearchesSkipUnplacedAndKeepCursor) {
  sdi::elist l;
  auto* wire = new sdi::cline;
  wire->shape.set(8, 8, 40, 24, 0, 1, 0, 0);
  auto* pending = new sdi::basic(sdi::kind_inductor, 1);  // id 0
  pending->image->place_ref_at(sdi::point(200, 160));
  auto* ind1 = new sdi::basic(sdi::kind_inductor, 1);
  ind1->id = 2;
  ind1->image->place_ref_at(sdi::point(200, 160));
  auto* ind2 = new sdi::basic(sdi::kind_inductor, 1);
  ind2->id = 3;
  ind2->image->place_ref_at(sdi::point(200, 168));
  auto* pri = new sdi::xform(sdi::kind_primary, 1);
  pri->id = 4;
  pri->image->place_ref_at(sdi::point(200, 160));
  wire->id = 1;
  for (sdi::element* e : std::vector<sdi::element*>{wire, pending, ind1, ind2, pri}) l.insert(e);
  l.list_first();
  EXPECT_EQ(l.find_hit(sdi::point(20, 10)), 1);
  EXPECT_EQ(l.find_hit(sdi::point(200, 160)), 2);
  EXPECT_EQ(l.find_hit_i_element(sdi::point(20, 10)), 0);
  EXPECT_EQ(l.find_hit_inductor(sdi::point(200, 150)), 2);
  EXPECT_EQ(l.find_hit_primary(sdi::point(200, 150)), 4);
  EXPECT_EQ(l.count_inductors_at(sdi::point(200, 150)), 3);  // the unplaced one counts too
  EXPECT_EQ(l.count_inductors_at(sdi::point(200, 140)), 2);
  EXPECT_EQ(l.current(), wire);
  EXPECT_EQ(l.terminal_at(sdi::point(40, 24), 0), 1);
  EXPECT_EQ(l.terminal_at(sdi::point(200, 136), 0), 1);
  EXPECT_EQ(l.terminal_at(sdi::point(200, 137), 0), 0);
  std::vector<sdi::element*> all{wire, pending, ind1, ind2, pri};
  l.list_clear();
  for (auto* e : all) delete e;
}

TEST(Elist, ReplaceNode) {
  Capture cap;
  Elements el({1, 2});
  *el.all[0]->nodes.list_value_at(0) = 3;
  *el.all[1]->nodes.list_value_at(1) = 3;
  EXPECT_EQ(el.list.replace_node(3, 0), 2);
  EXPECT_EQ(*el.all[0]->nodes.list_value_at(0), 0);
  EXPECT_EQ(*el.all[1]->nodes.list_value_at(1), 0);
  EXPECT_EQ(*el.all[1]->nodes.list_value_at(0), -1);
  sdi::elist empty;
  EXPECT_EQ(empty.replace_node(1, 2), 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/Elist: Internal Assertion"});
}
