// Where the view draws junction dots.
//
// A wire end gets a dot when no other wire meets it there (a free end) or when two
// or more other wires do (three or more wires meet); not when exactly one other
// wire continues it, and never where it touches a terminal of a symbol element (or
// a coupling's end). Each point is listed once, in the order found.
//     std::vector<ConnectionItem> items = ...;  // the circuit, in list order
//     std::vector<sdi::point> dots = FindJunctions(items);
#pragma once
#include <functional>
#include <vector>

#include "sdi/draw/geometry.h"

namespace zorv {

struct ConnectionItem {
  bool isWire = false;                                  // kind 5
  sdi::point end0, end1;                                // a wire's two ends
  std::function<bool(const sdi::point&)> hasTerminalAt;  // the element's own test
};

std::vector<sdi::point> FindJunctions(const std::vector<ConnectionItem>& items);

}  // namespace zorv
