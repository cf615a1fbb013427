#include "sdi/elements/control_elements.h"

#include <cmath>

#include "sdi/base/byte_io.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/netlist_parts.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"
#include "sdi/base/report.h"
#include "sdi/elements/records.h"
#include "sdi/elements/shapes.h"

namespace sdi {

int multiplier_count = 0;

namespace {
// The class symbols, each in its first orientation, and the marks drawn on them.
shape clock_wave() {
  return shape{17, 25, 8, 24,
               {line(3, 12, 6, 12), line(6, 12, 6, 4), line(6, 4, 10, 4), line(10, 4, 10, 12), line(10, 12, 14, 12)}};
}

shape limiter_base() {
  return shape{13, 51, 6, 25,
               {line(6, 0, 6, 13), line(0, 13, 12, 13), line(12, 13, 12, 37), line(12, 37, 0, 37), line(0, 37, 0, 13),
                line(6, 37, 6, 50)}};
}

shape upper_mark() {
  return shape{13, 51, 6, 25, {line(2, 18, 11, 18), line(3, 33, 5, 21), line(5, 21, 7, 21), line(7, 21, 9, 33)}};
}

shape lower_mark() {
  return shape{13, 51, 6, 25, {line(2, 32, 11, 32), line(3, 17, 5, 29), line(5, 29, 7, 29), line(7, 29, 9, 17)}};
}

shape vco_mark() {
  return shape{13, 51, 6, 25, {line(2, 25, 4, 22), line(4, 22, 6, 25), line(6, 25, 8, 28), line(8, 28, 10, 25)}};
}

shape threshold_symbol() {
  return shape{17, 25, 8, 24,
               {line(0, 0, 16, 0), line(16, 0, 16, 16), line(16, 16, 0, 16), line(0, 16, 0, 0), line(8, 16, 8, 24),
                line(3, 12, 8, 12), line(8, 12, 8, 4), line(8, 4, 14, 4)}};
}

shape current_sense_symbol() {
  std::vector<line> b;
  octagon(b, 16, 16, 6);
  b.insert(b.end(), {line(0, 16, 10, 16), line(22, 16, 32, 16), line(12, 16, 20, 16), line(18, 14, 20, 16), line(18, 18, 20, 16),
                     line(16, 22, 16, 32)});
  return shape{33, 33, 16, 16, b};
}

shape op_amp_symbol() {
  return shape{49, 33, 24, 16,
               {line(8, 0, 8, 32), line(8, 32, 40, 16), line(40, 16, 8, 0), line(0, 8, 8, 8), line(0, 24, 8, 24),
                line(40, 16, 48, 16), line(11, 8, 16, 8), line(13, 6, 13, 11), line(11, 24, 16, 24)}};
}

shape multiplier_symbol() {
  std::vector<line> b;
  octagon(b, 16, 16, 10);
  b.insert(b.end(), {line(11, 11, 22, 22), line(21, 11, 10, 22), line(0, 8, 9, 9), line(0, 24, 9, 23), line(26, 16, 32, 16)});
  return shape{33, 33, 16, 16, b};
}

shape modulator_symbol() {
  return shape{49, 97, 24, 48,
               {line(8, 0, 40, 0), line(40, 0, 40, 96), line(40, 96, 8, 96), line(8, 96, 8, 0), line(0, 32, 8, 32),
                line(0, 64, 8, 64), line(40, 48, 48, 48), line(12, 60, 24, 36), line(24, 36, 24, 60),
                line(24, 60, 36, 36), line(14, 48, 34, 48)}};
}

constexpr shape_record clock_records[] = {{1, clock_wave, 0, 0}, {2, nullptr, 8, 24}, {0, nullptr, 0, 0}};
constexpr shape_record upper_records[] = {{1, upper_mark, 0, 0}, {2, nullptr, 6, 1}, {2, nullptr, 6, 49}, {0, nullptr, 0, 0}};
constexpr shape_record lower_records[] = {{1, lower_mark, 0, 0}, {2, nullptr, 6, 1}, {2, nullptr, 6, 49}, {0, nullptr, 0, 0}};
constexpr shape_record vco_records[] = {{1, vco_mark, 0, 0}, {2, nullptr, 6, 1}, {2, nullptr, 6, 49}, {0, nullptr, 0, 0}};
constexpr shape_record threshold_records[] = {{2, nullptr, 8, 24}, {0, nullptr, 0, 0}};
constexpr shape_record sense_records[] = {{2, nullptr, 0, 16}, {2, nullptr, 32, 16}, {2, nullptr, 16, 32}, {0, nullptr, 0, 0}};
constexpr shape_record op_amp_records[] = {{2, nullptr, 0, 8}, {2, nullptr, 0, 24}, {2, nullptr, 48, 16}, {0, nullptr, 0, 0}};
constexpr shape_record multiplier_records[] = {{2, nullptr, 0, 8}, {2, nullptr, 0, 24}, {2, nullptr, 32, 16}, {0, nullptr, 0, 0}};
constexpr shape_record modulator_records[] = {{2, nullptr, 0, 32}, {2, nullptr, 0, 64}, {2, nullptr, 48, 48}, {0, nullptr, 0, 0}};

bool read_values(std::FILE* f, double* v, int n) {
  for (int i = 0; i < n; ++i)
    if (!record_double(f, v[i])) return false;
  return true;
}
}  // namespace

void rotate_or_flip(i_element* e) {
  if ((e->orientation == 1 && !e->mirrored) || (e->orientation == 3 && e->mirrored)) e->rotate_half();
  else e->mirror();
}

clockx::clockx(int o) : i_element(kind_clock, o) {
  image = image_from_table(class_shape(box_lead));
  apply_shape_records(clock_records);
}

void clockx::write(std::FILE* f) {
  i_element::write(f);
  write_doubles(f, values + 1, 2);
}

bool clockx::read(std::FILE* f, int version) { return i_element::read(f, version) && read_values(f, values + 1, 2); }

int clockx::value_faults() { return values[2] < smallest_value || values[1] < 0.0 ? 1 : 0; }

void clockx::report_open_pin(int) { netlist_error("Clock must be connected to a switch control"); }

void clockx::check_control_output() {
  if (!kind_on_pin_node(this, 0, kind_switch)) netlist_error("Clock may only be connected to switch control");
}

modulator::modulator(int o) : i_element(kind_modulator, o) {
  image = image_from_table(class_shape(modulator_symbol));
  apply_shape_records(modulator_records);
}

void modulator::write(std::FILE* f) {
  i_element::write(f);
  write_doubles(f, values + 1, 5);
}

// Every version is read with five doubles: the layout follows the program, not the file.
bool modulator::read(std::FILE* f, int version) { return i_element::read(f, version) && read_values(f, values + 1, 5); }

void modulator::request_hidden_ports() {
  port1 = values[1] != 0.0 ? request_port(kind_voltage_port, node_of(this, 0), 0) : 0;
  port2 = values[2] != 0.0 ? request_port(kind_voltage_port, node_of(this, 1), 0) : 0;
}

void modulator::netlist_conditions() {
  struct condition& c = new_condition();
  if (values[1] != 0.0) set_cy(c, port1, values[1]);
  if (values[2] != 0.0) set_cy(c, port2, values[2]);
  c.ct[2] = -values[0];
  c.cc = values[3];
  condition = writer.conditions;
}

void modulator::report_open_pin(int pin) {
  element::report_open_pin(pin);
  if (pin == 2) netlist_error("Modulator must have output connected to switch control");
  if ((values[1] != 0.0 && !pin_connected(this, 0)) || (values[2] != 0.0 && !pin_connected(this, 1)))
    netlist_error("Modulator must have input connected when corresponding k != 0");
}

void modulator::check_control_output() {
  if (!kind_on_pin_node(this, 2, kind_switch)) netlist_error("Modulator output may only be connected to switch control");
}

limiter::limiter(int k, int o) : i_element(k, o) {
  image = image_from_table(class_shape(limiter_base));
  apply_shape_records(k == kind_upper_limiter ? upper_records : lower_records);
}

void limiter::request_hidden_ports() { writer.limiter_ports[this] = limiter_port(this); }

void limiter::netlist_conditions() {
  simrec unused;
  if (limit_row(this, unused)) return;
  struct condition& c = new_condition();
  double sign = kind == kind_upper_limiter ? -1.0 : 1.0;
  auto it = writer.limiter_ports.find(this);
  if (it == writer.limiter_ports.end()) SDI_INTERNAL();
  else set_cy(c, it->second, sign);
  c.cc = -(sign * values[0]);
  condition = writer.conditions;
}

threshold::threshold(int o) : i_element(kind_threshold, o) {
  image = image_from_table(class_shape(threshold_symbol));
  apply_shape_records(threshold_records);
  table.resize(4);
}

threshold::~threshold() {
  outputs.list_clear();
  coefficients.list_clear();
  table.list_clear();
}

void threshold::write(std::FILE* f) {
  i_element::write(f);
  write_int(f, coefficients.count());
  for (dnode* n = coefficients.head; n; n = static_cast<dnode*>(n->next)) write_double(f, n->value);
  write_int(f, table.count());
  for (dnode* n = table.head; n; n = static_cast<dnode*>(n->next)) write_double(f, n->value);
  write_ilist(f, outputs);
  write_int(f, switch_id);
}

bool threshold::read(std::FILE* f, int version) {
  if (!i_element::read(f, version)) return false;
  std::int32_t a = 0;
  if (!record_count(f, a)) return false;
  coefficients.list_clear();
  coefficients.resize(a);
  for (int i = 0; i < a; ++i)
    if (!record_double(f, *coefficients.list_value_at(i))) return false;
  std::int32_t b = 0;
  if (!record_count(f, b)) return false;
  if (b > table.count()) SDI_ASSERT_FAIL();  // the extra entries are read and dropped
  for (int i = 0; i < b; ++i) {
    double v = 0.0;
    if (!record_double(f, v)) return false;
    if (i < table.count()) *table.list_value_at(i) = v;
  }
  return read_ilist(f, outputs, 1) && record_int(f, switch_id);
}

namespace {
double entry(dlist& l, int i) {
  int k = 0;
  for (dnode* n = l.head; n; n = static_cast<dnode*>(n->next), ++k)
    if (k == i) return n->value;
  return 0.0;  // entries a short or fresh table does not have count as 0
}

int id_entry(ilist& l, int i) {
  int k = 0;
  for (inode* n = l.head; n; n = static_cast<inode*>(n->next), ++k)
    if (k == i) return n->value;
  return 0;
}
}  // namespace

int threshold::value_faults() {
  int faults = 0;
  for (int i = 0; i < 3; ++i)
    if (entry(coefficients, i) != 0.0 && id_entry(outputs, i) == 0) {
      ++faults;
      break;
    }
  return faults + (entry(table, 3) != 0.0 && switch_id == 0 ? 1 : 0);
}

bool threshold::values_finite() { return element::values_finite() && all_finite(coefficients) && all_finite(table); }

void threshold::netlist_conditions() {
  struct condition& c = new_condition();
  int i = 0;
  for (inode* n = outputs.head; n; n = static_cast<inode*>(n->next), ++i) {
    double k = entry(coefficients, i);
    if (k != 0.0) set_cy(c, n->value, k);
  }
  for (int j = 0; j < 4; ++j) c.ct[j] = entry(table, j);
  c.cc = values[0];
  if (c.ct[3] != 0.0) {
    element* sw = element_by_id(switch_id);
    if (sw && sw->kind == kind_switch) c.csw = switch_ordinal_of(sw);
    else SDI_INTERNAL();
  }
  condition = writer.conditions;
}

// The outputs it weighs and the switch it drives move; the switch is linked both ways.
bool threshold::shift_references(int offset, const std::set<int>& lookup) {
  int i = 0;
  for (inode* o = outputs.head; o; o = static_cast<inode*>(o->next), ++i)
    if (entry(coefficients, i) != 0.0) shift_if_found(o->value, offset, lookup);
  if (entry(table, 3) != 0.0) shift_if_found(switch_id, offset, lookup);
  shift_found(links, offset, lookup);
  return true;
}

void threshold::report_open_pin(int) { netlist_error("Threshold must be connected to a switch control"); }

void threshold::check_control_output() {
  if (!kind_on_pin_node(this, 0, kind_switch)) netlist_error("Threshold may only be connected to switch control");
}

vco::vco(int o) : i_element(kind_vco, o) {
  image = image_from_table(class_shape(limiter_base));
  apply_shape_records(vco_records);
}

void vco::write(std::FILE* f) {
  i_element::write(f);
  write_double(f, constant);
}

bool vco::read(std::FILE* f, int version) { return i_element::read(f, version) && record_double(f, constant); }

bool vco::values_finite() { return element::values_finite() && std::isfinite(constant); }

void vco::request_hidden_ports() { port = request_port(kind_voltage_port, node_of(this, 0), 0); }

void vco::netlist_conditions() {
  struct condition& c = new_condition();
  set_cy(c, port, values[0]);
  c.ct[1] = -1.0;
  c.cc = constant;
  condition = writer.conditions;
}

current_sense::current_sense(int o) : i_element(kind_current_sense, o) {
  image = image_from_table(class_shape(current_sense_symbol));
  apply_shape_records(sense_records);
}

void current_sense::rotate() { rotate_or_flip(this); }

void current_sense::netlist_rows(rlist& rows) {
  // Feeding only limiters, its branch is the hidden current port.
  if (sense_feeding_limiters(node_of(this, 2)) == this) return;
  std::string tail = name_tail(this);
  simrec* r = netlist_row(rows, "Vc" + tail, 10);
  add_nodes(r, this);
  r->add_double(0.0);
  r = netlist_row(rows, "Fc" + tail, 10);
  add_node(r, 0);
  add_node(r, node_of(this, 2));
  r->add_double(1.0);
  r->add_string("Vc" + tail, 6);
}

void current_sense::report_open_pin(int) { netlist_error("Current sense must have all 3 nodes connected"); }

node_role current_sense::pin_role(int pin, int node) {
  if (pin != 2) return node_role::network;
  for (enode* m = circuit.head; m; m = static_cast<enode*>(m->next)) {
    element* o = m->value;
    if (!o || o == this || o->kind == kind_mutual || o->kind == kind_upper_limiter || o->kind == kind_lower_limiter)
      continue;
    for (inode* p = o->nodes.head; p; p = static_cast<inode*>(p->next))
      if (p->value == node) return node_role::network;
  }
  return node_role::control;
}

op_amp::op_amp(int o) : i_element(kind_op_amp, o) {
  image = image_from_table(class_shape(op_amp_symbol));
  apply_shape_records(op_amp_records);
}

void op_amp::write(std::FILE* f) {
  i_element::write(f);
  write_double(f, Ri);
  write_double(f, Ro);
}

bool op_amp::read(std::FILE* f, int version) {
  return i_element::read(f, version) && record_double(f, Ri) && record_double(f, Ro);
}

bool op_amp::values_finite() { return element::values_finite() && std::isfinite(Ri) && std::isfinite(Ro); }

void op_amp::rotate() { rotate_or_flip(this); }

void op_amp::netlist_rows(rlist& rows) {
  int m = new_internal_node();
  std::string tail = name_tail(this);
  simrec* r = netlist_row(rows, "Ri" + tail, 10);
  add_nodes(r, this);
  r->add_double(Ri);
  r = netlist_row(rows, "Eo" + tail, 10);
  add_node(r, m);
  add_node(r, 0);
  r->add_double(values[0]);
  r->add_string("Ri" + tail, 6);
  r = netlist_row(rows, "Ro" + tail, 10);
  add_node(r, m);
  add_node(r, node_of(this, 2));
  r->add_double(Ro);
}

void op_amp::report_open_pin(int) { netlist_error("Op-Amp must have all 3 nodes connected"); }

multiplier::multiplier(int o) : i_element(kind_multiplier, o) {
  image = image_from_table(class_shape(multiplier_symbol));
  apply_shape_records(multiplier_records);
  ++multiplier_count;
}

multiplier::~multiplier() {
  if (multiplier_count > 0) --multiplier_count;
}

void multiplier::request_hidden_ports() {
  port1 = request_port(kind_voltage_port, node_of(this, 0), 0);
  port2 = request_port(kind_voltage_port, node_of(this, 1), 0);
}

// The product of its two hidden input ports, as a source at its output.
void multiplier::netlist_rows(rlist& rows) {
  simrec* r = netlist_row(rows, "V#M1", 10);
  add_node(r, node_of(this, 2));
  add_node(r, 0);
  r->add_double(1.0);
  r->add_double(values[0]);
  element* p1 = element_by_id(port1);
  element* p2 = element_by_id(port2);
  if (!p1 || !p2) SDI_INTERNAL();
  r->add_string(netname_of(p1), 5);
  r->add_string(netname_of(p2), 5);
  r->set_name(display_name_of(this));
}

// Without this an open multiplier pin reaches the netlist as node -1.
void multiplier::report_open_pin(int) { netlist_error("Multiplier must have all 3 nodes connected"); }

}  // namespace sdi
