// The netlist reader's pieces below the grammar: the failure texts and their thrower,
// character classes, number scanning, the keyword table and the reading of the file.
// Positions are 0-based offsets into the netlist text.
#pragma once

#include <string>
#include <vector>

struct sim_params;

namespace netlist_scan {

constexpr int eof = -1;
constexpr const char* kind_letters = "VRLCIEHGFMSDP";

// Ends the read with the text; it lives until the next failure, like the matrix
// library's own fatal text, so that the pointer thrown outlives the throwing frame.
[[noreturn]] void throw_text(std::string text);

// Keyword table entry types.
enum param_type { type_matrix = 0, type_append = 1, type_int = 2, type_double = 3, type_bounds = 4 };

struct param_entry {
  const char* name;
  param_type type;
  void* target;
};

// The keywords of the parameter lines, each bound to its field of p; a null target
// (a keyword nothing uses) is read and dropped. Only int, double and whole-matrix
// keywords may have one.
std::vector<param_entry> param_table(sim_params& p);

bool is_ident_char(int c);
bool is_alnum(int c);
bool is_number_char(int c);
bool is_space(int c);
bool is_kind(int c);
// What may follow a number of a row: a blank before the next field, the row's end (its
// closing apostrophe, the line or the block) or its comment. Anything else would
// silently cut the number short ("1.00x00e+03" read as 1.00).
bool ends_row_number(int c);
// Likewise after the number of a parameter line ("tsim = 1e-3;").
bool ends_param_number(int c);

// A double in [b, e): optional sign, then what from_chars accepts (locale-free).
// Returns the end of the number, or null when there is none or it is not finite.
const char* scan_double(const char* b, const char* e, double& v);

// The whole netlist. A device or a pipe could be read forever or block: only a regular
// file is read, and at most max_netlist_bytes of it.
std::string read_file(const char* file);

}  // namespace netlist_scan
