// A subcircuit instance (kind 37), drawn from the text symbol file
// "<name>.sym" looked up in symbol_folder (the current folder when empty):
//     type name            (one word; the display-name prefix)
//     w,h,ref x,ref y
//     n, then n lines x1,y1,x2,y2
//     m, then m pins x,y
//     k, then k names      (at most 10 kept)
// Its record: the common head, the name as 35 bytes, then the symbol part. An
// instance read from a record whose symbol cannot be read is drawn as a crossed
// box without pins; the file is named once per path until it reads again.
#pragma once

#include <cstddef>
#include <string>

#include "sdi/elements/i_element.h"

namespace sdi {

extern std::string symbol_folder;

// The largest symbol file read (16 MiB), far above a symbol of the most lines and pins
// read. A symbol file is opened without blocking; a pipe or a device is refused with
// "File <name>.sym is not a regular file.", a larger file with "File <name>.sym is
// larger than 16777216 bytes.".
constexpr std::size_t max_symbol_file_bytes = std::size_t{16} << 20;

class sub : public i_element {
public:
  static constexpr int name_size = 40;  // at most 34 characters in files
  char sub_name[name_size] = {};
  std::string type_name;
  std::int32_t string_count = 0;
  std::string strings[10];
  double doubles[10] = {};

  explicit sub(int orientation);
  sub(const char* name, int orientation);

  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;

  // Reads the symbol file of that name and rebuilds the image and the node list;
  // false (with a message shown) when the file is missing or malformed.
  bool read_symbol(const char* name);
  // As read_symbol, the message left in why instead of shown.
  bool load_symbol(const char* name, std::string& why);
};

// Every missing symbol file is said again when next read (a circuit was opened).
void forget_reported_symbols();

// True when a subcircuit name can name a file in the folder (no separators, not "." or "..").
bool plain_file_name(const char* name);

}  // namespace sdi
