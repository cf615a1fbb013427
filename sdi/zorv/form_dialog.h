// A wx dialog built from a Form (core/dialog_form.h), and the dialog service
// that runs forms with it.
//
// Text and Int fields are edit fields (an Int field with its spin button when it
// has one), Check fields check boxes, Radio fields round buttons, Button fields
// push buttons that end the dialog with their code after taking the texts.
// Exclusive sets keep one checked. Static fields are texts (the divider a line);
// hidden fields are left out. The expanding section (from the divider on) is
// shown and enabled only while expanded; the window fits either size. OK is refused with the form's message while
// FormProblem finds one; the dialog stays open. The fields are written back on
// OK and on a Button's end, never on Cancel.
#pragma once
#include <map>
#include <vector>

#include <wx/dialog.h>

#include "sdi/zorv/core/dialogs/dialog_service.h"

class CFormDialog : public wxDialog {
public:
  CFormDialog(wxWindow* parent, zorv::Form& form);
  ~CFormDialog() override;

  // The controls' state as a form (the form it was built from, changed).
  zorv::Form Read() const;

private:
  void Build();
  void OnOk(wxCommandEvent& event);
  void OnExclusiveClick(wxCommandEvent& event);
  void OnEndButton(wxCommandEvent& event);
  void OnExpand(wxCommandEvent& event);
  void ShowSection();

  zorv::Form& m_form;
  std::map<int, wxWindow*> m_controls;
  wxSizer* m_top = nullptr;
  std::vector<wxSizer*> m_sectionSizers;  // the groups and the divider of the section
  std::vector<wxWindow*> m_sectionWindows;
};

class CFormDialogService : public zorv::DialogService {
public:
  explicit CFormDialogService(wxWindow* parent) : m_parent(parent) {}
  zorv::DialogEnd Run(zorv::Form& form) override;

private:
  wxWindow* m_parent;
};
