// Numbers as the dialogs show and read them, in the C locale whatever the user's.
//
//     NumberText(1.23456e-3)   // "0.0012346": 5 significant digits, as "%.5g"
//     ReadInteger(" 42 ", v)    // true, v = 42; "1.5", "", "12a" are refused
#pragma once
#include <string>

namespace zorv {

std::string NumberText(double v);
// A whole decimal integer that fits a long, blanks around it allowed.
bool ReadInteger(const std::string& text, long& value);

// An element value as typed: blanks anywhere, then a number, then at most one of
// the suffixes the engineering format shows (a f p n u m k K M G T); digits after
// the suffix are the fraction ("4k7" = 4700). False for anything else ("k5", "",
// "1x", "inf"), value untouched.
bool ReadValue(const std::string& text, double& value);
// Whether ReadValue refuses the text only because its number is beyond what a
// double holds ("1e999", "1e-999").
bool ValueOutOfRange(const std::string& text);

}  // namespace zorv
