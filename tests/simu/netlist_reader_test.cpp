// The netlist reader: netlists in the writer's exact layout and the grammar's quirks. Bad
// input: every malformed netlist ends the read with a clear text, never a crash, a hang or a
// silent misreading; bytes that would shorten a number or a message silently and nodes beyond
// the node count are refused where they stand, with line, column and caret.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "matrix/dm.h"
#include "common/text_file.h"
#include "simu/input/netlist.h"
#include "simu/input/sim_params.h"
#include "common/temp_dir.h"

namespace {

std::string netlist_data(const char* name) { return std::string(ZORV_TEST_DATA) + "/netlists/" + name; }

// Reads file into p; returns the thrown text, or "" when the read succeeded.
std::string read_error(const char* file, sim_params& p) {
  try {
    read_netlist(file, &p);
  } catch (const char* text) {
    return text;
  }
  return "";
}

// The rows of m, row by row, for compact comparisons.
using rows_t = std::vector<std::vector<double>>;
rows_t rows_of(const DM& m) {
  rows_t r(static_cast<std::size_t>(m.rows));
  for (int i = 1; i <= m.rows; ++i)
    for (int j = 1; j <= m.cols; ++j) r[static_cast<std::size_t>(i - 1)].push_back(m(i, j));
  return r;
}

struct NetlistReader : ::testing::Test {
  TempDir dir;
  sim_params p;
  void TearDown() override { free_netlist(); }
  std::string error_of(const std::string& text) {
    write_text("t.m", text);
    return read_error("t.m", p);
  }
  // The parameter lines before a one-resistor circuit.
  void read(const std::string& params) {
    write_text("t.m", params + "X = [ 'R1 1 0 1.0' ]\nY = [ 'V R1' ]\nnumn = 2;\n");
    read_netlist("t.m", &p);
  }
};

// An element row as "kind name n1 n2 value label ref1 ref2 word1 word2 word3 ival".
std::string text_of(const netlist_element& e) {
  char v[32];
  std::snprintf(v, sizeof v, "%g", e.value);
  return e.kind + e.name + " " + std::to_string(e.node1) + " " + std::to_string(e.node2) + " " + v + " " + e.label +
         " " + e.ref1 + " " + e.ref2 + " " + e.word1 + " " + e.word2 + " " + e.word3 + " " + std::to_string(e.ival);
}

std::string outputs_text() {
  std::string outs;
  for (const netlist_output& o : sim_netlist.outputs) outs += o.kind + o.name + "," + o.label + "; ";
  return outs;
}

std::string caret(int column) { return std::string(static_cast<std::size_t>(column - 1), ' ') + "^\n"; }

}  // namespace

TEST_F(NetlistReader, BuckConverterInTheWritersLayout) {
  // Its settings reach the engine through the buck runs; here the bounds, rows and outputs.
  read_netlist(netlist_data("buck.m").c_str(), &p);
  std::string bounds;
  for (const auto& b : p.stmin) bounds += b.name + " >= " + std::to_string(b.value) + "; ";
  for (const auto& b : p.stmax) bounds += b.name + " <= " + std::to_string(b.value) + "; ";
  EXPECT_EQ(bounds, "V_C1 >= 0.000000; I_L1 <= 5.000000; V_C1 <= 12.000000; ");
  std::string rows;
  for (const netlist_element& e : sim_netlist.elements) rows += text_of(e) + "; ";
  EXPECT_EQ(rows, "V1 1 0 12 V1      0; S1 1 2 0 S1      0; D1 0 2 0 D1      0; L1 2 3 0.0001 L1      0; "
                  "C1 3 0 0.0001 C1      0; R1 3 0 5 R1      0; I01 3 0 0 Vout      0; ");
  EXPECT_EQ(outputs_text(), "ID1,; VI01,Vout; ");   // a diode's row has no comment: no label, no column
  EXPECT_EQ(sim_netlist.numn, 4u);
}

TEST_F(NetlistReader, EveryKeywordReachesItsField) {
  // outplot, nss, var_freq, stflg, pi, n, xmin, xmax, nclk, tdisp and dts are read and dropped.
  read(
      "outplot = 1\nsteady = 1\nnclkss = 7\nnss = 3\nvar_freq = 1\nld = 1\nstflg = 2\n"
      "sv = 0\npi = 31\npoints = 12\nn = 5\n"
      "tmd = [1 2 3 4]\nvgs = [5 6]\nthoff(1,:)=[1 2];\nthon(1,:)=[3 4];\n"
      "xmin = [-1 -2]\nxmax = [1 2]\nswinit = [1 0 1]\nx0 = [0.5; 0.25]\n"
      "Cy = [1 0; 0 1]\nCt = [0 0 -1 0]\nCsw = [2]\nCc = [0.75]\n"
      "nclk = 4.5\ntsim = 0.002\nmn = -5\nmx = 5\ntdisp = 2.5\ntd = 1e-7\ndts = 0.125\n"
      "stmin = [ 'V_C1 -3' ]\nstmax = [ 'I_L1 3' ]\n");
  EXPECT_EQ((std::vector<int>{p.steady, p.nclkss, p.ld, p.points}), (std::vector<int>{1, 7, 1, 12}));
  EXPECT_EQ((std::vector<double>{p.tsim, p.mn, p.mx, p.td}), (std::vector<double>{0.002, -5.0, 5.0, 1e-7}));
  EXPECT_EQ((std::vector<rows_t>{rows_of(p.tmd), rows_of(p.vgs), rows_of(p.thoff), rows_of(p.thon), rows_of(p.swinit),
                                 rows_of(p.x0), rows_of(p.Cy), rows_of(p.Ct), rows_of(p.Csw), rows_of(p.Cc)}),
            (std::vector<rows_t>{{{1, 2, 3, 4}}, {{5, 6}}, {{1, 2}}, {{3, 4}}, {{1, 0, 1}}, {{0.5}, {0.25}},
                                 {{1, 0}, {0, 1}}, {{0, 0, -1, 0}}, {{2}}, {{0.75}}}));
  ASSERT_EQ(p.stmin.size() + p.stmax.size(), 2u);
  EXPECT_EQ(p.stmin[0].name + " " + std::to_string(p.stmin[0].value), "V_C1 -3.000000");
  EXPECT_EQ(p.stmax[0].name + " " + std::to_string(p.stmax[0].value), "I_L1 3.000000");
}

TEST_F(NetlistReader, MatrixAndScalarTexts) {
  // Rows end at ';' or a newline; characters outside the number set vanish ('E' is an
  // exponent too); an int keyword takes the integer prefix; an empty value is zero; a
  // carriage return before a newline is white space.
  read("Cy = [1 2; 3 4]\r\nCt = [1,2\r\n3,4]\nCc = []\nCsw = [1 a2 b:3 ]\nx0 = [ 1.5E+03 -2.5e-1 ]\n"
       "points = 1e3\nnclkss = -4\nld = +9\ntsim =\ntd = 0.5\n");
  EXPECT_EQ(rows_of(p.Cy), (rows_t{{1, 2}, {3, 4}}));
  EXPECT_EQ(rows_of(p.Ct), (rows_t{{1, 2}, {3, 4}}));
  EXPECT_EQ(p.Cc.rows + p.Cc.cols, 0);
  EXPECT_EQ(rows_of(p.Csw), (rows_t{{1, 2, 3}}));
  EXPECT_EQ(rows_of(p.x0), (rows_t{{1500, -0.25}}));
  EXPECT_EQ((std::vector<int>{p.points, p.nclkss, p.ld}), (std::vector<int>{1, -4, 9}));
  EXPECT_EQ((std::vector<double>{p.tsim, p.td}), (std::vector<double>{0.0, 0.5}));
}

TEST_F(NetlistReader, RowsOfEveryKind) {
  write_text("t.m",
             "X = [ 'E1 1 0 2.5 R1'  % E1\n'F1 2 0 -0.5 Vc1''\n'H1 3 0 10 L1'\n'G1 4 0 1e-3 C1'\n"
             "'M1        9.0000e-01     L1  L2  '  % K1\n'R1 1 0 1.0'\n% R2 2 0 4.0\n"
             "'Rloadresistor123 1 0 1.0' % Averyveryverylonglabel_42\n"
             "'V#D1 1 2 3.5 word'' % a\n'I#R2 2 0 1.5 other'\n'P1 1 2 2.5 7'  % p\n"
             "'V#P1 3 0 1.0 4.5 -3 a b c' 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 % q ]\n"
             "Y = [ 'VR1' 12 ab\n'I  D1'   % Id\n'V Rloadresistor123' % anotherverylonglabel ]\nnumn = 5;\n");
  read_netlist("t.m", &p);
  std::vector<std::string> rows;
  for (const netlist_element& e : sim_netlist.elements) rows.push_back(text_of(e));
  // Only one ending apostrophe goes; a commented row inside the block counts.
  EXPECT_EQ(rows, (std::vector<std::string>{"E1 1 0 2.5 E1 R1     0", "F1 2 0 -0.5  Vc1'     0", "H1 3 0 10  L1     0",
                                            "G1 4 0 0.001  C1     0", "M1 0 0 0.9 K1 L1 L2    0", "R1 1 0 1       0",
                                            "R2 2 0 4       0", "Rloadresistor123 1 0 1 Averyveryverylonglabel42      0",
                                            "V#D1 1 2 3.5 a   word'   0", "I#R2 2 0 1.5    other   0",
                                            "P1 1 2 2.5 p      7", "V#P1 3 0 4.5 q   a b c -3"}));
  const netlist_element& hp = sim_netlist.elements.at(11);
  for (int k = 0; k < 20; ++k) EXPECT_EQ(hp.numbers[static_cast<std::size_t>(k)], k + 1.0);
  EXPECT_EQ(outputs_text(), "VR1,12ab; ID1,Id; VRloadresistor123,anotherverylonglabel; ");
}

TEST_F(NetlistReader, EveryMutationOfTheBuckEndsWithItsText) {
  // The first occurrence of from replaced by to; the thrown text begins with the error.
  const struct { const char *from, *to, *error; } rows[] = {
      {"tsim =", "tsimm =", "undefined identifier - tsimm"},
      {"td =", "TD =", "undefined identifier - TD"},
      {"points =", "(points) =", "undefined identifier - ("},
      {"points = 5000", "points 5000", "missing '=' - points"},
      {"td = 1.0000e-07", "td = 1.0000e-0.7", "bad number 1.0000e-0.7 - td"},
      {"points = 5000", "points = 50-00", "bad number 50-00 - points"},
      {"points = 5000", "points = 99999999999", "number out of range 99999999999 - points"},
      {"tsim = 2.0000e-03", "tsim = 1e999", "bad number 1e999 - tsim"},
      {"Cc = [ 0.0000e+00", "Cc = [ 0.00-00e+00", "bad number 0.00-00e+00 - Cc"},
      {"Csw = [ 1", "Csw = [ e 1", "bad number e - Csw"},
      {"Cy = [", "Cy = ", "missing '[' - Cy"},
      {"0.0000e+00      ]\nCsw", "0.0000e+00      \nCsw", "missing ']' - Ct"},
      {"swinit = [ 1    0     ]", "swinit = [ 1 0;]", "empty row in matrix - swinit"},
      {"-1.0000e+00    0.0000e+00", "-1.0000e+00", "rows of unequal length in matrix - Cy"},
      {"thon(1,:)=[  2   2];", "thon(1,:)=  2   2];", "missing '[' - thon"},
      {"'V_C1      0.0000e+00     '", "'V_C1'", "missing value of V_C1 - stmin"},
      {"'V_C1      0.0000e+00     ' ]", "'V_C1      0.0000e+00      ]", "missing closing apostrophe - stmin"},
      {"'I_L1 ", "' ", "missing state name - stmax"},
      {"X = [", "Z = [", "undefined identifier - Z"},
      {"X = [", "X = ", "missing '[' - Y"},
      {"'R1        3   0   5.0000e+00", "'R1        3   0 ", "bad value in row - R1"},
      {"'L1        2   3", "'L1       ", "bad node in row - L1"},
      {"'C1        3   0", "'C1        x   0", "bad node in row - C1"},
      {"'C1        3   0", "'C1        -3  0", "bad node in row - C1"},
      {"'S1        1   2", "'S", "missing name in row - S"},
      {"'V         I01", "'V         '", "missing name in row - V"},
      {"Y = [", "Y = ", "missing '[' - Y"},
      {"I01                                ' ]", "I01                                ' ", "missing ']' - Y"},
      {"numn = 4;", "", "missing numn - t.m"},
      {"numn = 4;", "numn = four;", "bad number - numn"},
  };
  const std::string buck = slurp(netlist_data("buck.m"));
  for (const auto& r : rows) {
    SCOPED_TRACE(r.to);
    std::string text = buck;
    const std::size_t at = text.find(r.from);
    ASSERT_NE(at, std::string::npos) << r.from;
    const std::string e = error_of(text.replace(at, std::string(r.from).size(), r.to));
    EXPECT_EQ(e.substr(0, e.find('\n') + 1), "Sread Fatal Error : " + std::string(r.error) + "\n");
  }
}

TEST_F(NetlistReader, WholeTextsPointAtTheBadSpot) {
  const std::string rc = "tsim = 1e-3\nX = [ 'R1 1 2 1.0e+03'\n 'C1 2 0 1e-6'\n 'E1 2 0 2.0 R1' ]\nY = [ 'V C1' ]\nnumn = 3;\n";
  auto with = [&rc](const std::string& from, const std::string& to) {
    return std::string(rc).replace(rc.find(from), from.size(), to);
  };
  std::string thon_rows, wide_cc = "Cc = [";
  for (int k = 0; k < 15001; ++k) thon_rows += "thon(1,:)=[ 1 1 ];\n", wide_cc += " 0";
  const std::string self_row = with("numn = 3;", "numn = 4;").replace(rc.find(" ]\nY"), 0, "\n 'R2 3 3 1'");
  const struct { std::string text, error; } rows[] = {
      {"", "netlist has no element block - t.m\nin t.m, line 1, column 1:\n\n" + caret(1)},
      // A table above the matrix library's limit, whole or appended row by row.
      {thon_rows + rc, "thon passes the size limit of 15000 x 15000 at row 15001 (2 columns) - thon\nin t.m, line 15001, column 11:\n"
                       "thon(1,:)=[ 1 1 ];\n" + caret(11)},
      {wide_cc + " ]\n" + rc, "Cc is 1 x 15001, above the size limit of 15000 x 15000 - Cc\nin t.m, line 1, column 6:\n" +
                                 wide_cc + " ]\n" + caret(6)},
      // '=' of numn after blanks and line ends; the highest node counts rows from a node to itself.
      {with("numn = 3;", "numn\n= 3;"), ""},
      {with("numn = 3;", "numn \t\n\n  =\n 3;"), ""},
      {self_row, "node 3 is used only by rows from a node to itself (numn = 4) - numn\nin t.m, line 7, column 8:\nnumn = 4;\n" + caret(8)},
      {std::string(self_row).replace(self_row.find("numn = 4"), 8, "numn = 5"),
       "numn = 5 but the highest node of the element rows is 3 - numn\nin t.m, line 7, column 8:\nnumn = 5;\n" + caret(8)},
      {"tsim = 1.0\nfoo = 3\n", "undefined identifier - foo\nin t.m, line 2, column 1:\nfoo = 3\n" + caret(1)},
      {"Cy = [ 1 2\n  3 1.2.3 ]\n", "bad number 1.2.3 - Cy\nin t.m, line 2, column 5:\n  3 1.2.3 ]\n" + caret(5)},
      {with("1.0e+03", "1.0x0e+03"), "bad value in row - R1\nin t.m, line 2, column 18:\nX = [ 'R1 1 2 1.0x0e+03'\n" + caret(18)},
      {with("1.0e+03", std::string("1.0\0", 4) + "e+03"),
       "NUL byte in netlist - t.m\nin t.m, line 2, column 18:\nX = [ 'R1 1 2 1.0?e+03'\n" + caret(18)},
      {with("1e-3", "1e-3x"), "bad number 1e-3x - tsim\nin t.m, line 1, column 12:\ntsim = 1e-3x\n" + caret(12)},
      {with("C1 2 0", "C1 3 0"), "node 3 beyond numn = 3 in row - C1\nin t.m, line 3, column 6:\n 'C1 3 0 1e-6'\n" + caret(6)},
      {with("C1 2 0", "C1 2 3"), "node 3 beyond numn = 3 in row - C1\nin t.m, line 3, column 8:\n 'C1 2 3 1e-6'\n" + caret(8)},
      {with("C1 2 0", "C1 9 9"), ""},   // no branch: not stamped, not checked
      {with("1e-3", "1e-3;% end"), ""},
      // A keyword whose value is dropped is still checked.
      {"pi = 3x\n" + rc, "bad number 3x - pi\nin t.m, line 1, column 7:\npi = 3x\n" + caret(7)},
      {"xmin = [1 2\n" + rc, "missing ']' - xmin\nin t.m, line 1, column 8:\nxmin = [1 2\n" + caret(8)},
      {"X = [ 'L100 1 0 1e-3'\n'L101 2 0 1e-3'\n'M1 0.5 L100L101' ]\nY = [ 'V R1' ]\nnumn = 3;\n",
       "missing second inductor in row - M1\nin t.m, line 3, column 19:\n'M1 0.5 L100L101' ]\n" + caret(19)},
      {"X = [ 'V#D1 1 2 3.5\n'R1 1 0 2' ]\nY = [ 'V R1' ]\nnumn = 3;\n",
       "missing word in row - V#D1\nin t.m, line 1, column 20:\nX = [ 'V#D1 1 2 3.5\n" + caret(20)},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.error);
    p = sim_params();   // appended tables start afresh
    const std::string e = error_of(r.text);
    free_netlist();
    EXPECT_EQ(e, r.error.empty() ? "" : "Sread Fatal Error : " + r.error);
  }
  // Rows of different widths fail in the matrix library, which prints its fatal line.
  testing::internal::CaptureStdout();
  const std::string e = error_of(std::string("thon(1,:)=[1 2];\nthon(2,:)=[1 2 3];\n") + rc);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(e, "Fatal Error : Must be same number of columns - Vertical concat\n");
}

// Cut the good netlist at every point before its last digit: each cut must end
// with a reader text, and none may crash or hang.
TEST_F(NetlistReader, TruncatedAtEveryPoint) {
  const std::string text = slurp(netlist_data("buck.m"));
  std::size_t last_digit = text.rfind('4');
  ASSERT_NE(last_digit, std::string::npos);
  for (std::size_t cut = 0; cut < last_digit; ++cut) {
    sim_params q;
    write_text("t.m", text.substr(0, cut));
    std::string e = read_error("t.m", q);
    ASSERT_EQ(e.rfind("Sread Fatal Error : ", 0), 0u) << "cut at " << cut << ": \"" << e << "\"";
  }
  write_text("t.m", text.substr(0, last_digit + 1));
  EXPECT_EQ(read_error("t.m", p), "");
  EXPECT_EQ(sim_netlist.numn, 4u);
}

TEST_F(NetlistReader, WholeNumbersReachTheLimitsOfAnIntAndNoFurther) {
  const struct { const char* value; int read; const char* error; } rows[] = {
      {"2147483647", 2147483647, ""},
      {"+2147483647", 2147483647, ""},
      {"-2147483648", -2147483647 - 1, ""},
      {"2147483648", 0, "number out of range 2147483648 - points"},
      {"-2147483649", 0, "number out of range -2147483649 - points"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.value);
    const std::string e =
        error_of(std::string("points = ") + r.value + "\nX = [ 'R1 1 0 1.0' ]\nY = [ 'V R1' ]\nnumn = 2;\n");
    free_netlist();
    EXPECT_EQ(e.substr(0, e.find('\n') + (e.empty() ? 0 : 1)), *r.error ? "Sread Fatal Error : " + std::string(r.error) + "\n" : "");
    if (!*r.error) {
      EXPECT_EQ(p.points, r.read);
    }
  }
}
