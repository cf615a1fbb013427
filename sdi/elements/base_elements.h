// The symbol classes of the network's basic parts: R, C, L (`basic`),
// transformer windings (`xform`), output ports (`port`), controlled sources
// (`depsource`) and the junction dot (`nodec`). Each is built in orientation 1
// from its kind's standard image (13 x 51, ref (6, 25), terminal 0 the upper pin).
#pragma once

#include "sdi/elements/i_element.h"

namespace sdi {

class basic : public i_element {
public:
  double initial = 0.0;  // initial capacitor voltage or inductor current

  basic(int kind, int orientation);
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  int value_faults() override;
  bool values_finite() override;
  void netlist_rows(rlist& rows) override;
};

class xform : public i_element {
public:
  std::int32_t winding = 0;  // given by the netlist writer; not stored
  std::int32_t partner = 0;  // a secondary's primary
  ilist secondaries;         // a primary's secondaries

  xform(int kind, int orientation);
  ~xform() override;
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  int value_faults() override;
  void netlist_rows(rlist& rows) override;
  void forget_link(int id) override;
  bool shift_references(int offset, const std::set<int>& lookup) override;
};

class port : public i_element {
public:
  port(int kind, int orientation);
  void netlist_rows(rlist& rows) override;  // an output row only
};

class depsource : public i_element {
public:
  std::int32_t control = 0;  // controlling element id

  depsource(int kind, int orientation);
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  int value_faults() override;
  void netlist_rows(rlist& rows) override;
  bool shift_references(int offset, const std::set<int>& lookup) override;
};

class nodec : public i_element {
public:
  explicit nodec(int orientation);
  void rotate() override {}
  void mirror() override {}
};

}  // namespace sdi
