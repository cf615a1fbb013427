#include "sdi/zorv/zorv_doc.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

#include "sdi/zorv/core/document/doc_names.h"
#include "sdi/zorv/core/view/model_link.h"
#include "sdi/zorv/zorv_view.h"

wxIMPLEMENT_DYNAMIC_CLASS(CZorvDoc, wxDocument);

CZorvDoc::CZorvDoc() : m_core(std::make_unique<zorv::DocCore>(*this, zorv::ModelCircuitFiles())) {
  zorv::StartModel();
  Bind(wxEVT_MENU, &CZorvDoc::OnFileSave, this, wxID_SAVE);
  Bind(wxEVT_UPDATE_UI, &CZorvDoc::OnUpdateFileSave, this, wxID_SAVE);
  Bind(wxEVT_UPDATE_UI, &CZorvDoc::OnUpdateFileSave, this, wxID_SAVEAS);
}

CZorvDoc::~CZorvDoc() { zorv::StopModel(); }

void CZorvDoc::SetMainTitle(const std::string& title) {
  if (wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) top->SetLabel(wxString::FromUTF8(title));
}

bool CZorvDoc::DeleteContents() {
  m_core->DeleteContents();
  return true;
}

bool CZorvDoc::OnNewDocument() {
  EndViewPlacing();
  if (!m_core->OnNewDocument()) return false;
  SetFilename(wxString(), false);
  SetTitle(zorv::kUntitledFile);
  SetDocumentSaved(false);
  Modify(false);
  InitialUpdate();
  return true;
}

void CZorvDoc::AdoptFile(const wxString& path) {
  SetFilename(path, false);
  SetTitle(wxFileName(path).GetFullName());
  SetDocumentSaved(true);
  if (GetDocumentManager()) GetDocumentManager()->AddFileToHistory(path);
}

bool CZorvDoc::OnOpenDocument(const wxString& path) {
  EndViewPlacing();
  if (!m_core->OnOpenDocument(path.utf8_string())) return false;
  AdoptFile(path);
  Modify(false);
  InitialUpdate();
  return true;
}

bool CZorvDoc::OnSaveDocument(const wxString& path) {
  EndViewPlacing();
  if (!m_core->OnSaveDocument(path.utf8_string())) return false;
  AdoptFile(path);
  Modify(false);
  return true;
}

bool CZorvDoc::OnSaveModified() {
  if (!IsModified()) return true;
  const wxString prompt = wxString::FromUTF8(zorv::SavePrompt(GetUserReadableName().utf8_string()));
  switch (wxMessageBox(prompt, "ZORV", wxYES_NO | wxCANCEL | wxICON_EXCLAMATION | wxCENTRE, GetDocumentWindow())) {
    case wxNO:  // still modified: an Open that then fails leaves these edits on screen
      return true;
    case wxYES:
      return m_core->IsSubcircuit() ? SaveSubcircuit() : Save();
    default:
      return false;
  }
}

void CZorvDoc::InitialUpdate() {
  if (auto* view = wxDynamicCast(GetFirstView(), CZorvView)) view->OnInitialUpdate();
}

void CZorvDoc::OnFileSave(wxCommandEvent&) {
  if (m_core->IsSubcircuit())
    SaveSubcircuit();
  else if (!GetDocumentSaved() || GetFilename().empty())
    SaveAs();
  else
    OnSaveDocument(GetFilename());
}

void CZorvDoc::EndViewPlacing() {
  if (auto* view = wxDynamicCast(GetFirstView(), CZorvView)) view->Core().EndPlacing();
}

bool CZorvDoc::SaveSubcircuit() {
  auto* view = wxDynamicCast(GetFirstView(), CZorvView);
  if (!view || !view->Subcircuits()) return false;
  const bool saved = view->Subcircuits()->OnSubcircuitSave();
  SyncSubcircuitNames();
  return saved;
}

void CZorvDoc::SyncSubcircuitNames() {
  if (!m_core->IsSubcircuit()) return;
  const wxString file = wxString::FromUTF8(m_core->FileName());
  const bool named = file.Find('/') != wxNOT_FOUND;
  SetFilename(named ? file : wxString(), false);
  SetTitle(wxFileName(file).GetFullName());
  SetDocumentSaved(named);
}
