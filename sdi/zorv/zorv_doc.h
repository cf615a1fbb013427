// CZorvDoc: the editor's one document, a wx document forwarding to DocCore.
//
// The document lives for the whole program (CZorvDocManager reuses it for New and
// Open), so its names and work folder carry over from file to file. The window
// title is managed here by hand ("ZORV - " + the file), never by the framework.
#pragma once
#include <memory>

#include <wx/docview.h>

#include "sdi/zorv/core/document/zorv_doc_core.h"

class CZorvDoc : public wxDocument, public zorv::DocHost {
  wxDECLARE_DYNAMIC_CLASS(CZorvDoc);

public:
  CZorvDoc();
  ~CZorvDoc() override;

  bool DeleteContents() override;
  bool OnNewDocument() override;
  bool OnOpenDocument(const wxString& path) override;
  bool OnSaveDocument(const wxString& path) override;
  // A changed circuit: "Save changes to <file>?" with Yes, No and Cancel; false
  // when cancelled or when the save failed.
  bool OnSaveModified() override;

  zorv::DocCore& Core() { return *m_core; }
  // After a subcircuit command: the framework's names follow the open file (a
  // subcircuit never joins the recent files).
  void SyncSubcircuitNames();

  // DocHost
  void SetMainTitle(const std::string& title) override;
  void SetModified(bool modified) override { Modify(modified); }
  bool IsModified() const override { return wxDocument::IsModified(); }

private:
  // Save always writes, as the user asked, even when nothing changed.
  void OnFileSave(wxCommandEvent& event);
  void OnUpdateFileSave(wxUpdateUIEvent& event) { event.Enable(true); }
  // After a file became the open one: the framework's names and the recent files.
  void AdoptFile(const wxString& path);
  // The view's initial update, after every New and Open.
  void InitialUpdate();
  // The view's pending element removed before the circuit is replaced.
  void EndViewPlacing();
  // Saves a subcircuit document as a subcircuit; false when it was not written.
  bool SaveSubcircuit();

  std::unique_ptr<zorv::DocCore> m_core;
};
