// CZorvDocManager: the single-document manager.
//
// The editor keeps one document and one view for its whole life. The framework's
// New, Open, the recent-file list, the command line and dropped files all arrive
// at CreateDocument; once the document exists it is reused: the user is asked to
// save changes, then the same document opens the file or starts anew. A file that
// fails to open leaves the open circuit as it was.
#pragma once
#include <wx/docview.h>
#include <wx/filehistory.h>

class CZorvDocManager : public wxDocManager {
public:
  // Initialised here, not by the base, so that our file history is the one made.
  CZorvDocManager() : wxDocManager(0, false) { Initialize(); }

  wxDocument* CreateDocument(const wxString& path, long flags = 0) override;
  // The recent-file list holds four files.
  wxFileHistory* OnCreateFileHistory() override { return new wxFileHistory(4); }
};
