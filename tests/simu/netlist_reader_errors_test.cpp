// Bad input: every malformed netlist ends the read with a clear text, never a crash, a
// hang or a silent misreading; bytes that would shorten a number or a message silently and
// nodes beyond the node count are refused where they stand, with line, column and caret.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "common/temp_dir.h"
#include "netlist_reader_test.h"

namespace {

std::string good_buck() {
  std::ifstream in(netlist_data("buck.m"), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ReaderErrors : ::testing::Test {
  TempDir dir;
  sim_params p;
  void TearDown() override { free_netlist(); }
  std::string error_of(const std::string& text) {
    write_text("t.m", text);
    return read_error("t.m", p);
  }
};

std::string caret(int column) { return std::string(static_cast<std::size_t>(column - 1), ' ') + "^\n"; }

}  // namespace

TEST_F(ReaderErrors, EveryMutationOfTheBuckEndsWithItsText) {
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
  const std::string buck = good_buck();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.to);
    std::string text = buck;
    const std::size_t at = text.find(r.from);
    ASSERT_NE(at, std::string::npos) << r.from;
    const std::string e = error_of(text.replace(at, std::string(r.from).size(), r.to));
    EXPECT_EQ(e.substr(0, e.find('\n') + 1), "Sread Fatal Error : " + std::string(r.error) + "\n");
  }
}

TEST_F(ReaderErrors, WholeTextsPointAtTheBadSpot) {
  const std::string rc = "tsim = 1e-3\nX = [ 'R1 1 2 1.0e+03'\n 'C1 2 0 1e-6'\n 'E1 2 0 2.0 R1' ]\nY = [ 'V C1' ]\nnumn = 3;\n";
  auto with = [&rc](const std::string& from, const std::string& to) {
    return std::string(rc).replace(rc.find(from), from.size(), to);
  };
  const struct { std::string text, error; } rows[] = {
      {"", "netlist has no element block - t.m\nin t.m, line 1, column 1:\n\n" + caret(1)},
      {"tsim = 1.0\nfoo = 3\n", "undefined identifier - foo\nin t.m, line 2, column 1:\nfoo = 3\n" + caret(1)},
      {"Cy = [ 1 2\n  3 1.2.3 ]\n", "bad number 1.2.3 - Cy\nin t.m, line 2, column 5:\n  3 1.2.3 ]\n" + caret(5)},
      {with("1.0e+03", "1.0x0e+03"), "bad value in row - R1\nin t.m, line 2, column 18:\nX = [ 'R1 1 2 1.0x0e+03'\n" + caret(18)},
      {with("1.0e+03", std::string("1.0\0", 4) + "e+03"),
       "NUL byte in netlist - t.m\nin t.m, line 2, column 18:\nX = [ 'R1 1 2 1.0?e+03'\n" + caret(18)},
      {with("1e-3", "1e-3x"), "bad number 1e-3x - tsim\nin t.m, line 1, column 12:\ntsim = 1e-3x\n" + caret(12)},
      {with("C1 2 0", "C1 3 0"), "node 3 beyond numn = 3 in row - C1\nin t.m, line 3, column 6:\n 'C1 3 0 1e-6'\n" + caret(6)},
      {with("C1 2 0", "C1 9 9"), ""},   // no branch: not stamped, not checked
      {with("1e-3", "1e-3;% end"), ""},
      {"X = [ 'L100 1 0 1e-3'\n'L101 2 0 1e-3'\n'M1 0.5 L100L101' ]\nY = [ 'V R1' ]\nnumn = 3;\n",
       "missing second inductor in row - M1\nin t.m, line 3, column 19:\n'M1 0.5 L100L101' ]\n" + caret(19)},
      {"X = [ 'V#D1 1 2 3.5\n'R1 1 0 2' ]\nY = [ 'V R1' ]\nnumn = 3;\n",
       "missing word in row - V#D1\nin t.m, line 1, column 20:\nX = [ 'V#D1 1 2 3.5\n" + caret(20)},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.error);
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
TEST_F(ReaderErrors, TruncatedAtEveryPoint) {
  const std::string text = good_buck();
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
