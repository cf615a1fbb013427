// The Simulation and Steady_State menus in the running editor on the example buck
// converter: runs write their files, the plotting program starts on the result,
// the sequence report shows in its window.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <wx/utils.h>

#include "common/temp_dir.h"
#include "sdi/zorv/core/process_launcher.h"
#include "sdi/zorv/sequence_window.h"
#include "sdi/zorv/toolkit_ids.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/screen_grab.h"

namespace {

namespace fs = std::filesystem;

// Starts the built plotting program wherever the editor looked for it.
struct BuiltPlotter : zorv::ProcessLauncher {
  std::vector<std::string> programs, arguments;
  bool StartDetached(const std::string& program, const std::vector<std::string>& argv, std::string& why) override {
    programs.push_back(program);
    arguments.push_back(argv.at(1));
    return start && zorv::PosixProcessLauncher().StartDetached(ZORV_RUROZUZE, argv, why);
  }
  bool start = false;
};

// The example circuit, copied into a folder of the test's own.
fs::path CopyBuck(const TempDir& dir) {
  const fs::path from = fs::path(__FILE__).parent_path() / "../../../examples/buck.ckt";
  const fs::path to = dir.path() / "buck.ckt";
  fs::copy_file(from, to);
  return to;
}

// A top-level X window whose name starts with the prefix; 0 when none.
Window FindWindowNamed(Display* display, const std::string& prefix) {
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name) {
      if (std::string(name).rfind(prefix, 0) == 0) found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

}  // namespace

TEST(Smoke, SimulationMenusRunPlotAndShowTheSequence) {
  TempDir work;
  const fs::path ckt = CopyBuck(work);
  GuiSession s({"--nosplash", ckt.string()});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  BuiltPlotter plotter;
  s.View()->SetProcessLauncher(plotter);

  s.Command(ZORV_ID(SimulationRun));
  EXPECT_TRUE(fs::exists(work.path() / "buck.plt"));
  ASSERT_EQ(plotter.programs.size(), 1u);
  EXPECT_EQ(fs::path(plotter.programs[0]).filename(), "rurozuze");
  EXPECT_EQ(plotter.arguments[0], (work.path() / "buck.plt").string());

  s.Command(ZORV_ID(SteadyStateRun));
  EXPECT_TRUE(fs::exists(work.path() / "buck.seq"));
  const std::vector<std::string> messages = s.Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Newton:  Steady state reached!"), messages.end());
  EXPECT_EQ(plotter.programs.size(), 1u);

  s.Command(ZORV_ID(ViewSequence));
  CSequenceWindow* shown = nullptr;
  for (wxWindow* w : wxTopLevelWindows)
    if (auto* seq = dynamic_cast<CSequenceWindow*>(w)) shown = seq;
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->IsShown());
  EXPECT_EQ(shown->Text().utf8_string(), slurp(work.path() / "buck.seq"));
}

TEST(Smoke, ThePlotWindowShowsTheResult) {
  TempDir work;
  const fs::path ckt = CopyBuck(work);
  GuiSession s({"--nosplash", ckt.string()});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  BuiltPlotter plotter;
  plotter.start = true;
  s.View()->SetProcessLauncher(plotter);
  s.Command(ZORV_ID(SimulationRun));
  ASSERT_EQ(plotter.programs.size(), 1u);

  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  Window plot = 0;
  for (int i = 0; i < 200 && !plot; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    plot = FindWindowNamed(display, "rurozuze - ");
  }
  ASSERT_NE(plot, 0u) << "no gnuplot window";
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // drawn
  XWindowAttributes a;
  XGetWindowAttributes(display, plot, &a);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display, plot, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  const wxImage shot = GrabScreen(wxRect(x, y, a.width, a.height));
  if (const char* path = std::getenv("ZORV_PLOT_SCREENSHOT")) wxBitmap(shot).SaveFile(path, wxBITMAP_TYPE_PNG);
  // The curve and the frame: a fair share of the window is not background.
  long drawn = 0;
  for (int py = 0; py < shot.GetHeight(); ++py)
    for (int px = 0; px < shot.GetWidth(); ++px)
      if (shot.GetRed(px, py) < 200 || shot.GetGreen(px, py) < 200 || shot.GetBlue(px, py) < 200) ++drawn;
  EXPECT_GT(drawn, 1000);
  XKillClient(display, plot);  // the window goes; gnuplot and the plotting program end with it
  XCloseDisplay(display);
}
