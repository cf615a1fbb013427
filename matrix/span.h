// Ranges built by repeated addition: start, start + step, ... up to end.
//
// Usage:
//     DM r = span(1.0, 2.0, 0.25);   // 1 x 5 row [1 1.25 1.5 1.75 2]
//     DM s = span(1.0, 4.0);         // step 1.0
//     DM t = span_by(0.0, 0.5, 2.0); // the (start, step, end) argument order
// Indexing is 1-based; the result is always a 1 x count row of doubles. Element k is
// the previous element plus step (not start + (k - 1) step), so the last bits follow the
// sum. count = trunc((end - start) / step) + 1; a negative count (end before start, or a
// zero or non-finite step) is a fatal error, and more than 15000 elements too.
#pragma once
#include "matrix/dm.h"

DM span(double start, double end, double step);
DM span(double start, double end);
//! span with the step given second; the same C++ signature as span(start, end, step)
//! cannot carry this argument order, hence the name.
DM span_by(double start, double step, double end);
