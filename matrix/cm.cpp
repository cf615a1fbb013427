// CM construction, sharing, assignment, element access and resizing.
#include "matrix/cm.h"

#include <cstdlib>
#include <cstring>

CDB empty_CDB = {0, nullptr};

namespace {

constexpr int max_dim = 15000;

size_t cdb_bytes(uint64_t n) {
  if (n > UINT32_MAX) matrix_fatal("out of memory", "new_CDB()");
  return sizeof(CDB) + sizeof(complex) * static_cast<size_t>(n);
}

void check_dims(int r, int c, int lowest) {
  if (r < lowest || r > max_dim || c < lowest || c > max_dim)
    matrix_fatal("rows,cols out of range allowed", "construct CM(r,c)");
}

}  // namespace

CDB* new_CDB(uint64_t n) {
  if (n == 0) return &empty_CDB;
  void* p = std::malloc(cdb_bytes(n));
  if (!p) matrix_fatal("out of memory", "new_CDB()");
  CDB* b = static_cast<CDB*>(p);
  b->refs = 1;
  b->data = reinterpret_cast<complex*>(b + 1);
  return b;
}

void release_CDB(CDB* b) {
  if (b == &empty_CDB) return;
  if (--b->refs == 0) std::free(b);
}

void copy_CDB(CDB* target, const CDB* source, uint32_t n) {
  if (n) std::memcpy(static_cast<void*>(target->data), source->data, sizeof(complex) * n);
}

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
  check_dims(r, c, 0);
  blk = new_CDB(static_cast<uint64_t>(r) * c);
  n = static_cast<uint32_t>(r) * c;
  rows = r;
  cols = c;
  if (n == 0) ++blk->refs;
}

CM::CM(int r, int c, double re) : CM(r, c, re, 0.0) {}

CM::CM(int r, int c, double re, double im) {
  check_dims(r, c, 1);
  blk = new_CDB(static_cast<uint64_t>(r) * c);
  n = static_cast<uint32_t>(r) * c;
  rows = r;
  cols = c;
  fill(complex(re, im));
}

CM::CM(int r, int c, const complex* v) {
  check_dims(r, c, 1);
  blk = new_CDB(static_cast<uint64_t>(r) * c);
  n = static_cast<uint32_t>(r) * c;
  rows = r;
  cols = c;
  std::memcpy(static_cast<void*>(blk->data), v, sizeof(complex) * n);
}

CM::CM(const CM& o) : n(o.n), rows(o.rows), cols(o.cols), blk(o.blk) { ++blk->refs; }

CM::~CM() { release_CDB(blk); }

CM CM::operator=(const CM& o) {
  if (blk != o.blk) {
    CDB* nb = new_CDB(o.n);
    if (nb == &empty_CDB) ++nb->refs;
    copy_CDB(nb, o.blk, o.n);
    release_CDB(blk);
    blk = nb;
  }
  n = o.n;
  rows = o.rows;
  cols = o.cols;
  return *this;
}

CM CM::share(const CM& o) {
  if (blk != o.blk) {
    ++o.blk->refs;
    release_CDB(blk);
    blk = o.blk;
  }
  n = o.n;
  rows = o.rows;
  cols = o.cols;
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
  if (r < 0 || c < 0) matrix_fatal("Cannot redimension to negative size", "redim(r,c)");
  uint64_t nn = static_cast<uint64_t>(r) * static_cast<uint64_t>(c);
  if (n > 0 && nn > 0 && blk->refs == 1) {
    void* p = std::realloc(static_cast<void*>(blk), cdb_bytes(nn));
    if (!p) matrix_fatal("out of memory", "new_CDB()");
    blk = static_cast<CDB*>(p);
    blk->data = reinterpret_cast<complex*>(blk + 1);
  } else {
    CDB* nb = new_CDB(nn);
    if (nb == &empty_CDB) ++nb->refs;
    if (keep) copy_CDB(nb, blk, static_cast<uint32_t>(nn < n ? nn : n));
    release_CDB(blk);
    blk = nb;
  }
  rows = r;
  cols = c;
  n = static_cast<uint32_t>(nn);
  return *this;
}

int length(const CM& A) { return A.rows > A.cols ? A.rows : A.cols; }
