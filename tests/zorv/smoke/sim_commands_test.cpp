// The Simulation and Steady_State menus in the running editor on the example buck
// converter: the runs write their files, the plotting program shows the result
// in its gnuplot window, the sequence report shows in the editor.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include <X11/Xlib.h>

#include "sdi/zorv/core/base/process_launcher.h"
#include "sdi/zorv/core/commands/sim_commands.h"
#include "sdi/zorv/core/commands/sequence_text.h"
#include "sdi/zorv/main_frame.h"
#include "simu/base/run_services.h"
#include "simu/input/run_settings.h"
#include "sdi/zorv/sequence_window.h"
#include "sdi/zorv/toolkit_ids.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/screen_grab.h"

namespace {

namespace fs = std::filesystem;

// Starts the built plotting program wherever the editor looked for it.
struct BuiltPlotter : zorv::ProcessLauncher {
  std::vector<std::vector<std::string>> starts;  // program, then argv
  bool StartDetached(const std::string& program, const std::vector<std::string>& argv, std::string& why) override {
    starts.push_back({program, argv.at(0), argv.at(1)});
    return zorv::PosixProcessLauncher().StartDetached(ZORV_RUROZUZE, argv, why);
  }
};

// Whether a top-level X window's name starts with the prefix, waited for.
bool WindowShows(const std::string& prefix) {
  Display* display = XOpenDisplay(nullptr);
  bool found = false;
  for (int round = 0; round < 200 && display && !found; ++round, std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !found; ++i) {
      char* name = nullptr;
      if (XFetchName(display, children[i], &name) && name) {
        found = std::string(name).rfind(prefix, 0) == 0;
        if (found) XKillClient(display, children[i]);  // gnuplot and the plotting program end with their window
        XFree(name);
      }
    }
    if (children) XFree(children);
  }
  if (display) XCloseDisplay(display);
  return found;
}

// A copy of the example buck converter in work, to run and write beside.
fs::path BuckIn(const TempDir& work) {
  const fs::path ckt = work.path() / "buck.ckt";
  fs::copy_file(fs::path(__FILE__).parent_path() / "../../../examples/buck.ckt", ckt);
  return ckt;
}

}  // namespace

TEST(Smoke, SimulationMenusRunPlotAndShowTheSequence) {
  TempDir work;
  const fs::path ckt = BuckIn(work);
  GuiSession s({"--nosplash", ckt.string()});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  BuiltPlotter plotter;
  s.View()->SetProcessLauncher(plotter);

  s.Command(ZORV_ID(SimulationRun));
  const std::string plt = (work.path() / "buck.plt").string();
  EXPECT_TRUE(fs::exists(plt));
  ASSERT_EQ(plotter.starts.size(), 1u);
  EXPECT_EQ(fs::path(plotter.starts[0][0]).filename(), "rurozuze");
  EXPECT_EQ(plotter.starts[0][2], plt);

  EXPECT_TRUE(WindowShows("rurozuze - " + plt)) << "no gnuplot window";

  s.Command(ZORV_ID(SteadyStateRun));
  EXPECT_TRUE(fs::exists(work.path() / "buck.seq"));
  const std::vector<std::string> messages = s.Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Newton:  Steady state reached!"), messages.end());
  EXPECT_EQ(plotter.starts.size(), 1u);

  // A search that runs out of time says so, with the cycles it made.
  run_sstol_f = 0.0;
  run_nclkss = 1000;
  s.Command(ZORV_ID(SteadyStateRun));
  const std::vector<std::string> after = s.Messages();
  ASSERT_GE(after.size(), 2u);
  // Then the end-of-run report. Fewer cycles than the 100 periods of 20 us in 2 ms.
  const std::string failed = after[after.size() - 2], head = "Failed to reach steady state in ";
  ASSERT_EQ(failed.rfind(head, 0), 0u) << failed;
  EXPECT_LT(std::stoi(failed.substr(head.size())), 100) << failed;
  const std::size_t line_end = failed.find('\n');
  ASSERT_NE(line_end, std::string::npos) << failed;
  EXPECT_EQ(failed.substr(line_end - 8), " cycles!\nThe final time tsim = 0.002 s was reached first.");

  s.Command(ZORV_ID(ViewSequence));
  CSequenceWindow* shown = nullptr;
  for (wxWindow* w : wxTopLevelWindows)
    if (auto* seq = dynamic_cast<CSequenceWindow*>(w)) shown = seq;
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->IsShown());
  std::string expanded;  // the report as written, its tabs expanded at 8-column stops
  for (const char c : slurp(work.path() / "buck.seq")) {
    const std::size_t column = expanded.size() - (expanded.rfind('\n') + 1);  // npos + 1 is 0
    if (c == '\t')
      expanded.append(8 - column % 8, ' ');
    else
      expanded += c;
  }
  EXPECT_EQ(shown->Text().utf8_string(), expanded);
}

// Closing the window while a run goes on is kept: the run ends whole, then the
// window closes.
TEST(Smoke, AWindowClosedDuringARunClosesOnceTheRunHasEnded) {
  TempDir work;
  const fs::path ckt = BuckIn(work);
  GuiSession s({"--nosplash", ckt.string()});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  std::vector<bool> runningAtClose;
  CMainFrame* frame = s.Frame();
  frame->Bind(wxEVT_CLOSE_WINDOW, [&](wxCloseEvent& e) {
    runningAtClose.push_back(frame->IsRunning());
    e.Skip();
  });
  // A close from the window manager, taken by the run's first poll of the keyboard.
  ASSERT_TRUE(CloseAsWindowManager("ZORV - " + ckt.string()));
  s.Command(ZORV_ID(SteadyStateRun));
  EXPECT_TRUE(fs::exists(work.path() / "buck.seq"));  // the run went to its end
  EXPECT_TRUE(s.WaitFor([&] { return s.Frame() == nullptr; }));
  EXPECT_EQ(runningAtClose, (std::vector<bool>{true, false}));
}

// A table that would pass the file-size limit ends the run with the system's reason;
// the editor goes on, the earlier table stays and no temporary is left.
TEST(Smoke, AFileSizeLimitFailsTheRunNotTheEditor) {
  TempDir work;
  const fs::path ckt = BuckIn(work);
  GuiSession s({"--nosplash", ckt.string()});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  struct : zorv::ProcessLauncher {
    int starts = 0;
    bool StartDetached(const std::string&, const std::vector<std::string>&, std::string&) override {
      return ++starts;
    }
  } plotter;
  s.View()->SetProcessLauncher(plotter);
  s.Command(ZORV_ID(SimulationRun));
  const fs::path plt = work.path() / "buck.plt";
  const std::string before = slurp(plt);
  ASSERT_GT(before.size(), 2048u);
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit was = limit;
  limit.rlim_cur = before.size() / 2;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const std::size_t shown = s.Messages().size();
  s.Command(ZORV_ID(SimulationRun));
  setrlimit(RLIMIT_FSIZE, &was);
  const std::vector<std::string> messages = s.Messages();
  ASSERT_GT(messages.size(), shown);
  EXPECT_NE(messages[shown].find("File too large"), std::string::npos) << messages[shown];
  EXPECT_EQ(slurp(plt), before);
  EXPECT_EQ(plotter.starts, 1);   // only the complete table is plotted
  for (const auto& e : fs::directory_iterator(work.path()))
    EXPECT_EQ(e.path().filename().string().find(".~zorv-tmp."), std::string::npos) << e.path();
}

// A close asked for during a run whose command then fails is forgotten with it: the
// error's box offers to save, and no later command closes the window.
TEST(Smoke, ACloseAskedDuringARunWhoseCommandFailsIsForgotten) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  CMainFrame* frame = s.Frame();
  struct FailingPlotter : zorv::ProcessLauncher {
    CMainFrame* frame = nullptr;
    bool fail = true;
    wxString promised;  // the status line once the close was kept
    bool StartDetached(const std::string&, const std::vector<std::string>&, std::string&) override {
      if (!fail) return true;
      main_window().CreateProgressBar();
      frame->Close();  // kept until the command ends
      promised = frame->GetStatusBar()->GetStatusText(0);
      main_window().DeleteProgressBar();
      throw std::runtime_error("no plotter");
    }
  } plotter;
  plotter.frame = frame;
  s.View()->SetProcessLauncher(plotter);
  s.dialogs.answers = {wxID_NO};
  wxCommandEvent plot(wxEVT_MENU, ZORV_ID(ViewPlot));
  frame->HandleWindowEvent(plot);
  s.Pump();
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"The last command stopped on an error: no plotter\n\nSave the circuit now?"});
  EXPECT_FALSE(frame->CloseAskedDuringRun());
  EXPECT_EQ(plotter.promised, "The window closes when the run has ended (Esc ends it now).");
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Ready");  // the close is no longer promised
  plotter.fail = false;
  s.Command(ZORV_ID(ViewPlot));
  s.Pump(10);
  ASSERT_EQ(s.Frame(), frame);
  EXPECT_TRUE(frame->IsShown());
}

// View Sequence on a report far larger than a window shows, all on one line, made of
// letters under tens of thousands of combining accents, of lines of tens of thousands of
// tabs or of a million empty lines, shows a bounded part of it as plain text: the
// window's text, not the file, sets what the toolkit lays out.
TEST(Smoke, TheLargestSequenceReportOnOneLineShowsAtOnce) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  const std::string seq = s.View()->BasePath() + ".seq";
  const std::size_t line = zorv::kMaxSequenceLineBytes;  // 65536
  std::string accented, accentedShown;  // 16 lines of 65536 bytes: 1 MiB
  for (int k = 0; k < 16; ++k) {
    accented += "a";
    for (int i = 0; i < 32767; ++i) accented += "\xcc\x81";  // U+0301 COMBINING ACUTE ACCENT
    accented += "\n";
    accentedShown += "a" + std::string(65534, '?') + "\n";
  }
  // 20 lines of 65535 tabs: the first megabyte is 16 of them, each cut at 65536 blanks.
  // 127 lines of 8192 tabs, each 65536 blanks whole: the most blanks a megabyte gives.
  const std::size_t lines = zorv::kMaxShownSequenceLines;
  std::string tabLines, tabLinesShown, wideTabs, wideTabsShown;
  for (int k = 0; k < 20; ++k) {
    tabLines += std::string(65535, '\t') + "\n";
    if (k < 16) tabLinesShown += std::string(line, ' ') + " ... (line cut at 65536 bytes)\n";
  }
  tabLinesShown += "... (only the first 1048576 bytes of " + seq + " are shown)\n";
  for (int k = 0; k < 127; ++k) {
    wideTabs += std::string(8192, '\t') + "\n";
    if (k < 32) wideTabsShown += std::string(line, ' ') + "\n";
  }
  wideTabsShown += "... (only the first 262176 bytes of " + seq + " are shown)\n";
  std::string manyLines;  // as many lines as are shown, a megabyte in all
  for (std::size_t k = 0; k < lines; ++k) manyLines += "xxxxxxxxxxxxxxx\n";
  const struct {
    std::string report, shown;
  } rows[] = {
      {std::string(std::size_t{64} << 20, '7'),
       std::string(line, '7') + " ... (line cut at 65536 bytes)\n... (only the first 1048576 bytes of " + seq +
           " are shown)\n"},
      {accented, accentedShown},
      {tabLines, tabLinesShown},
      {std::string(2 << 20, '\n'), std::string(lines, '\n') + "... (only the first 65536 lines of " + seq + " are shown)\n"},
      {wideTabs, wideTabsShown},
      {manyLines, manyLines},
  };
  for (const auto& row : rows) {
    std::ofstream(seq, std::ios::binary) << row.report;
    s.Command(ZORV_ID(ViewSequence));
    CSequenceWindow* shown = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
      if (auto* window = dynamic_cast<CSequenceWindow*>(w)) shown = window;
    ASSERT_NE(shown, nullptr);
    shown->Update();
    s.Pump(10);
    EXPECT_TRUE(s.Messages().empty());
    EXPECT_EQ(shown->Text().utf8_string(), row.shown);
  }
}
