#include "sdi/zorv/core/view/extent.h"

#include <algorithm>

namespace zorv {

SheetRect ElementListExtent(const std::vector<ExtentItem>& items) {
  if (items.empty()) return {};
  bool first = true;
  int minX = 0, minY = 0, maxX = 0, maxY = 0;
  auto take = [&](sdi::point p) {
    if (first) {
      minX = maxX = p.x;
      minY = maxY = p.y;
      first = false;
      return;
    }
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  };
  // A symbol listed first also brings its own image corners; a wire or coupling
  // first has no image, and starts the extent from its computed corners.
  if (const ExtentItem& e = items.front(); e.kind != 5 && e.kind != 8) {
    take({e.image.x, e.image.y});
    take({e.image.x + e.image.w - 1, e.image.y + e.image.h - 1});
  }
  for (const ExtentItem& e : items) {
    sdi::point a, b;
    if (e.kind == 5 || e.kind == 8) {
      a = e.end0;
      b = e.end1;
    } else if (e.kind == 20) {
      a = {e.image.x, e.image.y};
      b = {e.image.x + e.image.w - 1, e.image.y + e.image.h - 1 + 60};
    } else {
      a = {e.image.x - 20, e.image.y - 20};
      b = {e.image.x + e.image.w - 1 + 25, e.image.y + e.image.h - 1 + 10};
    }
    a.x = std::max(a.x, 0);
    a.y = std::max(a.y, 0);
    take(a);
    take(b);
  }
  return {minX, minY, maxX - minX, maxY - minY};
}

}  // namespace zorv
