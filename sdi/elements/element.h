// The element base class: kind codes, flag bits and the virtual operations
// that every circuit element provides.
//
// An element has a kind (kinds.h), six values (values[0] the main value), an id
// (1 and up once placed, 0 while unplaced), its node numbers (one per terminal,
// -1 unassigned), the ids of elements it refers to (links), a flags word, a
// selection count (1 at construction) and a temporary mark. The base versions
// of the virtual operations report "%s, %d: Internal" and return a neutral
// result. Records on file: records.h; the drawing context: drawing.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "sdi/draw/geometry.h"
#include "sdi/base/ilist.h"
#include "sdi/elements/kinds.h"

namespace sdi {

// The record layout this program writes and reads by default (headerless streams).
constexpr int circuit_version = 105;

// One 32-bit word of flag bits: bit n is 1 << n.
class flagset {
public:
  void set(int bit) { if (valid(bit)) word_ |= 1u << bit; }
  void clear(int bit) { if (valid(bit)) word_ &= ~(1u << bit); }
  int test(int bit) const { return valid(bit) && (word_ >> bit) & 1u ? 1 : 0; }
  std::uint32_t word() const { return word_; }
  void set_word(std::uint32_t w) { word_ = w; }

private:
  static bool valid(int bit) { return bit >= 0 && bit < 32; }
  std::uint32_t word_ = 0;
};

// Control nodes carry only the signals that drive switches (renumbered from
// 1000); network nodes are the circuit's; undecided leaves it to the next element.
enum class node_role { undecided, control, network };

class element {
public:
  std::int32_t kind;
  flagset flags;
  ilist nodes;
  std::int32_t id = 0;
  double values[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
  ilist links;
  std::int32_t selected = 1;
  std::int32_t temporary = 0;

  explicit element(int kind);
  element(const element&) = delete;
  element& operator=(const element&) = delete;
  virtual ~element();

  virtual void select();
  virtual void deselect();
  virtual int hit_test(const point& p);
  virtual void move(const point& offset);
  virtual void write(std::FILE* f);
  // Reads the record body (the kind was read by the caller). Returns false, with
  // the reason in last_record_error(), when the stream ended or held a bad count.
  virtual bool read(std::FILE* f, int version = circuit_version);
  virtual char* name();     // the 8-byte display-name field; null for elements without one
  virtual char* netname();  // the 8-byte netlist-name field
  virtual void terminal(point& out, int i);
  virtual int has_terminal_at(const point& p);
  virtual int overlaps_rect(const rect& r);
  virtual int overlaps(element* e);
  virtual void clip_to_rect(rect& out, const rect& r);
  virtual void clip_to_element(rect& out, element* e);
  virtual void draw_clipped(const rect& clip);
  virtual void draw();
  virtual void place_at(const point& p);
  virtual void rotate();
  virtual void mirror();

  // Run preparation: how many of the kind's value and link rules fail (each
  // marks the element once more), and whether every number the element gives
  // a netlist is finite (the engine reads "nan" and "inf" as 0).
  virtual int value_faults();
  virtual bool values_finite();
  // The switching-condition number the last netlist gave the element (0: none
  // yet); only the control elements that can drive a switch report theirs.
  virtual void forget_condition() {}
  virtual int driving_condition() { return 0; }
  // The element's rows of the netlist's element matrix (netlist_parts.h); the
  // base reports a kind that has none.
  virtual void netlist_rows(rlist& rows);
  // The measuring ports the element reads (made before any row is written)
  // and its switching conditions; most kinds have neither.
  virtual void request_hidden_ports() {}
  virtual void netlist_conditions() {}
  // Connectivity: the message for an unconnected pin, and the check that a
  // control output drives nothing but switch controls.
  virtual void report_open_pin(int pin);
  virtual void check_control_output() {}
  // What the element's first pin on a node (pin number pin) says of that node.
  virtual node_role pin_role(int, int) { return node_role::undecided; }
  // The netlist's initial state of a switching element ("swinit"), and the
  // numbers of the conditions that turn it on (on) or off ("thon", "thoff").
  virtual int initial_switch_state() { return 0; }
  virtual std::vector<int> switch_conditions(bool) { return {}; }
  // The element with this id leaves the circuit: after its entry in links is
  // gone, the family forgets any field that named it.
  virtual void forget_link(int) {}
  // Pasted or merged with its ids moved by offset: the references to elements
  // that came along (ids in lookup) move too. False when the element cannot
  // come without the elements it names (said to the user; the caller deletes it).
  virtual bool shift_references(int, const std::set<int>&) { return true; }

  // Copies at most 7 characters into the name fields, zero-padded.
  void set_name(const char* text);
  void set_netname(const char* text);
  point terminal_at(int i);  // terminal(out, i) as a value
  int terminal_count() { return nodes.count(); }
};

int is_line_element(int kind);  // 1 for wires and mutual couplings

// What shift_references and paste use on id lists.
void OffsetIds(ilist& ids, int offset);  // every non-zero entry + offset
// An id (or every id of a list) that lookup holds moves by offset; 0 stays.
void shift_if_found(std::int32_t& id, int offset, const std::set<int>& lookup);
void shift_found(ilist& ids, int offset, const std::set<int>& lookup);

// A main value, coupling or frequency below this in magnitude counts as missing.
constexpr double smallest_value = 1e-13;

bool all_finite(const double* v, int n);
bool all_finite(dlist& l);

// Name fields: copy at most 7 characters, zero the rest (deterministic files).
void copy_name_field(char (&field)[8], const char* text);

// Display-name prefix of a kind ("R", "PRI", ...); empty for kinds without one
// (reported) and for subcircuits, whose prefix is the instance's type name.
const char* name_prefix(int kind);

// Why the last record read failed.
const std::string& last_record_error();
void set_record_error(const std::string& text);

}  // namespace sdi
