#include "sdi/zorv/zorv_view.h"

#include <wx/app.h>

#include "sdi/drawing.h"
#include "sdi/zorv/core/circuit_files.h"
#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/core/view_render.h"
#include "sdi/zorv/form_dialog.h"
#include "sdi/zorv/main_frame.h"
#include "sdi/zorv/picture.h"
#include "sdi/zorv/zorv_canvas.h"
#include "sdi/zorv/zorv_printout.h"

wxIMPLEMENT_DYNAMIC_CLASS(CZorvView, wxView);

wxBEGIN_EVENT_TABLE(CZorvView, wxView)
  EVT_MENU(ZORV_ID(ZoomIn), CZorvView::OnViewZoomIn)
  EVT_MENU(ZORV_ID(ZoomOut), CZorvView::OnViewZoomOut)
  EVT_MENU(ZORV_ID(ZoomAll), CZorvView::OnViewZoomAll)
  EVT_MENU(ZORV_ID(Redraw), CZorvView::OnViewRedraw)
  EVT_MENU(ZORV_ID(ViewGrid), CZorvView::OnViewGrid)
  EVT_UPDATE_UI(ZORV_ID(ViewGrid), CZorvView::OnUpdateViewGrid)
  EVT_MENU(ZORV_ID(CopyToClipboard), CZorvView::OnEditCopyToClipboard)
  EVT_UPDATE_UI(ZORV_ID(CopyToClipboard), CZorvView::OnUpdateEditCopyToClipboard)
wxEND_EVENT_TABLE()

CZorvView::CZorvView()
    : m_undo(std::make_unique<zorv::UndoFiles>()),
      m_core(std::make_unique<zorv::ViewCore>(*this, *m_undo, zorv::ModelCircuitFiles().save)) {
  sdi::grid_shown = 1;
  m_core->BindGridFlag(sdi::grid_shown);
}

CZorvView::~CZorvView() {
  if (m_canvas) m_canvas->SetRenderer(nullptr);
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
  BindSimulationCommands();
  Activate(true);
  return true;
}

void CZorvView::OnInitialUpdate() {
  m_core->OnInitialUpdate();
  Invalidate();
}

bool CZorvView::OnClose(bool deleteWindow) {
  if (!wxView::OnClose(deleteWindow)) return false;
  if (m_canvas) m_canvas->SetRenderer(nullptr);
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
