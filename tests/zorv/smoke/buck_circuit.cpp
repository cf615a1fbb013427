#include "zorv/smoke/buck_circuit.h"

#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/circuit_file.h"
#include "sdi/edit_delete.h"
#include "sdi/elist.h"
#include "sdi/i_element.h"
#include "sdi/image.h"
#include "sdi/source_elements.h"

namespace {

void Place(sdi::i_element* e, sdi::point ref, bool horizontal) {
  if (horizontal) e->rotate();
  e->image->place_ref_at(ref);
  e->flags.set(sdi::flag_on_sheet);
  e->selected = 0;
  sdi::circuit.insert(e);
  sdi::circuit.assign_id();
}

void Wire(sdi::point a, sdi::point b, int bend = 0) {
  auto* w = new sdi::cline;
  w->shape.set(a.x, a.y, b.x, b.y, bend, 1, 0, 0);
  w->selected = 0;
  sdi::circuit.insert(w);
  sdi::circuit.assign_id();
}

}  // namespace

bool WriteBuckCircuit(const std::filesystem::path& path) {
  sdi::delete_all_elements();
  Place(new sdi::source(sdi::kind_voltage_source, 1), {120, 240}, false);
  Place(new sdi::switch2(1), {200, 192}, true);
  Place(new sdi::diode(1), {248, 240}, false);
  Place(new sdi::basic(sdi::kind_inductor, 1), {296, 192}, true);
  Place(new sdi::basic(sdi::kind_capacitor, 1), {344, 240}, false);
  Place(new sdi::basic(sdi::kind_resistor, 1), {416, 240}, false);
  Wire({120, 216}, {176, 192}, 1);
  Wire({224, 192}, {248, 192});
  Wire({248, 192}, {272, 192});
  Wire({248, 192}, {248, 216});
  Wire({320, 192}, {344, 192});
  Wire({344, 192}, {344, 216});
  Wire({344, 192}, {416, 192});
  Wire({416, 192}, {416, 216});
  Wire({120, 264}, {248, 264});
  Wire({248, 264}, {344, 264});
  Wire({344, 264}, {416, 264});
  const bool ok = sdi::save_circuit(path) != 0;
  sdi::delete_all_elements();
  return ok;
}
