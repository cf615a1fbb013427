#include "sdi/zorv/core/view/junctions.h"

#include <algorithm>

namespace zorv {

std::vector<sdi::point> FindJunctions(const std::vector<ConnectionItem>& items) {
  std::vector<sdi::point> dots;
  for (std::size_t w = 0; w < items.size(); ++w) {
    const ConnectionItem& wire = items[w];
    if (!wire.isWire) continue;
    for (const sdi::point& p : {wire.end0, wire.end1}) {
      int count = 0;
      for (std::size_t o = 0; o < items.size(); ++o) {
        if (o == w || !items[o].hasTerminalAt || !items[o].hasTerminalAt(p)) continue;
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
