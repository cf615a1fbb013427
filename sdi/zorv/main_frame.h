// CMainFrame: the main window: the view's canvas, the main toolbar at the top, the
// element toolbar ("Component Toolbar") at the bottom, both dockable on any side,
// the status bar (message, CAP, NUM, SCRL) and, during a run, the progress bar.
#pragma once
#include <wx/aui/aui.h>
#include <memory>

#include <wx/docview.h>

class CFrameRunServices;
class CZorvCanvas;
class wxGauge;

class CMainFrame : public wxDocParentFrame {
public:
  // Window ids of the bars (distinct, so each can be found and toggled alone; the
  // commands that toggle them keep their own ids).
  enum { ID_MAIN_TOOLBAR = 20001, ID_ELEMENT_TOOLBAR = 20002, ID_STATUS_BAR = 20003, ID_PROGRESS = 1 };
  static constexpr int kProgressSteps = 50;

  CMainFrame(wxDocManager* manager, const wxPoint& pos, const wxSize& size);
  ~CMainFrame() override;

  CZorvCanvas* Canvas() const { return m_canvas; }
  wxAuiToolBar* MainToolBar() const { return m_wndToolBar; }
  wxAuiToolBar* ElementBar() const { return m_wndElementBar; }
  bool IsBarShown(wxWindow* bar);
  void ShowBar(wxWindow* bar, bool show);

  // The run's progress bar over the status bar's message pane: 0..50, step 1.
  void CreateProgressBar();
  void StepProgressBar();
  void DeleteProgressBar();
  wxGauge* ProgressBar() const { return m_pProgressBar; }

  // While set, the window cannot be closed (a simulation is running): a close asked
  // for meanwhile is kept until the run's command ends. CloseIfAskedDuringRun, when it
  // has returned, closes the window then (with the usual prompt to save);
  // ForgetCloseAskedDuringRun, when it failed, drops the request and the status line's
  // promise (the error's own box follows and offers to save). Either way it never
  // outlives the command.
  void SetRunning(bool running) { m_running = running; }
  bool IsRunning() const { return m_running; }
  void CloseIfAskedDuringRun();
  void ForgetCloseAskedDuringRun();
  bool CloseAskedDuringRun() const { return m_closeAfterRun; }

  // Gives the keyboard to the sheet, so Space, Esc, Delete and the arrows act at
  // once; not while another window (a dialog, the sequence report) has it.
  void FocusSheet();

protected:
  // Every command, from a menu, a toolbar or a key, leaves the keyboard on the sheet.
  bool TryBefore(wxEvent& event) override;

private:
  class DialogFocusHook;
  void CreateMenus();
  wxAuiToolBar* CreateBar(int id, const std::vector<int>& buttons, const wxString& title);
  void OnToolMotion(wxMouseEvent& event);
  void OnToolLeave(wxMouseEvent& event);
  void OnViewToolbar(wxCommandEvent&);
  void OnUpdateViewToolbar(wxUpdateUIEvent& event);
  void OnViewElementToolbar(wxCommandEvent&);
  void OnUpdateViewElementToolbar(wxUpdateUIEvent& event);
  void OnViewStatusBar(wxCommandEvent&);
  void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
  void OnAppAbout(wxCommandEvent&);
  void OnNoPane(wxCommandEvent&) {}
  void OnIdle(wxIdleEvent& event);
  void OnClose(wxCloseEvent& event);

  wxAuiManager m_aui;
  CZorvCanvas* m_canvas = nullptr;
  wxStatusBar* m_wndStatusBar = nullptr;
  wxAuiToolBar* m_wndToolBar = nullptr;
  wxAuiToolBar* m_wndElementBar = nullptr;
  wxGauge* m_pProgressBar = nullptr;
  bool m_running = false;
  bool m_closeAfterRun = false;
  std::unique_ptr<CFrameRunServices> m_runServices;
  std::unique_ptr<DialogFocusHook> m_dialogFocus;
};
