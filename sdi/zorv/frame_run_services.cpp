#include "sdi/zorv/frame_run_services.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/msgdlg.h>

#include "sdi/netlist/launcher.h"
#include "sdi/zorv/main_frame.h"
#include "sdi/zorv/toolkit_ids.h"

namespace {

bool IsUserInput(const wxEvent& event) {
  const wxEventType t = event.GetEventType();
  return event.IsCommandEvent() || t == wxEVT_KEY_DOWN || t == wxEVT_KEY_UP || t == wxEVT_CHAR ||
         t == wxEVT_CHAR_HOOK || t == wxEVT_LEFT_DOWN || t == wxEVT_LEFT_UP || t == wxEVT_LEFT_DCLICK ||
         t == wxEVT_RIGHT_DOWN || t == wxEVT_RIGHT_UP || t == wxEVT_RIGHT_DCLICK || t == wxEVT_MIDDLE_DOWN ||
         t == wxEVT_MIDDLE_UP || t == wxEVT_MIDDLE_DCLICK || t == wxEVT_MOUSEWHEEL || t == wxEVT_MOTION ||
         t == wxEVT_CONTEXT_MENU;
}

bool IsInside(wxObject* object, wxWindow* top) {
  for (auto* w = wxDynamicCast(object, wxWindow); w; w = w->GetParent())
    if (w == top) return true;
  return false;
}

// Active only inside one poll: records an Esc key-down on the frame, drops input.
class EscapeFilter : public wxEventFilter {
public:
  explicit EscapeFilter(wxWindow* frame) : m_frame(frame) { wxEvtHandler::AddFilter(this); }
  ~EscapeFilter() override { wxEvtHandler::RemoveFilter(this); }

  int FilterEvent(wxEvent& event) override {
    if (!IsUserInput(event)) return Event_Skip;
    // The toolkit offers a key press first as a char hook, then as a key-down.
    const wxEventType t = event.GetEventType();
    if ((t == wxEVT_CHAR_HOOK || t == wxEVT_KEY_DOWN) && IsInside(event.GetEventObject(), m_frame) &&
        static_cast<wxKeyEvent&>(event).GetKeyCode() == WXK_ESCAPE)
      m_escape = true;
    // File > Exit is a close of the window: the frame keeps it until the run has ended.
    if (t == wxEVT_MENU && event.GetId() == ZORV_ID(AppExit)) m_frame->Close();
    return Event_Processed;  // handled: nothing else (accelerators, menus) sees it
  }
  bool Escape() const { return m_escape; }

private:
  wxWindow* m_frame;
  bool m_escape = false;
};

}  // namespace

CFrameRunServices::CFrameRunServices(CMainFrame& frame) : m_frame(frame) { set_main_window(this); }

CFrameRunServices::~CFrameRunServices() {
  if (&main_window() == this) set_main_window(nullptr);
}

void CFrameRunServices::CreateProgressBar() {
  m_frame.CreateProgressBar();
  m_frame.SetRunning(true);
}

void CFrameRunServices::StepProgressBar() { m_frame.StepProgressBar(); }

void CFrameRunServices::DeleteProgressBar() {
  m_frame.DeleteProgressBar();
  m_frame.SetRunning(false);
}

bool CFrameRunServices::poll_escape() {
  EscapeFilter filter(&m_frame);
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive())
    loop->YieldFor(wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT);
  else if (wxTheApp)
    wxTheApp->ProcessPendingEvents();
  return filter.Escape();
}

int CFrameRunServices::message_box(const char* text, box_style style) {
  // A plain box has no icon (the toolkit would otherwise pick one).
  const long icon = style == box_style::information ? wxICON_INFORMATION : wxICON_NONE;
  wxMessageBox(wxString::FromUTF8(text), "ZORV", wxOK | icon, &m_frame);
  return 1;
}

// The launcher's report: the information box, or the finish dialog after F8.
void CFrameRunServices::simulation_done(const char* secs) { sdi::simulation_done(secs); }
