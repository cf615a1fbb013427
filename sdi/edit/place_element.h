// Placing the pending element (placement.h) into the circuit, and the shared
// junction image. The order of the circuit list is the order of the file's
// records and of the netlist's rows: new elements go after the list's cursor.
//
//     new_resistor();                // a factory makes the pending element
//     pending_element->place_at(p);  // the view moves it with the mouse
//     place_new_element();           // named, inserted, given an id, wires split
#pragma once

#include "sdi/files/circuit_file.h"  // circuit_modified
#include "sdi/draw/geometry.h"

namespace sdi {

void make_junction_image();
// Frees the junction image and the pending element.
void free_placement_state();

// Names the pending element, inserts it after the cursor, gives it an id, splits
// the wires its terminals fall on and makes the next pending element of its
// kind. An element already placed is refused with "Not a new element is being placed".
void place_new_element();

// The pending line element's shape set to a-b with the four words, then drawn
// at its place (the rubber band of a wire being drawn).
void set_new_line(const point& a, const point& b, int bend, int colour, int mode, int style);

}  // namespace sdi
