// Singly linked lists with a cursor held in the list head.
//
// `list` is the node base (a next pointer and a virtual destructor); each list
// kind derives its node and a head holding `head` and the cursor `current_`.
// Heads are shallow handles: copying one copies both pointers, so the copy
// walks the same nodes with a cursor of its own; never change the chain through
// a copy. A head's destructor frees nothing: the owner calls list_clear.
// Lists never delete what a pointer payload points to.
//
// Cursor rules that file record order and netlist order depend on:
//   - insert puts the new node after the cursor (as head in an empty list) and
//     moves the cursor to it;
//   - remove_current leaves the cursor on the predecessor, or on the new head
//     when the head was removed (a following next() then skips one node);
//   - searches walk a private copy and never move the cursor unless they say so.
// Index arguments count from 0. Bad cursors, ids and indices are reported
// through error_hook and give null; nothing is removed then.
#pragma once

#include "sdi/base/report.h"

namespace sdi {

class list {
public:
  list* next = nullptr;

  list() = default;
  list(const list&) = delete;
  list& operator=(const list&) = delete;
  virtual ~list() = default;  // frees the node only, never what its payload points to
};

int list_count(const list* first);
list* list_node_at(list* first, int i);  // null (reported) for an index outside 0..count-1
list* list_last(list* first);            // null (reported) for a null chain
void list_free_chain(list* first);

// The cursor operations shared by elist, ilist, dlist and rlist.
// Node must derive from list and hold `value`.
template <class Node>
class list_head {
public:
  using value_type = decltype(Node::value);

  Node* head = nullptr;
  Node* current_ = nullptr;

  // Cursor to the head: 1, or 0 for an empty list (the cursor is left as it was).
  int list_first() {
    if (!head) return 0;
    current_ = head;
    return 1;
  }

  // Cursor on: 1, or 0 at the last node (the cursor stays there).
  int next() {
    if (!current_) {
      SDI_ASSERT_FAIL();
      return 0;
    }
    if (!current_->next) return 0;
    current_ = static_cast<Node*>(current_->next);
    return 1;
  }

  // A new node after the cursor, which moves to it. A head without a cursor
  // is reported and the node goes to the end, so nothing is lost.
  void insert(value_type v) {
    Node* n = new Node;
    n->value = v;
    if (!head) {
      head = current_ = n;
      return;
    }
    if (!current_) {
      SDI_ASSERT_FAIL();
      current_ = static_cast<Node*>(list_last(head));
    }
    n->next = current_->next;
    current_->next = n;
    current_ = n;
  }

  // A new node at the end, which becomes the cursor.
  void append(value_type v) {
    if (head) current_ = static_cast<Node*>(list_last(head));
    insert(v);
  }

  void list_clear() {
    list_free_chain(head);
    head = current_ = nullptr;
  }

  int count() const { return list_count(head); }

protected:
  // Unlinks and frees the cursor's node; false (reported) when there is none.
  bool remove_current_node(value_type& out) {
    if (!current_) {
      SDI_ASSERT_FAIL();
      return false;
    }
    Node* pred = nullptr;
    if (current_ != head) {
      list* p = head;
      while (p && p->next != current_) p = p->next;
      if (!p) {
        SDI_ASSERT_FAIL();
        return false;
      }
      pred = static_cast<Node*>(p);
    }
    Node* gone = current_;
    out = gone->value;
    if (pred) {
      pred->next = gone->next;
      current_ = pred;
    } else {
      head = current_ = static_cast<Node*>(gone->next);
    }
    delete gone;
    return true;
  }

  // Pointer to the payload of node i from the head; null (reported) when out of range.
  value_type* value_at(int i) {
    Node* n = static_cast<Node*>(list_node_at(head, i));
    return n ? &n->value : nullptr;
  }
};

}  // namespace sdi
