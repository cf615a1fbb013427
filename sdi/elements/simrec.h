// One row of a netlist matrix: typed fields of fixed printed widths, and an
// optional name printed as a trailing comment. Rows are printed by one routine
// so that the columns of a matrix line up.
//
//     simrec r;
//     r.add_string("R1", 10); r.add_int(1); r.add_int(0); r.add_double(5.0);
//     r.set_name("R1");
//     std::string text; r.print(text, 45);   // "R1        1   0   5.0000e+00" + 12 blanks
//     r.print(text, 45, 20);                  // the double in a column of 20 (a wider matrix)
//
// Widths: int 4 ("%-4d"), double 15 or the wider column the caller gives,
// string as given. A double is written as the shortest "%.<p>e" text (at least
// 5 significant digits) that reads back as the same double, so the engine
// simulates exactly the value the editor holds. A field
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

  // The length of the longest double text of the row (0 without doubles).
  int widest_double() const;
  // Appends the row's text (without quotes, comment or newline); doubles take
  // double_column characters when that is more than their width.
  void print(std::string& out, int row_width, int double_column = double_width) const;
};

// A double as the netlist holds it: "%.4e" when that reads back exactly, else
// with as many more digits as it takes ("1.23456789e+03").
std::string double_text(double v);

// The comment-safe form of a display name (see simrec::set_name).
std::string comment_text(const std::string& text);

}  // namespace sdi
