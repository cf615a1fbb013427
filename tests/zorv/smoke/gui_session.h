// Runs the editor's real application object in a window (under Xvfb) inside a test.
//
// Each test starts one session and is run as its own process (CTest runs each
// TEST(Smoke, ...) separately): the toolkit can be started once per process.
//     GuiSession s({"--nosplash"});
//     s.WaitFor([&] { return Shown(s); });      // the main window is on the screen
//     s.dialogs.answers.push_back(wxID_NO);   // the next modal box answers No
// Modal dialogs and message boxes never show: they are recorded and answered.
#pragma once
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include "common/temp_dir.h"
#include "sdi/zorv/main_frame.h"
#include "sdi/zorv/zorv_app.h"
#include "sdi/zorv/zorv_doc.h"
#include "sdi/zorv/zorv_view.h"

// Records every modal dialog and answers it with the next queued id (wxID_OK when
// none is queued).
class DialogRecorder : public wxModalDialogHook {
public:
  struct Seen {
    wxString title;
    wxString message;  // the text of a message box
  };
  std::vector<Seen> seen;
  std::deque<int> answers;
  // Runs on each dialog before it is answered (to fill in a file dialog, say).
  std::function<void(wxDialog*)> onEnter;

protected:
  int Enter(wxDialog* dialog) override {
    Seen s{dialog->GetTitle(), wxString()};
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) s.message = box->GetMessage();
    seen.push_back(s);
    if (onEnter) onEnter(dialog);
    if (answers.empty()) return wxID_OK;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Exit(wxDialog*) override {}
};

class GuiSession {
public:
  // prepare, when given, fills the fresh home folder before the program starts.
  explicit GuiSession(std::vector<std::string> args,
                      const std::function<void(const std::filesystem::path& home)>& prepare = {});
  ~GuiSession();

  bool Started() const { return m_started; }
  CZorvApp& App() const { return *static_cast<CZorvApp*>(wxTheApp); }
  CMainFrame* Frame() const { return App().MainFrame(); }
  CZorvDoc* Doc() const { return App().Document(); }
  CZorvView* View() const { return App().View(); }
  const TempDir& Dir() const { return m_dir; }

  // Lets the toolkit handle what is pending (paints, queued calls, idle updates).
  void Pump(int rounds = 5);
  // Pumps until the condition holds; false when it never did within a bounded number of rounds.
  bool WaitFor(const std::function<bool()>& done);
  // Sends a command as a menu click would.
  void Command(int id);
  // Raises the main window and gives the canvas the keyboard focus; false when it never got it.
  bool FocusCanvas();
  // Lets the X server deliver what was simulated.
  void Settle() {
    for (int i = 0; i < 10; ++i) Pump(2);
  }
  // A sheet point in the canvas's client area and on the screen, through the view's mapping and scroll.
  wxPoint SheetToClient(int x, int y) const;
  wxPoint SheetToScreen(int x, int y) const;
  // The messages of the message boxes seen so far.
  std::vector<std::string> Messages() const;

  DialogRecorder dialogs;

private:
  TempDir m_dir;
  std::vector<std::string> m_args;
  std::vector<char*> m_argv;
  int m_argc = 0;
  bool m_started = false;
  std::unique_ptr<wxEventLoopBase> m_loop;
  std::unique_ptr<wxEventLoopActivator> m_activator;
};

// Points HOME and the XDG folders into `dir`, so no test reads or writes the user's settings.
void UseFreshHome(const std::filesystem::path& dir);

// The main window is up and on the screen.
inline bool Shown(GuiSession& s) { return s.Frame() && s.Frame()->IsShownOnScreen(); }
