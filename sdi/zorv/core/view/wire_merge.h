// Keeping the circuit free of straight wires that lie end to end on one line:
// such wires are merged into one, and wires are split where terminals fall on them.
//
// All of these work on the model's `circuit` and draw on pDC (erase, redraw), so
// callers name a drawing context first. Only straight wires (horizontal or
// vertical) take part; a wire is normalised so its first end is the left or top one.
//     sdi::cline* kept = zorv::CombineWireWithNeighbours(w);  // w may be gone
//     zorv::SplitWiresAtSelection();
#pragma once

#include "sdi/draw/geometry.h"

namespace sdi {
class element;
class cline;
}  // namespace sdi

namespace zorv {

// Merges w into the first wire on its line whose span overlaps or touches it,
// unless a third element has a terminal at w's first end. On a merge w is removed
// from the circuit and deleted, the selected wires are combined, and the wire that
// took w in (or the one that took that wire in) is returned; otherwise null (w kept).
sdi::cline* CombineWireWithNeighbours(sdi::element* w);

// Spans a1..a2 (of w) and b1..b2 (of o) on one line (x spans when horizontal).
// Overlapping or touching spans stretch o over both (o gets selected + 1): 1; w
// inside o changes nothing: 1 too; spans apart: 0.
int MergeWireSpans(int a1, int a2, int b1, int b2, sdi::cline* o, bool horizontal);

// True when an element other than w and o has a terminal at p.
bool WireJointOccupied(const sdi::point& p, const sdi::element* w, const sdi::element* o);

// Tries CombineWireWithNeighbours on each selected wire until one merges; returns
// the wire that took the merged one in, or null.
sdi::cline* CombineSelectedWires();

// Joins each wire with the one wire that alone continues it at an end (after a
// Cut leaves wires end to end), until no such pair is left.
void JoinCollinearWires();

// Stretches w over o where they meet end to end on one line and deletes o; false
// (nothing changed) when they are not both horizontal or both vertical, or, with
// "Error in CombineLines()", when no ends meet.
bool CombineLines(sdi::cline* w, sdi::cline* o);

// Splits wires at the selected elements' terminals (and selected wires where
// terminals fall on them), pass after pass until a pass splits nothing; new
// pieces are born selected, so they are looked at in the next pass.
void SplitWiresAtSelection();

}  // namespace zorv
