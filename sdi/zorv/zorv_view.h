// CZorvView: the schematic view, a wx view forwarding to ViewCore.
//
// One view lives for the whole program, drawing into the main frame's canvas. Its
// commands (zoom, grid, redraw, copy to clipboard, printing) are handled here and
// carried out by ViewCore and the toolkit-free drawing; this class only translates.
#pragma once
#include <memory>

#include <wx/docview.h>

#include "sdi/zorv/core/process_launcher.h"
#include "sdi/zorv/core/sim_commands.h"
#include "sdi/zorv/core/view_core.h"

class CFormDialogService;
class CZorvCanvas;

class CZorvView : public wxView, public zorv::ViewHost, public zorv::SimHost {
  wxDECLARE_DYNAMIC_CLASS(CZorvView);

public:
  CZorvView();
  ~CZorvView() override;

  bool OnCreate(wxDocument* doc, long flags) override;
  void OnDraw(wxDC* dc) override;
  void OnUpdate(wxView* sender, wxObject* hint = nullptr) override;
  bool OnClose(bool deleteWindow = true) override;
  void OnChangeFilename() override {}  // the title is the document's business
  wxPrintout* OnCreatePrintout() override;

  // After a document is made new or opened: scroll sizes for the zoom, then a repaint.
  void OnInitialUpdate();

  zorv::ViewCore& Core() { return *m_core; }
  CZorvCanvas* Canvas() const { return m_canvas; }

  // The undo point taken before every change of the circuit.
  void SaveBackup() { m_core->SaveBackup(); }

  // ViewHost
  zorv::Size ClientSize() const override;
  zorv::Pos ScrollPosition() const override;
  void ApplyScroll(const zorv::ScrollState& state) override;
  void Invalidate() override;
  void SetDocumentModified() override;

  // Simulation commands (zorv_view_sim.cpp).
  zorv::SimCommands& Sim() { return *m_sim; }
  // The launcher of the plotting program (tests put a recorder in).
  void SetProcessLauncher(zorv::ProcessLauncher& launcher);
  // SimHost
  std::string BasePath() const override;
  std::string ExecutableFolder() const override;
  void SetStatusLine(const std::string& text) override;
  void ShowSequence(const std::string& path, const std::string& text) override;

private:
  void BindSimulationCommands();

  void OnViewZoomIn(wxCommandEvent&) { m_core->OnViewZoomIn(); }
  void OnViewZoomOut(wxCommandEvent&) { m_core->OnViewZoomOut(); }
  void OnViewZoomAll(wxCommandEvent&);
  void OnViewRedraw(wxCommandEvent&) { m_core->OnViewRedraw(); }
  void OnViewGrid(wxCommandEvent&) { m_core->OnViewGrid(); }
  void OnUpdateViewGrid(wxUpdateUIEvent& event) { event.Check(m_core->GridShown()); }
  void OnEditCopyToClipboard(wxCommandEvent&);
  void OnUpdateEditCopyToClipboard(wxUpdateUIEvent& event);

  std::unique_ptr<zorv::UndoFiles> m_undo;
  std::unique_ptr<zorv::ViewCore> m_core;
  CZorvCanvas* m_canvas = nullptr;

  // Simulation commands.
  std::unique_ptr<CFormDialogService> m_dialogs;
  zorv::PosixProcessLauncher m_launcher;
  std::unique_ptr<zorv::SimCommands> m_sim;

  wxDECLARE_EVENT_TABLE();
};
