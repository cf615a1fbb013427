// Band selection and deselection over the circuit. Neither redraws: the view
// repaints afterwards.
#pragma once

#include "sdi/draw/geometry.h"

namespace sdi {

// Every element inside r gets selected + 1: one with terminals when all of them
// lie in r, a probe (no terminals) when it overlaps r. Returns how many.
int select_in_rect(const rect& r);

// selected = 0 on every element of the circuit (the field only).
void deselect_all();

}  // namespace sdi
