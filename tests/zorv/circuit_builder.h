// Builds circuits in the model's global circuit list for the editor's tests, as
// placing would (through the model tests' own builders): each element after the
// list's cursor, with the smallest free id.
//
//     ModelCircuit guard;                       // empties the circuit before and after
//     AddResistor({200, 160});                  // terminals (200, 136) and (200, 184)
//     AddWire({200, 184}, {296, 184});
#pragma once
#include "sdi/ckt_builder.h"
#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/image.h"
#include "sdi/edit/place_element.h"
#include "sdi/elements/placement.h"

struct ModelCircuit {
  ModelCircuit() {
    sdi::delete_all_elements();
    sdi::make_junction_image();
  }
  ~ModelCircuit() {
    sdi::delete_all_elements();
    sdi::free_placement_state();
  }
  ModelCircuit(const ModelCircuit&) = delete;
  ModelCircuit& operator=(const ModelCircuit&) = delete;
};

inline sdi::basic* AddResistor(sdi::point ref) { return add_symbol(new sdi::basic(sdi::kind_resistor, 1), ref); }

inline sdi::cline* AddWire(sdi::point a, sdi::point b, int bend = 0) { return add_wire(a, b, bend); }

// The first element of a kind in the circuit, or null.
inline sdi::element* OfKind(int kind) {
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value->kind == kind) return n->value;
  return nullptr;
}

inline int CircuitCount() {
  int n = 0;
  sdi::elist walk = sdi::circuit;
  if (walk.list_first()) do ++n; while (walk.next());
  return n;
}
