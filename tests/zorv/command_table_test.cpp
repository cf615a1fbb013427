#include "sdi/zorv/core/command_table.h"

#include <gtest/gtest.h>

#include <set>

#include "sdi/zorv/core/command_ids.h"

namespace cmd = zorv::cmd;

TEST(PromptFor, SplitsStatusAndTooltip) {
  EXPECT_EQ(zorv::PromptFor(cmd::Wire).status, "Connect the components with a  wire");
  EXPECT_EQ(zorv::PromptFor(cmd::Wire).tooltip, "Wire");
  EXPECT_EQ(zorv::PromptFor(cmd::ZoomAll).tooltip, " Zoom all");
  EXPECT_EQ(zorv::PromptFor(cmd::SteadyStateRun).tooltip, "Run (steady-state)");
  EXPECT_EQ(zorv::PromptFor(cmd::ViewPlot).status, "Start the plotting program");
}

TEST(PromptFor, APromptWithoutTooltipIsItsOwnTooltip) {
  EXPECT_EQ(zorv::PromptFor(cmd::R).status, "Resistor");
  EXPECT_EQ(zorv::PromptFor(cmd::R).tooltip, "Resistor");
  EXPECT_EQ(zorv::PromptFor(cmd::VCO).tooltip, "Voltage Controlled Oscillator");
}

TEST(PromptFor, UnknownIdHasNoPrompt) {
  EXPECT_EQ(zorv::PromptFor(1).status, "");
  EXPECT_EQ(zorv::PromptFor(1).tooltip, "");
}

TEST(Toolbars, MainToolbarOrder) {
  const std::vector<int> expected = {57600, 57601, 57603, 57607, 0, 57635, 57634, 57637, 0, 32789, 32817,
                                     0,     32812, 32813, 32873, 0, 32807, 32815, 32851, 0, 57664};
  EXPECT_EQ(zorv::MainToolbarButtons(), expected);
}

TEST(Toolbars, ElementToolbarHas29ButtonsWithPrompts) {
  const std::vector<int>& bar = zorv::ElementToolbarButtons();
  ASSERT_EQ(bar.size(), 29u);
  EXPECT_EQ(bar.front(), 32792);
  EXPECT_EQ(bar.back(), 32800);
  EXPECT_EQ(std::set<int>(bar.begin(), bar.end()).size(), 29u);
  for (int id : bar) {
    EXPECT_FALSE(zorv::PromptFor(id).status.empty()) << id;
    EXPECT_FALSE(zorv::ShortLabel(id).empty()) << id;
  }
}

TEST(MainMenu, PopupsInOrder) {
  const auto& menu = zorv::MainMenu();
  ASSERT_EQ(menu.size(), 8u);
  EXPECT_EQ(menu[0].label, "&File");
  EXPECT_EQ(menu[1].label, "&Edit");
  EXPECT_EQ(menu[2].label, "&View");
  EXPECT_EQ(menu[3].label, "S&ubcircuit");
  EXPECT_EQ(menu[3].items.at(3).id, 32865);
  EXPECT_EQ(menu[4].label, "E&lement");
  EXPECT_EQ(menu[5].label, "&Simulation");
  EXPECT_EQ(menu[6].label, "S&teady_State");
  EXPECT_EQ(menu[7].label, "&Help");
  EXPECT_EQ(menu[7].items.at(0).label, "&About ZORV..");
  EXPECT_EQ(menu[7].items.at(0).id, 57664);
}

TEST(MainMenu, FileMenuItems) {
  const auto& file = zorv::MainMenu()[0].items;
  ASSERT_EQ(file.size(), 12u);
  EXPECT_EQ(file[0].label, "&New\tCtrl+N");
  EXPECT_EQ(file[1].label, "&Open...\tCtrl+O");
  EXPECT_EQ(file[3].label, "Save &As...");
  EXPECT_EQ(file[4].label, "-");
  EXPECT_EQ(file[9].id, 57616);
  EXPECT_EQ(file[11].label, "E&xit");
  EXPECT_EQ(file[11].id, 57665);
}

TEST(MainMenu, LibraryPlaceholders) {
  const auto& element = zorv::MainMenu()[4].items;
  ASSERT_EQ(element.size(), 6u);
  EXPECT_EQ(element[5].label, "Library");
  ASSERT_EQ(element[5].items.size(), 4u);
  EXPECT_EQ(element[5].items[0].label, "Update");
  EXPECT_EQ(element[5].items[0].id, 32861);
  EXPECT_EQ(element[5].items[3].label, "dummy3");
}

TEST(Accelerators, TwoKeysForUndoCutCopyPaste) {
  int undo = 0, cut = 0, copy = 0, paste = 0;
  for (const auto& a : zorv::Accelerators()) {
    undo += a.id == cmd::EditUndo;
    cut += a.id == cmd::EditCut;
    copy += a.id == cmd::EditCopy;
    paste += a.id == cmd::EditPaste;
  }
  EXPECT_EQ(undo, 2);
  EXPECT_EQ(cut, 2);
  EXPECT_EQ(copy, 2);
  EXPECT_EQ(paste, 2);
  EXPECT_EQ(zorv::Accelerators().size(), 14u);
}
