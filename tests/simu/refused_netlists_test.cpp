// The simu program on netlists and options it must refuse, and on runs whose exit code
// tells how they ended: each row is the netlist, the arguments, the exit code and the
// start of a message in the program's output. A refused run writes nothing.
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

struct refusal {
  std::string netlist;              // written to a.m unless empty
  std::vector<std::string> words;   // the arguments
  int exit_code;
  std::string message;              // the output holds it
};

}  // namespace

TEST(RefusedNetlists, ExitCodeAndMessageOfEachRun) {
  const std::string buck = buck_netlist_text("2.0000e-03", "1.0000e-07", "5000");
  const std::string invalid = "Invalid simulation invokation: run refused, nothing written.";
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
      {rc, files({"-tsim", "2e-3", "-ssmethod", "4", "-points", "10"}), 0, "Simulation completed!"},
      // 0: the steady state was reached, or none was asked for; 2: it was not reached.
      {buck, files({"-ss"}), 0, "Steady state reached in 3 cycles!"},
      {buck, files({"-ss", "-sstol_f", "0", "-nclkss", "3"}), 2, "Failed to reach steady state in 3 cycles!"},
      {buck, files({"-ss", "-sstol_f", "0", "-nclkss", "1000"}), 2, "Failed to reach steady state in 200 cycles!"},
      {buck, files({"-ss", "-sstol_f", "0", "-nclkss", "1000"}), 2, "Steady state not reached in 200 cycles!"},
      {rc, files({"-ss"}), 2, "Failed to reach steady state in 0 cycles!"},
  };
  for (const refusal& r : rows) {
    SCOPED_TRACE(r.message);
    TempDir dir;
    ASSERT_EQ(::mkfifo("fifo.m", 0600), 0);
    if (!r.netlist.empty()) write_text("a.m", r.netlist);
    const program_run run = run_simu_program(r.words);
    EXPECT_EQ(run.exit_code, r.exit_code) << run.output;
    EXPECT_NE(run.output.find(r.message), std::string::npos) << run.output;
    // A refused run has not even built the model.
    for (const char* f : {"a.plt", "a.ini", "states.dat"})
      EXPECT_EQ(std::filesystem::exists(f), r.exit_code != 1) << f;
  }
}
