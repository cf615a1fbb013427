#include "sdi/zorv/about_dlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/filefn.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "sdi/zorv/core/dialogs/about_info.h"
#include "sdi/zorv/zorv_icon.h"

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, 100, "About ZORV") {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* head = new wxBoxSizer(wxHORIZONTAL);
  head->Add(new wxStaticBitmap(this, wxID_ANY, ZorvIconBitmap()), 0, wxALL, 10);
  head->Add(new wxStaticText(this, wxID_ANY, "ZORV Development Version"), 1, wxALIGN_CENTER_VERTICAL | wxALL, 10);
  head->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 10);
  top->Add(head, 0, wxEXPAND);

  auto* box = new wxStaticBoxSizer(wxVERTICAL, this, "System Information");
  auto* grid = new wxFlexGridSizer(2, 5, 10);
  const std::string folder = wxGetCwd().utf8_string();
  const auto memory = zorv::TotalMemoryKb();
  grid->Add(new wxStaticText(box->GetStaticBox(), wxID_ANY, "System memory available:"));
  m_memory = new wxStaticText(box->GetStaticBox(), IDC_PHYSICAL_MEM,
                              memory ? wxString::FromUTF8(zorv::MemoryText(*memory)) : wxString("Unavailable"));
  grid->Add(m_memory);
  grid->Add(new wxStaticText(box->GetStaticBox(), wxID_ANY, "Disk space:"));
  m_disk = new wxStaticText(box->GetStaticBox(), IDC_DISK_SPACE,
                            wxString::FromUTF8(zorv::DiskText(zorv::FreeDiskKb(folder), folder)));
  grid->Add(m_disk);
  box->Add(grid, 0, wxALL, 8);
  top->Add(box, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizerAndFit(top);
  CentreOnParent();
}

wxString CAboutDlg::MemoryLine() const { return m_memory->GetLabel(); }
wxString CAboutDlg::DiskLine() const { return m_disk->GetLabel(); }
