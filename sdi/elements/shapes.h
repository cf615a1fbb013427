// The symbol bodies of the element classes that build their images from shape
// records: {code, shape, x, y}; code 1 adds the lines of a shape at (x, y),
// code 2 adds a pin at (x, y) (and a node entry of -1 to the element), code 0
// ends the list. Each shape is drawn in its first orientation; every pin lies
// a multiple of 8 from the shape's reference point, and the classes that
// mirror (op-amp, current sense, modulator) have w - 1 - 2 * ref_x a multiple
// of 8, so pins stay on the grid after any turn or flip.
#pragma once

#include "sdi/elements/image.h"

namespace sdi {

enum class shape_id {
  box_lead,       // clock and label base, 17 x 25, ref (8, 24)
  clock_wave,
  limiter_base,   // limiter and VCO base, 13 x 51, ref (6, 25)
  upper_mark,
  lower_mark,
  vco_mark,
  threshold,      // 17 x 25, ref (8, 24)
  current_sense,  // 33 x 33, ref (16, 16)
  op_amp,         // 49 x 33, ref (24, 16)
  ground,         // 17 x 15, ref (8, 0)
  diode,          // 13 x 51, ref (6, 25)
  switch2,        // 25 x 51, ref (16, 25)
  voltage_source, // drawn horizontally 51 x 25, ref (25, 12), turned once
  current_source,
  sine,
  probe,          // 17 x 17, ref (8, 8)
  multiplier,     // 33 x 33, ref (16, 16)
  modulator,      // 49 x 97, ref (24, 48)
  none
};

const shape* class_shape(shape_id id);

struct shape_record {
  int code;
  shape_id id;
  int x;
  int y;
};

}  // namespace sdi
