// Files dropped on the main window: the first one is opened as with File > Open
// (asking first to save a changed circuit). Nothing is opened while a simulation
// runs.
#pragma once
#include <wx/dnd.h>

class wxDocManager;

class CZorvDropTarget : public wxFileDropTarget {
public:
  explicit CZorvDropTarget(wxDocManager* manager) : m_manager(manager) {}
  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

private:
  wxDocManager* m_manager;
};
