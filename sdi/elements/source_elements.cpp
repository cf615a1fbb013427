#include "sdi/elements/source_elements.h"

#include <cmath>

#include "sdi/base/byte_io.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/netlist_parts.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"
#include "sdi/elements/records.h"
#include "sdi/base/report.h"
#include "sdi/elements/shapes.h"

namespace sdi {

int probe_count = 0;

namespace {

// The class symbols, each in its first orientation (sources drawn horizontally).
shape ground_symbol() {
  return shape{17, 15, 8, 0, {line(8, 0, 8, 8), line(0, 8, 17, 8), line(3, 11, 14, 11), line(6, 14, 11, 14)}};
}

shape diode_symbol() {
  return shape{13, 51, 6, 25,
               {line(6, 0, 6, 19), line(0, 19, 12, 19), line(12, 19, 6, 31), line(6, 31, 0, 19), line(0, 31, 13, 31),
                line(6, 31, 6, 50)}};
}

shape switch_symbol() {
  return shape{25, 51, 16, 25,
               {line(16, 0, 16, 15), line(13, 15, 20, 15), line(16, 35, 10, 17), line(16, 35, 16, 50),
                line(0, 17, 6, 17), line(4, 15, 6, 17), line(4, 19, 6, 17), line(0, 33, 6, 33), line(6, 30, 6, 37)}};
}

shape voltage_source_symbol() {
  std::vector<line> b;
  octagon(b, 25, 12, 12);
  b.insert(b.end(), {line(0, 12, 13, 12), line(37, 12, 50, 12), line(16, 12, 21, 12), line(18, 10, 18, 15), line(31, 10, 31, 15)});
  return shape{51, 25, 25, 12, b};
}

shape current_source_symbol() {
  std::vector<line> b;
  octagon(b, 25, 12, 12);
  b.insert(b.end(), {line(0, 12, 13, 12), line(37, 12, 50, 12), line(17, 12, 33, 12), line(29, 8, 33, 12), line(29, 16, 33, 12)});
  return shape{51, 25, 25, 12, b};
}

shape sine_symbol() {
  std::vector<line> b;
  octagon(b, 25, 12, 12);
  // The wave runs across the lead axis, so it lies flat once the symbol is turned upright.
  b.insert(b.end(), {line(0, 12, 13, 12), line(37, 12, 50, 12), line(25, 20, 21, 18), line(21, 18, 21, 14), line(21, 14, 25, 12),
                     line(25, 12, 29, 10), line(29, 10, 29, 6), line(29, 6, 25, 4)});
  return shape{51, 25, 25, 12, b};
}

shape probe_symbol() {
  return shape{17, 17, 8, 8, {line(0, 16, 16, 0), line(0, 16, 6, 16), line(0, 16, 0, 10), line(12, 0, 16, 0), line(16, 0, 16, 4)}};
}

constexpr shape_record label_records[] = {{2, nullptr, 8, 24}, {0, nullptr, 0, 0}};
constexpr shape_record ground_records[] = {{2, nullptr, 8, 0}, {0, nullptr, 0, 0}};
constexpr shape_record diode_records[] = {{2, nullptr, 6, 1}, {2, nullptr, 6, 49}, {0, nullptr, 0, 0}};
constexpr shape_record switch_records[] = {{2, nullptr, 16, 1}, {2, nullptr, 16, 49}, {2, nullptr, 0, 17},
                                           {2, nullptr, 0, 33}, {0, nullptr, 0, 0}};

// Sources draw horizontally and turn once, like the standard symbols.
image* source_image(shape_maker make) { return image_from_shape(class_shape(make)); }

int turn_code(int orientation) { return orientation == 0 ? 4 : orientation; }
}  // namespace

ground::ground(int o) : i_element(kind_ground, o) {
  image = image_from_table(class_shape(ground_symbol));
  apply_shape_records(ground_records);
}

diode::diode(int o) : i_element(kind_diode, o) {
  image = image_from_table(class_shape(diode_symbol));
  apply_shape_records(diode_records);
}

switch2::switch2(int o) : i_element(kind_switch, o) {
  image = image_from_table(class_shape(switch_symbol));
  apply_shape_records(switch_records);
}

void switch2::write(std::FILE* f) {
  i_element::write(f);
  write_int(f, initial_state);
}

int diode::initial_switch_state() {
  // Only a hand-made file holds a state beyond the int range; clamp it so the
  // conversion is defined (NaN never gets here: the value check refuses it).
  const double s = std::trunc(values[0]);
  return s >= 2147483647.0 ? 2147483647 : s <= -2147483648.0 ? -2147483647 - 1 : static_cast<int>(s);
}

void diode::netlist_rows(rlist& rows) {
  if (flags.test(flag_output)) two_pin_row(rows, this, values[0]);
  else SDI_INTERNAL_CASE();
}

// A condition on its own current: the first turns it on, the second off.
void diode::netlist_conditions() {
  for (double sign : {1.0, -1.0}) {
    struct condition& c = new_condition();
    int k = output_ordinal_of(this);
    if (k >= 1) c.cy[static_cast<std::size_t>(k - 1)] = sign;
    if (sign > 0) condition = writer.conditions;
  }
}

void switch2::netlist_rows(rlist& rows) { two_pin_row(rows, this, values[0]); }

std::vector<int> switch2::switch_conditions(bool on) {
  std::vector<int> conditions;
  const int node = node_of(this, on ? 2 : 3);
  if (node < 0) return conditions;
  for (enode* m = circuit.head; m; m = static_cast<enode*>(m->next)) {
    element* ctl = m->value;
    if (!ctl || !has_pin_on(ctl, node)) continue;
    const int c = ctl->driving_condition();
    // A state-bounding limiter makes no condition and drives nothing.
    if (c > 0) conditions.push_back(c);
  }
  return conditions;
}

bool switch2::shift_references(int offset, const std::set<int>& lookup) {
  shift_found(links, offset, lookup);
  return true;
}

void switch2::report_open_pin(int pin) {
  if (pin == 0 || pin == 1) netlist_error("Switch must be connected at first 2 nodes");
  if (!pin_connected(this, 2)) netlist_error("Switch must have ON connected");
  if (!pin_connected(this, 3)) netlist_error("Switch must have OFF connected");
}

bool switch2::read(std::FILE* f, int version) { return i_element::read(f, version) && record_int(f, initial_state); }

llabel::llabel(int o) : i_element(kind_label, o) {
  image = image_from_table(class_shape(box_lead));
  apply_shape_records(label_records);
}

bool llabel::read(std::FILE* f, int version) {
  if (!i_element::read(f, version)) return false;
  // Any value outside the character codes (NaN included) gets the reported no-letter path.
  const double v = values[0];
  set_letter(v >= 0.0 && v < 256.0 ? static_cast<int>(v) : -1);
  values[0] = v;
  return true;
}

void llabel::set_letter(int c) {
  values[0] = c;
  remove_labels(image);
  if (!image) return;
  box = image->bounds();
  if (c < 'a' || c > 'z') {
    SDI_INTERNAL();
    return;
  }
  // The box's centre (8, 8) in the frame the label was built in, turned as the label is.
  const shape* base = class_shape(box_lead);
  point at = rotate_point(point(8, 8), point(base->w, base->h), turn_code(orientation));
  add_label(image, glyph_for_char(static_cast<char>(c)), at);
}

source::source(int k, int o) : i_element(k, o) {
  image = source_image(k == kind_voltage_source ? voltage_source_symbol : current_source_symbol);
}

void source::write(std::FILE* f) {
  i_element::write(f);
  // The count written is the number of pairs that follow, whatever n says.
  const int count = n < 0 ? 0 : n > max_pairs ? max_pairs : n;
  write_int(f, count);
  for (int i = 0; i < count; ++i) write_doubles(f, pairs[i], 2);
}

bool source::read(std::FILE* f, int version) {
  if (!i_element::read(f, version)) return false;
  std::int32_t count = 0;
  if (!record_count(f, count)) return false;
  if (count > max_pairs) SDI_ASSERT_FAIL();  // the pairs beyond five are read and dropped
  for (int i = 0; i < count; ++i) {
    double t = 0.0, v = 0.0;
    if (!record_double(f, t) || !record_double(f, v)) return false;
    if (i < max_pairs) {
      pairs[i][0] = t;
      pairs[i][1] = v;
    }
  }
  n = count < max_pairs ? count : max_pairs;
  return true;
}

void source::netlist_rows(rlist& rows) { two_pin_row(rows, this, values[0]); }

int source::value_faults() { return std::fabs(values[0]) < smallest_value ? 1 : 0; }
bool source::values_finite() { return element::values_finite() && all_finite(&pairs[0][0], 2 * max_pairs); }

sine::sine(int o) : i_element(kind_sine, o) {
  image = source_image(sine_symbol);
}

void sine::write(std::FILE* f) {
  i_element::write(f);
  write_double(f, frequency);
  write_double(f, phase);
}

bool sine::read(std::FILE* f, int version) {
  return i_element::read(f, version) && record_double(f, frequency) && record_double(f, phase);
}

void sine::netlist_rows(rlist& rows) {
  const double pi = 4.0 * std::atan(1.0);
  int m = new_internal_node();
  double x = 1.0 / (2.0 * pi * frequency);
  std::string tail = name_tail(this);
  simrec* r = netlist_row(rows, "Ls" + tail, 10);
  add_node(r, 0);
  add_node(r, m);
  r->add_double(x);
  r = netlist_row(rows, "Cs" + tail, 10);
  add_node(r, m);
  add_node(r, 0);
  r->add_double(x);
  r = netlist_row(rows, netname_of(this), 10);
  add_nodes(r, this);
  r->add_double(1.0);
  r->add_string("Cs" + tail, 6);
  r->set_name(display_name_of(this));
}

int sine::value_faults() { return std::fabs(frequency) < smallest_value ? 1 : 0; }
bool sine::values_finite() { return element::values_finite() && std::isfinite(frequency) && std::isfinite(phase); }

probe::probe(int o) : i_element(kind_probe, o) {
  image = image_from_table(class_shape(probe_symbol));
  ++probe_count;
}

probe::~probe() {
  if (probe_count > 0) --probe_count;
}

void probe::write(std::FILE* f) {
  i_element::write(f);
  write_double(f, extra);
}

bool probe::read(std::FILE* f, int version) { return i_element::read(f, version) && record_double(f, extra); }

}  // namespace sdi
