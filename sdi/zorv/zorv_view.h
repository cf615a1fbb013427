// CZorvView: the schematic view, a wx view forwarding to ViewCore.
//
// One view lives for the whole program, drawing into the main frame's canvas. Its
// commands (zoom, grid, redraw, copy to clipboard, printing) are handled here and
// carried out by ViewCore and the toolkit-free drawing; this class only translates.
#pragma once
#include <memory>
#include <vector>

#include <wx/docview.h>

#include "sdi/zorv/core/commands/edit_commands.h"
#include "sdi/zorv/core/commands/element_commands.h"
#include "sdi/zorv/core/document/library.h"
#include "sdi/zorv/core/base/process_launcher.h"
#include "sdi/zorv/core/commands/sim_commands.h"
#include "sdi/zorv/core/document/subcircuits.h"
#include "sdi/zorv/core/view/view_core.h"

class CFormDialogService;
class CZorvCanvas;
class wxMenu;

class CZorvView : public wxView,
                  public zorv::ViewHost,
                  public zorv::SubcircuitHost,
                  public zorv::SimHost,
                  public zorv::ElementCommandHost {
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
  sdi::frame_buffer* ClientBuffer() override;
  void ShowClientBuffer() override;
  void SetEditCursor(zorv::EditCursor cursor) override;
  void CaptureMouse(bool capture) override;
  bool IsDocumentModified() const override;

  // Editing: the Edit menu, the subcircuit commands and the Library menu.
  zorv::EditCommands& EditCommands() { return *m_editCommands; }
  zorv::Subcircuits* Subcircuits() { return m_subcircuits.get(); }
  // Lists the ".sym" files of the circuit's folder under Element > Library.
  void RebuildLibraryMenu();
  const std::vector<zorv::LibraryEntry>& Library() const { return m_library; }

  // SubcircuitHost
  bool SaveModified() override;
  std::string AskSubcircuitToOpen() override;
  std::string AskSubcircuitToSave() override;
  bool ConfirmOverwrite(const std::string& path) override;
  void RebuildLibrary() override { RebuildLibraryMenu(); }

  // Simulation commands (zorv_view_sim.cpp).
  zorv::SimCommands& Sim() { return *m_sim; }
  // The launcher of the plotting program (tests put a recorder in).
  void SetProcessLauncher(zorv::ProcessLauncher& launcher);
  // SimHost
  std::string BasePath() const override;
  std::string ExecutableFolder() const override;
  void SetStatusLine(const std::string& text) override;
  void ShowSequence(const std::string& path, const std::string& text) override;

  // Element commands and value dialogs (zorv_view_elements.cpp).
  zorv::ElementCommands& Elements() { return *m_elements; }
  // ElementCommandHost
  zorv::DialogService& Dialogs() override;
  void Beep() override;
  void Later(std::function<void()> f) override;

private:
  void BindSimulationCommands();
  void StartElementCommands();

  void OnViewZoomIn(wxCommandEvent&) { m_core->OnViewZoomIn(); }
  void OnViewZoomOut(wxCommandEvent&) { m_core->OnViewZoomOut(); }
  void OnViewZoomAll(wxCommandEvent&);
  void OnViewRedraw(wxCommandEvent&) { m_core->OnViewRedraw(); }
  void OnViewGrid(wxCommandEvent&) { m_core->OnViewGrid(); }
  void OnUpdateViewGrid(wxUpdateUIEvent& event) { event.Check(m_core->GridShown()); }
  void OnEditCopyToClipboard(wxCommandEvent&);
  void OnUpdateEditCopyToClipboard(wxUpdateUIEvent& event);

  // Editing commands.
  void OnEditUndo(wxCommandEvent&) { m_editCommands->OnEditUndo(); }
  void OnEditRedo(wxCommandEvent&) { m_editCommands->OnEditRedo(); }
  void OnEditCut(wxCommandEvent&) { m_editCommands->OnEditCut(); }
  void OnEditCopy(wxCommandEvent&) { m_editCommands->OnEditCopy(); }
  void OnEditPaste(wxCommandEvent&) { m_editCommands->OnEditPaste(); }
  void OnEditSelectAll(wxCommandEvent&) { m_editCommands->OnEditSelectAll(); }
  void OnUpdateEditUndo(wxUpdateUIEvent& event) { event.Enable(m_editCommands->CanUndo()); }
  void OnUpdateEditRedo(wxUpdateUIEvent& event) { event.Enable(m_editCommands->CanRedo()); }
  void OnUpdateEditCopy(wxUpdateUIEvent& event) { event.Enable(m_editCommands->CanCopy()); }
  void OnUpdateEditPaste(wxUpdateUIEvent& event) { event.Enable(m_editCommands->CanPaste()); }
  void OnUpdateEditSelectAll(wxUpdateUIEvent& event) { event.Enable(m_editCommands->CanSelectAll()); }
  void OnWire(wxCommandEvent&) { m_core->Edit().OnWire(); }
  void OnUpdateWire(wxUpdateUIEvent& event) { event.Check(m_core->Edit().WireMode()); }
  void OnSelect(wxCommandEvent&) { m_core->Edit().OnSelect(); }
  void OnUpdateSelect(wxUpdateUIEvent& event);
  void OnElement(wxCommandEvent& event);
  // Runs a subcircuit command, then lets the framework's names follow.
  template <class Command>
  void SubcircuitCommand(Command command);
  void OnSubcircuitNew(wxCommandEvent&);
  void OnSubcircuitOpen(wxCommandEvent&);
  void OnSubcircuitSave(wxCommandEvent&);
  void OnSubcircuitSaveAs(wxCommandEvent&);
  void OnLibraryUpdate(wxCommandEvent&) { RebuildLibraryMenu(); }
  void OnLibraryEntry(wxCommandEvent& event);
  void OnUpdateLibraryEntry(wxUpdateUIEvent& event);

  std::unique_ptr<zorv::UndoFiles> m_undo;
  std::unique_ptr<zorv::ViewCore> m_core;
  std::unique_ptr<zorv::EditCommands> m_editCommands;
  std::unique_ptr<zorv::Subcircuits> m_subcircuits;
  std::vector<zorv::LibraryEntry> m_library;
  wxMenu* m_libraryMenu = nullptr;
  CZorvCanvas* m_canvas = nullptr;

  // Simulation commands.
  std::unique_ptr<CFormDialogService> m_dialogs;
  zorv::PosixProcessLauncher m_launcher;
  std::unique_ptr<zorv::SimCommands> m_sim;

  // Element commands and value dialogs.
  std::unique_ptr<zorv::ElementCommands> m_elements;
};
