// The finish dialog's sliding bitmap (the dialog shown at the end of a run
// when F8 chose it), kept apart from any window so that it can be tested.
//
//     finish_slide s;                        // bitmap x position 15
//     point at = s.paint(200, 100);          // units 10 x 5; bitmap at (15, 17)
//     if (s.timer()) refresh the whole client area;   // every 1.2 s, timer id 1
//
// Pixels of the dialog's client area. A unit is a twentieth of the client
// width or height; the bitmap moves right by half a unit per tick while it
// stands left of 17 units.
#pragma once

#include "sdi/geometry.h"

namespace sdi {

struct finish_slide {
  static constexpr int timer_id = 1;
  static constexpr int timer_ms = 1200;

  int bitmap_x = 15;
  int unit_x = 0;
  int unit_y = 0;

  // Takes the units from the client size; the bitmap's top-left corner.
  point paint(int client_width, int client_height);
  // One timer tick; true when the bitmap moved (repaint the client area).
  bool timer();
};

}  // namespace sdi
