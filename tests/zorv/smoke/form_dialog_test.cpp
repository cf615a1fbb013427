// A settings dialog built from its form by the toolkit.
#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "sdi/zorv/core/dialogs/element_forms.h"
#include "sdi/zorv/core/dialogs/settings_forms.h"
#include "sdi/zorv/form_dialog.h"
#include "zorv/smoke/gui_session.h"

TEST(Smoke, ASettingsDialogKeepsItsButtonsExclusiveAndRefusesABadOk) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  zorv::Form form = zorv::SteadyStateForm(1);
  CFormDialog* dlg = new CFormDialog(s.Frame(), form);
  auto click = [&](int id, wxEventType type) {
    wxCommandEvent e(type, id);
    dlg->FindWindow(id)->GetEventHandler()->ProcessEvent(e);
  };
  dynamic_cast<wxRadioButton*>(dlg->FindWindow(1011))->SetValue(true);  // Picard
  dynamic_cast<wxCheckBox*>(dlg->FindWindow(1078))->SetValue(true);     // "Tolerance reached"
  click(1078, wxEVT_CHECKBOX);
  dynamic_cast<wxTextCtrl*>(dlg->FindWindow(1079))->ChangeValue("-2");
  const zorv::Form read = dlg->Read();
  EXPECT_EQ(std::make_tuple(read.Find(1009)->checked, read.Find(1011)->checked, read.Find(1080)->checked),
            std::make_tuple(false, true, false));
  click(wxID_OK, wxEVT_BUTTON);
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"\"Tolerance\" must be a finite number of 0 or more."});
  EXPECT_EQ(form.Find(1079)->text, "1");  // nothing taken from a refused dialog
  dlg->Destroy();
  zorv::Form diode = zorv::ElementForm("D_Dlg");  // the element dialogs' On / Off pair
  diode.Find(1010)->checked = true;
  dlg = new CFormDialog(s.Frame(), diode);
  dynamic_cast<wxCheckBox*>(dlg->FindWindow(1009))->SetValue(true);
  click(1009, wxEVT_CHECKBOX);
  EXPECT_EQ(std::make_pair(dlg->Read().Find(1009)->checked, dlg->Read().Find(1010)->checked), std::make_pair(true, false));
  dlg->Destroy();
  zorv::Form limited[] = {zorv::ElementForm("LAB_Dlg"), zorv::ElementForm("R_Dlg")};  // typing stops at a field's length
  const char* full[] = {"a", "R123456789"};
  for (int i = 0; i < 2; ++i) {
    dlg = new CFormDialog(s.Frame(), limited[i]);
    auto* text = dynamic_cast<wxTextCtrl*>(dlg->FindWindow(1000));
    text->ChangeValue(full[i]);
    text->AppendText("x");
    EXPECT_EQ(dlg->Read().Find(1000)->text, full[i]);
    dlg->Destroy();
  }
  zorv::Form sub = zorv::ElementForm("SUB_Dlg");  // a subcircuit row: one text box under its id
  zorv::SubcircuitRows(sub, 2);
  auto* rows = new CFormDialog(s.Frame(), sub);
  dynamic_cast<wxTextCtrl*>(rows->FindWindow(zorv::SubRowName(1)))->ChangeValue("Vin");
  EXPECT_EQ(rows->Read().Find(zorv::SubRowName(1))->text, "Vin");
  rows->Destroy();
}

// The label's letter box takes one character from the keyboard.
TEST(Smoke, TheLabelLetterTakesOneCharacter) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  zorv::Form form = zorv::ElementForm("LAB_Dlg");
  auto* dlg = new CFormDialog(s.Frame(), form);
  auto* letter = dynamic_cast<wxTextCtrl*>(dlg->FindWindow(1000));
  ASSERT_NE(letter, nullptr);
  for (const char* typed : {"a", "b"}) letter->WriteText(typed);
  EXPECT_EQ(letter->GetValue(), "a");
  dlg->Destroy();
}
