// The multiplier source: u(K(1)) = gain * y(I(1)) * y(I(2)), where the two controlling
// outputs themselves depend on u through D.
//
//     y = C x + D u;
//     y = multiplier_solve(K, I, *rec, y, x, u, gain);   // u updated in place
//
// K: positions of the multiplier sources in u (only K(1) is used); I: the two controlling
// output rows of y. y = C x + D u of the record (outputs x 1). Solved by Newton on the two
// outputs: at most 501 corrections, residual 1e-6. The result is C x + D u with the final
// u, so every output (not only the two controlling ones) is consistent with it. It is
// written into y's own elements and shares them (y = multiplier_solve(..., y, ...) after
// every step allocates nothing); a y of another size is left alone and a new column
// returned.
#pragma once
#include "matrix/dm.h"

struct topology;

DM multiplier_solve(const DM& K, const DM& I, const topology& rec, const DM& y, const DM& x,
                    DM& u, double gain);
