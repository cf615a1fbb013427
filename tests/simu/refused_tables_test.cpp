// simu refuses, before the run and with exit 1, netlists whose tables do not fit the
// circuit, values it cannot run on, a state file with a time that is not finite, and
// circuits whose switches and diodes have no setting with a unique solution; the message
// names the table and the place, or the elements.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "buck_netlist.h"
#include "common/temp_dir.h"
#include "common/text_file.h"
#include "driver_run.h"

namespace {

// The buck of buck_netlist.h over 10 periods, with one piece of its text replaced.
std::string buck_with(const std::string& old, const std::string& by) {
  std::string s = buck_netlist_text("1.0000e-04", "1.0000e-07", "100");
  const std::size_t at = s.find(old);
  EXPECT_NE(at, std::string::npos) << old;
  return at == std::string::npos ? s : s.replace(at, old.size(), by);
}

// A circuit of one diode D1 (outputs: its current, and the voltage of node 1), with the
// diode's two conditions: off when its current falls to 0, on when it rises above.
std::string diode_circuit(const std::string& swinit, const std::vector<std::string>& rows, int numn = 2) {
  return netlist_of("tsim = 1e-5\ntd = 1e-6\npoints = 10\nswinit = [ " + swinit +
                        " ]\nCy = [ 1 0\n -1 0 ]\nCt = [ 0 0 0 0\n 0 0 0 0 ]\nCsw = [ 1\n 1 ]\nCc = [ 0\n 0 ]\n"
                        "thon(1,:)=[ 1 2 ];\nthoff(1,:)=[ 1 1 ];\n",
                    rows, {"I D1", "V I01|V"}, numn);
}

}  // namespace

TEST(RefusedTables, EachEndsTheRunWithItsMessageAndWritesNoTable) {
  const std::string sread = "Sread Fatal Error : ";
  const std::string no_combination = "Fatal Error : Switch Adjustment - No valid combination found!\n";
  const std::string at_start = "The switch setting at the start has no unique solution: ";
  const struct row {
    row(std::string n, int c, std::string s, std::string i = "") : netlist(n), code(c), start(s), ini(i) {}
    std::string netlist;
    int code;
    std::string start;   // the message's start, at the start of a line of the error stream
    std::string ini;     // when not empty: written to c.ini, and the run loads it
  } rows[] = {
      {buck_with("tmd = [ 0 1e-5 1 1\n 5e-6 1e-5 0 1 ]", "tmd = [ 0 1e-5 1\n 5e-6 1e-5 0 ]"), 1,
       sread + "tmd has 3 columns, not 4 (first edge, period, kind, target) - tmd\nin c.m, line 7, column 7:\n"},
      {buck_with("5e-6 1e-5 0 1 ]", "5e-6 1e-5 3 1 ]"), 1,
       sread + "row 2: kind 3 is none of 0, 1 (clock) and 2 (event) - tmd\nin c.m, line 8, column 12:\n"},
      {buck_with("5e-6 1e-5 0 1 ]", "5e-6 1e-5 0 3 ]"), 1,
       sread + "row 2: clock target 3 is not a switch (1 to 2) - tmd\nin c.m, line 8, column 14:\n"},
      {buck_with("5e-6 1e-5 0 1 ]", "5e-6 1e5 2 2 ]\nvgs = [ 12 ]"), 1,
       sread + "row 2: event column 2 is not a column of vgs (1 to 1) - tmd\nin c.m, line 8, column 13:\n"},
      {buck_with("Cy = [ 1 0\n -1 0 ]", "Cy = [ 1 0 0\n -1 0 0 ]"), 1,
       sread + "Cy has 3 columns for 2 outputs - Cy\nin c.m, line 9, column 6:\n"},
      {buck_with("Ct = [ 0 0 0 0\n 0 0 0 0 ]", "Ct = [ 0 0 0\n 0 0 0 ]"), 1,
       sread + "Ct is 2 x 3, not 2 x 4 for 2 conditions (rows of Cy) - Ct\nin c.m, line 11, column 6:\n"},
      {buck_with("Csw = [ 1\n 1 ]", "Csw = [ 1 ]"), 1, sread + "Csw has 1 values for 2 conditions (rows of Cy) - Csw\n"},
      {buck_with("Cc = [ 0\n 0 ]", "Cc = [ 0\n 0\n 0 ]"), 1, sread + "Cc has 3 values for 2 conditions (rows of Cy) - Cc\n"},
      {buck_with("thon(1,:)=[ 2 2 ];", "thon(1,:)=[ 3 2 ];"), 1,
       sread + "row 1: switch 3 does not exist (1 to 2) - thon\nin c.m, line 17, column 13:\n"},
      {buck_with("thoff(1,:)=[ 2 1 ];", "thoff(1,:)=[ 2 1 ];\nthoff(2,:)=[ 1 5 ];"), 1,
       sread + "row 2: condition 5 does not exist (1 to 2) - thoff\nin c.m, line 19, column 16:\n"},
      {buck_with("thon(1,:)=[ 2 2 ];", "thon(1,:)=[ 2 2 1 ];"), 1, sread + "thon has 3 columns, not 2 (switch, condition) - thon\n"},
      {buck_with("Ct = [ 0 0 0 0\n 0 0 0 0 ]\nCsw = [ 1\n 1 ]", "Ct = [ 0 0 0 0\n 0 0 0 1 ]\nCsw = [ 1\n 4 ]"), 1,
       sread + "row 2: switch 4 of an on-time condition does not exist (1 to 2) - Csw\nin c.m, line 14, column 2:\n"},
      {"tsim = 1e-3\nX = [ 'V1 1 0 10'\n 'R1 1 0 1e3' ]\nY = [ ]\nnumn = 2;\n", 1,
       sread + "no outputs: the Y block has no row - Y\nin c.m, line 4, column 5:\n"},
      {buck_with("x0 = [ 0\n 0 ]", "x0 = [ 0\n 0\n 0\n 0 ]"), 1,
       sread + "x0 has 4 values for 1 capacitor(s) and 1 inductor(s), one each or none - x0\nin c.m, line 5, column 6:\n"},
      {buck_with("swinit = [ 1 0 ]", "swinit = [ 1 2 ]"), 1,
       sread + "value 2 of switch 2 is neither 0 (off) nor 1 (on) - swinit\nin c.m, line 4, column 14:\n"},
      {buck_with("swinit = [ 1 0 ]", "swinit = [ 1 ]"), 1, sread + "swinit has 1 values for 2 switches and diodes - swinit\n"},
      {buck_with("points = 100", "points = -5"), 1, sread + "negative number of points -5 - points\nin c.m, line 3, column 10:\n"},
      {buck_with("tsim = 1.0000e-04", "tsim = 0"), 1, "Final time tsim = 0 is not positive; run refused.\n"},
      {buck_with("", ""), 1, "Fatal Error : load_ini(t) - \"c.ini\", line 2: nan is not a finite number!\n",
       "0\nnan\n0\n0\n10\n0\n0\n0\n0\n2\n0\n5e-6\n"},
      // 1 A into D1 forward and on through D2 backwards: D2 stays off, and its 1e6 ohm
      // would carry the current.
      {diode_circuit("0 0", {"I1 0 1 1", "D1 1 2 0", "D2 0 2 0", "I01 1 0 0"}, 3), 1,
       no_combination + "At t = 1.00000000e-10 s the switch setting reached has no unique solution: current source I1 has "
                        "no path but through switches that are off (D2).\n"},
      // The only path of I1 is D1 backwards.
      {diode_circuit("0", {"I1 0 1 1", "D1 0 1 0", "I01 1 0 0"}), 1,
       at_start + "current source I1 has no path but through switches that are off (D1); run refused.\n"},
      // D1 forward across V1: off it turns on at once, on it shorts V1.
      {diode_circuit("0", {"V1 1 0 5", "D1 1 0 0", "I01 1 0 0"}), 1,
       no_combination + "At t = 1.00000000e-10 s the switch setting reached has no unique solution: the loop V1 D1 holds "
                        "only voltage sources and switches that are on.\n"},
      {diode_circuit("1", {"V1 1 0 5", "D1 1 0 0", "I01 1 0 0"}), 1,
       at_start + "the loop V1 D1 holds only voltage sources and switches that are on; run refused.\n"},
      // The loop closes through S1 from its second node, and through V1 and V2 in series.
      {diode_circuit("1 1", {"V1 1 0 5", "D1 1 2 0", "S1 0 2 0", "I01 1 0 0"}, 3), 1,
       at_start + "the loop V1 S1 D1 holds only voltage sources and switches that are on; run refused.\n"},
      {diode_circuit("0", {"V1 1 0 5", "V2 2 1 3", "D1 2 0 0", "I01 2 0 0"}, 3), 1,
       no_combination + "At t = 1.00000000e-10 s the switch setting reached has no unique solution: the loop V2 V1 D1 "
                        "holds only voltage sources and switches that are on.\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.start);
    TempDir dir;
    write_text("c.m", r.netlist);
    if (!r.ini.empty()) write_text("c.ini", r.ini);
    const std::string command = std::string(ZORV_SIMU) + (r.ini.empty() ? "" : " -ld") + " c.m c.plt >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), r.code);
    const std::string err = "\n" + slurp("err.txt");
    EXPECT_NE(err.find("\n" + r.start), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists("c.plt"));
  }
}
