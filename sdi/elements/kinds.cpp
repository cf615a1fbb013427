#include "sdi/elements/kinds.h"

#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/source_elements.h"
#include "sdi/elements/sub_element.h"

namespace sdi {

namespace {

constexpr std::uint32_t branch = flag_word({flag_branch});
constexpr std::uint32_t no_values = flag_word({flag_values_set, flag_no_values});

template <class T, int K>
element* make_of() { return new T(K, 1); }
template <class T>
element* make_one() { return new T(1); }
template <class T>
element* make_line() { return new T; }

// A two-terminal kind drawn from the standard symbol table.
kind_descriptor standard(int k, const char* prefix, const char* letter, std::uint32_t flags, element* (*make)()) {
  kind_descriptor d;
  d.kind = k;
  d.prefix = prefix;
  d.letter = letter;
  d.pins = 2;
  d.flags = flags;
  d.standard_shape = true;
  d.make = make;
  return d;
}

kind_descriptor marked(kind_descriptor d, char mark, int x = -1, int y = -1) {
  d.mark = mark;
  d.mark_x = x;
  d.mark_y = y;
  return d;
}

kind_descriptor counted_as(kind_descriptor d, int counter) {
  d.counter = counter;
  return d;
}

// A kind no class makes: its symbol and letter remain for old files.
kind_descriptor classless(int k, bool symbol, bool reported, int stands_for = -1) {
  kind_descriptor d;
  d.kind = k;
  d.letter_reported = reported;
  d.pins = 2;
  d.standard_shape = symbol;
  d.stands_for = stands_for;
  return d;
}

kind_descriptor symbol(int k, const char* prefix, std::uint32_t flags, element* (*make)(), const char* letter = "X") {
  kind_descriptor d;
  d.kind = k;
  d.prefix = prefix;
  d.letter = letter;
  d.flags = flags;
  d.make = make;
  return d;
}

kind_descriptor with_value(kind_descriptor d, int i, double v) {
  d.values[i] = v;
  return d;
}

kind_descriptor with_pins(kind_descriptor d, int pins) {
  d.pins = pins;
  return d;
}

kind_descriptor once(kind_descriptor d, int* count, const char* message) {
  d.live_count = count;
  d.once_message = message;
  return d;
}

kind_descriptor line_kind(int k, const char* prefix, const char* letter, std::uint32_t flags, element* (*make)()) {
  kind_descriptor d = symbol(k, prefix, flags, make, letter);
  d.pins = 2;
  return d;
}

const kind_descriptor* build_table() {
  static kind_descriptor t[kind_count] = {
      standard(kind_resistor, "R", "R", branch, make_of<basic, kind_resistor>),
      standard(kind_capacitor, "C", "C", branch, make_of<basic, kind_capacitor>),
      standard(kind_inductor, "L", "L", branch, make_of<basic, kind_inductor>),
      classless(kind_old_voltage, true, true, kind_icis),
      classless(kind_old_current, true, true, kind_icis),
      line_kind(kind_wire, nullptr, "X", no_values, make_line<cline>),
      counted_as(marked(standard(kind_primary, "PRI", "F", branch, make_of<xform, kind_primary>), 'P', 3, 39), kind_icis),
      counted_as(marked(standard(kind_secondary, "SEC", "E", branch, make_of<xform, kind_secondary>), 'S', 9, 39),
                 kind_vcvs),
      line_kind(kind_mutual, "M", "M", branch, make_line<cmutind>),
      marked(standard(kind_voltage_port, "VP", "I0", flag_word({flag_output, flag_values_set, flag_branch}),
                      make_of<port, kind_voltage_port>),
             'V'),
      marked(standard(kind_current_port, "IP", "V0", flag_word({flag_output, flag_values_set, flag_branch}),
                      make_of<port, kind_current_port>),
             'I'),
      classless(kind_old_switch, true, true),
      marked(standard(kind_icis, "ICIS", "F", flag_word({flag_branch, flag_dependent}), make_of<depsource, kind_icis>),
             'I', 3, 39),
      marked(standard(kind_icvs, "ICVS", "H", flag_word({flag_branch, flag_dependent}), make_of<depsource, kind_icvs>),
             'I', 3, 39),
      marked(standard(kind_vcis, "VCIS", "G", flag_word({flag_branch, flag_dependent}), make_of<depsource, kind_vcis>),
             'V', 3, 39),
      marked(standard(kind_vcvs, "VCVS", "E", flag_word({flag_branch, flag_dependent}), make_of<depsource, kind_vcvs>),
             'V', 3, 39),
      standard(kind_junction, nullptr, "X", no_values, make_one<nodec>),
      classless(kind_end, false, false),
      classless(kind_old_bar, true, true),
      classless(kind_old_x, false, false),
      with_value(symbol(kind_modulator, "MOD", flag_word({flag_no_values}), make_one<modulator>), 5, 1.0),
      symbol(kind_clock, "CLK", flag_word({flag_no_values}), make_one<clockx>),
      symbol(kind_upper_limiter, "ULIM", flag_word({flag_no_values}), make_of<limiter, kind_upper_limiter>),
      symbol(kind_lower_limiter, "LLIM", flag_word({flag_no_values}), make_of<limiter, kind_lower_limiter>),
      symbol(kind_threshold, "THRES", flag_word({flag_no_values}), make_one<threshold>),
      symbol(kind_vco, "VCO", 0, make_one<vco>),
      symbol(kind_current_sense, "IS", flag_word({flag_values_set, flag_no_values, flag_branch}), make_one<current_sense>),
      with_value(symbol(kind_op_amp, "OP", flag_word({flag_branch, flag_values_set}), make_one<op_amp>), 0, 10000.0),
      symbol(kind_ground, "GND", no_values, make_one<ground>),
      symbol(kind_diode, "D", flag_word({flag_branch, flag_output, flag_values_set}), make_one<diode>, "D"),
      symbol(kind_switch, "SW", branch, make_one<switch2>, "S"),
      symbol(kind_label, "TML", no_values, make_one<llabel>),  // the reader or new_label sets the letter
      with_pins(symbol(kind_voltage_source, "V", branch, make_of<source, kind_voltage_source>, "V"), 2),
      with_pins(symbol(kind_current_source, "I", branch, make_of<source, kind_current_source>, "I"), 2),
      counted_as(with_pins(symbol(kind_sine, "SINE", branch, make_one<sine>, "E"), 2), kind_vcvs),
      once(symbol(kind_probe, nullptr, 0, make_one<probe>), &probe_count, "Only one probe allowed."),
      once(with_value(symbol(kind_multiplier, "MULT", branch, make_one<multiplier>), 0, 1.0), &multiplier_count,
           "Only one multiplier allowed."),
      symbol(kind_sub, "", flag_word({flag_no_values}), make_one<sub>),  // the prefix is the instance's type name
  };
  for (int k = 0; k < kind_count; ++k) {
    if (t[k].counter < 0) t[k].counter = k;
    if (k <= kind_old_bar) t[k].connect_name = "Element";
  }
  t[kind_upper_limiter].connect_name = t[kind_lower_limiter].connect_name = "Limiter";
  t[kind_vco].connect_name = "VCO";
  t[kind_diode].connect_name = "Diode";
  t[kind_voltage_source].connect_name = "Voltage source";
  t[kind_current_source].connect_name = "Current source";
  t[kind_sine].connect_name = "Sine wave generator";
  t[kind_diode].switching = t[kind_switch].switching = true;
  return t;
}

}  // namespace

const kind_descriptor& describe(int kind) {
  static const kind_descriptor* table = build_table();
  static const kind_descriptor none;
  return kind >= 0 && kind < kind_count ? table[kind] : none;
}

}  // namespace sdi
