// The Element commands and the value dialogs through the view's mouse handling,
// with scripted dialogs: names after a delete, the one multiplier, the label
// letter, the inductor pair picked by clicks (and undone), and a controlled
// source picking its branch by a click.
#include "sdi/elements/control_elements.h"
#include "sdi/zorv/core/commands/element_commands.h"
#include "zorv/edit_fixture.h"
#include "zorv/scripted_dialogs.h"

namespace {

using zorv::DialogEnd;

struct Commands : zorv::ElementCommandHost {
  ScriptedDialogs dialogs;
  int beeps = 0;
  std::vector<std::function<void()>> later;
  zorv::DialogService& Dialogs() override { return dialogs; }
  void Beep() override { ++beeps; }
  void Later(std::function<void()> f) override { later.push_back(std::move(f)); }
  // What the event loop would do once the handler returned.
  void RunLater() {
    auto due = std::move(later);
    later.clear();
    for (auto& f : due) f();
  }
};

class ElementCommandsTest : public EditTest {
protected:
  Commands host2;
  zorv::ElementCommands elements{view, host2};
  void Place(int kind, zorv::Pos at) {
    elements.OnElement(kind);
    Click(at);
    Edit().OnKeyDown(zorv::kKeyEscape);
  }
};

TEST_F(ElementCommandsTest, NamesAfterADeleteAndTheOneMultiplier) {
  Place(sdi::kind_resistor, {100, 100});
  Place(sdi::kind_resistor, {200, 100});
  Click({100, 100});
  Edit().OnKeyDown(zorv::kKeyDelete);
  Place(sdi::kind_resistor, {300, 100});
  EXPECT_EQ(Find("R1"), nullptr);
  EXPECT_NE(Find("R3"), nullptr);

  Place(sdi::kind_multiplier, {100, 200});
  elements.OnElement(sdi::kind_resistor);
  ASSERT_NE(sdi::pending_element, nullptr);
  elements.OnElement(sdi::kind_multiplier);
  EXPECT_EQ(g_editMessages, std::vector<std::string>{"Only one multiplier allowed."});
  EXPECT_EQ(sdi::pending_element, nullptr);
  EXPECT_FALSE(Edit().Placing());
  EXPECT_EQ(CircuitCount(), 3);
}

TEST_F(ElementCommandsTest, LabelLetterPlaced) {
  sdi::next_label_letter = 'a';
  host2.dialogs.steps = {{"LAB_Dlg", {}, {}, DialogEnd::Cancel}};
  elements.OnElement(sdi::kind_label);
  EXPECT_EQ(sdi::pending_element, nullptr);
  host2.dialogs.steps = {{"LAB_Dlg", {{1000, "A"}}, {}, DialogEnd::Ok}, {"LAB_Dlg", {{1000, "1"}}, {}, DialogEnd::Ok},
                         {"LAB_Dlg", {{1000, ""}}, {}, DialogEnd::Ok}, {"LAB_Dlg", {{1000, "q"}}, {}, DialogEnd::Ok}};
  elements.OnElement(sdi::kind_label);
  EXPECT_EQ(host2.dialogs.opened[1].Find(1000)->text, "a");
  EXPECT_EQ(host2.dialogs.opened[2].Find(1000)->text, " ");
  ASSERT_NE(sdi::pending_element, nullptr);
  EXPECT_EQ(sdi::pending_element->values[0], 'q');
  EXPECT_EQ(sdi::next_label_letter, 'r');
  EXPECT_TRUE(Edit().Placing());
}

// M with a resistor being placed: nothing stays pending; #1 and #2 picked by
// clicks (a resistor beeps), OK couples them, Undo takes the coupling away.
TEST_F(ElementCommandsTest, InductorPairByClicksAndUndo) {
  Place(sdi::kind_inductor, {100, 100});
  Place(sdi::kind_inductor, {200, 100});
  Place(sdi::kind_resistor, {300, 100});
  elements.OnElement(sdi::kind_resistor);
  host2.dialogs.steps = {{"MSEL_Dlg", {}, {1009}, DialogEnd::PickInductor}};
  elements.OnElement(sdi::kind_mutual);
  EXPECT_EQ(sdi::pending_element, nullptr);
  const struct { zorv::Pos at; int next; DialogEnd end; } clicks[] = {
      {{100, 100}, 1010, DialogEnd::PickInductor}, {{300, 100}, 1010, DialogEnd::PickInductor}, {{200, 100}, 0, DialogEnd::Ok}};
  for (const auto& c : clicks) {
    Click(c.at);
    host2.dialogs.steps = {{"MSEL_Dlg", {}, {c.next}, c.end}};
    host2.RunLater();
  }
  EXPECT_EQ(host2.beeps, 1);
  EXPECT_EQ(host2.dialogs.opened[2].Find(1025)->text, "");
  EXPECT_EQ(host2.dialogs.opened[3].Find(1025)->text, "L2");
  ASSERT_EQ(CircuitCount(), 4);
  auto* m = static_cast<sdi::cmutind*>(OfKind(sdi::kind_mutual));
  ASSERT_NE(m, nullptr);
  EXPECT_STREQ(m->name(), "M1");
  EXPECT_EQ(std::vector<int>({m->inductor1, m->inductor2}), std::vector<int>({Find("L1")->id, Find("L2")->id}));
  EXPECT_EQ(m->terminal_at(0), Find("L1")->terminal_at(0) + sdi::point(0, 24)) << "from symbol centre";
  EXPECT_EQ(Find("R1")->selected, 0);
  Click({300, 100});  // the pick is over: a click selects again
  EXPECT_TRUE(host2.later.empty());
  EXPECT_EQ(std::make_pair(host2.beeps, Find("R1")->selected), std::make_pair(1, 1));
  edit.OnEditUndo();
  EXPECT_EQ(CircuitCount(), 3);
}

// A double-click on a VCVS, Select, a click on a port: the dialog again with the
// port's name, OK links it. While placing, a double-click opens nothing.
TEST_F(ElementCommandsTest, ControlledSourcePicksByAClick) {
  Place(sdi::kind_vcvs, {100, 100});
  Place(sdi::kind_voltage_port, {200, 100});
  elements.OnElement(sdi::kind_resistor);
  EXPECT_FALSE(elements.WantsDoubleClick({100, 100}));
  Edit().OnKeyDown(zorv::kKeyEscape);
  ASSERT_TRUE(elements.WantsDoubleClick({100, 100}));
  host2.dialogs.steps = {{"VCVS_Dlg", {{1001, "2k"}}, {1008}, DialogEnd::PickSource}};
  host.ClientBuffer();
  elements.OnLButtonDblClk({100, 100});
  EXPECT_FALSE(host.valid);  // repainted after the dialog
  Click({200, 100});
  host2.dialogs.steps = {{"VCVS_Dlg", {}, {}, DialogEnd::Ok}};
  host2.RunLater();
  auto* e = static_cast<sdi::depsource*>(OfKind(sdi::kind_vcvs));
  ASSERT_NE(e, nullptr);
  sdi::element* port = Find(host2.dialogs.opened.back().Find(1003)->text.c_str());
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(port->kind, sdi::kind_voltage_port);
  EXPECT_EQ(e->control, port->id);
  EXPECT_EQ(std::make_pair(e->links.find(port->id, 0), e->links.find(0, 0)), std::make_pair(1, 0));
  EXPECT_EQ(e->values[0], 2000);
  EXPECT_EQ(port->selected, 0);
  EXPECT_EQ(host2.beeps, 0);
}

}  // namespace
