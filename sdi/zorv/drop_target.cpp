#include "sdi/zorv/drop_target.h"

#include <wx/app.h>
#include <wx/docview.h>

#include "sdi/zorv/main_frame.h"

namespace {

// A simulation runs inside a command and lets the window system work while it
// polls for Esc: nothing may replace the circuit then.
bool Running() {
  auto* frame = wxDynamicCast(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, CMainFrame);
  return frame && frame->IsRunning();
}

}  // namespace

bool CZorvDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) {
  if (files.empty() || !m_manager || Running()) return false;
  // Open after the drop has finished: the save prompt is modal.
  wxDocManager* manager = m_manager;
  const wxString path = files[0];
  wxTheApp->CallAfter([manager, path] {
    if (!Running()) manager->CreateDocument(path, wxDOC_SILENT);
  });
  return true;
}
