// The run commands: what they check, add, start and leave behind.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <tuple>

#include <unistd.h>

#include "sdi/element.h"
#include "sdi/launcher.h"
#include "common/text_file.h"
#include "sdi/placement.h"
#include "sdi/record_stream.h"
#include "sdi/source_elements.h"
#include "sdi/zorv/core/process_launcher.h"
#include "sdi/zorv/core/run_excitation.h"
#include "zorv/sim_fixture.h"

namespace {

// A stand-in engine: records what the circuit holds while it runs.
struct EngineSeen {
  int calls = 0;
  int result = 1;
  bool throws = false;
  std::vector<std::tuple<int, int, std::string>> elements;  // id, kind, name
  bool addOnItsGround = false;
};
EngineSeen g_engine;

int StandInEngine(int, char**) {
  ++g_engine.calls;
  g_engine.elements.clear();
  sdi::point addAt, groundAt(1, 1);
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) {
    sdi::element* e = n->value;
    const char* name = e->name() ? e->name() : "";
    g_engine.elements.emplace_back(e->id, e->kind, name);
    if (std::string(name) == "ADD" && e->values[0] == 1.0 && e->terminal_at(0) == e->terminal_at(1))
      addAt = e->terminal_at(0);
    if (e->kind == sdi::kind_ground && e->terminal_at(0).x < 0) groundAt = e->terminal_at(0);
  }
  g_engine.addOnItsGround = addAt == groundAt;
  if (g_engine.throws) throw std::runtime_error("engine failed");
  return g_engine.result;
}

// What the circuit holds now, as the stand-in records it.
std::vector<std::tuple<int, int, std::string>> Elements() {
  StandInEngine(0, nullptr);
  --g_engine.calls;
  return g_engine.elements;
}

class SimCommandsTest : public SimFixture {
protected:
  SimCommandsTest() {
    g_engine = EngineSeen{};
    sdi::engine_entry = StandInEngine;
  }
  ~SimCommandsTest() override { sdi::engine_entry = previousEngine; }

  // build_rc with its DC source turned into a sine source of 10 V at 1 kHz.
  void BuildSineRc() {
    build_rc();
    sdi::circuit.list_first();
    delete sdi::circuit.remove_current();  // V1
    sdi::circuit.list_first();
    auto* s = add_valued(new sdi::sine(1), {104, 240}, "V1", 10.0);
    s->frequency = 1000.0;
  }

  sdi::engine_fn previousEngine = sdi::engine_entry;
};

TEST_F(SimCommandsTest, WithoutAPortOrAGroundNothingIsWrittenOrRun) {
  const struct {
    int dropKind;
    const char* message;
  } cases[] = {{sdi::kind_voltage_port, "Must have a port in the circuit"},
               {sdi::kind_ground, "Must have a ground in the circuit"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    sdi::delete_all_elements();
    build_rc();
    for (auto [id, kind, name] : Elements())
      if (kind == c.dropKind) delete sdi::delete_element(id);
    messages.clear();
    sim.OnSimulationRun();
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
    EXPECT_EQ(g_engine.calls, 0);
    EXPECT_FALSE(std::filesystem::exists(base_name + ".m"));
    EXPECT_TRUE(launcher.starts.empty());
  }
}

TEST_F(SimCommandsTest, ASineOnlyCircuitRunsWithAddAndAGroundThatLeaveNoTrace) {
  for (bool throws : {false, true}) {
    SCOPED_TRACE(throws ? "engine throws" : "engine returns");
    sdi::delete_all_elements();
    BuildSineRc();
    sdi::element* cursor = sdi::circuit.current();
    const auto before = Elements();
    g_engine.throws = throws;
    if (throws)
      EXPECT_THROW(sim.OnSimulationRun(), std::runtime_error);
    else
      sim.OnSimulationRun();
    g_engine.throws = false;
    ASSERT_EQ(g_engine.elements.size(), before.size() + 2);
    EXPECT_TRUE(g_engine.addOnItsGround);
    EXPECT_EQ(Elements(), before);
    EXPECT_EQ(sdi::circuit.current(), cursor);
  }
}

TEST_F(SimCommandsTest, OnlyANonZeroDcSourceCountsAsExcitation) {
  const struct {
    int kind;
    double value;
    bool excited;
  } cases[] = {{sdi::kind_voltage_source, 0.0, false}, {sdi::kind_voltage_source, 5.0, true},
               {sdi::kind_current_source, std::nan(""), true}, {sdi::kind_sine, 5.0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    sdi::delete_all_elements();
    sdi::element* e = sdi::new_record_element(c.kind);
    e->values[0] = c.value;
    sdi::circuit.insert(e);
    EXPECT_EQ(zorv::CircuitIsExcited(), c.excited);
  }
}

TEST_F(SimCommandsTest, EachRunLeavesItsSwitchesAndPlotsAfterACompletedRun) {
  const struct {
    const char* run;
    void (zorv::SimCommands::*command)();
    int ss, oneC, stopClose;
    std::size_t plots;
  } cases[] = {{"transient", &zorv::SimCommands::OnSimulationRun, 0, 0, 0, 1},
               {"steady state", &zorv::SimCommands::OnSsRun, 1, 0, 1, 0},
               {"limited", &zorv::SimCommands::OnSsLimsimRun, 1, 1, 1, 1}};
  build_rc();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.run);
    run_ss = 1, run_one_c = 1, run_stop_close = 1;
    launcher.starts.clear();
    (sim.*c.command)();
    EXPECT_EQ(std::tie(run_ss, run_one_c, run_stop_close), std::tie(c.ss, c.oneC, c.stopClose));
    EXPECT_EQ(launcher.starts.size(), c.plots);
  }
  g_engine.result = 0;
  launcher.starts.clear();
  sim.OnSsLimsimRun();
  EXPECT_EQ(run_stop_close, 1);
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(SimCommandsTest, ThePlotProgramComesFromTheExecutablesFolderWithBlanksAsStars) {
  base_name = "/tmp/my files/c";
  sim.OnSimulationViewPlot();
  ASSERT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.starts[0].program, "/opt/zorv/bin/rurozuze");
  EXPECT_EQ(launcher.starts[0].argv, (std::vector<std::string>{"rurozuze", "/tmp/my*files/c.plt"}));
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
  const auto before = Elements();
  sdi::pending_element = sdi::new_record_element(sdi::kind_resistor);
  sim.OnSsRun();
  EXPECT_EQ(sdi::pending_element, nullptr);
  EXPECT_EQ(g_engine.calls, 1);
  EXPECT_EQ(Elements(), before);
}

TEST_F(SimCommandsTest, ExternalProgramsThatCannotStartLeaveAStatusLine) {
  zorv::PosixProcessLauncher real;
  zorv::SimCommands withReal(view, host, dialogs, real);
  host.exeFolder = (dir.path() / "nowhere").string();
  withReal.OnSimulationViewPlot();
  withReal.OnSsViewSequence();  // no "c.seq"
  ASSERT_EQ(host.statusLines.size(), 2u);
  EXPECT_EQ(host.statusLines[0], "Could not start the plotting program " + host.exeFolder +
                                     "/rurozuze: No such file or directory");
  EXPECT_NE(host.statusLines[1].find(base_name + ".seq"), std::string::npos);
  EXPECT_TRUE(messages.empty());

  // A program that runs is started: it leaves its mark.
  std::string why;
  EXPECT_TRUE(real.StartDetached("/bin/sh", {"sh", "-c", "echo ran > started"}, why));
  for (int i = 0; i < 200 && !std::filesystem::exists("started"); ++i) usleep(10000);
  EXPECT_EQ(slurp("started"), "ran\n");
}

TEST_F(SimCommandsTest, ViewSequenceShowsTheReport) {
  write_text(base_name + ".seq", "Newton:  Steady state reached!\n");
  sim.OnSsViewSequence();
  EXPECT_EQ(host.shownSequences, std::vector<std::string>{"Newton:  Steady state reached!\n"});
}

}  // namespace
