#include "sdi/zorv/core/view/frame_geometry.h"

namespace zorv {

WindowRect MainFrameRect(Size screen) {
  WindowRect r;
  r.h = static_cast<int>(screen.h / 1.2);
  r.w = static_cast<int>(screen.w / 1.2);
  r.y = r.h / 9;
  r.x = r.w / 9;
  return r;
}

}  // namespace zorv
