// The circuit model's elements are not in the model yet: until they are, the
// circuit is empty and the junction dot is drawn as its 3 x 3 square.
#include "sdi/zorv/core/model_link.h"

#include "sdi/drawing.h"
#include "simu/console.h"

namespace zorv {

void StartModel() { redirect_stdio(); }

void StopModel() {}

void DeleteAllElements() {}

void RedrawCircuit() {}

std::vector<ConnectionItem> CircuitConnections() { return {}; }

std::vector<ExtentItem> CircuitExtentItems() { return {}; }

void DrawJunctionDot(sdi::point p, int colour) {
  for (int dy = -1; dy <= 1; ++dy) sdi::draw_line_hook(p.x - 1, p.y + dy, p.x + 2, p.y + dy, colour, 0, 0);
}

}  // namespace zorv
