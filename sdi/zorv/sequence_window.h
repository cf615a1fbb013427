// The switching-sequence report in a read-only window with a fixed-width font.
// One window serves every View Sequence: a second one refreshes and raises it.
#pragma once
#include <string>

#include <wx/frame.h>

class wxTextCtrl;

class CSequenceWindow : public wxFrame {
public:
  // Shows the text in the window (made when there is none).
  static CSequenceWindow* Show(wxWindow* parent, const std::string& path, const std::string& text);
  ~CSequenceWindow() override;

  wxString Text() const;

private:
  explicit CSequenceWindow(wxWindow* parent);
  void SetReport(const std::string& path, const std::string& text);

  wxTextCtrl* m_text = nullptr;
};
