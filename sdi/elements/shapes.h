// The symbol bodies of the element classes that build their images from shape
// records, each drawn by a function of its family file: {code, shape, x, y};
// code 1 adds the lines of a shape at (x, y), code 2 adds a pin at (x, y) (and
// a node entry of -1 to the element), code 0 ends the list. Each shape is drawn in its first orientation; every pin lies
// a multiple of 8 from the shape's reference point, and the classes that
// mirror (op-amp, current sense, modulator) have w - 1 - 2 * ref_x a multiple
// of 8, so pins stay on the grid after any turn or flip.
#pragma once

#include "sdi/elements/image.h"

namespace sdi {

// A class symbol's body or one of its marks, made by a function of its family
// file; class_shape makes it on first use and keeps it.
using shape_maker = shape (*)();
const shape* class_shape(shape_maker make);

// The box with a lead below that the clock and the label stand on, 17 x 25, ref (8, 24).
shape box_lead();
// An octagon through (cx +- r, cy) and (cx, cy +- r).
void octagon(std::vector<line>& s, int cx, int cy, int r);

struct shape_record {
  int code;
  shape_maker lines;  // code 1: the shape whose lines are added; else null
  int x;
  int y;
};

}  // namespace sdi
