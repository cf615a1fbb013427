// Bad input: every malformed netlist ends the read with a clear text, never a
// crash, a hang or a silent misreading.
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

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n') + 1); }

// The good netlist with the first occurrence of from replaced by to.
std::string mutate(const std::string& from, const std::string& to) {
  std::string text = good_buck();
  std::size_t at = text.find(from);
  if (at == std::string::npos) ADD_FAILURE() << "no \"" << from << "\" in the netlist";
  else text.replace(at, from.size(), to);
  return text;
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

}  // namespace

TEST_F(ReaderErrors, EmptyFile) {
  EXPECT_EQ(first_line(error_of("")), "Sread Fatal Error : netlist has no element block - t.m\n");
}

TEST_F(ReaderErrors, TextPointsAtTheBadSpot) {
  EXPECT_EQ(error_of("tsim = 1.0\nfoo = 3\n"),
            "Sread Fatal Error : undefined identifier - foo\n"
            "in t.m, line 2, column 1:\n"
            "foo = 3\n"
            "^\n");
  EXPECT_EQ(error_of("Cy = [ 1 2\n  3 1.2.3 ]\n"),
            "Sread Fatal Error : bad number 1.2.3 - Cy\n"
            "in t.m, line 2, column 5:\n"
            "  3 1.2.3 ]\n"
            "    ^\n");
}

struct mutation {
  const char* name;
  const char* from;
  const char* to;
  const char* error;  // first line of the thrown text
};

class ReaderMutations : public ReaderErrors, public ::testing::WithParamInterface<mutation> {};

TEST_P(ReaderMutations, EndsWithAClearText) {
  const mutation& m = GetParam();
  EXPECT_EQ(first_line(error_of(mutate(m.from, m.to))), m.error);
}

const mutation mutations[] = {
    {"UnknownName", "tsim =", "tsimm =", "Sread Fatal Error : undefined identifier - tsimm\n"},
    {"UnknownCaseOfName", "td =", "TD =", "Sread Fatal Error : undefined identifier - TD\n"},
    {"NotAName", "points =", "(points) =", "Sread Fatal Error : undefined identifier - (\n"},
    {"MissingEquals", "points = 5000", "points 5000", "Sread Fatal Error : missing '=' - points\n"},
    {"BadScalar", "td = 1.0000e-07", "td = 1.0000e-0.7",
     "Sread Fatal Error : bad number 1.0000e-0.7 - td\n"},
    {"BadInt", "points = 5000", "points = 50-00", "Sread Fatal Error : bad number 50-00 - points\n"},
    {"IntTooLarge", "points = 5000", "points = 99999999999",
     "Sread Fatal Error : number out of range 99999999999 - points\n"},
    {"InfiniteScalar", "tsim = 2.0000e-03", "tsim = 1e999", "Sread Fatal Error : bad number 1e999 - tsim\n"},
    {"BadMatrixNumber", "Cc = [ 0.0000e+00", "Cc = [ 0.00-00e+00",
     "Sread Fatal Error : bad number 0.00-00e+00 - Cc\n"},
    {"LoneExponent", "Csw = [ 1", "Csw = [ e 1", "Sread Fatal Error : bad number e - Csw\n"},
    {"MissingOpenBracket", "Cy = [", "Cy = ", "Sread Fatal Error : missing '[' - Cy\n"},
    {"MissingCloseBracket", "0.0000e+00      ]\nCsw", "0.0000e+00      \nCsw",
     "Sread Fatal Error : missing ']' - Ct\n"},
    {"RowEndBeforeBracket", "swinit = [ 1    0     ]", "swinit = [ 1 0;]",
     "Sread Fatal Error : empty row in matrix - swinit\n"},
    {"UnequalRows", "-1.0000e+00    0.0000e+00", "-1.0000e+00",
     "Sread Fatal Error : rows of unequal length in matrix - Cy\n"},
    {"ThonWithoutBracket", "thon(1,:)=[  2   2];", "thon(1,:)=  2   2];",
     "Sread Fatal Error : missing '[' - thon\n"},
    {"BoundWithoutValue", "'V_C1      0.0000e+00     '", "'V_C1'",
     "Sread Fatal Error : missing value of V_C1 - stmin\n"},
    {"BoundWithoutApostrophe", "'V_C1      0.0000e+00     ' ]", "'V_C1      0.0000e+00      ]",
     "Sread Fatal Error : missing closing apostrophe - stmin\n"},
    {"BoundWithoutName", "'I_L1 ", "' ", "Sread Fatal Error : missing state name - stmax\n"},
    {"NoElementBlock", "X = [", "Z = [", "Sread Fatal Error : undefined identifier - Z\n"},
    {"ElementBlockWithoutBracket", "X = [", "X = ", "Sread Fatal Error : missing '[' - Y\n"},
    {"TruncatedRow", "'R1        3   0   5.0000e+00", "'R1        3   0 ",
     "Sread Fatal Error : bad value in row - R1\n"},
    {"RowWithoutNodes", "'L1        2   3", "'L1       ", "Sread Fatal Error : bad node in row - L1\n"},
    {"BadNode", "'C1        3   0", "'C1        x   0", "Sread Fatal Error : bad node in row - C1\n"},
    {"NegativeNode", "'C1        3   0", "'C1        -3  0", "Sread Fatal Error : bad node in row - C1\n"},
    {"RowWithoutName", "'S1        1   2", "'S", "Sread Fatal Error : missing name in row - S\n"},
    {"OutputWithoutName", "'V         I01", "'V         '", "Sread Fatal Error : missing name in row - V\n"},
    {"NoOutputBlock", "Y = [", "Y = ", "Sread Fatal Error : missing '[' - Y\n"},
    {"OutputBlockNotClosed", "I01                                ' ]", "I01                                ' ",
     "Sread Fatal Error : missing ']' - Y\n"},
    {"NoNodeCount", "numn = 4;", "", "Sread Fatal Error : missing numn - t.m\n"},
    {"BadNodeCount", "numn = 4;", "numn = four;", "Sread Fatal Error : bad number - numn\n"},
};

INSTANTIATE_TEST_SUITE_P(Buck, ReaderMutations, ::testing::ValuesIn(mutations),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReaderErrors, MutualInductanceNamesRunTogether) {
  std::string text = "X = [ 'L100 1 0 1e-3'\n'L101 2 0 1e-3'\n'M1 0.5 L100L101' ]\nY = [ 'V R1' ]\nnumn = 3;\n";
  EXPECT_EQ(first_line(error_of(text)), "Sread Fatal Error : missing second inductor in row - M1\n");
}

TEST_F(ReaderErrors, RowFieldsDoNotReachIntoTheNextRow) {
  std::string text = "X = [ 'V#D1 1 2 3.5\n'R1 1 0 2' ]\nY = [ 'V R1' ]\nnumn = 3;\n";
  EXPECT_EQ(first_line(error_of(text)), "Sread Fatal Error : missing word in row - V#D1\n");
}

// Cut the good netlist at every point before its last digit: each cut must end
// with a reader text (the first text line), and none may crash or hang.
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

// Every single character of the good netlist deleted in turn: a clear text or a
// good read, never a crash (the sanitizer build checks the memory side).
