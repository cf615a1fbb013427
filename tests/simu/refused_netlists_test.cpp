// The simu program on netlists and options it must refuse, and on runs whose exit code
// tells how they ended: each row is the netlist, the arguments, the exit code and the
// start of a message in the program's output. Refused with exit 1: bad options and
// netlists, tables that do not fit the circuit, values it cannot run on, a state file
// that is not finite, and switch settings that the sources' values make inconsistent; a
// refused run writes no table.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "buck_netlist.h"
#include "common/temp_dir.h"
#include "common/text_file.h"
#include "driver_run.h"
#include "simu/input/netlist.h"
#include "simu_program.h"

namespace {

const std::vector<std::string> rc_rows = {"V1 1 0 10", "R1 1 2 1e3", "C1 2 0 1e-6", "I01 2 0 0"};
const std::string rc_params = "tsim = 1e-3\ntd = 1e-6\npoints = 100\n";
const std::string rc = netlist_of(rc_params, rc_rows, {"V I01|Vc"}, 3);

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

std::vector<std::string> files(std::vector<std::string> options = {}) {
  options.insert(options.end(), {"a.m", "a.plt"});
  return options;
}

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

struct refusal {
  std::string netlist;              // written to a.m unless empty
  std::vector<std::string> words;   // the arguments
  int exit_code;
  std::string message;              // the output holds it
  std::string ini = "";             // written to a.ini unless empty
  bool model_built = false;         // refused only once the model stood (states.dat written)
};

}  // namespace

TEST(RefusedNetlists, ExitCodeAndMessageOfEachRun) {
  const std::string buck = buck_netlist_text("2.0000e-03", "1.0000e-07", "5000");
  const std::string invalid = "Invalid simulation invokation: run refused, nothing written.";
  const std::string sread = "Sread Fatal Error : ";
  const std::string at_start = "The switch setting at the start has no consistent solution: ";
  const std::string adjusted_at_start =
      "At the start, after a switching condition, the switch adjustment settled on a setting that has no consistent "
      "solution: ";
  const std::string kvl = " holds only voltage sources and switches that are on, and KVL fails around it: ";
  const std::string kcl = " holds only current sources and switches that are off, and KCL fails across it: ";
  const refusal rows[] = {
      // Nodes that no row uses, before anything is sized by numn.
      {netlist_of(rc_params, rc_rows, {"V I01|Vc"}, 200000000), files(), 1,
       "Sread Fatal Error : numn = 200000000 but the highest node of the element rows is 2 - numn"},
      {netlist_of(rc_params, {"V1 1 0 10", "R1 1 3 1e3", "C1 3 0 1e-6", "I01 3 0 0"}, {"V I01|Vc"}, 4), files(), 1,
       "Sread Fatal Error : node 2 is used by no element row (numn = 4) - numn"},
      {replaced(netlist_of(rc_params, {"V1 4000000000 0 10", "R1 4000000000 2 1e3", "C1 2 1 1e-6", "I01 2 0 0"},
                           {"V I01|Vc"}, 3),
                "numn = 3;", "numn = 4000000001;"),
       files(), 1, "Sread Fatal Error : node 3 is used by no element row (numn = 4000000001) - numn"},
      // numn only from its own statement.
      {replaced(rc, "numn = 3;", "points = 9999999;"), files(), 1, "Sread Fatal Error : missing numn - a.m"},
      {replaced(rc, "numn = 3;", "% nodes\n;numn = 3"), files(), 0, "Simulation completed!"},
      // Only a regular file of bounded size is read.
      {"", {"/dev/zero", "a.plt"}, 1, "Sread Fatal Error : netlist is not a regular file - /dev/zero"},
      {"", {"fifo.m", "a.plt"}, 1, "Sread Fatal Error : netlist is not a regular file - fifo.m"},
      {rc + std::string(max_netlist_bytes - rc.size() + 1, '%'), files(), 1,
       "Sread Fatal Error : netlist larger than 16777216 bytes - a.m"},
      {rc + std::string(max_netlist_bytes - rc.size(), '%'), files(), 0, "Simulation completed!"},
      // A bad option stops the run: its message, the usage, the refusal.
      {rc, files({"-td", "-1"}), 1, "-td value is out of range"},
      {rc, files({"-tsim", "nan"}), 1, "-tsim value is out of range"},
      {rc, files({"-tsim", "12abc"}), 1, "-tsim value is out of range"},
      {rc, files({"-points", "999999999999"}), 1, "-points value is out of range"},
      {rc, files({"-ssmethod", "9"}), 1, "-ssmethod value is out of range"},
      {rc, files({"-np"}), 1, invalid},
      {rc, files({"-o", "0"}), 1, invalid},
      {rc, {"-tsim"}, 1, "Need 1 argument after -tsim"},
      {rc, {"a.m", "a.plt", "-tsim"}, 1, "Need 1 argument after -tsim"},
      {rc, {"a.m", "a.plt", "-ss", "-td"}, 1, invalid},
      {rc, files({"-tsim", "2e-3", "-ssmethod", "4", "-points", "10"}), 0, "Simulation completed!"},
      // 0: the steady state was reached, or none was asked for; 2: it was not reached.
      {buck, files({"-ss"}), 0, "Steady state reached in 3 cycles!"},
      {buck, files({"-ss", "-sstol_f", "0", "-nclkss", "3"}), 2, "Failed to reach steady state in 3 cycles!"},
      {buck, files({"-ss", "-sstol_f", "0", "-nclkss", "1000"}), 2, "Failed to reach steady state in 200 cycles!"},
      {buck, files({"-ss", "-sstol_f", "0", "-nclkss", "1000"}), 2, "Steady state not reached in 200 cycles!"},
      {buck, files({"-ss", "-sstol_f", "0", "-nclkss", "1000"}), 2,
       "Failed to reach steady state in 200 cycles!\nThe final time tsim = 0.002 s was reached first.\n"},
      {rc, files({"-ss"}), 2,
       "Failed to reach steady state: no switching cycle found before the final time tsim = 0.001 s!\n"},
      // A limited run whose initial setting never comes back: no cycle to count.
      {rc, files({"-one_c"}), 2, "Limited run failed: no switching cycle found before the final time tsim = 0.001 s!\n",
       "0\n0\n0\n0\n\n0\n", true},
      // A save window that holds no instant of the run: refused before it; a steady-state
      // run saves from 0 whatever the start, and a start at tsim keeps the last instant.
      {buck, files({"-start_si", "5e-3", "-finish_si", "6e-3"}), 1,
       "The save window from start_si = 0.005 s to finish_si = 0.006 s holds no instant of the run, which ends at "
       "tsim = 0.002 s; run refused.\n"},
      {buck, files({"-one_c", "-start_si", "1e-3", "-finish_si", "1e-3"}), 1,
       "The save window from start_si = 0.001 s to finish_si = 0.001 s holds no instant of the run"},
      {buck, files({"-ss", "-start_si", "5e-3", "-finish_si", "6e-3"}), 0, "Steady state reached in 3 cycles!"},
      {rc, files({"-start_si", "1e-3"}), 0, "Simulation completed!"},
      // Tables that do not fit the circuit, values it cannot run on, a state file that is
      // not finite, settings of switches and diodes that the sources' values make inconsistent.
      {buck_with("tmd = [ 0 1e-5 1 1\n 5e-6 1e-5 0 1 ]", "tmd = [ 0 1e-5 1\n 5e-6 1e-5 0 ]"), files(), 1,
       sread + "tmd has 3 columns, not 4 (first edge, period, kind, target) - tmd\nin a.m, line 7, column 7:\n"},
      {buck_with("5e-6 1e-5 0 1 ]", "5e-6 1e-5 3 1 ]"), files(), 1,
       sread + "row 2: kind 3 is none of 0, 1 (clock) and 2 (event) - tmd\nin a.m, line 8, column 12:\n"},
      {buck_with("5e-6 1e-5 0 1 ]", "5e-6 1e-5 0 3 ]"), files(), 1,
       sread + "row 2: clock target 3 is not a switch (1 to 2) - tmd\nin a.m, line 8, column 14:\n"},
      {buck_with("5e-6 1e-5 0 1 ]", "5e-6 1e5 2 2 ]\nvgs = [ 12 ]"), files(), 1,
       sread + "row 2: event column 2 is not a column of vgs (1 to 1) - tmd\nin a.m, line 8, column 13:\n"},
      {buck_with("Cy = [ 1 0\n -1 0 ]", "Cy = [ 1 0 0\n -1 0 0 ]"), files(), 1,
       sread + "Cy has 3 columns for 2 outputs - Cy\nin a.m, line 9, column 6:\n"},
      {buck_with("Ct = [ 0 0 0 0\n 0 0 0 0 ]", "Ct = [ 0 0 0\n 0 0 0 ]"), files(), 1,
       sread + "Ct is 2 x 3, not 2 x 4 for 2 conditions (rows of Cy) - Ct\nin a.m, line 11, column 6:\n"},
      {buck_with("Csw = [ 1\n 1 ]", "Csw = [ 1 ]"), files(), 1,
       sread + "Csw has 1 values for 2 conditions (rows of Cy) - Csw\n"},
      {buck_with("Cc = [ 0\n 0 ]", "Cc = [ 0\n 0\n 0 ]"), files(), 1,
       sread + "Cc has 3 values for 2 conditions (rows of Cy) - Cc\n"},
      {buck_with("thon(1,:)=[ 2 2 ];", "thon(1,:)=[ 3 2 ];"), files(), 1,
       sread + "row 1: switch 3 does not exist (1 to 2) - thon\nin a.m, line 17, column 13:\n"},
      {buck_with("thoff(1,:)=[ 2 1 ];", "thoff(1,:)=[ 2 1 ];\nthoff(2,:)=[ 1 5 ];"), files(), 1,
       sread + "row 2: condition 5 does not exist (1 to 2) - thoff\nin a.m, line 19, column 16:\n"},
      {buck_with("thon(1,:)=[ 2 2 ];", "thon(1,:)=[ 2 2 1 ];"), files(), 1,
       sread + "thon has 3 columns, not 2 (switch, condition) - thon\n"},
      {buck_with("Ct = [ 0 0 0 0\n 0 0 0 0 ]\nCsw = [ 1\n 1 ]", "Ct = [ 0 0 0 0\n 0 0 0 1 ]\nCsw = [ 1\n 4 ]"), files(), 1,
       sread + "row 2: switch 4 of an on-time condition does not exist (1 to 2) - Csw\nin a.m, line 14, column 2:\n"},
      {"tsim = 1e-3\nX = [ 'V1 1 0 10'\n 'R1 1 0 1e3' ]\nY = [ ]\nnumn = 2;\n", files(), 1,
       sread + "no outputs: the Y block has no row - Y\nin a.m, line 4, column 5:\n"},
      {buck_with("x0 = [ 0\n 0 ]", "x0 = [ 0\n 0\n 0\n 0 ]"), files(), 1,
       sread + "x0 has 4 values for 1 capacitor(s) and 1 inductor(s), one each or none - x0\nin a.m, line 5, column 6:\n"},
      {buck_with("swinit = [ 1 0 ]", "swinit = [ 1 2 ]"), files(), 1,
       sread + "value 2 of switch 2 is neither 0 (off) nor 1 (on) - swinit\nin a.m, line 4, column 14:\n"},
      {buck_with("swinit = [ 1 0 ]", "swinit = [ 1 ]"), files(), 1,
       sread + "swinit has 1 values for 2 switches and diodes - swinit\n"},
      {buck_with("points = 100", "points = -5"), files(), 1,
       sread + "negative number of points -5 - points\nin a.m, line 3, column 10:\n"},
      {buck_with("tsim = 1.0000e-04", "tsim = 0"), files(), 1,
       "Final time tsim = 0 is not positive; run refused.\n"},
      {buck_with("", ""), files({"-ld"}), 1,
       "Fatal Error : load_ini(t) - \"a.ini\", line 2: nan is not a finite number!\n",
       "0\nnan\n0\n0\n10\n0\n0\n0\n0\n2\n0\n5e-6\n", true},
      {rc, files({"-ld"}), 0, "\nCan't open file \"a.ini\"!\n\nInitial conditions not loaded.\n", "", true},
      // A clock count no circuit has, with or without clocks: named, nothing allocated.
      {buck_with("", ""), files({"-ld"}), 1,
       "Fatal Error : load_ini(nclk) - \"a.ini\", line 10: 100000000 clocks, more than a circuit can have (15000)!\n",
       "0\n0\n0\n0\n10\n0\n0\n0\n0\n100000000\n", true},
      {rc, files({"-ld"}), 1,
       "Fatal Error : load_ini(nclk) - \"a.ini\", line 7: 99999999999 clocks, more than a circuit can have (15000)!\n",
       "0\n0\n0\n0\n\n0\n99999999999\n0\n", true},
      {rc, files({"-ld"}), 1, "Fatal Error : load_ini() - state file \"a.ini\" is larger than 16777216 bytes!\n",
       "0\n0\n0\n0\n\n0\n" + std::string(16u << 20, '\n'), true},
      // 1 A into D1 forward and on through D2 backwards: D2 stays off, and its 1e6 ohm
      // would carry the current.
      {diode_circuit("0 0", {"I1 0 1 1", "D1 1 2 0", "D2 0 2 0", "I01 1 0 0"}, 3), files(), 1,
       adjusted_at_start + "the cut I1 D2" + kcl + "I1 = 1 A, not 0.\n",
       "", true},
      // The only path of I1 is D1 backwards.
      {diode_circuit("0", {"I1 0 1 1", "D1 0 1 0", "I01 1 0 0"}), files(), 1,
       at_start + "the cut I1 D1" + kcl + "I1 = 1 A, not 0; run refused.\n",
       "", true},
      // D1 forward across V1: off it turns on at once, on it shorts V1.
      {diode_circuit("0", {"V1 1 0 5", "D1 1 0 0", "I01 1 0 0"}), files(), 1,
       adjusted_at_start + "the loop V1 D1" + kvl + "V1 = 5 V, not 0.\n",
       "", true},
      {diode_circuit("1", {"V1 1 0 5", "D1 1 0 0", "I01 1 0 0"}), files(), 1,
       at_start + "the loop V1 D1" + kvl + "V1 = 5 V, not 0; run refused.\n",
       "", true},
      // The loop closes through S1 from its second node, and through V1 and V2 in series.
      {diode_circuit("1 1", {"V1 1 0 5", "D1 1 2 0", "S1 0 2 0", "I01 1 0 0"}, 3), files(), 1,
       at_start + "the loop V1 S1 D1" + kvl + "V1 = 5 V, not 0; run refused.\n",
       "", true},
      {diode_circuit("0", {"V1 1 0 5", "V2 2 1 3", "D1 2 0 0", "I01 2 0 0"}, 3), files(), 1,
       adjusted_at_start + "the loop V2 V1 D1" + kvl + "V2 + V1 = 3 + 5 = 8 V, not 0.\n",
       "", true},
      // A source that steps while the setting stands: I1 to 1 A after S1 has opened (S2,
      // off across R1, is no part of the cut), V2 to -12 V while S1 joins it to V1.
      {netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 1 0 ]\ntmd = [ 5e-4 1e5 0 1\n 8e-4 1e5 2 1 ]\n"
                  "vgs = [ 1 ]\n",
                  {"R1 2 0 10", "I1 0 1 0", "S1 1 2 0", "S2 2 0 0", "I01 2 0 0"}, {"V I01|V"}, 3),
       files(), 1,
       "At t = 8.00000000e-04 s a source step left the switch setting without a consistent solution: the cut I1 S1" +
           kcl + "I1 = 1 A, not 0.\n",
       "", true},
      {netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 1 ]\ntmd = [ 5e-4 1e5 2 1 ]\nvgs = [ 0.5\n -12 ]\n",
                  {"V1 1 0 0.5", "V2 2 0 0.5", "S1 1 2 0", "R1 1 0 10", "I01 1 0 0"}, {"V I01|V"}, 3),
       files(), 1,
       "At t = 5.00000000e-04 s a source step left the switch setting without a consistent solution: the loop V2 V1 "
       "S1" + kvl + "V2 - V1 = -12 - 0.5 = -12.5 V, not 0.\n",
       "", true},
      // Values that differ beyond six digits are shown in full.
      {netlist_of(rc_params + "swinit = [ 1 ]\n", {"V1 1 0 10", "V2 2 0 10.000000011", "S1 1 2 0", "R1 1 0 10", "I01 1 0 0"},
                  {"V I01|V"}, 3),
       files(), 1,
       at_start + "the loop V2 V1 S1" + kvl + "V2 - V1 = 10.000000011 - 10 = 1.0999999133787242e-08 V, not 0; run refused.\n",
       "", true},
      {netlist_of(rc_params + "swinit = [ 1 ]\n", {"V1 1 0 10", "V2 2 0 10", "S1 1 2 0", "R1 1 0 10", "I01 1 0 0"},
                  {"V I01|V"}, 3),
       files(), 0, "Simulation completed!"},
      // Joined directly, the two have no solution whatever their values; so a cut of current sources alone.
      {netlist_of(rc_params, {"V1 1 0 10", "V2 1 0 10", "R1 1 0 10", "I01 1 0 0"}, {"V I01|V"}, 2), files(), 1,
       "Warning check the circuit.\nThe loop V2 V1 holds only voltage sources, which fix no current around it: the "
       "circuit has no unique solution, whatever their values.\n"},
      {netlist_of(rc_params, {"I1 0 1 1", "I2 1 0 1", "R1 2 0 10", "I01 2 0 0"}, {"V I01|V"}, 3), files(), 1,
       "Warning check the circuit.\nThe cut I1 I2 holds only current sources, which fix no voltage across it: the "
       "circuit has no unique solution, whatever their values.\n"},
      // Two current sources and an off switch across one cut: balanced (one turned round,
      // its value negative) it runs; unbalanced it is refused, the second source's sign shown.
      {netlist_of(rc_params + "swinit = [ 0 ]\n", {"I1 0 1 1", "I2 0 1 -1", "S1 1 2 0", "R1 2 0 10", "I01 2 0 0"},
                  {"V I01|V"}, 3),
       files(), 0, "Simulation completed!"},
      {netlist_of(rc_params + "swinit = [ 0 ]\n", {"I1 0 1 1", "I2 1 0 0.5", "S1 1 2 0", "R1 2 0 10", "I01 2 0 0"},
                  {"V I01|V"}, 3),
       files(), 1, at_start + "the cut I1 I2 S1" + kcl + "I1 - I2 = 1 - 0.5 = 0.5 A, not 0; run refused.\n", "", true},
      // A clock edge closes S1 across V1 at 10 V.
      {netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 0 ]\ntmd = [ 6e-4 1e5 1 1 ]\n",
                  {"V1 1 0 10", "S1 1 0 0", "R1 1 0 10", "I01 1 0 0"}, {"V I01|V"}, 2),
       files(), 1,
       "At t = 6.00000000e-04 s a clock edge forced a switch setting that has no consistent solution: the loop V1 S1" +
           kvl + "V1 = 10 V, not 0.\n",
       "", true},
  };
  for (const refusal& r : rows) {
    SCOPED_TRACE(r.message);
    TempDir dir;
    ASSERT_EQ(::mkfifo("fifo.m", 0600), 0);
    if (!r.netlist.empty()) write_text("a.m", r.netlist);
    if (!r.ini.empty()) write_text("a.ini", r.ini);
    const program_run run = run_simu_program(r.words);
    EXPECT_EQ(run.exit_code, r.exit_code) << run.output;
    EXPECT_NE(run.output.find(r.message), std::string::npos) << run.output;
    // A refused run writes no table and no state; most are refused before the model.
    EXPECT_EQ(std::filesystem::exists("a.plt"), r.exit_code != 1);
    EXPECT_EQ(std::filesystem::exists("a.ini"), r.exit_code != 1 || !r.ini.empty());
    EXPECT_EQ(std::filesystem::exists("states.dat"), r.exit_code != 1 || r.model_built);
  }
}
