// One row of a netlist matrix: typed fields of fixed printed widths, and an
// optional name printed as a trailing comment. Rows are printed by one routine
// so that the columns of a matrix line up.
//
//     simrec r;
//     r.add_string("R1", 10); r.add_int(1); r.add_int(0); r.add_double(5.0);
//     r.set_name("R1");
//     std::string text; r.print(text, 45);   // "R1        1   0   5.0000e+00" + 12 blanks
//
// Widths: int 4 ("%-4d"), double 15 ("%-15.4le"), string as given. A field
// whose text fills its width or more is followed by one blank, so that the
// engine's whitespace tokenizer never joins two fields. The row width pads the
// row to at least that many columns, counted on the declared widths. A double
// that is not finite is printed but reported as an internal error.
#pragma once

#include <string>
#include <vector>

namespace sdi {

struct simrec_field {
  int type = 0;  // 0 int, 1 double, 2 string
  int width = 0;
  int ival = 0;
  double dval = 0.0;
  std::string text;
};

struct simrec {
  static constexpr int int_width = 4;
  static constexpr int double_width = 15;

  std::vector<simrec_field> fields;
  std::string name;  // comment text; empty: no comment

  int n() const { return static_cast<int>(fields.size()); }
  void clear();
  void add_int(int v);
  void add_double(double v);
  void add_string(const std::string& text, int width);
  // Keeps letters, digits and harmless punctuation: no "[", "]", "'", "%" or
  // control characters, which would end or hide a row for the netlist reader.
  void set_name(const std::string& text);

  // Appends the row's text (without quotes, comment or newline).
  void print(std::string& out, int row_width) const;
};

// The comment-safe form of a display name (see simrec::set_name).
std::string comment_text(const std::string& text);

}  // namespace sdi
