// Builds circuits in the model's global circuit list for the editor's tests, as
// placing would: each element after the list's cursor, with the smallest free id.
//
//     ModelCircuit guard;                       // empties the circuit before and after
//     AddResistor({200, 160});                  // terminals (200, 136) and (200, 184)
//     AddWire({200, 184}, {296, 184});
#pragma once
#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/edit_delete.h"
#include "sdi/elist.h"
#include "sdi/image.h"
#include "sdi/place_element.h"
#include "sdi/placement.h"

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

inline sdi::basic* AddResistor(sdi::point ref) {
  auto* r = new sdi::basic(sdi::kind_resistor, 1);
  r->image->place_ref_at(ref);
  r->flags.set(sdi::flag_on_sheet);
  r->selected = 0;
  sdi::circuit.insert(r);
  sdi::circuit.assign_id();
  return r;
}

inline sdi::cline* AddWire(sdi::point a, sdi::point b, int bend = 0) {
  auto* w = new sdi::cline;
  w->shape.set(a.x, a.y, b.x, b.y, bend, 1, 0, 0);
  w->selected = 0;
  sdi::circuit.insert(w);
  sdi::circuit.assign_id();
  return w;
}

inline int CircuitCount() {
  int n = 0;
  sdi::elist walk = sdi::circuit;
  if (walk.list_first()) do ++n; while (walk.next());
  return n;
}
