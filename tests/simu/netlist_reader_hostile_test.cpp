// The netlist reader on bytes that would shorten a number or a message silently, and on
// nodes beyond the node count: each refused with its text, line, column and caret.
#include <gtest/gtest.h>

#include <string>

#include "common/temp_dir.h"
#include "netlist_reader_test.h"

namespace {

const std::string rc =
    "tsim = 1.0000e-03\n"
    "td = 1.0000e-06\n"
    "X = [ 'V1        1   0   1.0000e+01    '\n"
    "      'R1        1   2   1.0000e+03    '\n"
    "      'C1        2   0   1.0000e-06    '\n"
    "      'E1        2   0   2.0   R1      ' ]\n"
    "Y = [ 'V         C1   ' ] % Vc\n"
    "numn = 3;\n";

std::string with(const std::string& from, const std::string& to) {
  std::string s = rc;
  s.replace(s.find(from), from.size(), to);
  return s;
}

}  // namespace

TEST(NetlistReaderHostile, ACutShortNumberANulAndANodeBeyondNumnAreRefusedWhereTheyStand) {
  struct row {
    const char* label;
    std::string text;
    std::string thrown;
  };
  const std::string nul_row = "      'R1        1   2   1.00" + std::string(1, '\0') + "00e+03    '";
  const row rows[] = {
      {"x inside a value", with("1.0000e+03", "1.00x00e+03"),
       "Sread Fatal Error : bad value in row - R1\nin t.m, line 4, column 30:\n"
       "      'R1        1   2   1.00x00e+03    '\n                             ^\n"},
      {"NUL inside a value", with("      'R1        1   2   1.0000e+03    '", nul_row),
       "Sread Fatal Error : NUL byte in netlist - t.m\nin t.m, line 4, column 30:\n"
       "      'R1        1   2   1.00?00e+03    '\n                             ^\n"},
      {"NUL in a comment", with("% Vc", std::string("% V") + '\0'),
       "Sread Fatal Error : NUL byte in netlist - t.m\nin t.m, line 7, column 30:\n"
       "Y = [ 'V         C1   ' ] % V?\n                             ^\n"},
      {"letter after a node", with("'C1        2   0", "'C1        2a  0"),
       "Sread Fatal Error : bad node in row - C1\nin t.m, line 5, column 19:\n"
       "      'C1        2a  0   1.0000e-06    '\n                  ^\n"},
      {"letter after a gain", with("2.0   R1", "2.0x  R1"),
       "Sread Fatal Error : bad value in row - E1\nin t.m, line 6, column 29:\n"
       "      'E1        2   0   2.0x  R1      ' ]\n                            ^\n"},
      {"x inside tsim", with("tsim = 1.0000e-03", "tsim = 1.00x0e-03"),
       "Sread Fatal Error : bad number 1.00x0e-03 - tsim\nin t.m, line 1, column 12:\n"
       "tsim = 1.00x0e-03\n           ^\n"},
      {"node equal to numn", with("'C1        2   0", "'C1        3   0"),
       "Sread Fatal Error : node 3 beyond numn = 3 in row - C1\nin t.m, line 5, column 18:\n"
       "      'C1        3   0   1.0000e-06    '\n                 ^\n"},
      {"second node far beyond", with("'R1        1   2", "'R1        1   4000000000"),
       "Sread Fatal Error : node 4000000000 beyond numn = 3 in row - R1\nin t.m, line 4, column 22:\n"
       "      'R1        1   4000000000   1.0000e+03    '\n                     ^\n"},
  };
  for (const row& k : rows) {
    SCOPED_TRACE(k.label);
    TempDir dir;
    write_text("t.m", k.text);
    sim_params p;
    EXPECT_EQ(read_error("t.m", p), k.thrown);
  }
}

TEST(NetlistReaderHostile, ValuesEndedByWhatMayFollowThemStillRead) {
  TempDir dir;
  // A comment straight after a parameter, a value against the row's apostrophe, and a
  // row between one node and itself beyond numn (no branch).
  std::string text = with("td = 1.0000e-06", "td = 1.0000e-06;% step");
  text.replace(text.find("1.0000e-06    '"), 15, "1.0000e-06'");
  write_text("t.m", text);
  sim_params p;
  ASSERT_EQ(read_error("t.m", p), "");
  EXPECT_EQ(p.td, 1e-6);
  EXPECT_EQ(sim_netlist.elements[2].value, 1e-6);
  write_text("t.m", with("'C1        2   0", "'C1        9   9"));
  EXPECT_EQ(read_error("t.m", p), "");
  free_netlist();
}
