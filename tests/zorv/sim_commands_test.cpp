// The run commands: what they check, add, start and leave behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <cstdint>
#include <functional>
#include <set>
#include <stdexcept>
#include <tuple>

#include "sdi/netlist/launcher.h"
#include "sdi/zorv/core/commands/sequence_text.h"
#include "sdi/elements/placement.h"
#include "sdi/files/record_stream.h"
#include "sdi/elements/source_elements.h"
#include "sdi/zorv/core/commands/run_excitation.h"
#include "sdi/zorv/rurozuze/plt_table.h"
#include "zorv/sim_fixture.h"

namespace {

using Elements = std::vector<std::tuple<int, int, std::string>>;  // id, kind, name in list order

Elements CircuitNow() {
  Elements out;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    out.emplace_back(n->value->id, n->value->kind, n->value->name() ? n->value->name() : "");
  return out;
}

// What the stand-in engine saw, and the view's invalidations up to its call.
struct { int calls = 0, result = 1; bool throws = false; Elements seen; int invalidations = 0; } g_engine;
const RecordingSimHost* g_host = nullptr;

int StandInEngine(int, char**) {
  ++g_engine.calls;
  g_engine.seen = CircuitNow();
  g_engine.invalidations = g_host->invalidations;
  if (g_engine.throws) throw std::runtime_error("engine failed");
  return g_engine.result;
}

class SimCommandsTest : public SimFixture {
protected:
  SimCommandsTest() {
    g_engine = {};
    g_host = &host;
    sdi::engine_entry = StandInEngine;
  }
  ~SimCommandsTest() override { sdi::engine_entry = previousEngine; }
  sdi::engine_fn previousEngine = sdi::engine_entry;
};

TEST_F(SimCommandsTest, WithoutAPortOrAGroundNothingIsWrittenOrRun) {
  for (int drop : {sdi::kind_voltage_port, sdi::kind_ground}) {
    const std::string message = drop == sdi::kind_ground ? "Must have a ground in the circuit"
                                                         : "Must have a port in the circuit";
    SCOPED_TRACE(message);
    sdi::delete_all_elements();
    build_rc();
    for (auto [id, kind, name] : CircuitNow())
      if (kind == drop) delete sdi::delete_element(id);
    messages.clear();
    sim.OnSimulationRun();
    EXPECT_EQ(messages, std::vector<std::string>{message});
    EXPECT_EQ(g_engine.calls, 0);
    EXPECT_FALSE(std::filesystem::exists(base_name + ".m"));
  }
}

TEST_F(SimCommandsTest, ASineOnlyCircuitRunsWithAddAndAGroundThatLeaveNoTrace) {
  for (bool throws : {false, true}) {
    SCOPED_TRACE(throws ? "engine throws" : "engine returns");
    sdi::delete_all_elements();
    build_rc();  // then V1 becomes a sine source of 10 V at 1 kHz
    sdi::circuit.list_first();
    delete sdi::circuit.remove_current();
    add_valued(new sdi::sine(1), {104, 240}, "V1", 10.0)->frequency = 1000.0;
    sdi::element* cursor = sdi::circuit.current();
    const Elements before = CircuitNow();
    g_engine.throws = throws;
    if (throws) EXPECT_THROW(sim.OnSimulationRun(), std::runtime_error);
    else sim.OnSimulationRun();
    ASSERT_EQ(g_engine.seen.size(), before.size() + 2);
    // "ADD" and its ground went in after the cursor, with the smallest free ids.
    EXPECT_EQ(std::get<2>(g_engine.seen[2]), "ADD");
    EXPECT_EQ(std::get<1>(g_engine.seen[3]), sdi::kind_ground);
    EXPECT_EQ(CircuitNow(), before);
    EXPECT_EQ(sdi::circuit.current(), cursor);
  }
}

TEST_F(SimCommandsTest, TheTemporariesShareAPointNoElementTouches) {
  build_rc();
  zorv::TemporaryExcitation add;
  sdi::element* source = sdi::circuit.get(add.SourceId());
  const sdi::point p = add.Point();
  EXPECT_EQ(source->values[0], 1.0);
  EXPECT_EQ(std::make_tuple(source->terminal_at(0), source->terminal_at(1), sdi::circuit.get(add.GroundId())->terminal_at(0)),
            std::make_tuple(p, p, p));
  EXPECT_LT(p.x, 0);
}

TEST_F(SimCommandsTest, OnlyANonZeroDcSourceCountsAsExcitation) {
  const struct { int kind; double value; bool excited; } cases[] = {{sdi::kind_voltage_source, 0.0, false}, {sdi::kind_voltage_source, 5.0, true},
               {sdi::kind_current_source, std::nan(""), true}, {sdi::kind_sine, 5.0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    sdi::delete_all_elements();
    sdi::circuit.insert(sdi::new_record_element(c.kind));
    sdi::circuit.current()->values[0] = c.value;
    EXPECT_EQ(zorv::CircuitIsExcited(), c.excited);
  }
}

TEST_F(SimCommandsTest, EachRunLeavesItsSwitchesAndPlotsAfterACompletedRun) {
  const struct { const char* run; void (zorv::SimCommands::*command)(); int ss, oneC, stopClose; std::size_t plots; } cases[] = {{"transient", &zorv::SimCommands::OnSimulationRun, 0, 0, 0, 1},
               {"steady state", &zorv::SimCommands::OnSsRun, 1, 0, 1, 0},
               {"limited", &zorv::SimCommands::OnSsLimsimRun, 1, 1, 1, 1}};
  build_rc();
  for (int result : {1, 0})
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.run) + (result ? "" : ", failed"));
      g_engine.result = result;
      run_ss = 1, run_one_c = 1, run_stop_close = 1;
      launcher.starts.clear();
      (sim.*c.command)();
      EXPECT_EQ(std::tie(run_ss, run_one_c, run_stop_close), std::tie(c.ss, c.oneC, c.stopClose));
      EXPECT_EQ(launcher.starts.size(), result ? c.plots : 0u);
      EXPECT_GT(host.invalidations, g_engine.invalidations);  // redrawn after the run
    }
}

// The table's path goes as it is, blanks and "*" alike: blanks made "*" could not be told
// back from a "*" of the path's own.
TEST_F(SimCommandsTest, ThePlotProgramComesFromTheExecutablesFolderWithTheTablesExactPath) {
  const struct { const char* base; const char* argument; } rows[] = {
      {"/tmp/my files/c", "/tmp/my files/c.plt"},
      {"/tmp/a*b", "/tmp/a*b.plt"},
      {"/tmp/st*ar dir/c", "/tmp/st*ar dir/c.plt"},
      {"/tmp/st*ar/c", "/tmp/st*ar/c.plt"},
      {"/tmp/plain/c", "/tmp/plain/c.plt"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.base);
    base_name = row.base;
    launcher.starts.clear();
    sim.OnSimulationViewPlot();
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, "/opt/zorv/bin/rurozuze");
    EXPECT_EQ(launcher.starts[0].argv, (std::vector<std::string>{"rurozuze", row.argument}));
  }
}

// Every file of the folder, below it too.
std::set<std::string> FilesIn(const std::filesystem::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) files.insert(entry.path().string());
  return files;
}

// A base path that would end a line of the netlist or of the plotting program's script
// is refused before anything is written, run or started; any other name runs and plots.
TEST_F(SimCommandsTest, ANameWithAControlCharacterIsRefusedBeforeAnythingIsWrittenOrStarted) {
  const std::string folder = dir.path().string() + "/";
  for (const char* sub : {"Schaltung \u00e4 'q' \"d\"", "x\ny"}) std::filesystem::create_directory(folder + sub);
  // shown: the base path as a refusal names it; empty when it runs.
  const struct { std::string base, shown; } bases[] = {
      {folder + "Schaltung \u00e4 'q' \"d\"/Schaltung \u00e4", ""},
      {folder + std::string(250, 'l'), ""},
      {folder + "x\nsystem \"touch PWNED\"\n", folder + "x\\nsystem \"touch PWNED\"\\n"},
      {folder + "x\ny/c", folder + "x\\ny/c"},
      {folder + "bell\a", folder + "bell\\x07"},
  };
  const struct { void (zorv::SimCommands::*command)(); bool runs, plots; const char* file; const char* outcome; } commands[] = {
      {&zorv::SimCommands::OnSimulationRun, true, true, ".m",
       "the simulation is not run. Save the circuit under a name without one."},
      {&zorv::SimCommands::OnSsRun, true, false, ".m",
       "the simulation is not run. Save the circuit under a name without one."},
      {&zorv::SimCommands::OnSsLimsimRun, true, true, ".m",
       "the simulation is not run. Save the circuit under a name without one."},
      {&zorv::SimCommands::OnSimulationViewPlot, false, true, ".plt", "it is not plotted."},
  };
  build_rc();
  for (const auto& b : bases)
    for (const auto& c : commands) {
      SCOPED_TRACE(b.base + c.file);
      base_name = b.base;
      std::filesystem::remove(b.base + ".m");
      const std::set<std::string> before = FilesIn(dir.path());
      messages.clear();
      launcher.starts.clear();
      g_engine.calls = 0;
      (sim.*c.command)();
      if (!b.shown.empty()) {
        EXPECT_EQ(messages, std::vector<std::string>{"File " + b.shown + c.file +
                                                     " has a control character in its name: " + c.outcome});
        EXPECT_EQ(g_engine.calls, 0);
        EXPECT_TRUE(launcher.starts.empty());
        EXPECT_EQ(FilesIn(dir.path()), before);
        continue;
      }
      EXPECT_TRUE(messages.empty());
      EXPECT_EQ(g_engine.calls, c.runs ? 1 : 0);
      EXPECT_EQ(std::filesystem::exists(b.base + ".m"), c.runs);
      ASSERT_EQ(launcher.starts.size(), c.plots ? 1u : 0u);
      if (c.plots) {
        EXPECT_EQ(launcher.starts[0].argv[1], zorv::SimCommands::PlotArgument(b.base));
      }
    }
  EXPECT_FALSE(std::filesystem::exists("PWNED"));
}

// The real engine under a name of blanks, quotes and UTF-8: the table it writes is the
// one the plotting program finds from its argument.
TEST_F(SimCommandsTest, AnUnusualNameRunsAndItsTableReachesThePlotter) {
  sdi::engine_entry = previousEngine;
  build_rc();
  for (const char* sub : {"st*ar dir", "Schaltung \u00e4 'q' \"d\""}) {
    SCOPED_TRACE(sub);
    const std::string folder = (dir.path() / sub).string();
    std::filesystem::create_directory(folder);
    base_name = folder + "/Schaltung \u00e4";
    launcher.starts.clear();
    messages.clear();
    sim.OnSimulationRun();
    ASSERT_EQ(launcher.starts.size(), 1u);
    rurozuze::PltTable table;
    std::string problem;
    EXPECT_EQ(rurozuze::RestoredPath(launcher.starts[0].argv[1]), base_name + ".plt");
    EXPECT_TRUE(rurozuze::ReadPltTable(rurozuze::RestoredPath(launcher.starts[0].argv[1]), table, problem)) << problem;
    EXPECT_EQ(table.labels, std::vector<std::string>{"Vc"});
  }
  sim.OnSsViewSequence();  // read under the same name: no report yet, and it says where
  EXPECT_EQ(messages, std::vector<std::string>{"No switching sequence exists yet (" + base_name +
                                               ".seq).\nSteady_State > Run writes it when it reaches the steady state."});
}

TEST_F(SimCommandsTest, RunsAreEnabledUnlessTheBlockerSaysOtherwise) {
  EXPECT_TRUE(sim.RunEnabled());  // no blocker set
  for (bool blocked : {true, false}) {
    sim.SetRunBlocker([blocked] { return blocked; });
    EXPECT_EQ(sim.RunEnabled(), !blocked);
  }
}

TEST_F(SimCommandsTest, EscAtTheThirdPollEndsTheRunAndStartsNothing) {
  sdi::engine_entry = previousEngine;
  engineHost.escape_at_poll = 3;
  build_rc();
  sim.OnSimulationRun();
  ASSERT_FALSE(engineHost.boxes.empty());
  EXPECT_EQ(engineHost.boxes.back().text, "Simulation terminated by user");
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(SimCommandsTest, AnElementBeingPlacedGoesAndThePlacedOnesStay) {
  build_rc();
  const Elements before = CircuitNow();
  sdi::pending_element = sdi::new_record_element(sdi::kind_resistor);
  sim.OnSsRun();
  EXPECT_EQ(sdi::pending_element, nullptr);
  EXPECT_EQ(g_engine.seen, before);
}

TEST_F(SimCommandsTest, ExternalProgramsThatCannotStartLeaveAStatusLine) {
  zorv::PosixProcessLauncher real;
  sim.SetLauncher(real);
  host.exeFolder = (dir.path() / "nowhere").string();
  sim.OnSimulationViewPlot();
  sim.OnSsViewSequence();  // no "c.seq": said in a box, with how to make one
  ASSERT_EQ(host.statusLines.size(), 1u);
  EXPECT_EQ(host.statusLines[0],
            "Could not start the plotting program " + host.exeFolder + "/rurozuze: No such file or directory");
  EXPECT_EQ(messages, std::vector<std::string>{"No switching sequence exists yet (" + base_name +
                                               ".seq).\nSteady_State > Run writes it when it reaches the steady state."});
}

// The report is shown, a larger one in part (only its first megabyte and a byte are
// read); a pipe, a device or a folder is refused at once with its message.
TEST_F(SimCommandsTest, ASequenceReportThatIsNoFileIsRefusedAtOnce) {
  const std::string seq = base_name + ".seq";
  const std::string rest = "\n... (only the first 1048576 bytes of " + seq + " are shown)\n";
  const struct {
    std::function<void()> make;
    std::string message, shown;
  } rows[] = {
      {[&] { std::ofstream(seq) << "period = 1.0e-05\n"; }, "", "period = 1.0e-05\n"},
      {[&] { ASSERT_EQ(::mkfifo(seq.c_str(), 0600), 0); }, "File " + seq + " is not a regular file.", ""},
      {[&] { std::filesystem::create_symlink("/dev/zero", seq); }, "File " + seq + " is not a regular file.", ""},
      {[&] { std::ofstream{seq} << std::string(1000, '\n'),  // past 64 MiB, sparse
             std::filesystem::resize_file(seq, (std::uintmax_t{64} << 20) + 1); },
       "", std::string(1000, '\n') + std::string(zorv::kMaxSequenceLineBytes, '?') + " ... (line cut at 65536 bytes)" + rest},
      {[&] { ASSERT_EQ(::mkdir(seq.c_str(), 0700), 0); }, "File " + seq + " is not a regular file.", ""},
  };
  ::alarm(60);  // a reader that blocked would end the test here
  for (const auto& row : rows) {
    std::filesystem::remove(seq);
    row.make();
    messages.clear();
    host.sequenceShown.clear();
    sim.OnSsViewSequence();
    EXPECT_EQ(messages, row.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.message});
    EXPECT_EQ(host.sequenceShown, row.shown);
  }
  ::alarm(0);
}

// Shown whole within the bounds, tabs expanded; beyond them cut, each cut said; every
// byte but printable ASCII, tabs and line ends shown as '?'.
TEST(SequenceShown, ALongLineOrALongReportIsShownInPart) {
  const std::size_t line = zorv::kMaxSequenceLineBytes, all = zorv::kMaxShownSequenceBytes;
  const std::string cut = " ... (line cut at 65536 bytes)", rest = "\n... (only the first 1048576 bytes of c.seq are shown)\n";
  std::string lines, linesShown;  // short lines past the bound, and with their tabs expanded
  while (lines.size() <= all) {
    lines += "  5.9987939556251142e+00\t  1.0497287908237460e+00\t\n";
    if (lines.size() <= all) linesShown += "  5.9987939556251142e+00          1.0497287908237460e+00        \n";
  }
  // 320 blanks, then lines of 65536 blanks: the 32nd reaches the bound that the text shown
  // holds (2 MiB) 320 blanks short of its end.
  std::string wide, wideShown = std::string(320, ' ') + "\n";
  for (int k = 0; k < 40; ++k) wide += std::string(8192, '\t') + "\n";
  for (int k = 0; k < 31; ++k) wideShown += std::string(line, ' ') + "\n";
  wideShown += std::string(line - 320, ' ') + "\n... (only the first 262176 bytes of c.seq are shown)\n";
  linesShown += lines.substr(lines.rfind('\n', all - 1) + 1, all - lines.rfind('\n', all - 1) - 1);
  std::string accented = "a";
  for (int i = 0; i < 32767; ++i) accented += "\xcc\x81";  // U+0301 COMBINING ACUTE ACCENT
  accented += "\n";
  const struct { std::string report, shown; } rows[] = {
      {"period = 1.0e-05\n\nSwitches: S1 D1 \n", "period = 1.0e-05\n\nSwitches: S1 D1 \n"},
      {"no end of line", "no end of line"},
      {std::string(line, 'x') + "\n", std::string(line, 'x') + "\n"},
      {std::string(line + 1, 'x') + "\nnext\n", std::string(line, 'x') + cut + "\nnext\n"},
      {std::string(line - 1, 'x') + "\xc3\xa9y", std::string(line - 1, 'x') + "?" + cut},  // the "é" is two bytes
      {std::string(all, 'x'), std::string(line, 'x') + cut},
      {std::string(all + 1, 'x'), std::string(line, 'x') + cut + rest},  // all that is read of a larger one
      {std::string("a\tb\r\nc\0\x01\x1b[1m\x7f\r\xff\xfe\n", 17) + "V(C1) \xe2\x80\xae=\n",  // U+202E turns text
       "a       b\r\nc" + std::string(3, '?') + "[1m" + std::string(4, '?') + "\nV(C1) " + std::string(3, '?') + "=\n"},
      {accented, "a" + std::string(65534, '?') + "\n"},  // one letter, 32767 combining accents
      {lines, linesShown + rest},
      {"a\tb\tcdefgh\t\tx\r\n\t", "a       b       cdefgh          x\r\n        "},  // stops every 8 columns
      {std::string(line - 8, 'x') + "\t\n", std::string(line - 8, 'x') + std::string(8, ' ') + "\n"},  // ends at it
      {std::string(line - 8, 'x') + "\t\ty\n", std::string(line - 8, 'x') + std::string(8, ' ') + cut + "\n"},
      {std::string(zorv::kMaxShownSequenceLines, '\n'), std::string(zorv::kMaxShownSequenceLines, '\n')},
      {std::string(zorv::kMaxShownSequenceLines, '\n') + "x",
       std::string(zorv::kMaxShownSequenceLines, '\n') + "... (only the first 65536 lines of c.seq are shown)\n"},
      {std::string(40, '\t') + "\n" + wide, wideShown},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.report.substr(0, 20));
    EXPECT_EQ(zorv::SequenceShown(row.report, "c.seq"), row.shown);
  }
}

}  // namespace
