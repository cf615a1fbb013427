// A settings dialog built from its form by the toolkit: controls, exclusive
// buttons, and an OK that is refused while the form has a problem.
#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "sdi/zorv/core/settings_forms.h"
#include "sdi/zorv/form_dialog.h"
#include "zorv/smoke/gui_session.h"

TEST(Smoke, ASettingsDialogIsBuiltFromItsFormAndRefusesABadOk) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  zorv::Form form = zorv::SteadyStateForm(1);
  auto* dlg = new CFormDialog(s.Frame(), form);
  EXPECT_EQ(dlg->GetTitle(), "Steady State Options");
  // Picard clicked: Newton goes off. "Tolerance reached" clicked: "# cycles reached" goes off.
  auto click = [&](int id, wxEventType type) {
    wxCommandEvent e(type, id);
    e.SetEventObject(dlg->FindWindow(id));
    dlg->FindWindow(id)->GetEventHandler()->ProcessEvent(e);
  };
  wxDynamicCast(dlg->FindWindow(1011), wxRadioButton)->SetValue(true);
  click(1011, wxEVT_RADIOBUTTON);
  wxDynamicCast(dlg->FindWindow(1078), wxCheckBox)->SetValue(true);
  click(1078, wxEVT_CHECKBOX);
  wxDynamicCast(dlg->FindWindow(1079), wxTextCtrl)->ChangeValue("-2");
  const zorv::Form read = dlg->Read();
  EXPECT_FALSE(read.Find(1009)->checked);
  EXPECT_TRUE(read.Find(1011)->checked);
  EXPECT_FALSE(read.Find(1080)->checked);
  EXPECT_EQ(read.Find(1079)->text, "-2");

  click(wxID_OK, wxEVT_BUTTON);
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"\"Tolerance\" must be a finite number of 0 or more."});
  EXPECT_EQ(form.Find(1079)->text, "1");  // nothing taken from a refused dialog
  dlg->Destroy();
}
