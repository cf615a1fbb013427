// Element dialogs built by the toolkit from their tables: the resistor's OK
// round trip through a real modal dialog, the DC source's steps section
// expanding and collapsing, picks with the mouse.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "sdi/zorv/toolkit_ids.h"

#include "sdi/elements/control_elements.h"
#include "sdi/elements/source_elements.h"
#include "sdi/zorv/core/dialogs/element_forms.h"
#include "sdi/zorv/core/dialogs/element_values.h"
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

// Every picking dialog starts its own pick: the pair dialog of M, a threshold, a
// VCVS and a secondary picked one after another in one session, with the mouse;
// each pick reopens the dialog it came from, with what was typed kept.
TEST(Smoke, EachPickReopensItsOwnDialog) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  ASSERT_TRUE(s.FocusCanvas());
  wxUIActionSimulator mouse;
  auto moveTo = [&](sdi::point p) {
    mouse.MouseMove(s.SheetToScreen(p.x, p.y));
    s.Settle();
  };
  const sdi::point port{200, 160}, thres{400, 160}, l1{600, 160}, l2{800, 160}, vcvs{200, 400}, pri{400, 400},
      sec{600, 400};
  const std::pair<int, sdi::point> placed[] = {{ZORV_ID(VPort), port}, {ZORV_ID(Threshold), thres},
                                               {ZORV_ID(L), l1},         {ZORV_ID(L), l2},
                                               {ZORV_ID(VCVS), vcvs},    {ZORV_ID(XformerPrimary), pri},
                                               {ZORV_ID(XformerSecondary), sec}};
  for (const auto& [command, at] : placed) {
    s.Command(command);
    moveTo(at);
    mouse.MouseClick();
    moveTo(at);
    mouse.Char(WXK_ESCAPE);
    ASSERT_TRUE(s.WaitFor([&] { return !s.View()->Core().Edit().Placing(); }));
  }
  ASSERT_EQ(CircuitCount(), 7);

  // Each dialog shows for real; the next action of the queue answers it.
  std::deque<std::function<void(wxDialog*)>> actions;
  std::vector<std::map<int, wxString>> texts;  // the edit fields of each dialog as it opened
  s.dialogs.onEnter = [&](wxDialog* dlg) {
    std::map<int, wxString> shown;
    for (wxWindow* w : dlg->GetChildren())
      if (auto* t = dynamic_cast<wxTextCtrl*>(w)) shown[t->GetId()] = t->GetValue();
    texts.push_back(shown);
    auto act = actions.empty() ? std::function<void(wxDialog*)>([](wxDialog* d) { Click(d, wxID_CANCEL); })
                               : actions.front();
    if (!actions.empty()) actions.pop_front();
    dlg->CallAfter([dlg, act] { act(dlg); });
    s.dialogs.answers.push_back(wxID_NONE);  // shown for real
  };
  auto press = [](int id, int field = 0, const char* text = "") {
    return [=](wxDialog* dlg) {
      if (field) dynamic_cast<wxTextCtrl*>(dlg->FindWindow(field))->ChangeValue(text);
      Click(dlg, id);
    };
  };
  std::size_t opened = 0;
  auto expectDialog = [&](const char* title) {
    ++opened;
    ASSERT_TRUE(s.WaitFor([&] { return s.dialogs.seen.size() == opened; })) << title;
    EXPECT_EQ(s.dialogs.seen.back().title, title);
  };
  auto pickAt = [&](sdi::point at, const char* title) {
    moveTo(at);
    mouse.MouseClick();
    expectDialog(title);
  };
  auto open = [&](sdi::point at, const char* title) {
    moveTo(at);
    mouse.MouseDblClick();
    expectDialog(title);
  };
  const int pair = ZORV_ID(M);
  auto* t = static_cast<sdi::threshold*>(OfKind(sdi::kind_threshold));
  auto* src = static_cast<sdi::depsource*>(OfKind(sdi::kind_vcvs));
  auto* secondary = static_cast<sdi::xform*>(OfKind(sdi::kind_secondary));
  const int portId = OfKind(sdi::kind_voltage_port)->id, primaryId = OfKind(sdi::kind_primary)->id;
  for (const bool pairFirst : {false, true}) {
    SCOPED_TRACE(pairFirst);
    if (pairFirst) {  // both inductors picked and coupled
      actions = {press(1009), press(1010), press(wxID_OK)};
      s.Command(pair);
      expectDialog("Select the mutual inductor pair");
      pickAt(l1, "Select the mutual inductor pair");
      pickAt(l2, "Select the mutual inductor pair");
      ASSERT_NE(OfKind(sdi::kind_mutual), nullptr);
    } else {  // the pair dialog cancelled
      actions = {press(wxID_CANCEL)};
      s.Command(pair);
      expectDialog("Select the mutual inductor pair");
    }
    actions = {press(1009, 1016, "1"), press(wxID_OK)};
    open(thres, "THRES");
    pickAt(port, "THRES");
    EXPECT_EQ(texts.back()[1016], "1");
    EXPECT_EQ(texts.back()[1017], zorv::NameOf(OfKind(sdi::kind_voltage_port)));
    EXPECT_EQ(*t->coefficients.list_value_at(0), 1.0);
    EXPECT_EQ(*t->outputs.list_value_at(0), portId);

    actions = {press(1008), press(wxID_OK)};
    open(vcvs, "VCVS");
    pickAt(port, "VCVS");
    EXPECT_EQ(src->control, portId);

    actions = {press(1008), press(wxID_OK)};
    open(sec, "SEC");
    pickAt(pri, "SEC");
    EXPECT_EQ(secondary->partner, primaryId);
    *t->coefficients.list_value_at(0) = 0.0;  // the next round types it again
  }
  s.dialogs.onEnter = nullptr;
}
