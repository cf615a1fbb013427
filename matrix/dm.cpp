// DM construction, sharing, assignment, element access and resizing.
#include "matrix/dm.h"

#include <cstdlib>
#include <cstring>

DDB empty_DDB = {0, nullptr};

namespace {

constexpr int max_dim = 15000;

// Bytes of a block of n doubles; sizes past 32 bits cannot be described by a DM.
size_t ddb_bytes(uint64_t n) {
  if (n > UINT32_MAX) matrix_fatal("out of memory", "new_DDB()");
  return sizeof(DDB) + sizeof(double) * static_cast<size_t>(n);
}

void check_dims(int r, int c, int lowest) {
  if (r < lowest || r > max_dim || c < lowest || c > max_dim)
    matrix_fatal("rows,cols out of range allowed", "construct DM(r,c)");
}

}  // namespace

DDB* new_DDB(uint64_t n) {
  if (n == 0) return &empty_DDB;
  void* p = std::malloc(ddb_bytes(n));
  if (!p) matrix_fatal("out of memory", "new_DDB()");
  DDB* b = static_cast<DDB*>(p);
  b->refs = 1;
  b->data = reinterpret_cast<double*>(b + 1);
  return b;
}

void release_DDB(DDB* b) {
  if (b == &empty_DDB) return;
  if (--b->refs == 0) std::free(b);
}

void copy_DDB(DDB* target, const DDB* source, uint32_t n) {
  if (n) std::memcpy(target->data, source->data, sizeof(double) * n);
}

DM::DM() : n(0), rows(0), cols(0), blk(&empty_DDB) { ++blk->refs; }

DM::DM(double v) : n(1), rows(1), cols(1), blk(new_DDB(1)) { blk->data[0] = v; }

DM::DM(int r, int c) {
  check_dims(r, c, 0);
  blk = new_DDB(static_cast<uint64_t>(r) * c);
  n = static_cast<uint32_t>(r) * c;
  rows = r;
  cols = c;
  if (n == 0) ++blk->refs;
}

DM::DM(int r, int c, double v) {
  check_dims(r, c, 1);
  blk = new_DDB(static_cast<uint64_t>(r) * c);
  n = static_cast<uint32_t>(r) * c;
  rows = r;
  cols = c;
  fill(v);
}

DM::DM(int r, int c, const double* v) {
  check_dims(r, c, 1);
  blk = new_DDB(static_cast<uint64_t>(r) * c);
  n = static_cast<uint32_t>(r) * c;
  rows = r;
  cols = c;
  std::memcpy(blk->data, v, sizeof(double) * n);
}

DM::DM(const DM& o) : n(o.n), rows(o.rows), cols(o.cols), blk(o.blk) { ++blk->refs; }

DM::~DM() { release_DDB(blk); }

DM DM::operator=(const DM& o) {
  if (blk != o.blk && blk->refs == 1 && n == o.n && n > 0) {
    // No one else sees this block: the values are copied over it, and assignments
    // between matrices of settled sizes allocate nothing.
    copy_DDB(blk, o.blk, n);
  } else if (blk != o.blk) {
    // The new block is in hand before the old one goes: a failed allocation leaves
    // this matrix as it was.
    DDB* nb = new_DDB(o.n);
    if (nb == &empty_DDB) ++nb->refs;
    copy_DDB(nb, o.blk, o.n);
    release_DDB(blk);
    blk = nb;
  }
  // Shapes are copied even for a shared block: every empty matrix holds the same block,
  // and a 0 x 7 assigned to a 0 x 0 must take its shape.
  n = o.n;
  rows = o.rows;
  cols = o.cols;
  return *this;
}

DM DM::share(const DM& o) {
  if (blk != o.blk) {
    ++o.blk->refs;
    release_DDB(blk);
    blk = o.blk;
  }
  n = o.n;
  rows = o.rows;
  cols = o.cols;
  return *this;
}

DM& DM::redim(int r, int c, bool keep) {
  if (r < 0 || c < 0) matrix_fatal("Cannot redimension to negative size", "redim(r,c)");
  uint64_t nn = static_cast<uint64_t>(r) * static_cast<uint64_t>(c);
  if (n > 0 && nn > 0 && blk->refs == 1) {
    void* p = std::realloc(blk, ddb_bytes(nn));
    if (!p) matrix_fatal("out of memory", "new_DDB()");
    blk = static_cast<DDB*>(p);
    blk->data = reinterpret_cast<double*>(blk + 1);
  } else {
    DDB* nb = new_DDB(nn);
    if (nb == &empty_DDB) ++nb->refs;
    if (keep) copy_DDB(nb, blk, static_cast<uint32_t>(nn < n ? nn : n));
    release_DDB(blk);
    blk = nb;
  }
  rows = r;
  cols = c;
  n = static_cast<uint32_t>(nn);
  return *this;
}

int length(const DM& A) { return A.rows > A.cols ? A.rows : A.cols; }
