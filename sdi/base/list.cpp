#include "sdi/base/list.h"

namespace sdi {

int list_count(const list* first) {
  int n = 0;
  for (const list* p = first; p; p = p->next) ++n;
  return n;
}

list* list_node_at(list* first, int i) {
  if (i < 0) {
    SDI_ASSERT_FAIL();
    return nullptr;
  }
  list* p = first;
  for (int k = 0; p && k < i; ++k) p = p->next;
  if (!p) SDI_ASSERT_FAIL();
  return p;
}

list* list_last(list* first) {
  if (!first) {
    SDI_INTERNAL();
    return nullptr;
  }
  list* p = first;
  while (p->next) p = p->next;
  return p;
}

void list_free_chain(list* first) {
  // Iterative, so a long chain cannot exhaust the stack; the order (rest first)
  // only matters to destructors that look at their successors, and none does.
  while (first) {
    list* rest = first->next;
    first->next = nullptr;
    delete first;
    first = rest;
  }
}

}  // namespace sdi
