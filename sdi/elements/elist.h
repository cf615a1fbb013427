// The list of element pointers with a cursor (see list.h for the cursor rules);
// the circuit is one. Ids are the elements' id fields. The list never deletes
// an element: whoever removes one owns it.
//
//     elist walk = circuit;               // shallow copy: own cursor, same nodes
//     if (walk.list_first()) do { element* e = walk.current(); ... } while (walk.next());
#pragma once

#include "sdi/draw/geometry.h"
#include "sdi/base/list.h"

namespace sdi {

class element;

struct enode : list {
  element* value = nullptr;
};

class elist : public list_head<enode> {
public:
  element* current();  // null (reported) without a cursor
  // Removes the cursor's node and returns its element, now owned by the caller.
  element* remove_current();

  int find_id(int id, int move);
  int seek(int id) { return find_id(id, 1); }
  element* get(int id);           // cursor not moved; null (reported) when missing
  element* remove_by_id(int id);  // null (reported), nothing removed, when missing
  int last();
  void assign_id();   // smallest free id of 1 or more for the cursor's element, if it has none
  elist copy() const; // new nodes, same elements and order; cursor on its last node
  int find_hit(const point& p);
  int find_hit_i_element(const point& p);
  int find_hit_inductor(const point& p);
  int find_hit_primary(const point& p);
  int terminal_at(const point& p, int skip_couplings);
  int count_inductors_at(const point& p);
  int replace_node(int old_number, int new_number);
};

// Every placed element of the open circuit.
extern elist circuit;

}  // namespace sdi
