#include "simu/switching/switch_cond.h"

#include <algorithm>

namespace {

DM column_zeros(int n) {
  DM M(n, 1);
  for (int i = 1; i <= n; ++i) M(i, 1) = 0.0;
  return M;
}

}  // namespace

sw_condition::sw_condition(const DM& cy, const DM& ct, const DM& cc, const DM& csw) {
  n = cy.rows;
  if (n > 0) {
    Cy = cy;
    Ct = ct;
    Cc = cc;
    Csw = csw;
    previous = column_zeros(n);
    present = column_zeros(n);
    crossing = column_zeros(n);
    // Row i of [Cy Ct] laid out contiguously: the per-step evaluation reads one row per
    // listed condition. Unusual shapes keep the checked path and its messages.
    lean_ = ct.cols == 4 && ct.rows >= n && cy.rows == n && cc.n >= static_cast<uint32_t>(n) &&
            csw.n >= static_cast<uint32_t>(n);
    if (lean_) {
      const int w = cy.cols + 4;
      rows_.resize(static_cast<size_t>(n) * w);
      sw_.resize(n);
      for (int i = 1; i <= n; ++i) {
        double* r = &rows_[static_cast<size_t>(i - 1) * w];
        for (int k = 1; k <= cy.cols; ++k) r[k - 1] = cy(i, k);
        for (int k = 1; k <= 4; ++k) r[cy.cols + k - 1] = ct(i, k);
        sw_[i - 1] = static_cast<int>(csw(i));
      }
    }
  }
}

bool sw_condition::touches_zero(int i, double g, char mode) const {
  // The value stayed at exactly 0 over the step: nothing moved, nothing crosses. Toggling
  // there would switch an idle diode at every step, and leave it in either setting when a
  // source steps up.
  return mode != 'A' && g == 0.0 && previous.at(i) == 0.0;
}

bool sw_condition::left_zero(int i, char mode) const {
  // From exactly 0 at the step's start to below it: the crossing is at the start (a
  // diode whose forward voltage begins to rise), not a marginal one at the step's end,
  // so the instant search places it there.
  return mode != 'A' && previous.at(i) == 0.0;
}

double sw_condition::on_time_of(const DM& on_time, int i) const {
  DM ot(on_time), csw(Csw);
  const int s = static_cast<int>(csw(i));
  return s >= 1 && s <= ot.rows * ot.cols ? ot(s) : 0.0;
}

void sw_condition::evaluate(DM& list, const DM& on_time, const DM& y, const DM& tv, double tau,
                            char mode) {
  evaluate(list, list, on_time, y, tv, tau, mode);
}

void sw_condition::evaluate(const DM& list, DM& out, const DM& on_time, const DM& yin, const DM& tvin,
                            double tau, char mode) {
  count = 0;
  crossed = 0;
  at_zero = 1;
  if (lean_ && yin.n >= static_cast<uint32_t>(Cy.cols) && tvin.n >= 3) {
    evaluate_rows(list, on_time, yin, tvin, tau, mode);
    keep_crossings(out);
    return;
  }
  DM y(yin), tv(tvin);
  const int len = list.rows * list.cols;
  const int nout = Cy.cols;
  for (int q = 1; q <= len; ++q) {
    const int i = static_cast<int>(list(q));
    double g = Cc(i);
    for (int k = 1; k <= nout; ++k) g += Cy(i, k) * y(k);
    for (int k = 1; k <= 3; ++k) g += Ct(i, k) * (tv(k) + tau);
    g += Ct(i, 4) * (on_time_of(on_time, i) + tau);
    if (mode == 'A') g += switching_tolerance;
    present(i) = g;
    if (g <= 0.0) {
      // A marginal crossing of a trial setting is skipped on its own; the firm ones
      // already collected stay.
      if (mode == 'A' && g >= -switching_tolerance) continue;
      if (touches_zero(i, g, mode)) continue;
      crossing(++count) = i;
      crossed = 1;
      if (g < -switching_tolerance || left_zero(i, mode)) at_zero = 0;
    }
  }
  keep_crossings(out);
}

void sw_condition::keep_crossings(DM& list) const {
  // The crossings are a part of the list: an unshared list is shrunk over its own block.
  if (list.blk->refs == 1 && static_cast<uint32_t>(count) <= list.n) {
    list.rows = count;
    list.cols = 1;
    list.n = static_cast<uint32_t>(count);
  } else {
    list.redim(count, 1, false);
  }
  for (int q = 1; q <= count; ++q) list.at(q) = crossing.at(q);
}

// The same sums in the same order as the checked path, over the precomputed rows.
void sw_condition::evaluate_rows(const DM& list, const DM& on_time, const DM& y, const DM& tv, double tau,
                                 char mode) {
  const int len = list.rows * list.cols;
  const int nout = Cy.cols, w = nout + 4;
  const double* yv = y.blk->data;
  const double t1 = tv.at(1) + tau, t2 = tv.at(2) + tau, t3 = tv.at(3) + tau;
  const int ot_n = on_time.rows * on_time.cols;
  for (int q = 1; q <= len; ++q) {
    const int i = static_cast<int>(list.at(q));
    double g = Cc(i);   // checks the condition number once
    const double* r = &rows_[static_cast<size_t>(i - 1) * w];
    for (int k = 0; k < nout; ++k) g += r[k] * yv[k];
    g += r[nout] * t1;
    g += r[nout + 1] * t2;
    g += r[nout + 2] * t3;
    const int s = sw_[i - 1];
    g += r[nout + 3] * ((s >= 1 && s <= ot_n ? on_time.at(s) : 0.0) + tau);
    if (mode == 'A') g += switching_tolerance;
    present.at(i) = g;
    if (g <= 0.0) {
      if (mode == 'A' && g >= -switching_tolerance) continue;
      if (touches_zero(i, g, mode)) continue;
      crossing(++count) = i;
      crossed = 1;
      if (g < -switching_tolerance || left_zero(i, mode)) at_zero = 0;
    }
  }
}

void sw_condition::value_into(int i, DM& row, double& rate) const {
  if (row.blk->refs != 1 || row.rows != 1 || row.cols != Cy.cols) row = DM(1, Cy.cols);
  for (int k = 1; k <= Cy.cols; ++k) row.at(1, k) = Cy(i, k);
  rate = 0.0;
  for (int k = 1; k <= Ct.cols; ++k) rate += Ct(i, k);
}

DM sw_condition::value(int i, double& rate) const {
  DM cy(Cy), ct(Ct);
  DM row(1, cy.cols);
  for (int k = 1; k <= cy.cols; ++k) row(1, k) = cy(i, k);
  rate = 0.0;
  for (int k = 1; k <= ct.cols; ++k) rate += ct(i, k);
  return row;
}

void sw_condition::take_present() {
  if (n > 0) std::copy(present.blk->data, present.blk->data + n, previous.blk->data);
}
