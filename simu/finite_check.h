// The first entry of a column that is not a finite number.
//
//     if (int k = first_non_finite(x)) ...   // x(k) is an infinity or a NaN
#pragma once

#include "matrix/dm.h"

// 0 when every entry of v is finite, else the 1-based position of the first that is not.
// Allocates nothing; one multiply-add per entry when all are finite.
int first_non_finite(const DM& v);
