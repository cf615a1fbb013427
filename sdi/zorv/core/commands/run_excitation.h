// The temporary excitation of a transient run: when no DC source has a non-zero
// value, a 1.0 current source "ADD" with both terminals on one point and a
// ground on that point are added to the circuit for the run only.
//
//     if (!CircuitIsExcited()) {
//       TemporaryExcitation add;   // inserted after the cursor, smallest free ids
//       result = run_simulation();
//     }                            // both removed by id, the cursor put back, also on a throw
//
// The point lies off the sheet where no element touches, so the ground never
// grounds a drawn terminal. Neither element is placed through the placement
// state, drawn, named by the naming rule or split into wires.
#pragma once

#include "sdi/draw/geometry.h"

namespace sdi {
class element;
}

namespace zorv {

// Some DC voltage or current source has a main value other than 0 (NaN counts).
bool CircuitIsExcited();

class TemporaryExcitation {
public:
  TemporaryExcitation();
  ~TemporaryExcitation();
  TemporaryExcitation(const TemporaryExcitation&) = delete;
  TemporaryExcitation& operator=(const TemporaryExcitation&) = delete;

  int SourceId() const { return m_sourceId; }
  int GroundId() const { return m_groundId; }
  sdi::point Point() const { return m_point; }

private:
  int Insert(sdi::element* e);

  sdi::element* m_cursor = nullptr;  // the circuit's cursor element before
  sdi::point m_point;
  int m_sourceId = 0;
  int m_groundId = 0;
};

}  // namespace zorv
