// CZorvApp: the application object and its start-up.
//
// Command line: zorv [--nosplash] [FILE]. Start-up makes the settings store
// from ~/.ZORV with the last four files (written back at exit), the
// document template for ".ckt", the desktop registration, the main frame, the one
// document (the file named, or a new one), shows the window titled "ZORV - " + the
// file, and accepts files dropped on it.
#pragma once
#include <string>

#include <wx/app.h>
#include <wx/cmdline.h>

class CMainFrame;
class CZorvDoc;
class CZorvView;
class wxDocManager;

class CZorvApp : public wxApp {
public:
  bool OnInit() override;
  int OnExit() override;
  void OnInitCmdLine(wxCmdLineParser& parser) override;
  bool OnCmdLineParsed(wxCmdLineParser& parser) override;
  int FilterEvent(wxEvent& event) override;
  // An exception out of a command's handler (no memory, a length past its limit):
  // its message is shown with the offer to save the circuit, and the editor goes
  // on. Out of anything else the program ends, after the same offer.
  bool OnExceptionInMainLoop() override;
  void OnUnhandledException() override;

  CMainFrame* MainFrame() const { return m_frame; }
  wxDocManager* DocManager() const { return m_docManager; }
  CZorvDoc* Document() const;
  CZorvView* View() const;

private:
  // Shows what the current exception says and saves the circuit when the user
  // answers Yes. Called inside a catch block.
  void OfferToSaveAfter(const char* what_happened);

  wxDocManager* m_docManager = nullptr;
  CMainFrame* m_frame = nullptr;
  wxString m_fileToOpen;
  bool m_showSplash = true;
  std::string m_settingsPath;   // the settings file
  bool m_keepSettings = false;  // the recent files go back to it at exit
  void (*m_previousFinishDialog)(const char*) = nullptr;
};

wxDECLARE_APP(CZorvApp);
