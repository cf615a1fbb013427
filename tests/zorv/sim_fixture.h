// The simulation commands on the real circuit model with recording hosts (the
// modified mark, the status line, the launcher, the editor's and the engine's boxes).
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "scripted_dialogs.h"
#include "sdi/run_launch_circuits.h"
#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/commands/sim_commands.h"
#include "sdi/zorv/core/view/view_core.h"
#include "common/recording_run_services.h"
#include "zorv/circuit_builder.h"

struct RecordingLauncher : zorv::ProcessLauncher {
  struct Start {
    std::string program;
    std::vector<std::string> argv;
  };
  std::vector<Start> starts;
  bool StartDetached(const std::string& program, const std::vector<std::string>& argv, std::string&) override {
    starts.push_back({program, argv});
    return true;
  }
};

struct RecordingSimHost : zorv::ViewHost, zorv::SimHost {
  std::string exeFolder = "/opt/zorv/bin";
  std::vector<std::string> statusLines;
  int modifications = 0;
  zorv::Size ClientSize() const override { return {800, 600}; }
  zorv::Pos ScrollPosition() const override { return {}; }
  void ApplyScroll(const zorv::ScrollState&) override {}
  int invalidations = 0;
  void Invalidate() override { ++invalidations; }
  void SetDocumentModified() override { ++modifications; }
  std::string BasePath() const override { return base_name; }
  std::string ExecutableFolder() const override { return exeFolder; }
  void SetStatusLine(const std::string& text) override { statusLines.push_back(text); }
  std::string sequenceShown;
  void ShowSequence(const std::string&, const std::string& text) override { sequenceShown = text; }
};

class SimFixture : public ::testing::Test {
protected:
  SimFixture()
      : undo(dir.path() / "undo"),
        view(host, undo, [](std::FILE*) {}),
        sim(view, host, dialogs, launcher),
        services(engineHost) {
    base_name = (dir.path() / "c").string();
    previousSink = zorv::SetMessageSink([this](const std::string& t) { messages.push_back(t); });
  }
  ~SimFixture() override { zorv::SetMessageSink(previousSink); }

  TempDir dir;
  ModelCircuit circuitGuard;
  SettingsGuard settingsGuard;
  Capture modelBoxes;
  RecordingSimHost host;
  zorv::UndoFiles undo;
  zorv::ViewCore view;
  ScriptedDialogs dialogs;
  RecordingLauncher launcher;
  zorv::SimCommands sim;
  recording_run_services engineHost;
  main_window_scope services;
  std::vector<std::string> messages;
  zorv::MessageSink previousSink;
};
