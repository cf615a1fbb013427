// Lists of int32 (node numbers, linked element ids), of doubles (threshold
// tables) and of netlist-row pointers, each with a cursor (see list.h).
#pragma once

#include <cstdint>

#include "sdi/base/list.h"

namespace sdi {

struct inode : list {
  std::int32_t value = 0;
};

class ilist : public list_head<inode> {
public:
  std::int32_t* current();  // writable; null (reported) without a cursor
  // Removes the cursor's node: the cursor goes to the predecessor, or to the new head.
  std::int32_t remove_current();
  void grow(int n);  // zeros appended after the cursor up to n entries
  std::int32_t* list_value_at(int i);
  int find(std::int32_t v, int move);  // 1 when present; move: cursor to the first such node
  int seek(std::int32_t v) { return find(v, 1); }
  // Removes the first entry holding v; a missing value is reported and nothing is removed.
  std::int32_t remove(std::int32_t v);
};

struct dnode : list {
  double value = 0.0;
};

class dlist : public list_head<dnode> {
public:
  double* current();
  void resize(int n);  // 0.0 entries appended after the cursor up to n entries
  double* list_value_at(int i);
};

struct simrec;  // a netlist row, owned by the netlist writer

struct rnode : list {
  simrec* value = nullptr;
};

class rlist : public list_head<rnode> {
public:
  simrec* current();
};

}  // namespace sdi
