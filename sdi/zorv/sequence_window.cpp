#include "sdi/zorv/sequence_window.h"

#include <wx/textctrl.h>

namespace {
CSequenceWindow* g_window = nullptr;
}

CSequenceWindow* CSequenceWindow::Show(wxWindow* parent, const std::string& path, const std::string& text) {
  if (!g_window) g_window = new CSequenceWindow(parent);
  g_window->SetReport(path, text);
  g_window->wxFrame::Show();
  g_window->Raise();
  return g_window;
}

CSequenceWindow::CSequenceWindow(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, "", wxDefaultPosition, wxSize(640, 480),
              wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT) {
  m_text = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                          wxTE_MULTILINE | wxTE_READONLY | wxHSCROLL | wxTE_DONTWRAP);
  m_text->SetFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
}

CSequenceWindow::~CSequenceWindow() {
  if (g_window == this) g_window = nullptr;
}

void CSequenceWindow::SetReport(const std::string& path, const std::string& text) {
  SetTitle(wxString::FromUTF8(path));
  // The text is ASCII but for the file's name in a cut's note; a name that is not UTF-8
  // shows as Latin-1.
  wxString shown = wxString::FromUTF8(text);
  if (shown.empty() && !text.empty()) shown = wxString::From8BitData(text.data(), text.size());
  m_text->ChangeValue(shown);
}

wxString CSequenceWindow::Text() const { return m_text->GetValue(); }
