// The editor started for real in a window under Xvfb: what the user sees on the screen
// and what the commands, keys and closing do.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include <wx/aui/auibar.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "sdi/draw/drawing.h"
#include "sdi/netlist/launcher.h"
#include "sdi/netlist/wait_cursor.h"
#include "sdi/zorv/client_draw.h"
#include "sdi/zorv/core/commands/command_ids.h"
#include "sdi/zorv/grats_dlg.h"
#include "sdi/zorv/splash_wnd.h"
#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/zorv_canvas.h"
#include "simu/base/run_services.h"
#include "zorv/smoke/buck_circuit.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/screen_grab.h"

namespace cmd = zorv::cmd;

namespace {

bool GridDotShown(GuiSession& s, int x, int y) {
  const wxPoint p = s.SheetToClient(x, y);
  return Rgb(GrabClient(s.View()->Canvas()), p.x, p.y, 0, 128, 0);
}

}  // namespace

TEST(Smoke, StartsUntitledWithToolbarsGridAndWorkingViewCommands) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.Started());
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
  EXPECT_FALSE(s.Doc()->IsModified());
  wxAuiToolBar* main = s.Frame()->MainToolBar();
  wxAuiToolBar* elements = s.Frame()->ElementBar();
  ASSERT_TRUE(main && elements);
  EXPECT_EQ(main->GetToolCount(), 21u);
  EXPECT_EQ(elements->GetToolCount(), 29u);
  EXPECT_EQ(s.Frame()->GetStatusBar()->GetStatusText(0), "Ready");
  EXPECT_EQ(s.Frame()->GetMenuBar()->GetMenuCount(), 8u);
  const wxRect tool = elements->GetToolRect(ToolkitCommandId(cmd::Wire));  // pointing shows the prompt
  wxUIActionSimulator().MouseMove(elements->ClientToScreen(tool.GetPosition() + wxPoint(tool.width / 2, tool.height / 2)));
  EXPECT_TRUE(s.WaitFor([&] { return s.Frame()->GetStatusBar()->GetStatusText(0) == "Connect the components with a  wire"; }));
  wxUIActionSimulator().MouseMove(s.View()->Canvas()->GetScreenRect().GetPosition() + wxPoint(100, 100));  // and leaving it
  EXPECT_TRUE(s.WaitFor([&] { return s.Frame()->GetStatusBar()->GetStatusText(0) == "Ready"; }));
  EXPECT_EQ(s.View()->Core().Undo().Folder().parent_path(), s.Dir().path());  // its private folder
  EXPECT_TRUE(std::filesystem::is_directory(s.View()->Core().Undo().Folder()));

  s.Pump(20);  // the grid on the screen, white between its dots
  for (int k = 1; k <= 10; ++k) EXPECT_TRUE(GridDotShown(s, 8 * k, 8 * k)) << k;
  const wxPoint between = s.SheetToClient(12, 12);
  EXPECT_TRUE(Rgb(GrabClient(s.View()->Canvas()), between.x, between.y, 255, 255, 255));
  s.Command(ToolkitCommandId(cmd::ViewGrid));
  s.Pump(20);
  EXPECT_FALSE(GridDotShown(s, 16, 16));

  const std::tuple<int, wxAuiToolBar*, wxAuiToolBar*> bars[] = {{cmd::ElementToolbar, elements, main}, {cmd::ViewToolbar, main, elements}};
  for (auto [command, bar, other] : bars) {
    s.Command(ToolkitCommandId(command));  // each bar hides and shows alone, its menu check following
    s.Frame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_FALSE(s.Frame()->IsBarShown(bar) || s.Frame()->GetMenuBar()->IsChecked(ToolkitCommandId(command))) << command;
    EXPECT_TRUE(s.Frame()->IsBarShown(other));
    s.Command(ToolkitCommandId(command));
    EXPECT_TRUE(s.Frame()->IsBarShown(bar));
  }

  wxUpdateUIEvent copy(ToolkitCommandId(cmd::CopyToClipboard));  // nothing to copy yet
  s.Frame()->GetEventHandler()->ProcessEvent(copy);
  EXPECT_FALSE(copy.GetEnabled());

  CZorvCanvas* canvas = s.View()->Canvas();  // zooming keeps the sheet point at the centre
  canvas->Scroll(600, 900);
  s.Pump(5);
  ASSERT_EQ(canvas->ScrollPos().x, 600);
  const wxSize client = canvas->GetClientSize();
  auto centre = [&] {
    const zorv::ViewMapping& m = s.View()->Core().Mapping();
    return std::make_pair((canvas->ScrollPos().x + client.x / 2.0) / m.ScaleX(), (canvas->ScrollPos().y + client.y / 2.0) / m.ScaleY());
  };
  const auto before = centre();
  s.Command(ToolkitCommandId(cmd::ZoomIn));
  s.Command(ToolkitCommandId(cmd::ZoomOut));
  s.Command(ToolkitCommandId(cmd::ZoomOut));
  EXPECT_NEAR(s.View()->Core().Zoom(), 1.3 / 1.2, 1e-12);
  EXPECT_EQ(canvas->GetVirtualSize().x, s.View()->Core().Mapping().ViewportExtent().w);
  EXPECT_EQ(canvas->GetVirtualSize().y, s.View()->Core().Mapping().ViewportExtent().h);
  const double unit = 1.0 / s.View()->Core().Mapping().ScaleX();
  EXPECT_NEAR(centre().first, before.first, 2 * unit);
  EXPECT_NEAR(centre().second, before.second, 2 * unit);
  const zorv::Pos at = canvas->ScrollPos();  // a wheel notch down scrolls one line down
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelRotation = -120;
  wheel.m_wheelDelta = 120;
  canvas->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(canvas->ScrollPos().x, at.x);
  EXPECT_GT(canvas->ScrollPos().y, at.y);
  for (int orient : {wxVERTICAL, wxHORIZONTAL}) {  // a scroll bar's arrows and page areas move along its own axis
    const zorv::Pos from = canvas->ScrollPos();
    std::vector<std::pair<int, int>> moved;  // along the bar, across it; after each event
    for (wxEventType t : {wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_PAGEUP}) {
      wxScrollWinEvent bar(t, 0, orient);
      canvas->GetEventHandler()->ProcessEvent(bar);
      const int dx = canvas->ScrollPos().x - from.x, dy = canvas->ScrollPos().y - from.y;
      moved.push_back(orient == wxHORIZONTAL ? std::make_pair(dx, dy) : std::make_pair(dy, dx));
    }
    SCOPED_TRACE(orient);
    EXPECT_GT(moved[0].first, 0);
    EXPECT_GT(moved[2].first, 2 * moved[0].first);  // a page is many lines
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{moved[0].first, 0}, {0, 0}, {moved[2].first, 0}, {0, 0}}));
  }
  zorv::ViewEditing& edit = s.View()->Core().Edit();  // a band being dragged ends when the capture goes
  edit.OnLButtonDown({40, 40});
  ASSERT_TRUE(edit.Banding());
  wxMouseCaptureLostEvent lost;
  canvas->GetEventHandler()->ProcessEvent(lost);
  EXPECT_FALSE(edit.Banding());
  s.Command(ToolkitCommandId(cmd::ZoomAll));
  EXPECT_NEAR(s.View()->Core().Zoom(), s.View()->Core().Mapping().dpiX > 100 ? 1.04 : 1.3, 1e-12);

  std::vector<bool> labelled;
  s.dialogs.onEnter = [&](wxDialog* d) {
    for (const char* label : {"System memory available:", "Disk space:"})
      labelled.push_back(wxWindow::FindWindowByLabel(label, d) != nullptr);
  };
  s.Command(wxID_ABOUT);
  s.dialogs.onEnter = nullptr;
  ASSERT_EQ(s.dialogs.seen.size(), 1u);
  EXPECT_EQ(s.dialogs.seen.back().title, "About ZORV");
  EXPECT_EQ(labelled, std::vector<bool>(2, true));
  s.Command(ToolkitCommandId(cmd::SubcircuitNew));
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.sct");
  EXPECT_TRUE(s.Frame()->Close(false));  // unchanged: nothing asked
  EXPECT_EQ(s.dialogs.seen.size(), 1u);
}

TEST(Smoke, TheSplashShowsOverTheMainWindowAndSwallowsTheFirstKey) {
  GuiSession s({});
  ASSERT_TRUE(s.Started());
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s) && CSplashWnd::IsShowing() && CSplashWnd::Current()->IsShownOnScreen(); }));
  s.Pump(20);
  const wxRect r = CSplashWnd::Current()->GetScreenRect(), f = s.Frame()->GetScreenRect();
  EXPECT_NEAR(r.x + r.width / 2, f.x + f.width / 2, 2);
  EXPECT_NEAR(r.y + r.height / 2, f.y + f.height / 2, 2);
  const wxImage shown = GrabScreen(r), picture = CSplashWnd::SplashBitmap().ConvertToImage();
  ASSERT_EQ(shown.GetSize(), picture.GetSize());
  long drawn = 0, same = 0;  // the picture's drawn (not white) pixels are on the screen
  for (int y = 0; y < picture.GetHeight(); ++y)
    for (int x = 0; x < picture.GetWidth(); ++x)
      if (!Rgb(picture, x, y, 255, 255, 255))
        ++drawn, same += Rgb(shown, x, y, picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y));
  ASSERT_GT(drawn, 1000);
  EXPECT_GT(same, drawn * 95 / 100);
  EXPECT_TRUE(Rgb(picture, 16, 16, 0, 128, 0));  // a green grid dot, inside the blue frame
  EXPECT_TRUE(Rgb(picture, 4, 100, 0, 0, 255));
  wxKeyEvent key(wxEVT_KEY_DOWN);
  key.m_keyCode = 'A';
  EXPECT_EQ(wxTheApp->FilterEvent(key), wxEventFilter::Event_Processed);
  EXPECT_FALSE(CSplashWnd::IsShowing());
  EXPECT_EQ(wxTheApp->FilterEvent(key), wxEventFilter::Event_Skip);
  s.Pump();  // the hidden splash is gone; a new one is closed as its timer closes it
  CSplashWnd::ShowSplashScreen(s.Frame());
  ASSERT_TRUE(CSplashWnd::IsShowing());
  CSplashWnd::Current()->Close(true);
  EXPECT_TRUE(s.WaitFor([] { return !CSplashWnd::IsShowing(); }));
}

TEST(Smoke, AChangedCircuitAsksSaveChangesBeforeClosingNewAndExit) {
  TempDir files;
  const std::string path = (files.path() / "asked.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();  // every edit takes an undo point first
  EXPECT_TRUE(s.Doc()->IsModified());
  s.dialogs.answers = {wxID_CANCEL};  // Cancel keeps the window and the change
  EXPECT_FALSE(s.Frame()->Close(false));
  EXPECT_EQ(s.dialogs.seen.at(0).title, "ZORV");
  EXPECT_TRUE(s.Doc()->IsModified());
  s.dialogs.answers = {wxID_NO};  // No: New goes ahead without writing
  s.Command(wxID_NEW);
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
  EXPECT_FALSE(s.Doc()->IsModified());

  s.View()->SaveBackup();
  ASSERT_TRUE(s.FocusCanvas());
  wxUIActionSimulator keys;  // no Ctrl+Q: pressing it starts nothing
  keys.Char('q', wxMOD_CONTROL);
  s.Settle();
  EXPECT_EQ(s.dialogs.seen.size(), 2u);
  s.dialogs.answers = {wxID_CANCEL};  // Ctrl+N, which it has, asks
  keys.Char('n', wxMOD_CONTROL);
  ASSERT_TRUE(s.WaitFor([&] { return s.dialogs.seen.size() == 3u; }));
  s.dialogs.answers = {wxID_CANCEL};  // File > Exit asks too
  s.Command(ZORV_ID(AppExit));
  EXPECT_EQ(s.Messages(), (std::vector<std::string>{"Save changes to asked.ckt?", "Save changes to asked.ckt?",
                                                    "Save changes to Untitled.ckt?", "Save changes to Untitled.ckt?"}));
  EXPECT_TRUE(s.Frame()->IsShown());
  s.dialogs.answers = {wxID_NO};
  EXPECT_TRUE(s.Frame()->Close(false));
}

// An exception out of a command's handler does not end the editor: its message is
// shown with the offer to save, and Yes saves the circuit.
TEST(Smoke, AnExceptionInACommandOffersToSaveAndTheEditorGoesOn) {
  TempDir files;
  const std::filesystem::path path = files.path() / "kept.ckt";
  ASSERT_TRUE(WriteBuckCircuit(path.string()));
  GuiSession s({"--nosplash", path.string()});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();  // an edit, not yet saved
  main_window().CreateProgressBar();  // a run the exception left behind does not keep the window open
  const int id = wxWindow::NewControlId();
  s.Frame()->Bind(wxEVT_MENU, [](wxCommandEvent&) { throw std::length_error("vector::_M_default_append"); }, id);
  std::filesystem::remove(path);
  const struct { int answer; bool saved; } rows[] = {{wxID_NO, false}, {wxID_YES, true}};
  for (const auto& row : rows) {
    s.dialogs.seen.clear();
    s.dialogs.answers = {row.answer};
    wxCommandEvent command(wxEVT_MENU, id);
    EXPECT_FALSE(s.Frame()->HandleWindowEvent(command));  // as a menu click is handled
    EXPECT_EQ(s.Messages(), std::vector<std::string>{"The last command stopped on an error: vector::_M_default_append"
                                                     "\n\nSave the circuit now?"});
    EXPECT_EQ(std::filesystem::exists(path), row.saved);
    EXPECT_EQ(s.Doc()->IsModified(), !row.saved);
    EXPECT_TRUE(s.Frame()->IsShown());
    EXPECT_FALSE(s.Frame()->IsRunning());
  }
}

TEST(Smoke, ARunShowsProgressTakesEscOnlyAndReportsItsEnd) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  run_services& services = main_window();
  {
    sdi::wait_cursor busy;
    EXPECT_TRUE(wxIsBusy());
  }
  EXPECT_FALSE(wxIsBusy());
  services.CreateProgressBar();
  wxGauge* gauge = s.Frame()->ProgressBar();
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->GetRange(), 50);
  EXPECT_EQ(gauge->GetParent(), s.Frame()->GetStatusBar());
  for (int i = 0; i < 3; ++i) services.StepProgressBar();
  EXPECT_EQ(gauge->GetValue(), 3);
  EXPECT_TRUE(s.Frame()->IsRunning());
  EXPECT_FALSE(s.Frame()->Close(false));  // no closing during a run
  EXPECT_FALSE(services.poll_escape());
  ASSERT_TRUE(s.FocusCanvas());
  wxUIActionSimulator keys;  // real key presses, through the X server
  auto escape_within = [&](int polls) {
    for (int i = 0; i < polls; ++i, wxMilliSleep(5))
      if (services.poll_escape()) return true;
    return false;
  };
  keys.Char('q');
  EXPECT_FALSE(escape_within(20));
  keys.Char(WXK_ESCAPE);
  EXPECT_TRUE(escape_within(200));
  EXPECT_FALSE(services.poll_escape());
  s.View()->SaveBackup();  // an accelerator starts nothing: Ctrl+N would ask to save
  keys.Char('n', wxMOD_CONTROL);
  escape_within(40);
  EXPECT_TRUE(s.dialogs.seen.empty());
  // File > Exit chosen meanwhile, with real clicks on the menu (Exit is its last row, 240
  // pixels below the bar in the test display's theme), is kept as a close for the run's
  // end, not dropped with the other input.
  s.Frame()->ForgetCloseAskedDuringRun();
  wxMenuBar* bar = s.Frame()->GetMenuBar();
  ASSERT_NE(bar, nullptr);
  for (const wxPoint at : {wxPoint(14, bar->GetSize().y / 2), wxPoint(40, 240)}) {
    keys.MouseMove(bar->GetScreenPosition() + at);
    escape_within(20);
    keys.MouseClick();
    escape_within(20);
  }
  for (int i = 0; i < 200 && !s.Frame()->CloseAskedDuringRun(); ++i, wxMilliSleep(5)) services.poll_escape();
  EXPECT_TRUE(s.Frame()->CloseAskedDuringRun());
  s.Frame()->ForgetCloseAskedDuringRun();
  services.DeleteProgressBar();
  EXPECT_EQ(s.Frame()->ProgressBar(), nullptr);
  EXPECT_FALSE(s.Frame()->IsRunning());
  services.DeleteProgressBar();  // a second call does nothing

  const int choice = sdi::plain_finish_message;
  sdi::plain_finish_message = 1;  // at start: the information box
  services.simulation_done("1.005");
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"Simulation completed! Total simulation time = 1.005 secs."});
  sdi::plain_finish_message = 0;  // after F8: the finish dialog
  wxString text;
  s.dialogs.onEnter = [&](wxDialog* dialog) {
    if (auto* grats = dynamic_cast<GRATS_Dg*>(dialog)) text = grats->Text();
  };
  services.simulation_done("0.25");
  sdi::plain_finish_message = choice;
  EXPECT_EQ(s.dialogs.seen.back().title, "ZORV");
  EXPECT_EQ(text, "Total simulation time = 0.25 secs.");
  EXPECT_EQ(s.Messages().size(), 1u);
  auto* dlg = new GRATS_Dg(s.Frame(), text);
  dlg->Show();  // the picture starts at 15 pixels, 3.5 units down
  EXPECT_TRUE(s.WaitFor([&] { return dlg->Slide().UnitX() > 0 && dlg->Slide().Picture().x == 15; }));
  EXPECT_EQ(dlg->Slide().Picture().y, static_cast<int>(dlg->Slide().UnitY() * 3.5));
  EXPECT_TRUE(s.WaitFor([&] { return dlg->Slide().Picture().x > 15; }));  // and slides
  dlg->Destroy();

  std::vector<long> icons;  // the engine's boxes: plain or information
  s.dialogs.onEnter = [&](wxDialog* dialog) {
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog))
      icons.push_back(box->GetMessageDialogStyle() & (wxICON_NONE | wxICON_INFORMATION));
  };
  EXPECT_EQ(services.message_box("Simulation terminated by user", box_style::plain), 1);
  EXPECT_EQ(services.message_box("Simulation completed!", box_style::information), 1);
  EXPECT_EQ(icons, (std::vector<long>{wxICON_NONE, wxICON_INFORMATION}));
  EXPECT_EQ(s.Messages().back(), "Simulation completed!");
}

TEST(Smoke, HandlerDrawingShowsAndInvertsBack) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.Pump(10);
  CZorvCanvas* canvas = s.View()->Canvas();
  const wxPoint p = s.SheetToClient(300, 204);
  {
    CClientDraw dc(*s.View());
    ASSERT_NE(sdi::pDC, nullptr);
    sdi::draw_line_hook(200, 204, 400, 204, 4, 0, 0);  // red, plain
  }
  EXPECT_EQ(sdi::pDC, nullptr);
  s.Pump(10);
  EXPECT_TRUE(Rgb(GrabClient(canvas), p.x, p.y, 255, 0, 0));
  {
    CClientDraw dc(*s.View());  // an inverting stroke drawn twice leaves the picture
    sdi::draw_line_hook(300, 150, 300, 250, 1, 3, 0);
    sdi::draw_line_hook(300, 150, 300, 250, 1, 3, 0);
  }
  s.Pump(10);
  EXPECT_TRUE(Rgb(GrabClient(canvas), p.x, p.y, 255, 0, 0));
  s.View()->Invalidate();  // a redraw from white forgets what handlers drew
  EXPECT_TRUE(s.WaitFor([&] { return GrabClient(canvas).GetGreen(p.x, p.y) == 255; }));
  EXPECT_EQ(canvas->Buffer().pixel(p.x, p.y), 0xFFFFFFu);
}
