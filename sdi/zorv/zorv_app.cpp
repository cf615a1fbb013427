#include "sdi/zorv/zorv_app.h"

#include <clocale>
#include <csignal>
#include <exception>
#include <string>

#include <wx/config.h>
#include <wx/display.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include "sdi/netlist/launcher.h"
#include "sdi/base/report.h"
#include "sdi/netlist/wait_cursor.h"
#include "sdi/zorv/core/view/frame_geometry.h"
#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/document/shell_registration.h"
#include "sdi/zorv/drop_target.h"
#include "sdi/zorv/grats_dlg.h"
#include "sdi/zorv/main_frame.h"
#include "sdi/zorv/settings_store.h"
#include "sdi/zorv/splash_wnd.h"
#include "sdi/zorv/zorv_doc.h"
#include "sdi/zorv/zorv_doc_manager.h"
#include "sdi/zorv/zorv_view.h"

void CZorvApp::OnInitCmdLine(wxCmdLineParser& parser) {
  wxApp::OnInitCmdLine(parser);
  parser.AddSwitch("", "nosplash", "start without the splash window");
  parser.AddParam("circuit file", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CZorvApp::OnCmdLineParsed(wxCmdLineParser& parser) {
  if (!wxApp::OnCmdLineParsed(parser)) return false;
  m_showSplash = !parser.Found("nosplash");
  if (parser.GetParamCount() > 0) m_fileToOpen = parser.GetParam(0);
  return true;
}

bool CZorvApp::OnInit() {
  // 1. The command line, and whether to show the splash.
  if (!wxApp::OnInit()) return false;
  // A write past the file-size limit fails (and is said) instead of killing the editor
  // with its unsaved circuit.
  std::signal(SIGXFSZ, SIG_IGN);
  // The engine's arguments ("%g") and the dialogs' numbers are C-locale text,
  // whatever the toolkit took from the environment.
  std::setlocale(LC_NUMERIC, "C");
  CSplashWnd::EnableSplashScreen(m_showSplash);
  // Pictures go to the clipboard as PNG.
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  SetAppName("ZORV");
  SetAppDisplayName("ZORV");
  SetVendorName("Local AppWizard-Generated Applications");
  zorv::SetMessageSink([](const std::string& text) {
    wxMessageBox(wxString::FromUTF8(text), "ZORV", wxOK, wxTheApp ? wxTheApp->GetTopWindow() : nullptr);
  });
  // The model's boxes (its user messages and internal reports) go the same way.
  sdi::message_box_hook = [](const char* text) { zorv::ShowMessage(text); };
  // The finish dialog that reports a run after F8.
  m_previousFinishDialog = sdi::finish_dialog_hook;
  sdi::finish_dialog_hook = [](const char* text) {
    GRATS_Dg dlg(nullptr, wxString::FromUTF8(text));
    dlg.ShowModal();
  };
  // The busy cursor while the engine runs.
  sdi::wait_cursor_hook = [](bool on) {
    if (on)
      wxBeginBusyCursor();
    else if (wxIsBusy())
      wxEndBusyCursor();
  };

  // 3. The settings store and the recent files. No store is made behind our back (one
  // would be bound to the file and written back at exit).
  wxConfigBase::DontCreateOnDemand();
  m_settingsPath = wxFileConfig::GetLocalFileName("ZORV", wxCONFIG_USE_LOCAL_FILE).utf8_string();
  wxConfigBase::Set(OpenSettingsStore(m_settingsPath, m_keepSettings));
  m_docManager = new CZorvDocManager;
  m_docManager->FileHistoryLoad(*wxConfigBase::Get());

  // 4. The one document template.
  new wxDocTemplate(m_docManager, "Zorv Files", "*.ckt", "", "ckt", "Zorv.Document", "Zorv Document",
                    CLASSINFO(CZorvDoc), CLASSINFO(CZorvView));

  // 5. The desktop knows "*.ckt" files as ours.
  zorv::RegisterShellFileTypes(zorv::UserDataHome(), wxStandardPaths::Get().GetExecutablePath().utf8_string());

  // 6. The frame, then the document: a new one, then the file named.
  const wxRect screen = wxDisplay(0u).GetGeometry();
  const zorv::WindowRect r = zorv::MainFrameRect({screen.width, screen.height});
  m_frame = new CMainFrame(m_docManager, wxPoint(r.x, r.y), wxSize(r.w, r.h));
  SetTopWindow(m_frame);
  // Closed (also after a run), the frame is gone: no one may reach it through us.
  m_frame->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
    if (event.GetEventObject() == m_frame) m_frame = nullptr;
    event.Skip();
  });
  if (!m_docManager->CreateDocument(wxString(), wxDOC_NEW)) return false;
  if (!m_fileToOpen.empty()) m_docManager->CreateDocument(wxFileName(m_fileToOpen).GetAbsolutePath(), wxDOC_SILENT);

  // 7, 8. Show the window, titled after the document's file.
  m_frame->Show();
  m_frame->Update();
  // The splash was made with the frame, before the frame was shown.
  CSplashWnd::RaiseSplashScreen();
  if (CZorvDoc* doc = Document()) m_frame->SetLabel(wxString::FromUTF8(doc->Core().Title()));

  // 9. Files dropped on the window open as if chosen with File > Open.
  m_frame->SetDropTarget(new CZorvDropTarget(m_docManager));
  return true;
}

int CZorvApp::OnExit() {
  if (m_docManager) {
    if (m_keepSettings) KeepRecentFiles(*m_docManager->GetFileHistory(), m_settingsPath);
    delete m_docManager;
    m_docManager = nullptr;
  }
  delete wxConfigBase::Set(nullptr);
  sdi::message_box_hook = sdi::default_message_box;
  sdi::wait_cursor_hook = nullptr;
  if (m_previousFinishDialog) sdi::finish_dialog_hook = m_previousFinishDialog;
  zorv::SetMessageSink(nullptr);
  return wxApp::OnExit();
}

int CZorvApp::FilterEvent(wxEvent& event) {
  if (CSplashWnd::PreTranslateAppMessage(event)) return Event_Processed;
  return Event_Skip;
}

CZorvDoc* CZorvApp::Document() const {
  return m_docManager ? wxDynamicCast(m_docManager->GetCurrentDocument(), CZorvDoc) : nullptr;
}

CZorvView* CZorvApp::View() const {
  return m_docManager ? wxDynamicCast(m_docManager->GetCurrentView(), CZorvView) : nullptr;
}

namespace {

// The message of the exception being handled.
std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an unknown error";
  }
}

}  // namespace

void CZorvApp::OfferToSaveAfter(const char* what_happened) {
  CZorvDoc* doc = Document();
  std::string text = std::string(what_happened) + ": " + CurrentExceptionText();
  if (doc) text += "\n\nSave the circuit now?";
  const long buttons = doc ? wxYES_NO | wxICON_ERROR : wxOK | wxICON_ERROR;
  const int answer = wxMessageBox(wxString::FromUTF8(text), "ZORV", buttons, m_frame);
  if (doc && answer == wxYES) {
    try {
      wxCommandEvent save(wxEVT_MENU, wxID_SAVE);  // as File > Save: a name is asked for when there is none
      doc->ProcessEvent(save);
    } catch (...) {
      wxMessageBox("The circuit could not be saved: " + wxString::FromUTF8(CurrentExceptionText()), "ZORV",
                   wxOK | wxICON_ERROR, m_frame);
    }
  }
}

bool CZorvApp::OnExceptionInMainLoop() {
  // Back in the main loop no run goes on, whatever the command left: the window
  // must close again.
  if (m_frame && m_frame->IsRunning()) {
    m_frame->DeleteProgressBar();
    m_frame->SetRunning(false);
  }
  // The circuit stays as the command left it; the drawing is the user's to keep.
  OfferToSaveAfter("The last command stopped on an error");
  return true;
}

void CZorvApp::OnUnhandledException() { OfferToSaveAfter("ZORV must close after an error"); }
