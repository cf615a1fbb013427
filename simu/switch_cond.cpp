#include "simu/switch_cond.h"

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
  }
}

double sw_condition::on_time_of(const DM& on_time, int i) const {
  DM ot(on_time), csw(Csw);
  const int s = static_cast<int>(csw(i));
  return s >= 1 && s <= ot.rows * ot.cols ? ot(s) : 0.0;
}

void sw_condition::evaluate(DM& list, const DM& on_time, const DM& yin, const DM& tvin, double tau,
                            char mode) {
  count = 0;
  crossed = 0;
  at_zero = 1;
  DM y(yin), tv(tvin);
  const int len = list.rows * list.cols;
  const int nout = Cy.cols;
  for (int q = 1; q <= len; ++q) {
    const int i = static_cast<int>(list(q));
    double g = Cc(i);
    for (int k = 1; k <= nout; ++k) g += Cy(i, k) * y(k);
    for (int k = 1; k <= 3; ++k) g += Ct(i, k) * (tv(k) + tau);
    g += Ct(i, 4) * (on_time_of(on_time, i) + tau);
    if (mode == 'A') g += 1e-10;
    present(i) = g;
    if (g <= 0.0) {
      // A marginal crossing of a trial setting is skipped on its own; the firm ones
      // already collected stay.
      if (mode == 'A' && g >= -1e-10) continue;
      crossing(++count) = i;
      crossed = 1;
      if (g < -1e-10) at_zero = 0;
    }
  }
  list.redim(count, 1, false);
  for (int q = 1; q <= count; ++q) list(q) = crossing(q);
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
  for (int i = 1; i <= n; ++i) previous(i) = present(i);
}
