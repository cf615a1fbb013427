#include "sdi/finish_slide.h"

namespace sdi {

point finish_slide::paint(int client_width, int client_height) {
  unit_x = client_width / 20;
  unit_y = client_height / 20;
  return point(bitmap_x, static_cast<int>(unit_y * 3.5));
}

bool finish_slide::timer() {
  if (bitmap_x >= 17 * unit_x) return false;
  bitmap_x += static_cast<int>(unit_x * 0.5);
  return true;
}

}  // namespace sdi
