// The control elements that drive switches: clock, PWM modulator, limiters,
// threshold, VCO, current sense, op-amp and multiplier. Pin order: modulator,
// op-amp and multiplier 0 and 1 inputs, 2 output; current sense 0 and 1 the
// measured branch, 2 output; clock and threshold 0 output; limiter and VCO
// 0 input, 1 output. Hidden port ids and condition numbers are rewritten by
// every netlist and not stored.
#pragma once

#include "sdi/elements/i_element.h"

namespace sdi {

class clockx : public i_element {  // delay = values[1], period = values[2]
public:
  explicit clockx(int orientation);
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  int value_faults() override;  // a period and no negative delay
  void report_open_pin(int pin) override;
  void check_control_output() override;
  node_role pin_role(int, int) override { return node_role::control; }
};

class modulator : public i_element {  // k1, k2, k3, Vpk, Period = values[1..5]
public:
  std::int32_t port1 = 0;
  std::int32_t port2 = 0;
  std::int32_t condition = 0;

  explicit modulator(int orientation);
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  void forget_condition() override { condition = 0; }
  int driving_condition() override { return condition; }
  void request_hidden_ports() override;
  void netlist_conditions() override;
  void report_open_pin(int pin) override;
  void check_control_output() override;
  node_role pin_role(int pin, int) override { return pin == 2 ? node_role::control : node_role::undecided; }
  void rotate() override { mirror(); }
};

class limiter : public i_element {  // limit = values[0]
public:
  std::int32_t condition = 0;

  limiter(int kind, int orientation);
  void forget_condition() override { condition = 0; }
  int driving_condition() override { return condition; }
  void request_hidden_ports() override;
  void netlist_conditions() override;  // none when it bounds a state instead
};

class threshold : public i_element {
public:
  std::int32_t condition = 0;
  ilist outputs;       // linked output ids
  dlist coefficients;  // per linked output
  dlist table;         // four entries
  std::int32_t switch_id = 0;

  explicit threshold(int orientation);
  ~threshold() override;
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  int value_faults() override;  // each used coefficient and the switch entry need their links
  void forget_link(int) override { switch_id = 0; }
  void report_open_pin(int pin) override;
  void check_control_output() override;
  bool values_finite() override;
  void forget_condition() override { condition = 0; }
  int driving_condition() override { return condition; }
  void netlist_conditions() override;
  bool shift_references(int offset, const std::set<int>& lookup) override;
  node_role pin_role(int, int) override { return node_role::control; }
};

class vco : public i_element {  // gain = values[0]
public:
  double constant = 0.0;  // the constant term of its switching condition
  std::int32_t port = 0;
  std::int32_t condition = 0;

  explicit vco(int orientation);
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  bool values_finite() override;
  void forget_condition() override { condition = 0; }
  int driving_condition() override { return condition; }
  void request_hidden_ports() override;
  void netlist_conditions() override;
};

class current_sense : public i_element {
public:
  std::int32_t port = 0;

  explicit current_sense(int orientation);
  void netlist_rows(rlist& rows) override;  // a zero source and the current it copies to pin 2
  void report_open_pin(int pin) override;
  // The output is a control node when it feeds only limiters.
  node_role pin_role(int pin, int node) override;
  void rotate() override;  // half turn or flip: four presses visit the four placements
};

class op_amp : public i_element {  // gain = values[0]
public:
  double Ri = 1e6;
  double Ro = 50.0;

  explicit op_amp(int orientation);
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  bool values_finite() override;
  void netlist_rows(rlist& rows) override;  // Ri across the inputs, Eo and Ro to the output
  void report_open_pin(int pin) override;
  void rotate() override;
};

class multiplier : public i_element {
public:
  std::int32_t port1 = 0;
  std::int32_t port2 = 0;

  explicit multiplier(int orientation);
  void netlist_rows(rlist& rows) override;
  void request_hidden_ports() override;
  void report_open_pin(int pin) override;
  ~multiplier() override;
};

// Live instances (at most one of each is allowed by the editor).
extern int multiplier_count;

// The half-turn-or-flip rule of op-amps and current senses.
void rotate_or_flip(i_element* e);

}  // namespace sdi
