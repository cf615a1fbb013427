// Element dialogs answered by script: values typed and stored, the unchanged
// text rule, the steps, Cancel, the kinds without a dialog, and the threshold's
// picks (the other picks: element_commands_test.cpp).
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "sdi/elements/control_elements.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/source_elements.h"
#include "sdi/capture.h"
#include "sdi/zorv/core/base/number_texts.h"
#include "sdi/zorv/core/dialogs/value_dispatch.h"
#include "sdi/zorv/core/dialogs/element_forms.h"
#include "sdi/zorv/core/dialogs/element_values.h"
#include "zorv/circuit_builder.h"
#include "zorv/scripted_dialogs.h"

namespace {

using zorv::DialogEnd;

struct Host : zorv::ElementDialogHost {
  ScriptedDialogs dialogs;
  std::vector<int> backupsAtCount;  // the circuit's size at each undo point
  int beeps = 0;
  std::vector<std::string> messages;
  std::vector<int> referred;
  zorv::DialogService& Dialogs() override { return dialogs; }
  void SaveBackup() override { backupsAtCount.push_back(CircuitCount()); }
  void Beep() override { ++beeps; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void DrawReferred(const std::vector<int>& ids) override { referred = ids; }
  void Repaint() override {}
};

struct ValueDispatch : ::testing::Test {
  ModelCircuit guard;
  Host host;
  zorv::ElementDialogs view{host};
};

TEST(ValueReader, SuffixesAndRefusals) {
  const struct { const char* text; bool ok; double value; } rows[] = {
      {"4.7k", true, 4700}, {"2 M", true, 2e6},  {"1m", true, 0.001},  {"4k7", true, 4700},
      {"10u", true, 1e-5},  {"-3n", true, -3e-9}, {"+1.5e3", true, 1500}, {" 2 2 ", true, 22},
      {"k5", false, 0},     {"", false, 0},       {"1x", false, 0},      {"inf", false, 0},
      {"1e3k", false, 0},   {"4.5k7", false, 0},  {"1k7x", false, 0},    {"4,7", false, 0},
      {"1e999", false, 0},  {"-2e400", false, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    double v = -1;
    EXPECT_EQ(zorv::ReadValue(r.text, v), r.ok);
    EXPECT_EQ(v, r.ok ? r.value : -1);
  }
  // A number beyond a double is named as such, not as "no number".
  const std::string huge = "1" + std::string(300, '0') + "T";
  for (const std::string text : {"1e999", "-2e400", "1e-999", huge.c_str()}) EXPECT_TRUE(zorv::ValueOutOfRange(text)) << text;
  for (const char* text : {"1x", "1e3k", "4.7k", "inf"}) EXPECT_FALSE(zorv::ValueOutOfRange(text)) << text;
  zorv::Form r = zorv::ElementForm("R_Dlg");
  r.Find(1001)->text = "1e999";
  EXPECT_EQ(zorv::FormProblem(r), "\"" + r.Find(1001)->label + "\": the number is out of range.");
}

// Typed values stored; a refused one keeps the dialog open; an unchanged text keeps the value exactly.
TEST_F(ValueDispatch, ValuesTypedAndKept) {
  auto* r = AddResistor({200, 160});
  auto* c = add_symbol(new sdi::basic(sdi::kind_capacitor, 1), {400, 160});
  host.dialogs.steps = {{"R_Dlg", {{1001, "k5"}}, {}, DialogEnd::Ok}, {"R_Dlg", {{1001, "3.3k"}}, {}, DialogEnd::Ok}};
  view.EditElement(r->id);
  EXPECT_EQ(host.dialogs.refusals.size(), 1u);
  EXPECT_EQ(r->values[0], 3300);
  host.dialogs.steps = {{"c_Dlg", {{1001, "10u"}}, {}, DialogEnd::Ok}};
  view.EditElement(c->id);
  EXPECT_EQ(c->values[0], 1e-5);
  for (double v : {4701.23, 2e9, 1e-15}) {
    for (sdi::element* e : {static_cast<sdi::element*>(r), static_cast<sdi::element*>(c)}) {
      e->values[0] = v;
      host.dialogs.steps = {{e == r ? "R_Dlg" : "c_Dlg", {}, {}, DialogEnd::Ok}};
      view.EditElement(e->id);
      EXPECT_EQ(e->values[0], v);
    }
  }
}

TEST_F(ValueDispatch, StepsCancelAndKindsWithoutDialog) {
  auto* v = add_symbol(new sdi::source(sdi::kind_voltage_source, 1), {200, 160});
  host.dialogs.steps = {{"VDC_X_Dg", {{1038, "1e-3"}, {1007, "5"}, {1039, "0"}, {1008, "7"}, {1040, "2e-3"}, {1009, "9"}}, {}, DialogEnd::Ok}};
  view.EditElement(v->id);
  ASSERT_EQ(v->n, 2);
  EXPECT_EQ(std::vector<double>({v->pairs[0][0], v->pairs[0][1], v->pairs[1][0], v->pairs[1][1]}),
            std::vector<double>({1e-3, 5, 2e-3, 9}));
  host.dialogs.steps = {{"VDC_X_Dg", {{1038, ""}}, {}, DialogEnd::Ok}};  // a step time cleared drops its step
  view.EditElement(v->id);
  {
    const zorv::Form& shown = host.dialogs.opened.back();  // the two steps as stored, in time order
    std::vector<std::string> texts;
    for (int id : {1038, 1007, 1039, 1008, 1040}) texts.push_back(shown.Find(id)->shown);
    EXPECT_EQ(texts, (std::vector<std::string>{"0.001", "5", "0.002", "9", ""}));
  }
  EXPECT_EQ(std::vector<double>({double(v->n), v->pairs[0][0], v->pairs[0][1]}), std::vector<double>({1, 2e-3, 9}));
  EXPECT_EQ(host.backupsAtCount.size(), 2u);

  auto* l = add_symbol(new sdi::basic(sdi::kind_inductor, 1), {400, 160});
  l->values[0] = 3;
  host.dialogs.steps = {{"L_Dlg", {{1001, "5"}}, {}, DialogEnd::Cancel}};
  view.EditElement(l->id);
  EXPECT_EQ(l->values[0], 3);
  EXPECT_TRUE(l->flags.test(sdi::flag_values_set));
  EXPECT_EQ(host.backupsAtCount.size(), 2u);

  // Wires, grounds, labels and junctions open nothing and stay unmarked; a probe is undefined.
  for (sdi::element* e : {static_cast<sdi::element*>(AddWire({600, 100}, {700, 100})),
                          static_cast<sdi::element*>(add_symbol(new sdi::ground(1), {600, 300})),
                          static_cast<sdi::element*>(add_symbol(new sdi::llabel(1), {700, 300})),
                          static_cast<sdi::element*>(add_symbol(new sdi::nodec(1), {800, 300}))}) {
    e->flags.clear(sdi::flag_values_set);
    view.EditElement(e->id);
    EXPECT_FALSE(e->flags.test(sdi::flag_values_set)) << e->kind;
  }
  auto* p = add_symbol(new sdi::probe(1), {900, 300});
  view.EditElement(p->id);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Undefined Element"});
  EXPECT_TRUE(p->flags.test(sdi::flag_values_set));
  EXPECT_EQ(host.dialogs.opened.size(), 3u);
}

// Each kind's numbers: typed ones land in the element's own slots (a modulator's
// V pk-pk also in its first value), and the dialog opened again shows them.
TEST_F(ValueDispatch, EachKindStoresAndShowsItsNumbers) {
  using Slots = std::function<std::vector<double>(sdi::element*)>;
  const auto values = [](std::vector<int> k) {
    return [k](sdi::element* e) {
      std::vector<double> r;
      for (int i : k) r.push_back(e->values[i]);
      return r;
    };
  };
  const auto withInitial = [](sdi::element* e) {
    return std::vector<double>{e->values[0], static_cast<sdi::basic*>(e)->initial};
  };
  const struct { int kind; const char* dialog; std::vector<int> ids; Slots stored; std::vector<double> expected; } rows[] = {
      {sdi::kind_capacitor, "c_Dlg", {1001, 1002}, withInitial, {2, 3}},
      {sdi::kind_inductor, "L_Dlg", {1001, 1002}, withInitial, {2, 3}},
      {sdi::kind_primary, "PRI_Dlg", {1001}, values({0}), {2}},
      {sdi::kind_upper_limiter, "UL_Dlg", {1001}, values({0}), {2}},
      {sdi::kind_lower_limiter, "LL_Dlg", {1001}, values({0}), {2}},
      {sdi::kind_multiplier, "MUL_Dlg", {1001}, values({0}), {2}},
      {sdi::kind_clock, "CLK_Dlg", {1001, 1002}, values({1, 2}), {2, 3}},
      {sdi::kind_modulator, "MOD_Dlg", {1001, 1002, 1003, 1004, 1044}, values({1, 2, 3, 4, 5, 0}), {2, 3, 4, 5, 6, 5}},
      {sdi::kind_vco, "VCO_Dlg", {1001, 1002},
       [](sdi::element* e) { return std::vector<double>{e->values[0], static_cast<sdi::vco*>(e)->constant}; }, {2, 3}},
      {sdi::kind_op_amp, "OP_Dlg", {1001, 1002, 1003},
       [](sdi::element* e) {
         auto* o = static_cast<sdi::op_amp*>(e);
         return std::vector<double>{e->values[0], o->Ri, o->Ro};
       },
       {2, 3, 4}},
      {sdi::kind_sine, "VAC_Dlg", {1001, 1002, 1003},
       [](sdi::element* e) {
         auto* s = static_cast<sdi::sine*>(e);
         return std::vector<double>{e->values[0], s->frequency, s->phase};
       },
       {2, 3, 4}},
      {sdi::kind_voltage_source, "VDC_X_Dg", {1001}, values({0}), {2}},
      {sdi::kind_current_source, "IDC_X_Dg", {1001}, values({0}), {2}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.dialog);
    sdi::create_element(r.kind);
    sdi::element* e = sdi::pending_element;
    ASSERT_NE(e, nullptr);
    sdi::pending_element = sdi::previous_pending_element = nullptr;
    add_symbol(static_cast<sdi::i_element*>(e), {200, 160});
    std::map<int, std::string> typed = {{1000, "X7"}};
    for (std::size_t i = 0; i < r.ids.size(); ++i) typed[r.ids[i]] = std::to_string(i + 2);
    host.dialogs.steps = {{r.dialog, typed, {}, DialogEnd::Ok}, {r.dialog, {}, {}, DialogEnd::Cancel}};
    view.EditElement(e->id);
    EXPECT_EQ(r.stored(e), r.expected);
    EXPECT_EQ(zorv::NameOf(e), "X7");
    view.EditElement(e->id);
    for (const auto& [id, text] : typed) EXPECT_EQ(host.dialogs.opened.back().Find(id)->text, text) << id;
    sdi::delete_all_elements();
  }
  // The two states of a diode and a switch: Off stored as 0, shown again as Off.
  for (int kind : {sdi::kind_diode, sdi::kind_switch}) {
    SCOPED_TRACE(kind);
    sdi::create_element(kind);
    sdi::element* e = sdi::pending_element;
    sdi::pending_element = sdi::previous_pending_element = nullptr;
    add_symbol(static_cast<sdi::i_element*>(e), {200, 160});
    const char* dialog = kind == sdi::kind_diode ? "D_Dlg" : "SW_Dlg";
    for (int button : {1010, 1009}) {
      host.dialogs.steps = {{dialog, {}, {button}, DialogEnd::Ok}, {dialog, {}, {}, DialogEnd::Cancel}};
      view.EditElement(e->id);
      const double on = kind == sdi::kind_diode ? e->values[0] : static_cast<sdi::switch2*>(e)->initial_state;
      EXPECT_EQ(on, button == 1009 ? 1 : 0);
      view.EditElement(e->id);
      EXPECT_TRUE(host.dialogs.opened.back().Find(button)->checked);
      EXPECT_FALSE(host.dialogs.opened.back().Find(button == 1009 ? 1010 : 1009)->checked);
    }
    sdi::delete_all_elements();
  }
}

// y1 takes only a port, sw only a switch; a miss beeps and leaves 0.
TEST_F(ValueDispatch, ThresholdPicksPortsAndSwitch) {
  auto* t = add_symbol(new sdi::threshold(1), {200, 160}, "TH1");
  auto* port = add_symbol(new sdi::port(sdi::kind_current_port, 1), {400, 160}, "IP1");
  auto* sw = add_symbol(new sdi::switch2(1), {600, 160}, "SW1");
  const struct { int button; sdi::point at; } picks[] = {{1009, {600, 160}}, {1009, {400, 160}}, {1011, {400, 160}}, {1011, {600, 160}}};
  host.dialogs.steps = {{"THRES_Dlg", {{1020, "1"}}, {picks[0].button}, DialogEnd::PickThreshold}};
  view.EditElement(t->id);
  for (std::size_t i = 0; i < 4; ++i) {
    view.TakePick(picks[i].at);
    if (i < 3) host.dialogs.steps = {{"THRES_Dlg", {}, {picks[i + 1].button}, DialogEnd::PickThreshold}};
    else host.dialogs.steps = {{"THRES_Dlg", {}, {}, DialogEnd::Ok}};
    view.Reopen();
  }
  EXPECT_EQ(host.beeps, 2);
  EXPECT_EQ(*t->outputs.list_value_at(0), port->id);
  EXPECT_EQ(t->switch_id, sw->id);
  EXPECT_EQ(*sw->links.list_value_at(0), t->id);  // ct_on set: cross-linked
  EXPECT_EQ(*t->links.list_value_at(0), sw->id);
  EXPECT_EQ(*t->table.list_value_at(3), 1.0);
  EXPECT_EQ(host.referred, (std::vector<int>{port->id, sw->id}));  // drawn selected in the last opening
  EXPECT_EQ(sw->selected + port->selected, 0);
  host.dialogs.steps = {{"THRES_Dlg", {}, {}, DialogEnd::Ok}};  // opened again: its picks shown and kept
  view.EditElement(t->id);
  EXPECT_EQ(host.dialogs.opened.back().Find(1006)->shown, "SW1");
  EXPECT_EQ(std::make_pair(t->switch_id, *t->outputs.list_value_at(0)), std::make_pair(sw->id, port->id));
}

// M's dialog shows its two inductors as selected while it is open; a resistor's shows none.
TEST_F(ValueDispatch, MutualShowsItsInductors) {
  auto* r = AddResistor({100, 160});
  auto* m = add_coupling({200, 160}, {296, 160});
  m->inductor1 = 7, m->inductor2 = 9;
  host.dialogs.steps = {{"R_Dlg", {}, {}, DialogEnd::Cancel}, {"M_Dlg", {}, {}, DialogEnd::Cancel}};
  view.EditElement(r->id);
  EXPECT_TRUE(host.referred.empty());
  view.EditElement(m->id);
  EXPECT_EQ(host.referred, (std::vector<int>{7, 9}));
}

TEST_F(ValueDispatch, DeletingTheElementEndsThePick) {
  view.TakePick({200, 160});  // nothing to pick yet: no beep, no dialog
  view.Reopen();
  EXPECT_EQ(host.beeps, 0);
  auto* src = add_symbol(new sdi::depsource(sdi::kind_icis, 1), {200, 160}, "F1");
  host.dialogs.steps = {{"ICIS_Dlg", {}, {1008}, DialogEnd::PickSource}};
  view.EditElement(src->id);
  delete sdi::circuit.remove_by_id(src->id);
  view.TakePick({200, 160});
  view.Reopen();  // no dialog: the scripted service would fail on one
  EXPECT_EQ(host.dialogs.opened.size(), 1u);
}

// All five step rows typed: each time and value lands in its own pair.
TEST_F(ValueDispatch, FiveStepsKeptInOrder) {
  auto* v = add_symbol(new sdi::source(sdi::kind_current_source, 1), {200, 160});
  host.dialogs.steps = {{"IDC_X_Dg", {{1038, "1"}, {1039, "2"}, {1040, "3"}, {1005, "4"}, {1006, "5"},
                                      {1007, "10"}, {1008, "20"}, {1009, "30"}, {1010, "40"}, {1011, "50"}}, {}, DialogEnd::Ok}};
  view.EditElement(v->id);
  ASSERT_EQ(v->n, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(std::make_pair(v->pairs[i][0], v->pairs[i][1]), std::make_pair(i + 1.0, 10.0 * (i + 1)));
}

// A secondary's Select takes a primary only; OK links the two both ways.
TEST_F(ValueDispatch, SecondaryPicksItsPrimary) {
  auto* pri = add_symbol(new sdi::xform(sdi::kind_primary, 1), {200, 160}, "P1");
  auto* sec = add_symbol(new sdi::xform(sdi::kind_secondary, 1), {400, 160}, "S1");
  AddResistor({600, 160});
  host.dialogs.steps = {{"SEC_Dlg", {}, {1008}, DialogEnd::PickSource}};
  view.EditElement(sec->id);
  view.TakePick({600, 160});  // a resistor: refused
  host.dialogs.steps = {{"SEC_Dlg", {}, {1008}, DialogEnd::PickSource}};
  view.Reopen();
  view.TakePick({200, 160});
  host.dialogs.steps = {{"SEC_Dlg", {}, {}, DialogEnd::Ok}};
  view.Reopen();
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(host.dialogs.opened.back().Find(1003)->shown, "P1");
  EXPECT_EQ(sec->partner, pri->id);
  EXPECT_TRUE(sec->links.find(pri->id, 0));
  EXPECT_TRUE(pri->links.find(sec->id, 0));
}

// A controlled source read with its branch but not the branch's link (a file
// altered by hand): OK stores it without an internal error and links it.
TEST_F(ValueDispatch, ControlledSourceWithoutItsLinkStoresCleanly) {
  Capture cap;
  auto* src = add_symbol(new sdi::depsource(sdi::kind_vcvs, 1), {200, 160}, "E1");
  auto* port = add_symbol(new sdi::port(sdi::kind_voltage_port, 1), {400, 160}, "VP1");
  src->control = port->id;
  host.dialogs.steps = {{"VCVS_Dlg", {}, {}, DialogEnd::Ok}};
  view.EditElement(src->id);
  EXPECT_TRUE(cap.errors.empty());
  EXPECT_EQ(src->links.count(), 1);
  EXPECT_TRUE(src->links.find(port->id, 0));
}

}  // namespace
