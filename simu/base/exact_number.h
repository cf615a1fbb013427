// A double in the fewest digits that read back as the same double, from a least
// precision up (locale-free): what the engine reads is then what the editor holds.
//     exact_number(1234.56789, number_form::scientific, 4)  // "1.23456789e+03"
//     exact_number(1e-6, number_form::general, 6)            // "1e-06", as "%g"
// The precision is printf's: digits after the point for scientific, significant
// digits for general. A NaN or an infinity never reads back and takes the most.
#pragma once
#include <string>

enum class number_form { scientific, general };

std::string exact_number(double v, number_form form, int least_precision);
