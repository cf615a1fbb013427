// Element dialogs built by the toolkit from their tables: the resistor's OK
// round trip through a real modal dialog, the DC source's steps section
// expanding and collapsing, a pick with the mouse.
#include <gtest/gtest.h>

#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "sdi/zorv/toolkit_ids.h"

#include "sdi/zorv/core/dialogs/element_forms.h"
#include "sdi/zorv/core/base/number_texts.h"
#include "sdi/zorv/form_dialog.h"
#include "zorv/circuit_builder.h"
#include "zorv/smoke/gui_session.h"

namespace {

void Click(wxWindow* dlg, int id) {
  wxCommandEvent e(wxEVT_BUTTON, id);
  e.SetEventObject(dlg->FindWindow(id));
  dlg->FindWindow(id)->GetEventHandler()->ProcessEvent(e);
}

TEST(Smoke, ElementDialogsFromTheirTables) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));

  // OK typed into a real modal R dialog comes back in the form.
  zorv::Form r = zorv::ElementForm("R_Dlg");
  r.Find(1000)->Show("R1");
  r.Find(1001)->Show(" 4.7000 k");
  s.dialogs.answers.push_back(wxID_NONE);  // shown for real
  s.dialogs.onEnter = [](wxDialog* dlg) {
    dlg->CallAfter([dlg] {
      dynamic_cast<wxTextCtrl*>(dlg->FindWindow(1001))->ChangeValue("2k2");
      Click(dlg, wxID_OK);
    });
  };
  CFormDialogService service(s.Frame());
  EXPECT_EQ(service.Run(r), zorv::DialogEnd::Ok);
  double v = 0;
  EXPECT_TRUE(zorv::ReadValue(r.Find(1001)->text, v));
  EXPECT_EQ(v, 2200);
  EXPECT_EQ(r.Find(1000)->text, "R1");
  zorv::Form vcvs = zorv::ElementForm("VCVS_Dlg");  // Select ends the modal dialog with its own code
  s.dialogs.answers.push_back(wxID_NONE);
  s.dialogs.onEnter = [](wxDialog* dlg) { dlg->CallAfter([dlg] { Click(dlg, 1008); }); };
  EXPECT_EQ(service.Run(vcvs), zorv::DialogEnd::PickSource);
  s.dialogs.onEnter = nullptr;

  // The DC source's steps section expands and collapses.
  zorv::Form form = zorv::ElementForm("VDC_X_Dg");
  auto* vdc = new CFormDialog(s.Frame(), form);
  vdc->Show();
  const wxSize collapsed = vdc->GetSize();
  EXPECT_FALSE(vdc->FindWindow(1038)->IsEnabled() || vdc->FindWindow(1037)->IsShown());  // the line too
  Click(vdc, 1036);
  EXPECT_GT(vdc->GetSize().y, collapsed.y);
  EXPECT_TRUE(vdc->FindWindow(1038)->IsEnabled());
  EXPECT_EQ(vdc->FindWindow(1036)->GetLabel(), "Steps <<");
  Click(vdc, 1036);
  EXPECT_EQ(vdc->GetSize(), collapsed);
  EXPECT_FALSE(vdc->FindWindow(1038)->IsEnabled());
  vdc->Destroy();
}

// A VCVS and a port placed with the mouse; a double click on the source opens
// its dialog once the button is up, Select hands the sheet back, a click on the
// port reopens it, and OK links the port.
TEST(Smoke, DoubleClickAndPickWithTheMouse) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  ASSERT_TRUE(s.FocusCanvas());
  auto screen = [&](int x, int y) { return s.SheetToScreen(x, y); };
  wxUIActionSimulator mouse;
  auto moveTo = [&](int x) {
    mouse.MouseMove(screen(x, 160));
    s.Settle();
  };
  for (const auto& [command, x] : {std::pair{ZORV_ID(VCVS), 200}, std::pair{ZORV_ID(VPort), 296}}) {
    s.Command(command);
    moveTo(x);
    mouse.MouseClick();
    moveTo(x);  // delivered and placed
    mouse.Char(WXK_ESCAPE);
    ASSERT_TRUE(s.WaitFor([&] { return !s.View()->Core().Edit().Placing(); }));
  }
  auto* src = static_cast<sdi::depsource*>(OfKind(sdi::kind_vcvs));
  sdi::element* port = OfKind(sdi::kind_voltage_port);
  ASSERT_TRUE(src && port);

  s.dialogs.answers = {static_cast<int>(zorv::DialogEnd::PickSource), wxID_OK};
  moveTo(200);
  mouse.MouseDblClick();
  ASSERT_TRUE(s.WaitFor([&] { return s.dialogs.seen.size() == 1; }));
  EXPECT_EQ(s.dialogs.seen[0].title, "VCVS");
  moveTo(296);
  mouse.MouseClick();
  ASSERT_TRUE(s.WaitFor([&] { return s.dialogs.seen.size() == 2; }));
  EXPECT_EQ(src->control, port->id);
  EXPECT_TRUE(src->flags.test(sdi::flag_values_set));
  EXPECT_EQ(port->selected, 0);
}

}  // namespace
