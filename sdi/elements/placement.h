// Placement state and the helpers the element operations share: the element
// being placed, grid snapping and redrawing around a changed element.
#pragma once

#include "sdi/draw/geometry.h"

namespace sdi {

class element;

// The element being placed (or wire being drawn), owned by the editor; null when none.
extern element* pending_element;
// What pending_element was before the last factory call (the view erases and deletes it).
extern element* previous_pending_element;

void remember_new_element();
// Clamps to the sheet (keeping a pending symbol whole on it), then rounds each
// coordinate to the nearest multiple of 8, halves upwards (may leave the sheet by 4).
point snap_to_grid(int x, int y);
// Draws every element of circuit but e (all when null): symbols first, then lines.
void redraw_others(element* e);
// Redraws, clipped to e, every other element of circuit that overlaps it.
void redraw_around(element* e);
// Erases an element from the screen and redraws what it covered.
void erase_element(element* e);

}  // namespace sdi
