#include "sdi/zorv/core/junctions.h"

#include <algorithm>

namespace zorv {

namespace {

bool HasTerminalAt(const ConnectionItem& item, const sdi::point& p) {
  return std::find(item.terminals.begin(), item.terminals.end(), p) != item.terminals.end();
}

}  // namespace

std::vector<sdi::point> FindJunctions(const std::vector<ConnectionItem>& items) {
  std::vector<sdi::point> dots;
  for (std::size_t w = 0; w < items.size(); ++w) {
    const ConnectionItem& wire = items[w];
    if (!wire.isWire || wire.terminals.size() < 2) continue;
    for (int end = 0; end < 2; ++end) {
      const sdi::point p = wire.terminals[end];
      int count = 0;
      for (std::size_t o = 0; o < items.size(); ++o) {
        if (o == w || !HasTerminalAt(items[o], p)) continue;
        if (!items[o].isWire) {
          count = 1;  // a symbol's terminal: a plain connection, stop counting
          break;
        }
        ++count;
      }
      if (count == 1) continue;
      if (std::find(dots.begin(), dots.end(), p) == dots.end()) dots.push_back(p);
    }
  }
  return dots;
}

}  // namespace zorv
