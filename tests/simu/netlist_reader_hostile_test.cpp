// The netlist reader on bytes that would shorten a number or a message silently, and on
// nodes beyond the node count: each refused with its text, line, column and caret.
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "netlist_reader_test.h"

TEST(NetlistReaderHostile, ACutShortNumberANulAndANodeBeyondNumnAreRefusedWhereTheyStand) {
  const std::string rc = "tsim = 1e-3\nX = [ 'R1 1 2 1.0e+03'\n 'C1 2 0 1e-6'\n 'E1 2 0 2.0 R1' ]\n"
                         "Y = [ 'V C1' ]\nnumn = 3;\n";
  const struct { std::string from, to, thrown; } rows[] = {
      {"1.0e+03", "1.0x0e+03", "bad value in row - R1\nin t.m, line 2, column 18:\nX = [ 'R1 1 2 1.0x0e+03'\n"},
      {"1.0e+03", std::string("1.0\0", 4) + "e+03",
       "NUL byte in netlist - t.m\nin t.m, line 2, column 18:\nX = [ 'R1 1 2 1.0?e+03'\n"},
      {"1e-3", "1e-3x", "bad number 1e-3x - tsim\nin t.m, line 1, column 12:\ntsim = 1e-3x\n"},
      {"C1 2 0", "C1 3 0", "node 3 beyond numn = 3 in row - C1\nin t.m, line 3, column 6:\n 'C1 3 0 1e-6'\n"},
      {"C1 2 0", "C1 9 9", ""},          // no branch: not stamped, not checked
      {"1e-3", "1e-3;% end", ""},
  };
  for (const auto& k : rows) {
    SCOPED_TRACE(k.thrown);
    TempDir dir;
    std::string text = rc;
    text.replace(text.find(k.from), k.from.size(), k.to);
    write_text("t.m", text);
    sim_params p;
    std::string thrown = read_error("t.m", p);
    if (k.thrown.empty()) {
      EXPECT_EQ(thrown, "");
      continue;
    }
    // The caret stands under the column the text names.
    const std::size_t col = std::stoul(thrown.substr(thrown.find("column ") + 7));
    EXPECT_EQ(thrown, "Sread Fatal Error : " + k.thrown + std::string(col - 1, ' ') + "^\n");
  }
  free_netlist();
}
