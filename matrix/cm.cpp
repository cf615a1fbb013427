// CM construction, sharing, assignment, element access and resizing.
#include "matrix/cm.h"

#include "matrix/twin_storage.h"

CDB empty_CDB = {0, nullptr};

CDB* new_CDB(uint64_t n) { return new_block<CM>(n); }
void release_CDB(CDB* b) { release_block<CM>(b); }
void copy_CDB(CDB* target, const CDB* source, uint32_t n) { copy_block(target, source, n); }

CM::CM() : n(0), rows(0), cols(0), blk(&empty_CDB) { ++blk->refs; }

CM::CM(double re) : n(1), rows(1), cols(1), blk(new_CDB(1)) { blk->data[0] = complex(re, 0.0); }

CM::CM(double re, double im) : n(1), rows(1), cols(1), blk(new_CDB(1)) {
  blk->data[0] = complex(re, im);
}

CM::CM(const DM& A) : n(A.n), rows(A.rows), cols(A.cols), blk(new_CDB(A.n)) {
  if (n == 0) ++blk->refs;
  for (uint32_t k = 0; k < n; ++k) blk->data[k] = complex(A.blk->data[k], 0.0);
}

CM::CM(int r, int c) {
  take_shape(*this, r, c, 0);
  if (n == 0) ++blk->refs;
}

CM::CM(int r, int c, double re) : CM(r, c, re, 0.0) {}

CM::CM(int r, int c, double re, double im) {
  take_shape(*this, r, c, 1);
  fill(complex(re, im));
}

CM::CM(int r, int c, const complex* v) {
  take_shape(*this, r, c, 1);
  std::memcpy(static_cast<void*>(blk->data), v, sizeof(complex) * n);
}

CM::CM(const CM& o) : n(o.n), rows(o.rows), cols(o.cols), blk(o.blk) { ++blk->refs; }

CM::~CM() { release_CDB(blk); }

CM CM::operator=(const CM& o) {
  assign_from(*this, o);
  return *this;
}

CM CM::share(const CM& o) {
  share_from(*this, o);
  return *this;
}

complex& CM::operator()(double i, double j) const {
  if (!(i >= 1 && i <= rows && j >= 1 && j <= cols)) matrix_fatal("Index out of range", "CM(i,j)");
  return blk->data[(static_cast<int64_t>(j) - 1) * rows + static_cast<int64_t>(i) - 1];
}

complex& CM::operator()(double k) const {
  if (!(k >= 1 && k <= n)) matrix_fatal("Index out of range", "CM(i)");
  return blk->data[static_cast<int64_t>(k) - 1];
}

CM& CM::redim(int r, int c, bool keep) {
  redim_to(*this, r, c, keep);
  return *this;
}

int length(const CM& A) { return length_of(A); }
