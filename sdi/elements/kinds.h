// Element kinds: their codes, the flag bits, and one descriptor per kind that
// holds every fact of the kind rather than of one element (name prefix,
// netlist letter, pins, flags and values at construction, symbol, mark, how
// to make one). The factory, the shape and image lookups, naming and the
// netlist writer all ask describe(kind); adding a kind is a code here, a row
// in kinds.cpp and its class in a family file.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace sdi {

class element;

// Kind codes, fixed by the circuit file. Codes 3, 4, 11, 18 and 19 belong to
// no class; they keep their letters and symbols for old files and are never made.
enum : int {
  kind_resistor = 0, kind_capacitor = 1, kind_inductor = 2, kind_old_voltage = 3, kind_old_current = 4,
  kind_wire = 5, kind_primary = 6, kind_secondary = 7, kind_mutual = 8, kind_voltage_port = 9,
  kind_current_port = 10, kind_old_switch = 11, kind_icis = 12, kind_icvs = 13, kind_vcis = 14, kind_vcvs = 15,
  kind_junction = 16, kind_end = 17, kind_old_bar = 18, kind_old_x = 19, kind_modulator = 20, kind_clock = 21,
  kind_upper_limiter = 22, kind_lower_limiter = 23, kind_threshold = 24, kind_vco = 25, kind_current_sense = 26,
  kind_op_amp = 27, kind_ground = 28, kind_diode = 29, kind_switch = 30, kind_label = 31,
  kind_voltage_source = 32, kind_current_source = 33, kind_sine = 34, kind_probe = 35, kind_multiplier = 36,
  kind_sub = 37
};
constexpr int kind_count = 38;  // codes 0 .. kind_count - 1

// Flag bits.
enum : int {
  flag_branch = 1,      // netlist branch: gets a netlist name and an element-matrix row
  flag_output = 2,      // a row of the output matrix
  flag_dependent = 3,   // controlled source
  flag_values_set = 4,  // values complete; symbols draw their value texts only then
  flag_on_sheet = 5,    // drawn at least once: moving must erase the old place
  flag_no_values = 7    // needs no values
};

struct kind_descriptor {
  int kind = -1;
  const char* prefix = nullptr;  // display-name prefix; null: the kind has none
  const char* letter = "X";      // netlist letter
  bool letter_reported = false;  // a letter of a kind no element has: given after an internal report
  int counter = -1;              // whose netlist-name counter it numbers from (-1: its own)
  int pins = 0;                  // terminals at construction; symbols add theirs from shape records
  std::uint32_t flags = 0;       // flag word at construction
  double values[6] = {};         // values at construction
  bool standard_shape = false;   // drawn from the per-kind symbol table (shape_for_kind)
  char mark = 0;                 // glyph drawn on the standard symbol (0: none)
  int mark_x = -1, mark_y = -1;  // its centre; -1: the symbol's centre
  element* (*make)() = nullptr;  // a new unplaced element; null for kinds without a class
  int* live_count = nullptr;     // for kinds allowed once: how many exist
  const char* once_message = nullptr;
  int stands_for = -1;           // a classless kind the factory makes as this one (reported)
  const char* connect_name = nullptr;  // "<name> must be connected at both nodes" for pins 0 and 1
  bool switching = false;        // a switch of the engine's topology (numbered in switch order)
};

// The descriptor of a kind; an empty one (no class, no prefix, letter "X") outside the codes.
const kind_descriptor& describe(int kind);

// A word with the given flag bits set.
constexpr std::uint32_t flag_word(std::initializer_list<int> bits) {
  std::uint32_t w = 0;
  for (int b : bits) w |= 1u << b;
  return w;
}

}  // namespace sdi
