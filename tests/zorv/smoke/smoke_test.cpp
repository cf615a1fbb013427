// The editor started for real in a window under Xvfb.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <wx/aui/auibar.h>
#include <wx/dcmemory.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "sdi/drawing.h"
#include "sdi/zorv/about_dlg.h"
#include "sdi/zorv/core/command_ids.h"
#include "sdi/zorv/drop_target.h"
#include "sdi/zorv/splash_wnd.h"
#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/zorv_canvas.h"
#include "sdi/zorv/zorv_printout.h"
#include "simu/run_services.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/screen_grab.h"

namespace cmd = zorv::cmd;

namespace {

// What the screen shows of the view's client area.
wxImage ScreenOfView(CZorvCanvas* canvas) { return GrabClient(canvas); }

bool IsGridGreen(const wxImage& image, int x, int y) {
  return x >= 0 && y >= 0 && x < image.GetWidth() && y < image.GetHeight() && image.GetRed(x, y) == 0 &&
         image.GetGreen(x, y) == 128 && image.GetBlue(x, y) == 0;
}

}  // namespace

TEST(Smoke, StartsUntitledWithBothToolbarsAndTheStatusBar) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.Started());
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
  EXPECT_EQ(s.Doc()->Core().BasePath(), "Untitled");
  EXPECT_FALSE(s.Doc()->IsModified());

  wxAuiToolBar* main = s.Frame()->MainToolBar();
  wxAuiToolBar* elements = s.Frame()->ElementBar();
  ASSERT_NE(main, nullptr);
  ASSERT_NE(elements, nullptr);
  EXPECT_NE(main->GetId(), elements->GetId());
  EXPECT_EQ(elements->GetLabel(), "Component Toolbar");
  EXPECT_EQ(main->GetToolCount(), 21u);
  EXPECT_EQ(elements->GetToolCount(), 29u);
  EXPECT_EQ(main->FindTool(wxID_NEW)->GetShortHelp(), "New");
  EXPECT_EQ(elements->FindTool(ToolkitCommandId(cmd::Wire))->GetLongHelp(), "Connect the components with a  wire");
  EXPECT_TRUE(s.Frame()->IsBarShown(main));
  EXPECT_TRUE(s.Frame()->IsBarShown(elements));

  wxStatusBar* status = s.Frame()->GetStatusBar();
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->GetFieldsCount(), 4);
  EXPECT_EQ(status->GetStatusText(0), "Ready");
  EXPECT_EQ(s.Frame()->GetMenuBar()->GetMenuCount(), 8u);
  EXPECT_EQ(s.Frame()->GetMenuBar()->GetMenuLabel(6), "S&teady_State");
}

TEST(Smoke, ViewShowsTheGridOnScreen) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  CZorvCanvas* canvas = s.View()->Canvas();
  s.Pump(20);
  const zorv::ViewMapping& m = s.View()->Core().Mapping();
  const zorv::Pos scroll = canvas->ScrollPos();
  const wxImage screen = ScreenOfView(canvas);
  if (const char* path = std::getenv("ZORV_SCREENSHOT")) {
    // The whole window, for the README.
    wxBitmap(GrabScreen(s.Frame()->GetScreenRect())).SaveFile(path, wxBITMAP_TYPE_PNG);
  }
  int checked = 0;
  for (int k = 1; k <= 20; ++k) {
    const int x = m.ToDeviceX(8 * k) - scroll.x, y = m.ToDeviceY(8 * k) - scroll.y;
    if (x >= screen.GetWidth() || y >= screen.GetHeight()) break;
    EXPECT_TRUE(IsGridGreen(screen, x, y)) << "grid dot (" << 8 * k << ", " << 8 * k << ") at " << x << "," << y;
    ++checked;
  }
  EXPECT_GT(checked, 10);
  // Between the dots the sheet is white.
  const int x = m.ToDeviceX(12) - scroll.x, y = m.ToDeviceY(12) - scroll.y;
  EXPECT_EQ(screen.GetRed(x, y), 255);
  EXPECT_EQ(screen.GetGreen(x, y), 255);
  EXPECT_EQ(screen.GetBlue(x, y), 255);
}

TEST(Smoke, GridCommandHidesTheDotsOnScreen) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.Command(ToolkitCommandId(cmd::ViewGrid));
  EXPECT_EQ(sdi::grid_shown, 0);
  s.Pump(20);
  const zorv::ViewMapping& m = s.View()->Core().Mapping();
  const zorv::Pos scroll = s.View()->Canvas()->ScrollPos();
  const wxImage screen = ScreenOfView(s.View()->Canvas());
  EXPECT_FALSE(IsGridGreen(screen, m.ToDeviceX(16) - scroll.x, m.ToDeviceY(16) - scroll.y));
}

TEST(Smoke, UnopenableFileOnTheCommandLineIsReported) {
  GuiSession s({"--nosplash", "/no/such/folder/buck.ckt"});
  ASSERT_TRUE(s.Started());
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
}

TEST(Smoke, ADroppedFileGoesThroughOpen) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  auto* target = dynamic_cast<CZorvDropTarget*>(s.Frame()->GetDropTarget());
  ASSERT_NE(target, nullptr);
  wxArrayString files;
  files.push_back("/no/such/folder/dropped.ckt");
  EXPECT_TRUE(target->OnDropFiles(10, 10, files));
  ASSERT_TRUE(s.WaitFor([&] { return !s.Messages().empty(); }));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"Couldn't Open File!"});
}

TEST(Smoke, ClosingAfterAnEditAsksToSave) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();  // every edit takes an undo point first
  EXPECT_TRUE(s.Doc()->IsModified());
  s.dialogs.seen.clear();
  s.dialogs.answers = {wxID_CANCEL};
  EXPECT_FALSE(s.Frame()->Close(false));
  ASSERT_EQ(s.dialogs.seen.size(), 1u);
  EXPECT_NE(s.dialogs.seen[0].message.Find("Untitled.ckt"), wxNOT_FOUND);
  EXPECT_TRUE(s.Frame()->IsShown());
  EXPECT_TRUE(s.Doc()->IsModified());
  s.dialogs.answers = {wxID_NO};
  EXPECT_TRUE(s.Frame()->Close(false));
  EXPECT_EQ(s.dialogs.seen.size(), 2u);
}

TEST(Smoke, ClosingUnchangedAsksNothing) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_TRUE(s.Frame()->Close(false));
  EXPECT_TRUE(s.dialogs.seen.empty()) << s.dialogs.seen.front().message;
}

TEST(Smoke, UndoPointGoesToThisProcesssFolder) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  const auto folder = s.View()->Core().Undo().Folder();
  EXPECT_EQ(folder, s.Dir().path() / ("zorv-" + std::to_string(getpid())));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(Smoke, SplashSwallowsTheFirstKey) {
  GuiSession s({});
  ASSERT_TRUE(s.Started());
  EXPECT_TRUE(CSplashWnd::IsShowing());
  wxKeyEvent key(wxEVT_KEY_DOWN);
  key.m_keyCode = 'A';
  EXPECT_EQ(wxTheApp->FilterEvent(key), wxEventFilter::Event_Processed);
  EXPECT_FALSE(CSplashWnd::IsShowing());
  EXPECT_EQ(wxTheApp->FilterEvent(key), wxEventFilter::Event_Skip);
}

TEST(Smoke, ElementToolbarCommandToggles) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  wxAuiToolBar* bar = s.Frame()->ElementBar();
  s.Command(ToolkitCommandId(cmd::ElementToolbar));
  EXPECT_FALSE(s.Frame()->IsBarShown(bar));
  EXPECT_TRUE(s.Frame()->IsBarShown(s.Frame()->MainToolBar()));
  s.Frame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_FALSE(s.Frame()->GetMenuBar()->IsChecked(ToolkitCommandId(cmd::ElementToolbar)));
  s.Command(ToolkitCommandId(cmd::ElementToolbar));
  EXPECT_TRUE(s.Frame()->IsBarShown(bar));
  s.Frame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_TRUE(s.Frame()->GetMenuBar()->IsChecked(ToolkitCommandId(cmd::ElementToolbar)));
}

TEST(Smoke, ZoomCommandsReachTheView) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.Command(ToolkitCommandId(cmd::ZoomIn));
  EXPECT_NEAR(s.View()->Core().Zoom(), 1.56, 1e-12);
  const zorv::Size total = s.View()->Core().Mapping().ViewportExtent();
  EXPECT_EQ(s.View()->Canvas()->GetVirtualSize().x, total.w);
  EXPECT_EQ(s.View()->Canvas()->GetVirtualSize().y, total.h);
  s.Command(ToolkitCommandId(cmd::ZoomOut));
  s.Command(ToolkitCommandId(cmd::ZoomOut));
  EXPECT_NEAR(s.View()->Core().Zoom(), 1.3 / 1.2, 1e-12);
  s.Command(ToolkitCommandId(cmd::ZoomAll));
  EXPECT_NEAR(s.View()->Core().Zoom(), s.View()->Core().Mapping().dpiX > 100 ? 1.04 : 1.3, 1e-12);
}

TEST(Smoke, AboutBoxShowsTheSystemFigures) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  CAboutDlg about(s.Frame());
  EXPECT_EQ(about.GetTitle(), "About ZORV");
  EXPECT_TRUE(about.MemoryLine().EndsWith(" KB"));
  EXPECT_NE(about.DiskLine().Find(" KB Free on "), wxNOT_FOUND);
  s.dialogs.answers = {wxID_OK};
  s.Command(wxID_ABOUT);
  ASSERT_FALSE(s.dialogs.seen.empty());
  EXPECT_EQ(s.dialogs.seen.back().title, "About ZORV");
}

TEST(Smoke, ProgressBarAndEscDuringARun) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  run_services& services = main_window();
  services.CreateProgressBar();
  wxGauge* gauge = s.Frame()->ProgressBar();
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->GetRange(), 50);
  EXPECT_EQ(gauge->GetValue(), 0);
  EXPECT_EQ(gauge->GetParent(), s.Frame()->GetStatusBar());
  for (int i = 0; i < 3; ++i) services.StepProgressBar();
  EXPECT_EQ(gauge->GetValue(), 3);
  EXPECT_TRUE(s.Frame()->IsRunning());
  EXPECT_FALSE(s.Frame()->Close(false));  // no closing during a run

  EXPECT_FALSE(services.poll_escape());
  // Real key presses, through the X server.
  s.View()->Canvas()->SetFocus();
  ASSERT_TRUE(s.WaitFor([&] { return wxWindow::FindFocus() == s.View()->Canvas(); }));
  wxUIActionSimulator keys;
  keys.Char('q');
  bool escape = false;
  for (int i = 0; i < 20 && !escape; ++i) {
    escape = services.poll_escape();
    wxMilliSleep(5);
  }
  EXPECT_FALSE(escape);
  keys.Char(WXK_ESCAPE);
  for (int i = 0; i < 200 && !escape; ++i) {
    escape = services.poll_escape();
    wxMilliSleep(5);
  }
  EXPECT_TRUE(escape);
  EXPECT_FALSE(services.poll_escape());

  // An accelerator during the run starts nothing: Ctrl+N would ask to save the change.
  s.View()->SaveBackup();
  s.dialogs.seen.clear();
  keys.Char('n', wxMOD_CONTROL);
  for (int i = 0; i < 40; ++i) {
    services.poll_escape();
    wxMilliSleep(5);
  }
  EXPECT_TRUE(s.dialogs.seen.empty()) << s.dialogs.seen.front().message;

  services.DeleteProgressBar();
  EXPECT_EQ(s.Frame()->ProgressBar(), nullptr);
  EXPECT_FALSE(s.Frame()->IsRunning());
  services.DeleteProgressBar();  // a second call does nothing

  services.simulation_done("1.005");
  EXPECT_EQ(s.Messages().back(), "Simulation completed! Total simulation time = 1.005 secs.");
}

TEST(Smoke, PrintingHidesTheGridAndBringsItBack) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  ASSERT_EQ(sdi::grid_shown, 1);
  std::unique_ptr<wxPrintout> printout(s.View()->OnCreatePrintout());
  wxBitmap page(425, 550, 24);
  wxMemoryDC dc(page);
  dc.SetBackground(*wxBLUE_BRUSH);
  dc.Clear();
  printout->SetDC(&dc);
  printout->SetPPIPrinter(50, 50);
  printout->SetPageSizePixels(425, 550);
  printout->OnPreparePrinting();
  EXPECT_EQ(sdi::grid_shown, 0);
  printout->OnBeginPrinting();
  EXPECT_TRUE(printout->OnPrintPage(1));
  printout->OnEndPrinting();
  EXPECT_EQ(sdi::grid_shown, 1);
  dc.SelectObject(wxNullBitmap);
  // The page is drawn (white sheet) without a single grid dot.
  const wxImage image = page.ConvertToImage();
  int green = 0, white = 0;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) {
      green += IsGridGreen(image, x, y);
      white += image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 255 && image.GetBlue(x, y) == 255;
    }
  EXPECT_EQ(green, 0);
  EXPECT_GT(white, 425 * 550 / 2);
}

TEST(Smoke, CancelledPrintingBringsTheGridBack) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  {
    std::unique_ptr<wxPrintout> printout(s.View()->OnCreatePrintout());
    printout->OnPreparePrinting();
    EXPECT_EQ(sdi::grid_shown, 0);
  }
  EXPECT_EQ(sdi::grid_shown, 1);
}

TEST(Smoke, TheSplashShowsOverTheMainWindow) {
  GuiSession s({});
  ASSERT_TRUE(s.Started());
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s) && CSplashWnd::IsShowing() && CSplashWnd::Current()->IsShownOnScreen(); }));
  s.Pump(20);
  CSplashWnd* splash = CSplashWnd::Current();
  const wxRect r = splash->GetScreenRect();
  // Centred over the frame.
  const wxRect f = s.Frame()->GetScreenRect();
  EXPECT_NEAR(r.x + r.width / 2, f.x + f.width / 2, 2);
  EXPECT_NEAR(r.y + r.height / 2, f.y + f.height / 2, 2);
  // The screen there shows the splash's picture: its drawn (not white) pixels.
  const wxImage shown = GrabScreen(r);
  const wxImage picture = CSplashWnd::SplashBitmap().ConvertToImage();
  ASSERT_EQ(shown.GetWidth(), picture.GetWidth());
  ASSERT_EQ(shown.GetHeight(), picture.GetHeight());
  long drawn = 0, same = 0;
  for (int y = 0; y < picture.GetHeight(); ++y)
    for (int x = 0; x < picture.GetWidth(); ++x) {
      const int r0 = picture.GetRed(x, y), g0 = picture.GetGreen(x, y), b0 = picture.GetBlue(x, y);
      if (r0 == 255 && g0 == 255 && b0 == 255) continue;
      ++drawn;
      same += shown.GetRed(x, y) == r0 && shown.GetGreen(x, y) == g0 && shown.GetBlue(x, y) == b0;
    }
  ASSERT_GT(drawn, 1000);
  EXPECT_GT(same, drawn * 95 / 100);
}

TEST(Smoke, ZoomingKeepsTheSheetPointAtTheWindowsCentre) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  CZorvCanvas* canvas = s.View()->Canvas();
  canvas->Scroll(600, 900);
  s.Pump(5);
  const wxSize client = canvas->GetClientSize();
  // The sheet point under the centre of the client area, in units.
  auto centre = [&] {
    const zorv::ViewMapping& m = s.View()->Core().Mapping();
    const zorv::Pos p = canvas->ScrollPos();
    return std::make_pair((p.x + client.x / 2.0) / m.ScaleX(), (p.y + client.y / 2.0) / m.ScaleY());
  };
  const auto before = centre();
  ASSERT_EQ(canvas->ScrollPos().x, 600);
  s.Command(ToolkitCommandId(cmd::ZoomIn));
  s.Command(ToolkitCommandId(cmd::ZoomIn));
  const auto in = centre();
  const double unit = 1.0 / s.View()->Core().Mapping().ScaleX();
  EXPECT_NEAR(in.first, before.first, unit);
  EXPECT_NEAR(in.second, before.second, unit);
  s.Command(ToolkitCommandId(cmd::ZoomOut));
  const auto out = centre();
  EXPECT_NEAR(out.first, before.first, 2 / s.View()->Core().Mapping().ScaleX());
  EXPECT_NEAR(out.second, before.second, 2 / s.View()->Core().Mapping().ScaleY());
}
