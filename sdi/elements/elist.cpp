#include "sdi/elements/elist.h"

#include "sdi/elements/element.h"

namespace sdi {

elist circuit;

namespace {

template <class Pred>
int first_hit(const enode* head, const point& p, Pred accept) {
  for (const enode* n = head; n; n = static_cast<const enode*>(n->next)) {
    element* e = n->value;
    if (e && e->id != 0 && accept(e) && e->hit_test(p)) return e->id;
  }
  return 0;
}
}  // namespace

element* elist::current() {
  if (!current_) {
    SDI_ASSERT_FAIL();
    return nullptr;
  }
  return current_->value;
}

element* elist::remove_current() {
  element* e = nullptr;
  remove_current_node(e);
  return e;
}

int elist::find_id(int id, int move) {
  for (enode* n = head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->id == id) {
      if (move) current_ = n;
      return 1;
    }
  return 0;
}

element* elist::get(int id) {
  for (enode* n = head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->id == id) return n->value;
  SDI_ASSERT_FAIL();
  return nullptr;
}

element* elist::remove_by_id(int id) {
  if (!seek(id)) {
    SDI_ASSERT_FAIL();
    return nullptr;
  }
  return remove_current();
}

int elist::last() {
  if (!head) {
    current_ = nullptr;
    return 0;
  }
  current_ = static_cast<enode*>(list_last(head));
  return 1;
}

void elist::assign_id() {
  if (!head || !current_) {
    SDI_ASSERT_FAIL();
    return;
  }
  element* e = current_->value;
  if (!e || e->id >= 1) return;
  int candidate = 1;
  while (find_id(candidate, 0)) ++candidate;
  e->id = candidate;
}

elist elist::copy() const {
  elist out;
  for (const enode* n = head; n; n = static_cast<const enode*>(n->next)) out.insert(n->value);
  return out;
}

int elist::find_hit(const point& p) {
  return first_hit(head, p, [](element*) { return true; });
}

int elist::find_hit_i_element(const point& p) {
  return first_hit(head, p, [](element* e) { return !is_line_element(e->kind); });
}

int elist::find_hit_inductor(const point& p) {
  return first_hit(head, p, [](element* e) { return e->kind == kind_inductor; });
}

int elist::find_hit_primary(const point& p) {
  return first_hit(head, p, [](element* e) { return e->kind == kind_primary; });
}

int elist::terminal_at(const point& p, int skip_couplings) {
  for (enode* n = head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || (skip_couplings && e->kind == kind_mutual)) continue;
    if (e->has_terminal_at(p)) return 1;
  }
  return 0;
}

int elist::count_inductors_at(const point& p) {
  int count = 0;
  for (enode* n = head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->kind == kind_inductor && n->value->hit_test(p)) ++count;
  return count;
}

int elist::replace_node(int old_number, int new_number) {
  if (!head) {
    SDI_ASSERT_FAIL();
    return 0;
  }
  int changed = 0;
  for (enode* n = head; n; n = static_cast<enode*>(n->next)) {
    if (!n->value) continue;
    for (inode* i = n->value->nodes.head; i; i = static_cast<inode*>(i->next))
      if (i->value == old_number) {
        i->value = new_number;
        ++changed;
      }
  }
  return changed;
}

}  // namespace sdi
