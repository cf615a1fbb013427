// The extent of a list of elements: the sheet rectangle that the view's Zoom All,
// the clipboard picture and printing fit.
//
// Each element gives two corners: a wire or a coupling (kinds 5, 8) its two ends; a
// modulator (kind 20) its image's top-left corner and its bottom-right corner
// (x + w - 1, y + h - 1) moved down by 60; any other symbol its image's top-left
// corner moved by (-20, -20) and its bottom-right corner moved by (25, 10). A
// negative coordinate of the first corner is raised to 0. When the list starts
// with a symbol, its image's own corners (x, y) and (x + w - 1, y + h - 1) count
// too. The extent spans all the corners: {min x, min y, max x - min x, max y - min y};
// {0, 0, 0, 0} when empty.
#pragma once
#include <vector>

#include "sdi/draw/geometry.h"
#include "sdi/zorv/core/view/view_mapping.h"

namespace zorv {

struct ExtentItem {
  int kind = 0;
  sdi::point end0, end1;  // line elements: terminals 0 and 1
  sdi::rect image;        // symbol elements: the image rectangle
};

SheetRect ElementListExtent(const std::vector<ExtentItem>& items);

}  // namespace zorv
