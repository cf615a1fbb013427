#include "sdi/zorv/drop_target.h"

#include <wx/app.h>
#include <wx/docview.h>

bool CZorvDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) {
  if (files.empty() || !m_manager) return false;
  // Open after the drop has finished: the save prompt is modal.
  wxDocManager* manager = m_manager;
  const wxString path = files[0];
  wxTheApp->CallAfter([manager, path] { manager->CreateDocument(path, wxDOC_SILENT); });
  return true;
}
