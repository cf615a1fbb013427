// Element blocks and the shape-keeping members that DM and CM share: allocation,
// construction to a shape, assignment, sharing and resizing, written once over the
// matrix type. Internal to the library; messages name each type's own block and class.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "matrix/cm.h"

template <class M>
struct twin;
template <>
struct twin<DM> {
  using block = DDB;
  static block& empty() { return empty_DDB; }
  static block* alloc(uint64_t n) { return new_DDB(n); }
  static void release(block* b) { release_DDB(b); }
  static void copy(block* t, const block* s, uint32_t n) { copy_DDB(t, s, n); }
  static constexpr const char* block_name = "new_DDB()";
  static constexpr const char* construct_name = "construct DM(r,c)";
};
template <>
struct twin<CM> {
  using block = CDB;
  static block& empty() { return empty_CDB; }
  static block* alloc(uint64_t n) { return new_CDB(n); }
  static void release(block* b) { release_CDB(b); }
  static void copy(block* t, const block* s, uint32_t n) { copy_CDB(t, s, n); }
  static constexpr const char* block_name = "new_CDB()";
  static constexpr const char* construct_name = "construct CM(r,c)";
};

template <class B>
using block_elem = std::remove_pointer_t<decltype(B::data)>;

// Bytes of a block of n elements; sizes past 32 bits cannot be described by a matrix.
template <class M>
size_t block_bytes(uint64_t n) {
  using B = typename twin<M>::block;
  if (n > UINT32_MAX) matrix_fatal("out of memory", twin<M>::block_name);
  return sizeof(B) + sizeof(block_elem<B>) * static_cast<size_t>(n);
}

// Inlined into the constructors, as the typed allocators were before: every matrix of
// the engine's per-topology work comes through here.
template <class M>
[[gnu::always_inline]] inline typename twin<M>::block* new_block(uint64_t n) {
  using B = typename twin<M>::block;
  if (n == 0) return &twin<M>::empty();
  void* p = std::malloc(block_bytes<M>(n));
  if (!p) matrix_fatal("out of memory", twin<M>::block_name);
  B* b = static_cast<B*>(p);
  b->refs = 1;
  b->data = reinterpret_cast<block_elem<B>*>(b + 1);
  return b;
}

template <class M>
void release_block(typename twin<M>::block* b) {
  if (b == &twin<M>::empty()) return;
  if (--b->refs == 0) std::free(b);
}

template <class B>
void copy_block(B* target, const B* source, uint32_t n) {
  if (n) std::memcpy(static_cast<void*>(target->data), source->data, sizeof(block_elem<B>) * n);
}

// Gives m a fresh r x c block, each dimension in lowest..15000; elements not initialised.
template <class M>
void take_shape(M& m, int r, int c, int lowest) {
  constexpr int max_dim = 15000;
  if (r < lowest || r > max_dim || c < lowest || c > max_dim)
    matrix_fatal("rows,cols out of range allowed", twin<M>::construct_name);
  m.blk = twin<M>::alloc(static_cast<uint64_t>(r) * c);
  m.n = static_cast<uint32_t>(r) * c;
  m.rows = r;
  m.cols = c;
}

template <class M>
void assign_from(M& m, const M& o) {
  if (m.blk != o.blk && m.blk->refs == 1 && m.n == o.n && m.n > 0) {
    // No one else sees this block: the values are copied over it, and assignments
    // between matrices of settled sizes allocate nothing.
    twin<M>::copy(m.blk, o.blk, m.n);
  } else if (m.blk != o.blk) {
    // The new block is in hand before the old one goes: a failed allocation leaves
    // this matrix as it was.
    auto* nb = twin<M>::alloc(o.n);
    if (nb == &twin<M>::empty()) ++nb->refs;
    twin<M>::copy(nb, o.blk, o.n);
    twin<M>::release(m.blk);
    m.blk = nb;
  }
  // Shapes are copied even for a shared block: every empty matrix holds the same block,
  // and a 0 x 7 assigned to a 0 x 0 must take its shape.
  m.n = o.n;
  m.rows = o.rows;
  m.cols = o.cols;
}

template <class M>
void share_from(M& m, const M& o) {
  if (m.blk != o.blk) {
    ++o.blk->refs;
    twin<M>::release(m.blk);
    m.blk = o.blk;
  }
  m.n = o.n;
  m.rows = o.rows;
  m.cols = o.cols;
}

template <class M>
void redim_to(M& m, int r, int c, bool keep) {
  using B = typename twin<M>::block;
  if (r < 0 || c < 0) matrix_fatal("Cannot redimension to negative size", "redim(r,c)");
  uint64_t nn = static_cast<uint64_t>(r) * static_cast<uint64_t>(c);
  if (m.n > 0 && nn > 0 && m.blk->refs == 1) {
    void* p = std::realloc(static_cast<void*>(m.blk), block_bytes<M>(nn));
    if (!p) matrix_fatal("out of memory", twin<M>::block_name);
    m.blk = static_cast<B*>(p);
    m.blk->data = reinterpret_cast<block_elem<B>*>(m.blk + 1);
  } else {
    B* nb = twin<M>::alloc(nn);
    if (nb == &twin<M>::empty()) ++nb->refs;
    if (keep) twin<M>::copy(nb, m.blk, static_cast<uint32_t>(nn < m.n ? nn : m.n));
    twin<M>::release(m.blk);
    m.blk = nb;
  }
  m.rows = r;
  m.cols = c;
  m.n = static_cast<uint32_t>(nn);
}

template <class M>
int length_of(const M& A) { return A.rows > A.cols ? A.rows : A.cols; }
