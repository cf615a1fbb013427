// cond_list: a column of condition numbers (k x 1 DM, 1-based numbers stored as doubles)
// kept over one block of its largest size, so that refilling it allocates nothing.
//
//     cond_list list;
//     list.reserve(conditions);                 // once: the most entries it will hold
//     list.resize(swt.changed_into(list.data()));
//     cond.evaluate(list.col(), ...);           // shrinks the column within its block
//     list.assign(other.col());                 // copies another list's entries
//
// A function that gave the column another block (an unshared block is required for
// shrinking in place) is noticed: the next reserve, resize or assign makes a new one.
#pragma once
#include "matrix/dm.h"

class cond_list {
public:
  void reserve(int cap) {
    if (cap < 1) cap = 1;
    if (cap > cap_ || col_.blk != block_ || col_.blk->refs != 1) {
      col_ = DM();
      col_ = DM(cap, 1);
      block_ = col_.blk;
      cap_ = cap;
    }
  }
  // Storage for reserve's cap entries.
  double* data() { return col_.blk->data; }
  // The column becomes the first k (<= cap) entries of the storage.
  void resize(int k) {
    col_.rows = k;
    col_.cols = 1;
    col_.n = static_cast<uint32_t>(k);
  }
  void assign(const DM& from) {
    reserve(cap_ > static_cast<int>(from.n) ? cap_ : static_cast<int>(from.n));
    for (uint32_t k = 0; k < from.n; ++k) col_.blk->data[k] = from.blk->data[k];
    resize(static_cast<int>(from.n));
  }
  DM& col() { return col_; }
  const DM& col() const { return col_; }

private:
  DM col_;
  const DDB* block_ = nullptr;
  int cap_ = 0;
};
