#include "zorv/smoke/buck_circuit.h"

#include "sdi/files/circuit_file.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/image.h"
#include "zorv/circuit_builder.h"

bool WriteBuckCircuit(const std::filesystem::path& path) {
  sdi::delete_all_elements();
  add_symbol(new sdi::source(sdi::kind_voltage_source, 1), {120, 240});
  auto* sw = new sdi::switch2(1);
  sw->rotate();
  add_symbol(sw, {200, 192});
  add_symbol(new sdi::diode(1), {248, 240});
  auto* l = new sdi::basic(sdi::kind_inductor, 1);
  l->rotate();
  add_symbol(l, {296, 192});
  add_symbol(new sdi::basic(sdi::kind_capacitor, 1), {344, 240});
  AddResistor({416, 240});
  const sdi::line wires[] = {{224, 192, 248, 192}, {248, 192, 272, 192}, {248, 192, 248, 216}, {320, 192, 344, 192},
                             {344, 192, 344, 216}, {344, 192, 416, 192}, {416, 192, 416, 216}, {120, 264, 248, 264},
                             {248, 264, 344, 264}, {344, 264, 416, 264}};
  add_wire({120, 216}, {176, 192}, 1);
  for (const sdi::line& w : wires) add_wire({w.x1, w.y1}, {w.x2, w.y2});
  const bool ok = sdi::save_circuit(path) != 0;
  sdi::delete_all_elements();
  return ok;
}
