// The circuit-model calls the editor shell makes, gathered in one place.
//
// Everything here works on the model's global `circuit` list and draws on pDC.
#pragma once
#include <vector>

#include "sdi/elements/elist.h"
#include "sdi/draw/geometry.h"
#include "sdi/zorv/core/view/extent.h"
#include "sdi/zorv/core/view/junctions.h"

namespace zorv {

// What the document's construction and destruction start and stop in the model:
// the engine's console files, the circuit-file version, the junction-dot image, and
// at the end the paste list and any element still being placed.
void StartModel();
void StopModel();

// Deletes every element of the circuit (the model's delete_all_elements).
void DeleteAllElements();

// Draws every element of the circuit on pDC (symbols first, then lines).
void RedrawCircuit();

// The circuit, in list order, as the junction rule and the extent see it.
std::vector<ConnectionItem> CircuitConnections();
// With `selectedOnly`, the selected elements only.
std::vector<ExtentItem> CircuitExtentItems(bool selectedOnly = false);
// Any list of elements (a pasted group before it joins the circuit).
std::vector<ExtentItem> ExtentItemsOf(const sdi::elist& list);

// The shared junction image centred on p, in a colour code (1 normal, 15 white).
void DrawJunctionDot(sdi::point p, int colour);

}  // namespace zorv
