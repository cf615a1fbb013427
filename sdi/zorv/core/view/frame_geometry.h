// Where the main window opens: 1/1.2 of the screen in each direction, its top-left
// corner a ninth of its own size from the screen's (each quotient truncated).
#pragma once
#include "sdi/zorv/core/view/view_mapping.h"

namespace zorv {

struct WindowRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

WindowRect MainFrameRect(Size screen);

}  // namespace zorv
