// Grounds, diodes, switches, node labels, DC and sine sources and the probe.
// Pin order: diode 0 anode, 1 cathode; switch 0 and 1 the switched branch,
// 2 the on control, 3 the off control; ground and label one pin; sources
// 0 and 1; the probe none.
#pragma once

#include "sdi/elements/i_element.h"

namespace sdi {

class ground : public i_element {
public:
  explicit ground(int orientation);
};

class diode : public i_element {
public:
  std::int32_t condition = 0;

  explicit diode(int orientation);
  void forget_condition() override { condition = 0; }
  void netlist_rows(rlist& rows) override;  // an output row only
  void netlist_conditions() override;       // turning on and turning off
  int initial_switch_state() override;      // values[0], clamped to the int range
  std::vector<int> switch_conditions(bool on) override { return {on ? condition + 1 : condition}; }
};

class switch2 : public i_element {
public:
  std::int32_t initial_state = 0;

  explicit switch2(int orientation);
  void netlist_rows(rlist& rows) override;
  void report_open_pin(int pin) override;  // its branch, ON and OFF
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  bool shift_references(int offset, const std::set<int>& lookup) override;
  node_role pin_role(int pin, int) override {
    return pin == 2 || pin == 3 ? node_role::control : node_role::undecided;
  }
  int initial_switch_state() override { return initial_state != 0 ? 1 : 0; }
  // Those of the control elements on its ON (pin 2) or OFF (pin 3) control.
  std::vector<int> switch_conditions(bool on) override;
};

class llabel : public i_element {  // values[0] = the character code of its letter
public:
  ::sdi::rect box;  // a copy of its image rectangle

  explicit llabel(int orientation);
  bool read(std::FILE* f, int version = circuit_version) override;
  // Sets the letter and replaces its glyph; codes outside 'a'..'z' are reported and get none.
  void set_letter(int c);
};

class source : public i_element {
public:
  static constexpr int max_pairs = 5;
  std::int32_t n = 0;
  double pairs[max_pairs][2] = {};  // (time, value)

  source(int kind, int orientation);
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  int value_faults() override;
  bool values_finite() override;  // all five pairs, used or not
  void netlist_rows(rlist& rows) override;
};

class sine : public i_element {  // amplitude = values[0]
public:
  double frequency = 0.0;
  double phase = 0.0;  // degrees
  double a_sin = 0.0;  // amplitude times sin and cos of the phase, set by the netlist writer
  double a_cos = 0.0;

  explicit sine(int orientation);
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  int value_faults() override;  // its oscillator's reactances are 1/(2 pi f): no frequency, no finite netlist
  bool values_finite() override;
  // Its source drives an LC oscillator at its frequency on an internal node.
  void netlist_rows(rlist& rows) override;
};

class probe : public i_element {
public:
  double extra = 0.0;

  explicit probe(int orientation);
  ~probe() override;
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
};

extern int probe_count;  // live instances

}  // namespace sdi
