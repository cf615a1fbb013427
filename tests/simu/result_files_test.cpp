// The result files of a run on a full disk (the simu program under a file-size limit):
// the run ends with exit 1 and its message, the files of the previous run stay as they
// were and no temporary is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "buck_netlist.h"
#include "common/temp_dir.h"
#include "common/text_file.h"
#include "driver_run.h"
#include "simu_program.h"

namespace {

std::map<std::string, std::string> folder_files() {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::directory_iterator("."))
    files[e.path().filename().string()] = slurp(e.path().string());
  return files;
}

std::string rc_netlist(const char* source) {
  return netlist_of("tsim = 1e-3\ntd = 1e-6\npoints = 100\n",
                    {std::string(source) + " 1 0 10", "R1 1 2 1e3", "C1 2 0 1e-6", "I01 2 0 0"}, {"V I01|Vc"}, 3);
}

}  // namespace

TEST(ResultFiles, AFullDiskKeepsThePreviousFilesAndLeavesNoTemporary) {
  const std::string buck = buck_netlist_text("2.0000e-03", "1.0000e-07", "5000");
  const struct {
    const char* file;                 // the file whose writing fails
    std::string first, second;        // the netlist of the good run, then of the failing one
    std::vector<std::string> good, full;   // their options
    rlim_t limit;                     // the bytes a file may hold in the failing run
    std::string message;
    const char* completed = "";       // written in full before the failure
  } rows[] = {
      // 100 rows of the table do not fit in 2 kB.
      {"a.plt", rc_netlist("V1"), rc_netlist("V1"), {"-points", "10"}, {}, 2048, "Fatal Error : write() - disk full!"},
      // The table of one point (99 bytes) fits, the state file (116 bytes) does not.
      {"a.ini", rc_netlist("V1"), rc_netlist("V1"), {}, {"-points", "1", "-tsim", "2e-3"}, 108,
       "Fatal Error : save_ini() - disk full!", "a.plt"},
      // The report (405 bytes) is written when the steady state is reached, before the
      // table of the first microsecond (161 bytes) is complete.
      {"a.seq", buck, buck, {"-ss", "-sstol_f", "1e-5"}, {"-ss", "-finish_si", "1e-6"}, 300,
       "Fatal Error : write_seq_file(  ) - disk full!"},
      {"src.dat", rc_netlist("V1"), rc_netlist("V2"), {}, {}, 2, "Error creating src.dat: disk full!"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.file);
    TempDir dir;
    write_text("a.m", r.first);
    std::vector<std::string> words = r.good;
    words.insert(words.end(), {"a.m", "a.plt"});
    ASSERT_NE(run_simu_program(words).exit_code, 1);
    write_text("a.m", r.second);
    std::map<std::string, std::string> before = folder_files();
    ASSERT_EQ(before.count(r.file), 1u);
    words = r.full;
    words.insert(words.end(), {"a.m", "a.plt"});
    const program_run run = run_simu_program(words, {0, r.limit});
    EXPECT_EQ(run.exit_code, 1) << run.output;
    EXPECT_NE(run.output.find(r.message), std::string::npos) << run.output;
    std::map<std::string, std::string> after = folder_files();
    if (*r.completed) {   // the new table, to its last row: Vc(2 ms) = 10 V (1 - exp(-2))
      const std::string last = " 2.00000000E-03  8.646647E+00\n", table = after[r.completed];
      EXPECT_EQ(table.substr(table.size() - std::min(table.size(), last.size())), last);
      after[r.completed] = before[r.completed];
    }
    EXPECT_EQ(after, before);   // nothing changed, nothing added
  }
}
