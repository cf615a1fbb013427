#include "sdi/zorv/zorv_doc_manager.h"

#include <wx/filename.h>

wxDocument* CZorvDocManager::CreateDocument(const wxString& pathIn, long flags) {
  wxList::compatibility_iterator first = GetDocuments().GetFirst();
  wxDocument* doc = first ? static_cast<wxDocument*>(first->GetData()) : nullptr;
  if (!doc) return wxDocManager::CreateDocument(pathIn, flags);

  const bool isNew = (flags & wxDOC_NEW) != 0;
  wxString path = pathIn;
  if (!isNew && path.empty()) {
    wxList::compatibility_iterator t = GetTemplates().GetFirst();
    wxDocTemplate* templ = t ? static_cast<wxDocTemplate*>(t->GetData()) : nullptr;
    if (!templ) return nullptr;
    wxDocTemplate* templates[] = {templ};
    if (!SelectDocumentPath(templates, 1, path, flags) || path.empty()) return nullptr;
  }
  // The file already open stays as it is, unsaved changes included.
  if (!isNew && doc->GetDocumentSaved() && wxFileName(path).SameAs(wxFileName(doc->GetFilename()))) return doc;
  if (!doc->OnSaveModified()) return nullptr;
  const bool ok = isNew ? doc->OnNewDocument() : doc->OnOpenDocument(path);
  return ok ? doc : nullptr;
}
