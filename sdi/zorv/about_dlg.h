// CAboutDlg: the About box, with the program's version and two lines of system
// information (total memory, free disk space of the current folder).
#pragma once
#include <wx/dialog.h>

class wxStaticText;

class CAboutDlg : public wxDialog {
public:
  enum { IDC_PHYSICAL_MEM = 1083, IDC_DISK_SPACE = 1084 };

  explicit CAboutDlg(wxWindow* parent);

  wxString MemoryLine() const;
  wxString DiskLine() const;

private:
  wxStaticText* m_memory = nullptr;
  wxStaticText* m_disk = nullptr;
};
