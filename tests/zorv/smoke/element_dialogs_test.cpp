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

// Moves the mouse to a sheet point and lets the move arrive.
void MoveTo(GuiSession& s, wxUIActionSimulator& mouse, sdi::point p) {
  mouse.MouseMove(s.SheetToScreen(p.x, p.y));
  s.Settle();
}

// Places an element with the mouse: its command, a click at `at`, Escape.
bool PlaceWithTheMouse(GuiSession& s, wxUIActionSimulator& mouse, int command, sdi::point at) {
  s.Command(command);
  MoveTo(s, mouse, at);
  mouse.MouseClick();
  MoveTo(s, mouse, at);  // delivered and placed
  mouse.Char(WXK_ESCAPE);
  return s.WaitFor([&] { return !s.View()->Core().Edit().Placing(); });
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
  wxUIActionSimulator mouse;
  auto moveTo = [&](int x) { MoveTo(s, mouse, {x, 160}); };
  for (const auto& [command, x] : {std::pair{ZORV_ID(VCVS), 200}, std::pair{ZORV_ID(VPort), 296}})
    ASSERT_TRUE(PlaceWithTheMouse(s, mouse, command, {x, 160}));
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
  auto moveTo = [&](sdi::point p) { MoveTo(s, mouse, p); };
  const sdi::point port{200, 160}, thres{400, 160}, l1{600, 160}, l2{800, 160}, vcvs{200, 400}, pri{400, 400},
      sec{600, 400};
  const std::pair<int, sdi::point> placed[] = {
      {ZORV_ID(VPort), port}, {ZORV_ID(Threshold), thres}, {ZORV_ID(L), l1}, {ZORV_ID(L), l2},
      {ZORV_ID(VCVS), vcvs},  {ZORV_ID(XformerPrimary), pri}, {ZORV_ID(XformerSecondary), sec}};
  for (const auto& [command, at] : placed) ASSERT_TRUE(PlaceWithTheMouse(s, mouse, command, at));

  // Each dialog shows for real, and the next action answers it.
  using Action = std::function<void(wxDialog*)>;
  std::deque<Action> actions;
  std::map<int, wxString> texts;  // the edit fields of the last dialog as it opened
  auto press = [](int id, int field = 0, const char* text = "") -> Action {
    return [=](wxDialog* dlg) {
      if (field) dynamic_cast<wxTextCtrl*>(dlg->FindWindow(field))->ChangeValue(text);
      Click(dlg, id);
    };
  };
  s.dialogs.onEnter = [&](wxDialog* dlg) {
    texts.clear();
    for (wxWindow* w : dlg->GetChildren())
      if (auto* t = dynamic_cast<wxTextCtrl*>(w)) texts[t->GetId()] = t->GetValue();
    const Action act = actions.empty() ? press(wxID_CANCEL) : actions.front();
    if (actions.empty()) ADD_FAILURE() << "unexpected dialog " << dlg->GetTitle() << ": " << s.dialogs.seen.back().message;
    else actions.pop_front();
    dlg->CallAfter([dlg, act] { act(dlg); });
    s.dialogs.answers.push_back(wxID_NONE);
  };
  // Opens a dialog, then clicks each pick on the sheet: the same dialog comes back each time.
  std::size_t seen = 0;
  auto run = [&](const std::function<void()>& open, const char* title, std::deque<Action> answers,
                 const std::vector<sdi::point>& picks) {
    actions = std::move(answers);
    open();
    for (std::size_t i = 0; i <= picks.size(); ++i) {
      if (i) moveTo(picks[i - 1]), mouse.MouseClick();
      ASSERT_TRUE(s.WaitFor([&] { return s.dialogs.seen.size() == seen + 1; })) << title;
      EXPECT_EQ(s.dialogs.seen[seen++].title, title);
    }
  };
  auto at = [&](sdi::point p) { return [&, p] { moveTo(p), mouse.MouseDblClick(); }; };
  auto pair = [&] { s.Command(ZORV_ID(M)); };
  const char* const pairTitle = "Select the mutual inductor pair";
  auto* t = static_cast<sdi::threshold*>(OfKind(sdi::kind_threshold));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    if (round == 0) run(pair, pairTitle, {press(wxID_CANCEL)}, {});
    else run(pair, pairTitle, {press(1009), press(1010), press(wxID_OK)}, {l1, l2});
    run(at(thres), "THRES", {press(1009, 1016, "1"), press(wxID_OK)}, {port});
    EXPECT_EQ(texts[1016], "1");
    EXPECT_EQ(texts[1017], zorv::NameOf(OfKind(sdi::kind_voltage_port)));
    EXPECT_EQ(*t->coefficients.list_value_at(0), 1.0);
    run(at(vcvs), "VCVS", {press(1008), press(wxID_OK)}, {port});
    run(at(sec), "SEC", {press(1008), press(wxID_OK)}, {pri});
    *t->coefficients.list_value_at(0) = 0.0;  // typed again in the next round
  }
  s.dialogs.onEnter = nullptr;
  const int portId = OfKind(sdi::kind_voltage_port)->id;
  EXPECT_EQ(*t->outputs.list_value_at(0), portId);
  EXPECT_EQ(static_cast<sdi::depsource*>(OfKind(sdi::kind_vcvs))->control, portId);
  EXPECT_EQ(static_cast<sdi::xform*>(OfKind(sdi::kind_secondary))->partner, OfKind(sdi::kind_primary)->id);
  auto* m = static_cast<sdi::cmutind*>(OfKind(sdi::kind_mutual));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(std::make_pair(m->inductor1, m->inductor2),
            std::make_pair(OfKind(sdi::kind_inductor)->id, OfKind(sdi::kind_inductor)->id + 1));
}
