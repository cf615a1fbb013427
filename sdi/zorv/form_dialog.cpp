#include "sdi/zorv/form_dialog.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "sdi/zorv/core/base/number_texts.h"

namespace {

// Where the last dialog that remembers its place was closed; x = 0: nowhere yet.
wxPoint g_savedPosition(0, 0);

wxString Wx(const std::string& s) { return wxString::FromUTF8(s); }

bool IsExclusive(const zorv::Form& form, int id) {
  for (const auto& set : form.exclusive)
    if (std::find(set.begin(), set.end(), id) != set.end()) return true;
  return false;
}

}  // namespace

CFormDialog::CFormDialog(wxWindow* parent, zorv::Form& form)
    : wxDialog(parent, wxID_ANY, Wx(form.caption)), m_form(form) {
  Build();
  if (m_form.rememberPosition && g_savedPosition.x != 0) Move(g_savedPosition);
}

CFormDialog::~CFormDialog() {
  if (m_form.rememberPosition) g_savedPosition = GetPosition();
}

void CFormDialog::Build() {
  auto* top = new wxBoxSizer(wxVERTICAL);
  m_top = top;
  bool inSection = false;
  // One grid per group (and one for fields outside every group), in order of appearance.
  std::map<int, wxFlexGridSizer*> grids;
  auto gridOf = [&](int group) {
    if (auto it = grids.find(group); it != grids.end()) return it->second;
    auto* grid = new wxFlexGridSizer(3, wxSize(6, 4));
    grid->AddGrowableCol(1);
    if (group < 0 || group >= static_cast<int>(m_form.groups.size())) {
      top->Add(grid, 0, wxEXPAND | wxALL, 8);
      if (inSection) m_sectionSizers.push_back(grid);
    } else {
      auto* box = new wxStaticBoxSizer(wxVERTICAL, this, Wx(m_form.groups[group]));
      box->Add(grid, 1, wxEXPAND | wxALL, 4);
      top->Add(box, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 8);
      if (inSection) m_sectionSizers.push_back(box);
    }
    return grids[group] = grid;
  };

  // A Select button right after an edit field of its group sits beside it.
  std::map<int, const zorv::Field*> besideOf;
  for (std::size_t i = 1; i < m_form.fields.size(); ++i) {
    const zorv::Field& b = m_form.fields[i];
    const zorv::Field& t = m_form.fields[i - 1];
    if (b.kind == zorv::FieldKind::Button && b.id != m_form.expandButton && t.kind == zorv::FieldKind::Text &&
        !t.label.empty() && t.group == b.group && !t.hidden && !b.hidden)
      besideOf[t.id] = &b;
  }
  auto isBeside = [&](int id) {
    return std::any_of(besideOf.begin(), besideOf.end(), [&](const auto& e) { return e.second->id == id; });
  };
  for (const zorv::Field& f : m_form.fields) {
    if (f.hidden || isBeside(f.id)) continue;
    if (f.id == m_form.divider && m_form.divider != 0) {
      // The section starts here, with a line across the dialog.
      inSection = true;
      auto* line = new wxStaticLine(this, f.id);
      auto* row = new wxBoxSizer(wxVERTICAL);
      row->Add(line, 0, wxEXPAND);
      top->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 8);
      m_sectionSizers.push_back(row);
      m_sectionWindows.push_back(line);
      continue;
    }
    wxFlexGridSizer* grid = gridOf(f.group);
    // A subcircuit row: its static, name and value fill the grid's three columns.
    if (f.kind == zorv::FieldKind::Static || (f.kind == zorv::FieldKind::Text && f.label.empty())) {
      wxWindow* cell = f.kind == zorv::FieldKind::Static
                           ? static_cast<wxWindow*>(new wxStaticText(this, f.id, Wx(f.text)))
                           : new wxTextCtrl(this, f.id, Wx(f.text));
      grid->Add(cell, f.kind == zorv::FieldKind::Static ? 0 : 1, wxEXPAND | wxALIGN_CENTER_VERTICAL);
      cell->Enable(f.enabled);
      m_controls[f.id] = cell;
      if (inSection) m_sectionWindows.push_back(cell);
      continue;
    }
    wxWindow* control = nullptr;
    wxWindow* extra = nullptr;
    switch (f.kind) {
      case zorv::FieldKind::Text:
      case zorv::FieldKind::Int: {
        grid->Add(new wxStaticText(this, wxID_ANY, Wx(f.label)), 0, wxALIGN_CENTER_VERTICAL);
        auto* text = new wxTextCtrl(this, f.id, Wx(f.text));
        // Typing is limited; a longer text the program put there stays whole.
        if (f.maxChars > 0) text->SetMaxLength(std::max<unsigned long>(f.maxChars, f.text.size()));
        control = text;
        if (f.spinId) {
          auto* spin = new wxSpinButton(this, f.spinId, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
          spin->SetRange(static_cast<int>(f.min), static_cast<int>(f.max));
          long v = f.min;
          if (zorv::ReadInteger(f.text, v)) spin->SetValue(static_cast<int>(std::clamp(v, f.min, f.max)));
          spin->Bind(wxEVT_SPIN, [this, text, spin](wxSpinEvent&) { text->SetValue(wxString::Format("%d", spin->GetValue())); });
          extra = spin;
        }
        if (auto it = besideOf.find(f.id); it != besideOf.end()) {
          const zorv::Field& b = *it->second;
          auto* button = new wxButton(this, b.id, Wx(b.label));
          button->Bind(wxEVT_BUTTON, &CFormDialog::OnEndButton, this);
          button->Enable(b.enabled);
          m_controls[b.id] = button;
          extra = button;
        }
        break;
      }
      case zorv::FieldKind::Check: {
        auto* box = new wxCheckBox(this, f.id, Wx(f.label));
        box->SetValue(f.checked);
        if (IsExclusive(m_form, f.id)) box->Bind(wxEVT_CHECKBOX, &CFormDialog::OnExclusiveClick, this);
        control = box;
        break;
      }
      case zorv::FieldKind::Radio: {
        // The toolkit keeps a group's round buttons exclusive; a set starts a group.
        const bool first = std::any_of(m_form.exclusive.begin(), m_form.exclusive.end(),
                                       [&](const std::vector<int>& set) { return !set.empty() && set[0] == f.id; });
        auto* radio = new wxRadioButton(this, f.id, Wx(f.label), wxDefaultPosition, wxDefaultSize,
                                        first ? wxRB_GROUP : 0);
        radio->SetValue(f.checked);
        radio->Bind(wxEVT_RADIOBUTTON, &CFormDialog::OnExclusiveClick, this);
        control = radio;
        break;
      }
      case zorv::FieldKind::Static:
        break;
      case zorv::FieldKind::Button: {
        auto* button = new wxButton(this, f.id, Wx(f.label));
        if (f.id == m_form.expandButton)
          button->Bind(wxEVT_BUTTON, &CFormDialog::OnExpand, this);
        else
          button->Bind(wxEVT_BUTTON, &CFormDialog::OnEndButton, this);
        control = button;
        break;
      }
    }
    if (f.kind == zorv::FieldKind::Text || f.kind == zorv::FieldKind::Int) {
      grid->Add(control, 1, wxEXPAND);
    } else {
      grid->Add(control, 0, wxALIGN_CENTER_VERTICAL);
      grid->AddSpacer(0);
    }
    if (extra)
      grid->Add(extra, 0, wxALIGN_CENTER_VERTICAL);
    else
      grid->AddSpacer(0);
    control->Enable(f.enabled);
    if (extra) extra->Enable(f.enabled);
    m_controls[f.id] = control;
    if (inSection) m_sectionWindows.push_back(control);
    if (inSection && extra) m_sectionWindows.push_back(extra);
  }
  top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
  Bind(wxEVT_BUTTON, &CFormDialog::OnOk, this, wxID_OK);
  SetSizer(top);
  if (m_form.expandButton) ShowSection();
  else Fit();
  CentreOnParent();
}

void CFormDialog::ShowSection() {
  for (wxSizer* sizer : m_sectionSizers) m_top->Show(sizer, m_form.expanded, true);
  for (wxWindow* w : m_sectionWindows) w->Enable(m_form.expanded);
  if (auto it = m_controls.find(m_form.expandButton); it != m_controls.end())
    it->second->SetLabel(m_form.expanded ? "Steps <<" : "Steps >>");
  // Fit shrinks as well as grows: two clicks give the starting size back.
  SetMinSize(wxDefaultSize);
  InvalidateBestSize();
  m_top->Layout();
  Fit();
}

void CFormDialog::OnExpand(wxCommandEvent&) {
  // Hiding a modal dialog would end it: resized in place, top-left kept.
  const wxPoint corner = GetPosition();
  m_form.SetExpanded(!m_form.expanded);
  ShowSection();
  Move(corner);
}

zorv::Form CFormDialog::Read() const {
  zorv::Form form = m_form;
  for (zorv::Field& f : form.fields) {
    const auto it = m_controls.find(f.id);
    if (it == m_controls.end()) continue;
    if (auto* text = dynamic_cast<wxTextCtrl*>(it->second)) f.text = text->GetValue().utf8_string();
    if (auto* box = dynamic_cast<wxCheckBox*>(it->second)) f.checked = box->GetValue();
    if (auto* radio = dynamic_cast<wxRadioButton*>(it->second)) f.checked = radio->GetValue();
  }
  return form;
}

void CFormDialog::OnOk(wxCommandEvent&) {
  zorv::Form entered = Read();
  if (const std::string problem = zorv::FormProblem(entered); !problem.empty()) {
    wxMessageBox(Wx(problem), Wx(m_form.caption), wxOK | wxICON_EXCLAMATION, this);
    return;
  }
  m_form = std::move(entered);
  EndModal(wxID_OK);
}

void CFormDialog::OnExclusiveClick(wxCommandEvent& event) {
  for (const auto& set : m_form.exclusive) {
    if (std::find(set.begin(), set.end(), event.GetId()) == set.end()) continue;
    for (int id : set) {
      const auto it = m_controls.find(id);
      if (it == m_controls.end()) continue;
      if (auto* box = dynamic_cast<wxCheckBox*>(it->second)) box->SetValue(id == event.GetId());
      if (auto* radio = dynamic_cast<wxRadioButton*>(it->second); radio && id == event.GetId()) radio->SetValue(true);
    }
  }
}

void CFormDialog::OnEndButton(wxCommandEvent& event) {
  const zorv::Field* f = m_form.Find(event.GetId());
  const int code = f ? f->endCode : wxID_CANCEL;
  if (!f || f->takesTexts) m_form = Read();
  m_form.pressed = event.GetId();
  EndModal(code);
}

zorv::DialogEnd CFormDialogService::Run(zorv::Form& form) {
  CFormDialog dialog(m_parent, form);
  const int end = dialog.ShowModal();
  if (end == wxID_OK) return zorv::DialogEnd::Ok;
  if (end == wxID_CANCEL) return zorv::DialogEnd::Cancel;
  return static_cast<zorv::DialogEnd>(end);
}
