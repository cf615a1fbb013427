// Editing in the running editor with real mouse events through the X server.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include <wx/aui/auibar.h>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/uiaction.h>

#include "sdi/files/circuit_file.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/placement.h"
#include "sdi/elements/i_element.h"
#include "sdi/run_launch_circuits.h"
#include "sdi/zorv/core/base/process_launcher.h"
#include "sdi/zorv/main_frame.h"
#include "sdi/zorv/zorv_canvas.h"
#include "sdi/zorv/toolkit_ids.h"
#include "zorv/circuit_builder.h"
#include "zorv/smoke/buck_circuit.h"
#include "zorv/smoke/gui_session.h"

TEST(Smoke, DrawAWireAndPlaceAResistorWithTheMouseSaveAndUndoTheWire) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  ASSERT_TRUE(s.FocusCanvas());
  auto screen = [&](int x, int y) { return s.SheetToScreen(x, y); };
  wxUIActionSimulator mouse;

  s.Command(ZORV_ID(R));
  mouse.MouseMove(screen(200, 160));
  s.Settle();
  mouse.MouseClick();
  ASSERT_TRUE(s.WaitFor([&] { return circuit_kinds().size() == 1; }));
  mouse.Char(WXK_ESCAPE);
  ASSERT_TRUE(s.WaitFor([&] { return !s.View()->Core().Edit().Placing(); }));

  s.Command(ZORV_ID(Wire));
  mouse.MouseMove(screen(48, 48));
  s.Settle();
  mouse.MouseDown();
  s.Settle();
  for (int x = 64; x <= 160; x += 16) {
    mouse.MouseMove(screen(x, 48));
    s.Settle();
  }
  mouse.MouseUp();
  ASSERT_TRUE(s.WaitFor([&] { return circuit_kinds().size() == 2; }));
  mouse.Char(WXK_ESCAPE);
  ASSERT_TRUE(s.WaitFor([&] { return !s.View()->Core().Edit().WireMode(); }));

  const std::string path = (s.Dir().path() / "drawn.ckt").string();
  ASSERT_TRUE(s.Doc()->OnSaveDocument(path));
  s.Command(wxID_UNDO);
  EXPECT_EQ(circuit_kinds(), std::vector<int>{sdi::kind_resistor});
  // The saved file holds the resistor and the wire, as drawn.
  ASSERT_EQ(sdi::open_circuit_file(path), sdi::circuit_read);
  ASSERT_EQ(circuit_kinds(), (std::vector<int>{sdi::kind_resistor, sdi::kind_wire}));
  sdi::element* w = static_cast<sdi::enode*>(sdi::circuit.head->next)->value;
  EXPECT_EQ(sdi::circuit.head->value->terminal_at(0), sdi::point(200, 136));
  EXPECT_EQ(sdi::line(w->terminal_at(0), w->terminal_at(1)), sdi::line(48, 48, 160, 48));
}

TEST(Smoke, KeysReachTheSheetAfterAToolbarButtonAMenuCommandOrADialog) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  wxUIActionSimulator ui;
  wxAuiToolBar* elements = s.Frame()->ElementBar();
  auto away = [&] {  // the keyboard on a toolbar, as a click on it may leave it
    elements->SetFocus();
    return s.WaitFor([&] { return wxWindow::FindFocus() == elements; });
  };
  ASSERT_TRUE(away());
  const wxRect tool = elements->GetToolRect(ZORV_ID(R));
  ui.MouseMove(elements->ClientToScreen(tool.GetPosition() + wxPoint(tool.width / 2, tool.height / 2)));
  s.Settle();
  ui.MouseClick();
  ASSERT_TRUE(s.WaitFor([&] { return s.View()->Core().Edit().Placing(); }));
  ui.MouseMove(s.SheetToScreen(200, 160));  // onto the sheet, no click
  s.Settle();
  auto orientation = [] { return static_cast<sdi::i_element*>(sdi::pending_element)->orientation; };
  const int before = orientation();
  ui.Char(WXK_SPACE);
  EXPECT_TRUE(s.WaitFor([&] { return orientation() != before; }));

  ASSERT_TRUE(away());
  s.Command(ZORV_ID(C));
  ui.Char(WXK_ESCAPE);
  EXPECT_TRUE(s.WaitFor([&] { return !s.View()->Core().Edit().Placing(); }));
  EXPECT_TRUE(circuit_kinds().empty());

  ASSERT_TRUE(away());  // a dialog that really shows gives it back when it closes
  s.dialogs.answers = {wxID_NONE};
  s.dialogs.onEnter = [](wxDialog* dialog) { dialog->CallAfter([dialog] { dialog->EndModal(wxID_OK); }); };
  wxDialog dialog(s.Frame(), wxID_ANY, "shown");
  EXPECT_EQ(dialog.ShowModal(), wxID_OK);
  s.dialogs.onEnter = nullptr;
  EXPECT_TRUE(s.WaitFor([&] { return wxWindow::FindFocus() == s.View()->Canvas(); }));

  ASSERT_TRUE(away());  // and so does the main window coming back to the front
  wxActivateEvent activated(wxEVT_ACTIVATE, true);
  s.Frame()->HandleWindowEvent(activated);
  EXPECT_TRUE(s.WaitFor([&] { return wxWindow::FindFocus() == s.View()->Canvas(); }));
}

TEST(Smoke, TheLibraryMenuListsTheFoldersSymbolsAndPlacesOne) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  wxMenu* library = nullptr;
  ASSERT_TRUE(s.Frame()->GetMenuBar()->FindItem(ZORV_ID(LibraryUpdate), &library) && library);
  EXPECT_EQ(library->GetMenuItemCount(), 2u);  // Update and a separator: no placeholders
  std::ofstream("Buck.sym") << "BUCK\n41,33,16,16\n2\n0,0,40,0\n0,32,40,32\n2\n0,16\n32,16\n1\nVin\n";
  s.Command(ZORV_ID(LibraryUpdate));
  ASSERT_EQ(library->GetMenuItemCount(), 3u);
  EXPECT_EQ(library->FindItemByPosition(2)->GetId(), 2024);
  EXPECT_EQ(library->FindItemByPosition(2)->GetItemLabel(), "buck");
  s.Command(2024);
  EXPECT_TRUE(s.View()->Core().Edit().Placing());
}

// A circuit with a subcircuit, opened on the command line from its own folder: after
// an edit, Undo, Redo and Undo (snapshots read in the undo folder) the instance keeps
// its symbol, the Library still lists that folder, and the run finds the ".sct".
TEST(Smoke, UndoAndRedoKeepTheSubcircuitsAndTheRunFindsThem) {
  TempDir files;
  const std::filesystem::path lib = files.path() / "lib";
  std::filesystem::create_directory(lib);
  std::filesystem::current_path(lib);
  {
    SettingsGuard settings;  // 1 ms in steps of 1 us, kept in the file's header
    write_rsub(400.0, 600.0);
    build_rc(add_symbol(new sdi::sub("rsub", 1), {304, 160}, "RSUB1"));
    ASSERT_TRUE(sdi::save_circuit("c.ckt"));
    sdi::delete_all_elements();
  }
  GuiSession s({"--nosplash", (lib / "c.ckt").string()});  // started in a folder of its own
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  const int count = CircuitCount();
  s.View()->SaveBackup();
  AddResistor({904, 600});
  for (int id : {wxID_UNDO, wxID_REDO, wxID_UNDO}) {
    s.Command(id);
    EXPECT_EQ(CircuitCount(), id == wxID_REDO ? count + 1 : count);
  }
  EXPECT_EQ(sdi::symbol_folder, lib.string());
  auto* instance = dynamic_cast<sdi::sub*>(OfKind(sdi::kind_sub));
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(instance->type_name, "RSUB");
  wxMenu* library = nullptr;
  ASSERT_TRUE(s.Frame()->GetMenuBar()->FindItem(ZORV_ID(LibraryUpdate), &library) && library);
  s.Command(ZORV_ID(LibraryUpdate));
  ASSERT_EQ(library->GetMenuItemCount(), 3u);
  EXPECT_EQ(library->FindItemByPosition(2)->GetItemLabel(), "rsub");
  struct NoPlotter : zorv::ProcessLauncher {
    bool StartDetached(const std::string&, const std::vector<std::string>&, std::string&) override { return true; }
  } plotter;
  s.View()->SetProcessLauncher(plotter);
  s.Command(ZORV_ID(SimulationRun));
  const std::vector<std::string> said = s.Messages();
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(said[0].rfind("Simulation completed! Total simulation time = ", 0), 0u) << said[0];
  EXPECT_TRUE(std::filesystem::exists(lib / "c.plt"));
}

// Undo with nothing to undo, after New and after Open: greyed, and the command, sent as
// its key would send it, neither says anything nor writes into the undo folder.
TEST(Smoke, UndoIsOffAfterNewAndOpenUntilTheNextEdit) {
  TempDir files;
  const std::string path = (files.path() / "buck.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  const zorv::UndoFiles& undo = s.View()->Core().Undo();
  auto undoEnabled = [&] {
    wxUpdateUIEvent update(wxID_UNDO);
    s.Frame()->GetEventHandler()->ProcessEvent(update);
    return update.GetEnabled();
  };
  const std::pair<const char*, std::function<void()>> rows[] = {
      {"New", [&] { s.dialogs.answers = {wxID_NO}, s.Command(wxID_NEW); }},
      {"Open", [&] { ASSERT_TRUE(s.Doc()->OnOpenDocument(path)); }},
  };
  for (const auto& [name, replace] : rows) {
    SCOPED_TRACE(name);
    s.View()->SaveBackup();  // an edit, undone: both snapshots exist
    AddResistor({200, 160});
    s.Command(wxID_UNDO);
    ASSERT_TRUE(std::filesystem::exists(undo.Backup2()));
    replace();
    const int count = CircuitCount();
    const std::size_t said = s.Messages().size();
    EXPECT_FALSE(undoEnabled());
    s.Command(wxID_UNDO);
    EXPECT_EQ(s.Messages().size(), said);
    EXPECT_EQ(CircuitCount(), count);
    EXPECT_FALSE(std::filesystem::exists(undo.Backup()) || std::filesystem::exists(undo.Backup2()));
    s.View()->SaveBackup();  // the next edit turns it on
    AddResistor({400, 160});
    EXPECT_TRUE(undoEnabled());
    s.Command(wxID_UNDO);
    EXPECT_EQ(CircuitCount(), count);
  }
}
