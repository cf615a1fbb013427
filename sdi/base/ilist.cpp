#include "sdi/base/ilist.h"

namespace sdi {

std::int32_t* ilist::current() {
  if (!current_) {
    SDI_ASSERT_FAIL();
    return nullptr;
  }
  return &current_->value;
}

std::int32_t ilist::remove_current() {
  std::int32_t v = 0;
  remove_current_node(v);
  return v;
}

void ilist::grow(int n) {
  int have = count();
  if (n < have) {
    SDI_ASSERT_FAIL();
    return;
  }
  for (; have < n; ++have) insert(0);
}

std::int32_t* ilist::list_value_at(int i) { return value_at(i); }

int ilist::find(std::int32_t v, int move) {
  for (inode* p = head; p; p = static_cast<inode*>(p->next))
    if (p->value == v) {
      if (move) current_ = p;
      return 1;
    }
  return 0;
}

std::int32_t ilist::remove(std::int32_t v) {
  if (!seek(v)) {
    SDI_ASSERT_FAIL();
    return v;
  }
  return remove_current();
}

double* dlist::current() {
  if (!current_) {
    SDI_ASSERT_FAIL();
    return nullptr;
  }
  return &current_->value;
}

void dlist::resize(int n) {
  int have = count();
  if (n < have) {
    SDI_ASSERT_FAIL();
    return;
  }
  for (; have < n; ++have) insert(0.0);
}

double* dlist::list_value_at(int i) { return value_at(i); }

simrec* rlist::current() {
  if (!current_) {
    SDI_ASSERT_FAIL();
    return nullptr;
  }
  return current_->value;
}

}  // namespace sdi
