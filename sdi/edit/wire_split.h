// Splitting wires where terminals fall on them, so that node numbering (which
// joins only coincident terminals) sees the connection.
//
// A wire runs as an L from its first end through its corner to its second end.
// Splitting wire w at p2 replaces it by two pieces p1-p2 and p2-p3 with w's
// bend, so both follow the old route whichever leg p2 is on. Pieces are
// inserted after the circuit's cursor and get the smallest free ids; the old
// wire is then removed (the cursor goes to its predecessor): this order is the
// file's record order and the netlist's row order.
#pragma once

#include <vector>

#include "sdi/draw/geometry.h"

namespace sdi {

class element;

// A new unnamed wire piece in the circuit (not drawn); its id. The placement
// state is left alone (a pending element there is reported).
int new_wire_piece(const line& l, int bend);

// The ids of the pieces p1-p2 and p2-p3 a split makes; both w when nothing was split.
struct wire_pieces {
  int first;
  int second;
};

// Replaces wire w by the pieces p1-p2 and p2-p3, or leaves it when p2 is p1 or p3.
wire_pieces split_wire(int w, const point& p1, const point& p2, const point& p3, int bend);

// A wire other than skip with the point on its route: preferably one with the
// point inside (not at an end), else the first in list order; 0 when none.
int find_wire_through(const point& p, element* skip);

// Splits the wires through each terminal of e; 1 when any was split.
int split_wires_at_terminals(element* e);

// Splits the wire (other than piece) through p at p.
void split_wire_at(int piece, const point& p);

// Splits wire w at every grid point of its route where some element has a terminal;
// the ids of every piece made on the way, in the order made.
std::vector<int> split_wire_at_route_terminals(int w);

// After a wire is drawn: split it at the terminals on its route and split the
// wires its ends fall on; 1 when anything was split.
int split_after_wire_drawn(element* w);

}  // namespace sdi
