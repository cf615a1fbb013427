// Switch adjustment: passes over trial settings until no condition fires firmly.
#include "simu/switching/switch_table_adjust.h"

#include <algorithm>

#include "matrix/dm_ops.h"
#include "simu/steady/cycle.h"
#include "simu/switching/switch_cond.h"
#include "simu/switching/switch_table.h"
#include "simu/model/topology.h"

unsigned long long adjustment_budget(int n) {
  if (n >= 62) return 1ULL << 62;
  return 1ULL << (n < 0 ? 0 : n);
}

namespace {

// Appends the on/off bits of the settings, packed 64 to a word.
void append_bits(std::vector<std::uint64_t>& seen, const DM& a, const DM& b, const DM& c) {
  const uint32_t n = a.n, total = a.n + b.n + c.n;
  const size_t first = seen.size();
  seen.resize(first + (total + 63) / 64, 0);
  for (uint32_t k = 0; k < total; ++k) {
    const DM& s = k < n ? a : k < n + b.n ? b : c;
    const uint32_t i = k < n ? k : k < n + b.n ? k - n : k - n - b.n;
    if (s.blk->data[i] != 0.0) seen[first + k / 64] |= std::uint64_t{1} << (k % 64);
  }
}

// Whether the newest key (the last words) equals an earlier one.
bool repeated(const std::vector<std::uint64_t>& seen, size_t words) {
  const size_t keys = seen.size() / words, last = (keys - 1) * words;
  for (size_t k = 0; k + 1 < keys; ++k)
    if (std::equal(seen.begin() + k * words, seen.begin() + (k + 1) * words, seen.begin() + last))
      return true;
  return false;
}

[[noreturn]] void no_combination() { matrix_fatal("Switch Adjustment", "No valid combination found!"); }

bool scalar(const DM& M) { return M.rows == 1 && M.cols == 1; }

// Rows of A * B when it is a column as the product operator would form it, else -1.
int product_rows(const DM& A, const DM& B) {
  if (scalar(A)) return B.cols == 1 ? B.rows : -1;
  if (scalar(B)) return A.cols == 1 ? A.rows : -1;
  return A.cols == B.rows && B.cols == 1 ? A.rows : -1;
}

// Element o of A * B, by the operator's branch for these shapes: scaling or the product.
double product_at(const DM& A, const DM& B, int o) {
  const double *a = A.blk->data, *b = B.blk->data;
  if (scalar(A)) return a[0] * b[o];
  if (scalar(B)) return b[0] * a[o];
  double s = 0.0;
  for (int k = 0; k < A.cols; ++k) s += a[static_cast<size_t>(k) * A.rows + o] * b[k];
  return s;
}

}  // namespace

void outputs_of(const topology& rec, const DM& x, const DM& u, DM& y) {
  const DM &C = rec.C, &D = rec.D;
  const int no = product_rows(C, x);
  if (no < 1 || product_rows(D, u) != no) {
    y = C * x + D * u;
    return;
  }
  if (y.blk->refs != 1 || y.rows != no || y.cols != 1) y = DM(no, 1);
  for (int o = 0; o < no; ++o) y.blk->data[o] = product_at(C, x, o) + product_at(D, u, o);
}

topology* switch_adjustment(sw_table& swt, sw_condition& cond, const DM& x, const DM& u, DM& y,
                            DM& tv, double h, topology_table& topo, const CYCLE& cyc) {
  adjust_work w;
  return switch_adjustment(swt, cond, x, u, y, tv, h, topo, cyc, w);
}

topology* switch_adjustment(sw_table& swt, sw_condition& cond, const DM& x, const DM& u, DM& y,
                            DM& tv, double h, topology_table& topo, const CYCLE& cyc, adjust_work& w) {
  const int n = swt.n;
  const unsigned long long budget = adjustment_budget(n);
  DM& on_entry = w.on_entry;
  DM& S2 = w.S2;
  DM& S1 = w.S1;
  on_entry = swt.on_time;
  S2 = swt.previous;
  S1 = swt.state;
  const double tv2 = tv(2), tv3 = tv(3);
  // The passes are deterministic: a repeated (state, S1, S2) would repeat for ever.
  w.seen.clear();
  const size_t words = (swt.state.n + S1.n + S2.n + 63) / 64;
  topology* rec = nullptr;
  // The budget bounds the settings tried. A pass whose put-back (below) left the setting
  // as the pass before tried no new one: the switching that brought the driver here (a
  // crossing at the instant of a source step) may have to be undone, which the first pass
  // may not do. The repeat test ends every search all the same.
  unsigned long long tried = 0;
  for (unsigned long long r = 0;; ++r) {
    append_bits(w.seen, swt.state, S1, S2);
    if (words > 0 && repeated(w.seen, words)) no_combination();
    if (words == 0 && r > 0) no_combination();
    if (r == 0 || !dm_equal(swt.state, S2)) ++tried;

    rec = topo.find_eqns(swt.state, h);
    outputs_of(*rec, x, u, y);
    w.list.reserve(swt.c);
    w.list.resize(swt.changed_into(w.list.data()));
    DM& list = w.list.col();
    for (int i = 1; i <= n; ++i) {
      if (S2(i) == 0.0 && swt.state(i) == 1.0) swt.on_time(i) = 0.0;
      if (S2(i) == 1.0 && swt.state(i) == 0.0) swt.on_time(i) = on_entry(i);
    }
    tv(3) = dm_equal(swt.state, swt.previous) ? tv3 : 0.0;
    tv(2) = cyc.would_close(swt.state) ? 0.0 : tv2;

    bool fires = false;
    if (cond.n > 0 && list.n > 0) {
      cond.evaluate(list, swt.on_time, y, tv, 0.0, 'A');
      fires = cond.crossed && list.n > 0 && !cond.at_zero;
    }
    if (!fires) {
      if (tried > budget) no_combination();
      break;
    }
    swt.apply_states(list);
    for (int i = 1; i <= n; ++i)
      if (S2(i) != S1(i)) swt.state(i) = S1(i);
    S2 = S1;
    S1 = swt.state;
    if (tried > budget) no_combination();
  }

  if (cond.n > 0) {
    // Every condition, so that later searches start from fresh values.
    w.all.reserve(cond.n);
    for (int j = 1; j <= cond.n; ++j) w.all.data()[j - 1] = j;
    w.all.resize(cond.n);
    cond.evaluate(w.all.col(), swt.on_time, y, tv, 0.0, 'U');
    cond.take_present();
  }
  for (int i = 1; i <= n; ++i)
    if (swt.previous(i) == 0.0 && swt.state(i) == 1.0) swt.on_time(i) = 0.0;
  swt.previous = swt.state;
  return rec;
}
