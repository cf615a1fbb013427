#include "sdi/zorv/main_frame.h"

#include <wx/app.h>
#include <wx/display.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "sdi/zorv/about_dlg.h"
#include "sdi/zorv/frame_run_services.h"
#include "sdi/zorv/core/commands/command_ids.h"
#include "sdi/zorv/core/commands/command_table.h"
#include "sdi/zorv/core/document/doc_names.h"
#include "sdi/zorv/splash_wnd.h"
#include "sdi/zorv/tool_art.h"
#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/zorv_canvas.h"
#include "sdi/zorv/zorv_icon.h"

namespace cmd = zorv::cmd;

namespace {

// Shown while a close asked for during a run waits for its end.
const char kClosePromise[] = "The window closes when the run has ended (Esc ends it now).";

wxString Help(int id) { return wxString::FromUTF8(zorv::PromptFor(id).status); }

wxMenu* BuildMenu(const std::vector<zorv::MenuItem>& items, wxMenu*& recentFiles) {
  auto* menu = new wxMenu;
  for (const zorv::MenuItem& item : items) {
    if (item.label == "-") {
      menu->AppendSeparator();
    } else if (!item.items.empty()) {
      menu->AppendSubMenu(BuildMenu(item.items, recentFiles), wxString::FromUTF8(item.label));
    } else if (item.id == cmd::RecentFile) {
      recentFiles = new wxMenu;
      menu->AppendSubMenu(recentFiles, wxString::FromUTF8(item.label));
    } else {
      const bool checkable = item.id == cmd::ViewToolbar || item.id == cmd::ElementToolbar ||
                             item.id == cmd::ViewStatusBar || item.id == cmd::ViewGrid || item.id == cmd::Wire;
      menu->Append(ToolkitCommandId(item.id), wxString::FromUTF8(item.label), Help(item.id),
                   checkable ? wxITEM_CHECK : wxITEM_NORMAL);
    }
  }
  return menu;
}

int AccelKeyCode(const zorv::Accelerator& a) {
  switch (a.key) {
    case zorv::AccelKey::Backspace: return WXK_BACK;
    case zorv::AccelKey::Delete: return WXK_DELETE;
    case zorv::AccelKey::Insert: return WXK_INSERT;
    case zorv::AccelKey::F6: return WXK_F6;
    case zorv::AccelKey::Letter: break;
  }
  return a.letter;
}

}  // namespace

// When a modal dialog or message box closes, the sheet gets the keyboard back.
class CMainFrame::DialogFocusHook : public wxModalDialogHook {
public:
  explicit DialogFocusHook(CMainFrame& frame) : m_frame(frame) { Register(); }
  ~DialogFocusHook() override { Unregister(); }

protected:
  int Enter(wxDialog*) override { return wxID_NONE; }
  void Exit(wxDialog*) override { m_frame.CallAfter(&CMainFrame::FocusSheet); }

private:
  CMainFrame& m_frame;
};

CMainFrame::CMainFrame(wxDocManager* manager, const wxPoint& pos, const wxSize& size)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, "ZORV", pos, size) {
  SetIcon(ZorvIcon());
  m_aui.SetManagedWindow(this);
  m_canvas = new CZorvCanvas(this);
  m_aui.AddPane(m_canvas, wxAuiPaneInfo().Name("view").CenterPane());

  m_wndToolBar = CreateBar(ID_MAIN_TOOLBAR, zorv::MainToolbarButtons(), "Toolbar");
  m_aui.AddPane(m_wndToolBar, wxAuiPaneInfo().Name("toolbar").Caption("Toolbar").ToolbarPane().Top().Row(0));
  m_wndElementBar = CreateBar(ID_ELEMENT_TOOLBAR, zorv::ElementToolbarButtons(), "Component Toolbar");
  m_aui.AddPane(m_wndElementBar,
                wxAuiPaneInfo().Name("elements").Caption("Component Toolbar").ToolbarPane().Bottom().Row(0));

  m_wndStatusBar = CreateStatusBar(4, wxSTB_DEFAULT_STYLE, ID_STATUS_BAR);
  const int widths[] = {-1, 44, 44, 44};
  m_wndStatusBar->SetStatusWidths(4, widths);
  SetStatusText("Ready", 0);

  CreateMenus();
  m_aui.Update();
  SetLabel(wxString::FromUTF8(zorv::MainTitle(zorv::kUntitledFile)));

  Bind(wxEVT_MENU, &CMainFrame::OnViewToolbar, this, ZORV_ID(ViewToolbar));
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewToolbar, this, ZORV_ID(ViewToolbar));
  Bind(wxEVT_MENU, &CMainFrame::OnViewElementToolbar, this, ZORV_ID(ElementToolbar));
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewElementToolbar, this, ZORV_ID(ElementToolbar));
  Bind(wxEVT_MENU, &CMainFrame::OnViewStatusBar, this, ZORV_ID(ViewStatusBar));
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewStatusBar, this, ZORV_ID(ViewStatusBar));
  Bind(wxEVT_MENU, &CMainFrame::OnAppAbout, this, wxID_ABOUT);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, ZORV_ID(AppExit));
  Bind(wxEVT_MENU, &CMainFrame::OnNoPane, this, ZORV_ID(NextPane));
  Bind(wxEVT_MENU, &CMainFrame::OnNoPane, this, ZORV_ID(PrevPane));
  Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
    event.Skip();
    if (event.GetActive()) CallAfter(&CMainFrame::FocusSheet);
  });
  m_dialogFocus = std::make_unique<DialogFocusHook>(*this);

  m_runServices = std::make_unique<CFrameRunServices>(*this);
  CSplashWnd::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame() {
  m_dialogFocus.reset();
  m_runServices.reset();
  m_aui.UnInit();
}

void CMainFrame::CreateMenus() {
  wxMenu* recentFiles = nullptr;
  auto* bar = new wxMenuBar;
  for (const zorv::MenuItem& popup : zorv::MainMenu())
    bar->Append(BuildMenu(popup.items, recentFiles), wxString::FromUTF8(popup.label));
  SetMenuBar(bar);
  if (wxDocManager* docs = GetDocumentManager(); recentFiles && docs) {
    docs->FileHistoryUseMenu(recentFiles);
    docs->FileHistoryAddFilesToMenu(recentFiles);
  }
  std::vector<wxAcceleratorEntry> entries;
  for (const zorv::Accelerator& a : zorv::Accelerators()) {
    int flags = wxACCEL_NORMAL;
    if (a.ctrl) flags |= wxACCEL_CTRL;
    if (a.shift) flags |= wxACCEL_SHIFT;
    if (a.alt) flags |= wxACCEL_ALT;
    entries.emplace_back(flags, AccelKeyCode(a), ToolkitCommandId(a.id));
  }
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
}

wxAuiToolBar* CMainFrame::CreateBar(int id, const std::vector<int>& buttons, const wxString& title) {
  auto* bar = new wxAuiToolBar(this, id, wxDefaultPosition, wxDefaultSize,
                               wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER | wxAUI_TB_HORZ_LAYOUT);
  bar->SetName(title);
  bar->SetLabel(title);
  bar->SetToolBitmapSize(wxSize(16, 15));
  for (int button : buttons) {
    if (button == 0) {
      bar->AddSeparator();
      continue;
    }
    const zorv::CommandPrompt prompt = zorv::PromptFor(button);
    // Wire and Select show the editing mode: checked while it is on.
    const wxItemKind kind = button == cmd::Wire || button == cmd::Select ? wxITEM_CHECK : wxITEM_NORMAL;
    bar->AddTool(ToolkitCommandId(button), wxString::FromUTF8(prompt.tooltip), ToolBitmap(button), wxNullBitmap,
                 kind, wxString::FromUTF8(prompt.tooltip), wxString::FromUTF8(prompt.status), nullptr);
    bar->SetToolLongHelp(ToolkitCommandId(button), wxString::FromUTF8(prompt.status));
  }
  bar->Realize();
  bar->Bind(wxEVT_MOTION, &CMainFrame::OnToolMotion, this);
  bar->Bind(wxEVT_LEAVE_WINDOW, &CMainFrame::OnToolLeave, this);
  return bar;
}

void CMainFrame::OnToolMotion(wxMouseEvent& event) {
  event.Skip();
  auto* bar = wxDynamicCast(event.GetEventObject(), wxAuiToolBar);
  if (!bar) return;
  wxAuiToolBarItem* item = bar->FindToolByPosition(event.GetX(), event.GetY());
  if (item && item->GetKind() != wxITEM_SEPARATOR)
    DoGiveHelp(item->GetLongHelp(), true);
  else
    DoGiveHelp(wxString(), false);
}

void CMainFrame::OnToolLeave(wxMouseEvent& event) {
  event.Skip();
  DoGiveHelp(wxString(), false);
  SetStatusText("Ready", 0);
}

bool CMainFrame::IsBarShown(wxWindow* bar) { return m_aui.GetPane(bar).IsShown(); }

void CMainFrame::ShowBar(wxWindow* bar, bool show) {
  m_aui.GetPane(bar).Show(show);
  m_aui.Update();
}

void CMainFrame::OnViewToolbar(wxCommandEvent&) { ShowBar(m_wndToolBar, !IsBarShown(m_wndToolBar)); }
void CMainFrame::OnUpdateViewToolbar(wxUpdateUIEvent& event) { event.Check(IsBarShown(m_wndToolBar)); }
void CMainFrame::OnViewElementToolbar(wxCommandEvent&) { ShowBar(m_wndElementBar, !IsBarShown(m_wndElementBar)); }
void CMainFrame::OnUpdateViewElementToolbar(wxUpdateUIEvent& event) { event.Check(IsBarShown(m_wndElementBar)); }

void CMainFrame::OnViewStatusBar(wxCommandEvent&) {
  m_wndStatusBar->Show(!m_wndStatusBar->IsShown());
  SendSizeEvent();
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event) { event.Check(m_wndStatusBar->IsShown()); }

void CMainFrame::OnAppAbout(wxCommandEvent&) {
  CAboutDlg dlg(this);
  dlg.ShowModal();
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
  event.Skip();
  if (wxGetDisplayInfo().type != wxDisplayX11) return;
  const struct {
    wxKeyCode key;
    const char* text;
  } indicators[] = {{WXK_CAPITAL, "CAP"}, {WXK_NUMLOCK, "NUM"}, {WXK_SCROLL, "SCRL"}};
  for (int i = 0; i < 3; ++i) {
    const wxString text = wxGetKeyState(indicators[i].key) ? indicators[i].text : "";
    if (m_wndStatusBar->GetStatusText(i + 1) != text) m_wndStatusBar->SetStatusText(text, i + 1);
  }
}

bool CMainFrame::TryBefore(wxEvent& event) {
  if (event.GetEventType() == wxEVT_MENU) CallAfter(&CMainFrame::FocusSheet);
  return wxDocParentFrame::TryBefore(event);
}

void CMainFrame::FocusSheet() {
  if (!m_canvas || IsBeingDeleted()) return;
  wxWindow* focus = FindFocus();
  if (focus == m_canvas || (focus && wxGetTopLevelParent(focus) != this)) return;
  m_canvas->SetFocus();
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  if (m_running && event.CanVeto()) {
    // The engine runs inside a handler below us: close once it has returned.
    event.Veto();
    m_closeAfterRun = true;
    SetStatusText(kClosePromise, 0);
    return;
  }
  m_closeAfterRun = false;
  event.Skip();  // the document manager asks to save, then closes
}

void CMainFrame::CloseIfAskedDuringRun() {
  if (!m_closeAfterRun || m_running) return;
  m_closeAfterRun = false;
  // Kept open (the save prompt cancelled): the status no longer promises a close.
  CallAfter([this] {
    if (!Close()) SetStatusText("Ready", 0);
  });
}

void CMainFrame::ForgetCloseAskedDuringRun() {
  m_closeAfterRun = false;
  // Dropped with the failed command: the status no longer promises a close.
  if (m_wndStatusBar && m_wndStatusBar->GetStatusText(0) == kClosePromise) SetStatusText("Ready", 0);
}

void CMainFrame::CreateProgressBar() {
  DeleteProgressBar();
  wxRect pane;
  m_wndStatusBar->GetFieldRect(0, pane);
  m_pProgressBar = new wxGauge(m_wndStatusBar, ID_PROGRESS, kProgressSteps, pane.GetPosition(), pane.GetSize());
  m_pProgressBar->SetValue(0);
}

void CMainFrame::StepProgressBar() {
  if (!m_pProgressBar) return;
  const int value = m_pProgressBar->GetValue();
  // A full bar starts again, as a stepped progress control wraps.
  m_pProgressBar->SetValue(value >= kProgressSteps ? 1 : value + 1);
  m_pProgressBar->Update();
}

void CMainFrame::DeleteProgressBar() {
  if (!m_pProgressBar) return;
  m_pProgressBar->Destroy();
  m_pProgressBar = nullptr;
}
