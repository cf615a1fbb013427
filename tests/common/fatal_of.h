// fatal_of([&] { ... }) runs the statement and gives back the text of the char* the
// library's Fatal handler threw, or "" when nothing was thrown.
#pragma once
#include <string>

template <class F>
std::string fatal_of(F f) {
  try {
    f();
  } catch (char* s) {
    return s;
  }
  return "";
}
