// Element dialogs built by the toolkit from their tables: the resistor's OK
// round trip through a real modal dialog, the DC source's steps section
// expanding and collapsing, and a picture of the R, VDC and THRES dialogs
// (res/element-dialogs.png, taken when ZORV_DIALOGS_SCREENSHOT names a file).
#include <gtest/gtest.h>

#include <cstdlib>

#include <wx/bitmap.h>
#include <wx/textctrl.h>

#include "sdi/zorv/core/element_forms.h"
#include "sdi/zorv/core/number_texts.h"
#include "sdi/zorv/form_dialog.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/screen_grab.h"

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
  s.dialogs.onEnter = nullptr;

  // The three dialogs side by side, the DC source expanded.
  zorv::Form forms[] = {zorv::ElementForm("R_Dlg"), zorv::ElementForm("VDC_X_Dg"), zorv::ElementForm("THRES_Dlg")};
  forms[1].Find(1001)->Show("12");
  forms[1].Find(1038)->Show("0.001");
  forms[1].Find(1007)->Show("6");
  forms[2].Find(1016)->Show("1");
  CFormDialog* dlgs[3];
  int x = 0;
  for (int i = 0; i < 3; ++i) {
    dlgs[i] = new CFormDialog(s.Frame(), forms[i]);
    dlgs[i]->Move(x, 0);
    dlgs[i]->Show();
    x += dlgs[i]->GetSize().x + 4;
  }
  CFormDialog* vdc = dlgs[1];
  const wxSize collapsed = vdc->GetSize();
  EXPECT_FALSE(vdc->FindWindow(1038)->IsEnabled());
  Click(vdc, 1036);
  EXPECT_GT(vdc->GetSize().y, collapsed.y);
  EXPECT_TRUE(vdc->FindWindow(1038)->IsEnabled());
  EXPECT_EQ(vdc->FindWindow(1036)->GetLabel(), "Steps <<");
  Click(vdc, 1036);
  EXPECT_EQ(vdc->GetSize(), collapsed);
  EXPECT_FALSE(vdc->FindWindow(1038)->IsEnabled());
  Click(vdc, 1036);
  s.Pump(20);

  if (const char* path = std::getenv("ZORV_DIALOGS_SCREENSHOT")) {
    int h = 0;
    for (CFormDialog* d : dlgs) h = std::max(h, d->GetSize().y);
    wxImage all(x, h);
    all.SetRGB(wxRect(0, 0, x, h), 255, 255, 255);
    for (CFormDialog* d : dlgs) all.Paste(GrabScreen(wxRect(d->GetScreenPosition(), d->GetSize())), d->GetPosition().x, 0);
    wxBitmap(all).SaveFile(path, wxBITMAP_TYPE_PNG);
  }
  for (CFormDialog* d : dlgs) d->Destroy();
}

}  // namespace
