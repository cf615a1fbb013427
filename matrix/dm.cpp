// DM construction, sharing, assignment, element access and resizing.
#include "matrix/dm.h"

#include "matrix/twin_storage.h"

DDB empty_DDB = {0, nullptr};

DDB* new_DDB(uint64_t n) { return new_block<DM>(n); }
void release_DDB(DDB* b) { release_block<DM>(b); }
void copy_DDB(DDB* target, const DDB* source, uint32_t n) { copy_block(target, source, n); }

DM::DM() : n(0), rows(0), cols(0), blk(&empty_DDB) { ++blk->refs; }

DM::DM(double v) : n(1), rows(1), cols(1), blk(new_DDB(1)) { blk->data[0] = v; }

DM::DM(int r, int c) {
  take_shape(*this, r, c, 0);
  if (n == 0) ++blk->refs;
}

DM::DM(int r, int c, double v) {
  take_shape(*this, r, c, 1);
  fill(v);
}

DM::DM(int r, int c, const double* v) {
  take_shape(*this, r, c, 1);
  std::memcpy(blk->data, v, sizeof(double) * n);
}

DM::DM(const DM& o) : n(o.n), rows(o.rows), cols(o.cols), blk(o.blk) { ++blk->refs; }

DM::~DM() { release_DDB(blk); }

DM DM::operator=(const DM& o) {
  assign_from(*this, o);
  return *this;
}

DM DM::share(const DM& o) {
  share_from(*this, o);
  return *this;
}

DM& DM::redim(int r, int c, bool keep) {
  redim_to(*this, r, c, keep);
  return *this;
}

int length(const DM& A) { return length_of(A); }
