// The netlist writer's state for one file, shared by its parts and by the
// families' netlist operations (netlist_parts.h); the writer (sdi/netlist)
// defines it. Process-wide and not re-entrant, like the rest of the run.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sdi/base/ilist.h"
#include "sdi/elements/kinds.h"

namespace sdi {

class element;

// One switching condition: a row in each of Cy, Ct, Csw and Cc. Its number
// (1-based) is writer.conditions once made.
struct condition {
  std::vector<double> cy;
  double ct[4] = {0.0, 0.0, 0.0, 0.0};
  int csw = 1;
  double cc = 0.0;
};

struct netlist_writer_state {
  int counters[kind_count] = {};  // next number per kind, set by name_elements
  int conditions = 0;      // switching conditions made so far
  int node_count = 0;
  std::vector<int> hidden_ids;       // ports made for this file, deleted after it
  std::map<const element*, int> limiter_ports;  // limiter -> the port it measures
  std::map<const element*, int> switch_ordinal;  // diodes and switches, 1-based
  std::map<const element*, int> output_ordinal;  // flag-2 elements, 1-based
  int output_count = 0;
  int user_errors = 0;  // netlist errors shown by the writer itself
  std::vector<int> row_nodes;  // node fields of X, checked once the internal nodes are counted
  std::vector<condition> made_conditions;
};

extern netlist_writer_state writer;

// The netlist letter of the element's kind ("R", "I0", "X", ...).
const char* type_letter(element* e);
void type_letter(element* e, char* buffer);  // at least 3 bytes

// Node of pin i; -1 when unassigned or missing (never reported).
int node_of(element* e, int pin);
bool has_pin_on(element* e, int node);
element* element_by_id(int id);  // null when no element of the circuit has it
std::string netname_of(element* e);
std::string display_name_of(element* e);
// The netlist name without its first letter ("R12" -> "12").
std::string name_tail(element* e);
int switch_ordinal_of(element* e);  // 0 when not a switch or diode
int output_ordinal_of(element* e);  // 0 when not an output

// The current sense whose pin-2 node holds exactly one current sense and,
// besides it, only limiters; null otherwise.
element* sense_feeding_limiters(int node);
// A capacitor on exactly the two nodes (either order), an inductor on either.
element* capacitor_across(int a, int b);
element* inductor_on(int a, int b);

struct simrec;
// The stmin/stmax row of a limiter that bounds a state; false for a control limiter.
bool limit_row(element* limiter, simrec& row);

// Rows of the parameter matrices are padded to 2 columns, those of X and Y to 45.
constexpr int parameter_row_width = 2;
constexpr int element_row_width = 45;

// The parts of the file, in file order; each gives its text.
void add_hidden_ports();
void remove_hidden_ports();
std::string write_swinit();
std::string write_x0();
std::string write_timing();
std::string write_state_limits();
std::string write_conditions();
std::string write_switch_lines();
std::string write_elements();
std::string write_outputs();

}  // namespace sdi
