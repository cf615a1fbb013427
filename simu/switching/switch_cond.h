// Switch conditions: g_i = Cy(i,:) y + Ct(i,:) tv + Cc(i); condition i has crossed when
// g_i <= 0. Then the earliest crossing instant inside a step.
//
//     sw_condition sc(Cy, Ct, Cc, Csw);
//     sc.take_present();                              // after the setup's evaluation
//     per step: sc.evaluate(list, on_time, y, tv, dt, '0');
//               if (sc.crossed && !sc.at_zero)
//                   sc.find_switching_time(list, tv, dt, on_time, *rec, x0, u, cache, 1);
//               ... sc.take_present();                // after each accepted step
//
// y: outputs (nout x 1, V or A). tv: the driver's time vector (4 x 1, s): time, time since
// the last cycle, time in the present topology; entry 4 is replaced by the on-time of
// switch Csw(i). Condition and switch numbers are 1-based; lists are DM columns.
// Mode 'A' (trial settings of the switch adjustment) biases g by +1e-10 and skips a
// crossing that is only marginal (g >= -1e-10 after the bias); other modes do not. In the
// other modes a condition that is exactly 0 at the step's start and at its end (an idle
// diode: no current, no voltage) only touches zero and does not cross, while one that
// leaves exactly 0 for below it crossed at the step's start, however small its value.
#pragma once

#include "matrix/dm.h"
#include "simu/model/mode_cache.h"
#include "simu/model/topology.h"

// Time (s) and value tolerance of the crossings and of the instant search.
constexpr double switching_tolerance = 1e-10;

class sw_condition {
public:
  sw_condition(const DM& Cy, const DM& Ct, const DM& Cc, const DM& Csw);

  // Evaluates the listed conditions at offset tau from the step's start. On return the
  // list holds the crossings found, in list order.
  void evaluate(DM& list, const DM& on_time, const DM& y, const DM& tv, double tau, char mode);
  // The same with the crossings in out (which may be list itself) and list left as it is.
  void evaluate(const DM& list, DM& out, const DM& on_time, const DM& y, const DM& tv, double tau,
                char mode);
  // Cy(i,:) and, in rate, the growth of g_i with time alone (sum of Ct(i,:)).
  DM value(int i, double& rate) const;
  // The same into row, which keeps its block when it has the shape (1 x outputs).
  void value_into(int i, DM& row, double& rate) const;
  // Shortens dt to the earliest crossing of the listed conditions; the list keeps the
  // conditions that cross within 1e-10 of that instant. With use_cache the trial states
  // come from the mode cache, else from c2d over each trial offset. A condition that is
  // already at or below zero at the step's start crosses there. Throws through the
  // matrix library's fatal path when an instant is not found.
  void find_switching_time(DM& list, const DM& tv, double& dt, const DM& on_time, const topology& rec,
                           const DM& x0, const DM& u, mode_cache& cache, int use_cache);
  // previous values := present values.
  void take_present();

  DM Cy, Ct, Cc, Csw;
  DM previous;     // values at the start of the present step
  DM present;      // values of the last evaluation
  DM crossing;     // condition numbers of the crossings found (first count entries)
  int count = 0;
  int crossed = 0;
  int n = 0;
  int at_zero = 0; // every crossing of the last evaluation is marginal: above -switching_tolerance, not from exactly 0

private:
  double on_time_of(const DM& on_time, int i) const;
  // Condition i's value g of this evaluation only touches zero (see above).
  bool touches_zero(int i, double g, char mode) const;
  // Condition i, crossed in this evaluation, was exactly 0 at the step's start (see above).
  bool left_zero(int i, char mode) const;
  // The list becomes crossing(1..count).
  void keep_crossings(DM& list) const;
  void evaluate_rows(const DM& list, const DM& on_time, const DM& y, const DM& tv, double tau, char mode);
  bool lean_ = false;
  std::vector<double> rows_;   // row i of [Cy Ct] at [(i - 1) w, i w), w = outputs + 4
  std::vector<int> sw_;        // Csw(i) as an integer
  std::vector<double> c_, r_, ar_;   // work of the search
  DM xt_, yt_;
};
