// Index views of DM and CM: index tests, gather and scatter.
#include "matrix/views.h"

#include <cmath>

namespace {

// Written so that a NaN index fails.
void test_indices(const DM& X, double limit, const char* where) {
  for (uint32_t k = 0; k < X.n; ++k) {
    double t = std::trunc(X.blk->data[k]);
    if (!(t >= 1 && t <= limit)) matrix_fatal("Index DM contains elements out of range", where);
  }
}

// Position of an accepted index (trunc(x - 1) + 1 is trunc(x) for x >= 1).
inline int64_t pos(double x) { return static_cast<int64_t>(x) - 1; }

// Result of the gather, with its own block sized in 64 bits.
template <class M>
M gathered(int64_t r, int64_t c, const char* oom) {
  if (r > INT32_MAX || c > INT32_MAX) matrix_fatal("out of memory", oom);
  M R;
  R.redim(static_cast<int>(r), static_cast<int>(c), false);
  return R;
}

template <class M>
M gather(const M& T, const DM& I, const DM& J, bool linear, const char* oom) {
  if (linear) {
    M R = gathered<M>(I.rows, I.cols, oom);
    for (uint32_t k = 0; k < I.n; ++k) R.blk->data[k] = T.blk->data[pos(I.blk->data[k])];
    return R;
  }
  M R = gathered<M>(I.n, J.n, oom);
  auto* r = R.blk->data;
  for (uint32_t k = 0; k < J.n; ++k) {
    int64_t col = pos(J.blk->data[k]) * T.rows;
    for (uint32_t l = 0; l < I.n; ++l) *r++ = T.blk->data[col + pos(I.blk->data[l])];
  }
  return R;
}

// Whether an index matrix holds the target's own elements (only a real target can).
inline bool same_block(const DM& X, const DM& T) { return X.blk == T.blk && X.n != 0; }
inline bool same_block(const DM&, const CM&) { return false; }

template <class M>
void scatter(M& T, const DM& Iv, const DM& Jv, bool linear, const M& B, const char* unsupported) {
  if (linear) {
    if (B.n == 0 && T.n != 0) matrix_fatal("This operation is not supported", unsupported);
    if (Iv.n != B.n) matrix_fatal("Number of elements in I must equal number in B", "A(I) = B");
  } else {
    if (static_cast<int64_t>(Iv.n) != B.rows)
      matrix_fatal("Number of elements in I must equal number of rows in B", "A(I,J) = B");
    if (static_cast<int64_t>(Jv.n) != B.cols)
      matrix_fatal("Number of elements in J must equal number of columns in B", "A(I,J) = B");
  }
  // Indices held in the target's own block (A(A) = B) would change under the writes and
  // could then point outside it: use them as the view found them.
  DM Is, Js;
  if (same_block(Iv, T)) Is = Iv;
  if (same_block(Jv, T)) Js = Jv;
  const DM& I = same_block(Iv, T) ? Is : Iv;
  const DM& J = same_block(Jv, T) ? Js : Jv;
  // A right-hand side that shares the target's block would be read after being
  // overwritten: scatter from a snapshot instead.
  M snap;
  if (B.blk == T.blk && B.n != 0) snap = B;
  const auto* b = (B.blk == T.blk && B.n != 0) ? snap.blk->data : B.blk->data;
  if (linear) {
    for (uint32_t k = 0; k < I.n; ++k) T.blk->data[pos(I.blk->data[k])] = b[k];
    return;
  }
  for (uint32_t k = 0; k < J.n; ++k) {
    int64_t col = pos(J.blk->data[k]) * T.rows;
    for (uint32_t l = 0; l < I.n; ++l) T.blk->data[col + pos(I.blk->data[l])] = *b++;
  }
}

template <class M, class V>
void set_all(M& T, const DM& I, const DM& J, bool linear, const V& v) {
  // The element access tests the untruncated row index again, as a view of a double does.
  if (linear) {
    for (uint32_t k = 0; k < I.n; ++k) T(I.blk->data[k]) = v;
    return;
  }
  for (uint32_t k = 0; k < J.n; ++k) {
    double j = std::trunc(J.blk->data[k]);
    for (uint32_t l = 0; l < I.n; ++l) T(I.blk->data[l], j) = v;
  }
}

}  // namespace

SDM::SDM(DM& t, const DM& i, const DM& j) : target(&t), linear(false) {
  test_indices(i, t.rows, "DM(DM,DM)");
  test_indices(j, t.cols, "DM(DM,DM)");
  I.share(i);
  J.share(j);
}

SDM::SDM(DM& t, const DM& i) : target(&t), linear(true) {
  test_indices(i, t.n, "DM(DM)");
  I.share(i);
}

DM::DM(const SDM& V) : DM(gather(*V.target, V.I, V.J, V.linear, "new_DDB()")) {}

void SDM::operator=(const DM& B) { scatter(*target, I, J, linear, B, "SDM::operator ="); }

void SDM::operator=(const SDM& V) {
  DM g(V);
  scatter(*target, I, J, linear, g, "SDM::operator =");
}

void SDM::operator=(double v) { set_all(*target, I, J, linear, v); }

SDM DM::operator()(const DM& I, const DM& J) const { return SDM(const_cast<DM&>(*this), I, J); }

SDM DM::operator()(const DM& I) const { return SDM(const_cast<DM&>(*this), I); }

SDM DM::operator()(const colon&, const DM& J) const {
  DM I(rows, 1);
  I.seqa(1.0, rows, 1.0);
  return SDM(const_cast<DM&>(*this), I, J);
}

SDM DM::operator()(const DM& I, const colon&) const {
  DM J(cols, 1);
  J.seqa(1.0, cols, 1.0);
  return SDM(const_cast<DM&>(*this), I, J);
}

SCM::SCM(CM& t, const DM& i, const DM& j) : target(&t), linear(false) {
  test_indices(i, t.rows, "CM(DM,DM)");
  test_indices(j, t.cols, "CM(DM,DM)");
  I.share(i);
  J.share(j);
}

SCM::SCM(CM& t, const DM& i) : target(&t), linear(true) {
  test_indices(i, t.n, "CM(DM)");
  I.share(i);
}

CM::CM(const SCM& V) : CM(gather(*V.target, V.I, V.J, V.linear, "new_CDB()")) {}

void SCM::operator=(const CM& B) { scatter(*target, I, J, linear, B, "SCM::operator ="); }

void SCM::operator=(const SCM& V) {
  CM g(V);
  scatter(*target, I, J, linear, g, "SCM::operator =");
}

void SCM::operator=(complex v) { set_all(*target, I, J, linear, v); }

SCM CM::operator()(const DM& I, const DM& J) const { return SCM(const_cast<CM&>(*this), I, J); }

SCM CM::operator()(const DM& I) const { return SCM(const_cast<CM&>(*this), I); }

SCM CM::operator()(const colon&, const DM& J) const {
  DM I(rows, 1);
  I.seqa(1.0, rows, 1.0);
  return SCM(const_cast<CM&>(*this), I, J);
}

SCM CM::operator()(const DM& I, const colon&) const {
  DM J(cols, 1);
  J.seqa(1.0, cols, 1.0);
  return SCM(const_cast<CM&>(*this), I, J);
}
