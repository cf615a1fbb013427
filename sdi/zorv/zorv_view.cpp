#include "sdi/zorv/zorv_view.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include "sdi/draw/drawing.h"
#include "sdi/files/circuit_file.h"
#include "sdi/zorv/core/base/signal_cleanup.h"
#include "sdi/elements/element.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/sub_element.h"
#include "sdi/zorv/core/commands/element_icons.h"
#include "sdi/zorv/zorv_doc.h"
#include "sdi/zorv/core/document/circuit_files.h"
#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/core/view/view_render.h"
#include "sdi/zorv/form_dialog.h"
#include "sdi/zorv/main_frame.h"
#include "sdi/zorv/picture.h"
#include "sdi/zorv/zorv_canvas.h"
#include "sdi/zorv/zorv_printout.h"

wxIMPLEMENT_DYNAMIC_CLASS(CZorvView, wxView);

CZorvView::CZorvView()
    : m_undo(std::make_unique<zorv::UndoFiles>()),
      m_core(std::make_unique<zorv::ViewCore>(*this, *m_undo, sdi::write_circuit)),
      m_editCommands(std::make_unique<zorv::EditCommands>(*m_core, zorv::ModelCircuitFiles())) {
  // Killed by a signal, the editor leaves no snapshots of the circuit behind.
  zorv::RemoveOnSignal(m_undo->Paths());
  sdi::grid_shown = 1;
  m_core->BindGridFlag(sdi::grid_shown);
  Bind(wxEVT_MENU, &CZorvView::OnViewZoomIn, this, ZORV_ID(ZoomIn));
  Bind(wxEVT_MENU, &CZorvView::OnViewZoomOut, this, ZORV_ID(ZoomOut));
  Bind(wxEVT_MENU, &CZorvView::OnViewZoomAll, this, ZORV_ID(ZoomAll));
  Bind(wxEVT_MENU, &CZorvView::OnViewRedraw, this, ZORV_ID(Redraw));
  Bind(wxEVT_MENU, &CZorvView::OnViewGrid, this, ZORV_ID(ViewGrid));
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateViewGrid, this, ZORV_ID(ViewGrid));
  Bind(wxEVT_MENU, &CZorvView::OnEditCopyToClipboard, this, ZORV_ID(CopyToClipboard));
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateEditCopyToClipboard, this, ZORV_ID(CopyToClipboard));
  // Editing.
  Bind(wxEVT_MENU, &CZorvView::OnEditUndo, this, wxID_UNDO);
  Bind(wxEVT_MENU, &CZorvView::OnEditRedo, this, wxID_REDO);
  Bind(wxEVT_MENU, &CZorvView::OnEditCut, this, wxID_CUT);
  Bind(wxEVT_MENU, &CZorvView::OnEditCopy, this, wxID_COPY);
  Bind(wxEVT_MENU, &CZorvView::OnEditPaste, this, wxID_PASTE);
  Bind(wxEVT_MENU, &CZorvView::OnEditSelectAll, this, wxID_SELECTALL);
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateEditUndo, this, wxID_UNDO);
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateEditRedo, this, wxID_REDO);
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateEditCopy, this, wxID_CUT);
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateEditCopy, this, wxID_COPY);
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateEditPaste, this, wxID_PASTE);
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateEditSelectAll, this, wxID_SELECTALL);
  Bind(wxEVT_MENU, &CZorvView::OnWire, this, ZORV_ID(Wire));
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateWire, this, ZORV_ID(Wire));
  Bind(wxEVT_MENU, &CZorvView::OnSelect, this, ZORV_ID(Select));
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateSelect, this, ZORV_ID(Select));
  Bind(wxEVT_MENU, &CZorvView::OnElement, this, ZORV_ID(VDC), ZORV_ID(Multiplier));
  Bind(wxEVT_MENU, &CZorvView::OnSubcircuitNew, this, ZORV_ID(SubcircuitNew));
  Bind(wxEVT_MENU, &CZorvView::OnSubcircuitOpen, this, ZORV_ID(SubcircuitOpen));
  Bind(wxEVT_MENU, &CZorvView::OnSubcircuitSave, this, ZORV_ID(SubcircuitSave));
  Bind(wxEVT_MENU, &CZorvView::OnSubcircuitSaveAs, this, ZORV_ID(SubcircuitSaveAs));
  Bind(wxEVT_MENU, &CZorvView::OnLibraryUpdate, this, ZORV_ID(LibraryUpdate));
  Bind(wxEVT_MENU, &CZorvView::OnLibraryEntry, this, zorv::kLibraryFirstId, zorv::kLibraryFirstId + 999);
  Bind(wxEVT_UPDATE_UI, &CZorvView::OnUpdateLibraryEntry, this, zorv::kLibraryFirstId,
       zorv::kLibraryFirstId + 999);
}

CZorvView::~CZorvView() {
  zorv::RemoveOnSignal({});
  if (m_canvas) {
    m_canvas->SetRenderer(nullptr);
    m_canvas->SetEditing(nullptr);
    m_canvas->SetDoubleClick(nullptr, nullptr);
  }
}

bool CZorvView::OnCreate(wxDocument* doc, long flags) {
  if (!wxView::OnCreate(doc, flags)) return false;
  CMainFrame* frame = wxDynamicCast(wxTheApp->GetTopWindow(), CMainFrame);
  if (!frame) return false;
  SetFrame(frame);
  m_canvas = frame->Canvas();
  const wxSize dpi = m_canvas->GetDPI();
  m_core->SetDpi(dpi.x, dpi.y);
  m_canvas->SetRenderer([this](sdi::frame_buffer& fb, zorv::Pos scroll) {
    zorv::RenderClient(fb, m_core->Mapping(), scroll, m_core->GridShown(), m_core->Junctions());
  });
  m_canvas->SetEditing(&m_core->Edit());
  if (auto* zdoc = wxDynamicCast(doc, CZorvDoc))
    m_subcircuits = std::make_unique<zorv::Subcircuits>(zdoc->Core(), *m_core, *this);
  if (wxMenuBar* bar = frame->GetMenuBar()) bar->FindItem(ZORV_ID(LibraryUpdate), &m_libraryMenu);
  BindSimulationCommands();
  StartElementCommands();
  Activate(true);
  return true;
}

void CZorvView::OnInitialUpdate() {
  m_core->OnDocumentReplaced();
  RebuildLibraryMenu();
  m_core->OnInitialUpdate();
  Invalidate();
}

bool CZorvView::OnClose(bool deleteWindow) {
  if (!wxView::OnClose(deleteWindow)) return false;
  if (m_canvas) {
    m_canvas->SetRenderer(nullptr);
    m_canvas->SetEditing(nullptr);
    m_canvas->SetDoubleClick(nullptr, nullptr);
  }
  return true;
}

void CZorvView::OnDraw(wxDC*) {}

void CZorvView::OnUpdate(wxView*, wxObject*) { Invalidate(); }

zorv::Size CZorvView::ClientSize() const {
  if (!m_canvas) return {};
  const wxSize s = m_canvas->GetClientSize();
  return {s.x, s.y};
}

zorv::Pos CZorvView::ScrollPosition() const { return m_canvas ? m_canvas->ScrollPos() : zorv::Pos{}; }

void CZorvView::ApplyScroll(const zorv::ScrollState& state) {
  if (!m_canvas) return;
  m_canvas->SetVirtualSize(state.total.w, state.total.h);
  m_canvas->SetLineSteps(state.line, state.page);
  m_canvas->Scroll(state.pos.x, state.pos.y);
}

void CZorvView::Invalidate() {
  if (m_canvas) m_canvas->Invalidate();
}

void CZorvView::SetDocumentModified() {
  if (GetDocument()) GetDocument()->Modify(true);
}

void CZorvView::OnViewZoomAll(wxCommandEvent&) { m_core->OnViewZoomAll(zorv::CircuitExtent()); }

void CZorvView::OnEditCopyToClipboard(wxCommandEvent&) { CopyCircuitPicture(m_core->Mapping(), m_core->GridShown()); }

void CZorvView::OnUpdateEditCopyToClipboard(wxUpdateUIEvent& event) { event.Enable(!zorv::CircuitIsEmpty()); }

wxPrintout* CZorvView::OnCreatePrintout() { return new CZorvPrintout(m_core->GridFlag(), m_core->Mapping().ScaleX()); }

// Editing ---------------------------------------------------------------------

sdi::frame_buffer* CZorvView::ClientBuffer() { return m_canvas ? &m_canvas->Buffer() : nullptr; }

void CZorvView::ShowClientBuffer() {
  if (m_canvas) m_canvas->Refresh(false);
}

void CZorvView::SetEditCursor(zorv::EditCursor cursor) {
  if (!m_canvas) return;
  switch (cursor) {
    case zorv::EditCursor::Move: m_canvas->SetCursor(wxCursor(wxCURSOR_SIZING)); break;
    case zorv::EditCursor::Wire: m_canvas->SetCursor(wxCursor(wxCURSOR_PENCIL)); break;
    case zorv::EditCursor::Arrow: m_canvas->SetCursor(wxNullCursor); break;
  }
}

void CZorvView::CaptureMouse(bool capture) {
  if (!m_canvas) return;
  if (capture && !m_canvas->HasCapture()) m_canvas->CaptureMouse();
  if (!capture && m_canvas->HasCapture()) m_canvas->ReleaseMouse();
}

bool CZorvView::IsDocumentModified() const { return GetDocument() && GetDocument()->IsModified(); }

void CZorvView::OnUpdateSelect(wxUpdateUIEvent& event) {
  event.Check(!m_core->Edit().WireMode() && !m_core->Edit().Placing());
}

void CZorvView::OnElement(wxCommandEvent& event) {
  // Menu ids are the toolkit's; the element table speaks the program's.
  const int kind = zorv::ElementKindOfCommand(event.GetId() - ToolkitCommandId(zorv::cmd::VDC) + zorv::cmd::VDC);
  if (kind < 0 || kind == sdi::kind_wire) {
    event.Skip();
    return;
  }
  m_elements->OnElement(kind);
}

void CZorvView::RebuildLibraryMenu() {
  m_library = zorv::LibraryEntries(sdi::symbol_folder);
  if (!m_libraryMenu) return;
  while (m_libraryMenu->GetMenuItemCount() > 1)
    m_libraryMenu->Destroy(m_libraryMenu->FindItemByPosition(m_libraryMenu->GetMenuItemCount() - 1));
  m_libraryMenu->AppendSeparator();
  for (std::size_t i = 0; i < m_library.size(); ++i)
    m_libraryMenu->Append(zorv::kLibraryFirstId + static_cast<int>(i),
                          wxString::FromUTF8(zorv::MenuLabel(m_library[i].menuText)));
}

void CZorvView::OnLibraryEntry(wxCommandEvent& event) {
  const std::size_t i = static_cast<std::size_t>(event.GetId() - zorv::kLibraryFirstId);
  if (i < m_library.size()) zorv::PlaceSubcircuit(*m_core, m_library[i].fileName);
}

void CZorvView::OnUpdateLibraryEntry(wxUpdateUIEvent& event) {
  event.Enable(static_cast<std::size_t>(event.GetId() - zorv::kLibraryFirstId) < m_library.size());
}

template <class Command>
void CZorvView::SubcircuitCommand(Command command) {
  if (!m_subcircuits) return;
  command(*m_subcircuits);
  if (auto* doc = wxDynamicCast(GetDocument(), CZorvDoc)) doc->SyncSubcircuitNames();
}

void CZorvView::OnSubcircuitNew(wxCommandEvent&) {
  SubcircuitCommand([](zorv::Subcircuits& sub) { sub.OnSubcircuitNew(); });
}

void CZorvView::OnSubcircuitOpen(wxCommandEvent&) {
  SubcircuitCommand([](zorv::Subcircuits& sub) { sub.OnSubcircuitOpen(); });
}

void CZorvView::OnSubcircuitSave(wxCommandEvent&) {
  SubcircuitCommand([](zorv::Subcircuits& sub) { sub.OnSubcircuitSave(); });
}

void CZorvView::OnSubcircuitSaveAs(wxCommandEvent&) {
  SubcircuitCommand([](zorv::Subcircuits& sub) { sub.OnSubcircuitSaveAs(); });
}

bool CZorvView::SaveModified() { return !GetDocument() || GetDocument()->OnSaveModified(); }

std::string CZorvView::AskSubcircuitToOpen() {
  wxFileDialog dlg(GetFrame(), "Open", wxString::FromUTF8(sdi::symbol_folder), "", zorv::kSubcircuitFilter,
                   wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  return dlg.ShowModal() == wxID_OK ? dlg.GetPath().utf8_string() : std::string();
}

std::string CZorvView::AskSubcircuitToSave() {
  wxFileDialog dlg(GetFrame(), "Save As", wxString::FromUTF8(sdi::symbol_folder), "", zorv::kSubcircuitFilter,
                   wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  return dlg.ShowModal() == wxID_OK ? dlg.GetPath().utf8_string() : std::string();
}

bool CZorvView::ConfirmOverwrite(const std::string& path) {
  const wxString text = wxString::FromUTF8(path) + " already exists.\nDo you want to replace it?";
  return wxMessageBox(text, "ZORV", wxYES_NO | wxICON_EXCLAMATION, GetFrame()) == wxYES;
}
