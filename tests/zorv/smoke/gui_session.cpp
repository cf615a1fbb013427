#include "zorv/smoke/gui_session.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include <wx/apptrait.h>
#include <wx/init.h>
#include <wx/utils.h>

#include "sdi/zorv/zorv_canvas.h"

wxIMPLEMENT_APP_NO_MAIN(CZorvApp);

namespace {

// A failed toolkit assertion fails the test instead of opening a box nobody answers.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  ADD_FAILURE() << "wx assertion at " << file << ":" << line << " in " << func << ": " << cond << " " << msg;
}

}  // namespace

void UseFreshHome(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir / "home");
  setenv("HOME", (dir / "home").c_str(), 1);
  setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  setenv("NO_AT_BRIDGE", "1", 1);
}

GuiSession::GuiSession(std::vector<std::string> args,
                       const std::function<void(const std::filesystem::path& home)>& prepare) {
  wxSetAssertHandler(FailOnAssert);
  UseFreshHome(m_dir.path());
  if (prepare) prepare(m_dir.path() / "home");
  m_args.push_back("zorv");
  for (auto& a : args) m_args.push_back(a);
  for (auto& a : m_args) m_argv.push_back(a.data());
  m_argv.push_back(nullptr);
  m_argc = static_cast<int>(m_args.size());
  dialogs.Register();
  wxApp::SetInstance(new CZorvApp);
  if (!wxEntryStart(m_argc, m_argv.data())) return;
  m_loop.reset(wxTheApp->GetTraits()->CreateEventLoop());
  m_activator = std::make_unique<wxEventLoopActivator>(m_loop.get());
  m_started = wxTheApp->CallOnInit();
  Pump();
}

GuiSession::~GuiSession() {
  if (m_started) {
    if (CZorvDoc* doc = Doc()) doc->Modify(false);
    if (CMainFrame* frame = Frame()) frame->Close(true);
    Pump();
    wxTheApp->OnExit();
  }
  m_activator.reset();
  m_loop.reset();
  wxEntryCleanup();
  dialogs.Unregister();
}

void GuiSession::Pump(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    wxTheApp->ProcessPendingEvents();
    m_loop->YieldFor(wxEVT_CATEGORY_ALL);
    wxTheApp->ProcessIdle();
    wxMilliSleep(5);
  }
}

bool GuiSession::WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 400; ++i) {
    if (done()) return true;
    Pump(1);
  }
  return done();
}

void GuiSession::Command(int id) {
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(Frame());
  Frame()->GetEventHandler()->ProcessEvent(event);
  Pump(2);
}

std::vector<std::string> GuiSession::Messages() const {
  std::vector<std::string> out;
  for (const auto& s : dialogs.seen)
    if (!s.message.empty()) out.push_back(s.message.utf8_string());
  return out;
}

bool GuiSession::FocusCanvas() {
  Frame()->Raise();
  CZorvCanvas* canvas = View()->Canvas();
  canvas->SetFocus();
  return WaitFor([&] { return wxWindow::FindFocus() == canvas; });
}

wxPoint GuiSession::SheetToClient(int x, int y) const {
  const zorv::ViewMapping& m = View()->Core().Mapping();
  const zorv::Pos scroll = View()->Canvas()->ScrollPos();
  return {m.ToDeviceX(x) - scroll.x, m.ToDeviceY(y) - scroll.y};
}

wxPoint GuiSession::SheetToScreen(int x, int y) const { return View()->Canvas()->ClientToScreen(SheetToClient(x, y)); }
