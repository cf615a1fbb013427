// Undo and Redo, the clipboard, the subcircuit commands and the Library.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "sdi/elements/control_elements.h"
#include "sdi/files/record_stream.h"
#include "sdi/edit/select_ops.h"
#include "sdi/elements/sub_element.h"
#include "sdi/zorv/core/document/library.h"
#include "sdi/zorv/core/document/subcircuits.h"
#include "sdi/netlist/launcher.h"
#include "sdi/netlist/prepare_circuit.h"
#include "sdi/run_launch_circuits.h"
#include "zorv/edit_fixture.h"
#include "zorv/render_pixels.h"

namespace {

struct SubHost : zorv::SubcircuitHost {
  std::string toOpen, toSave;
  int rebuilt = 0;
  bool SaveModified() override { return true; }
  std::string AskSubcircuitToOpen() override { return toOpen; }
  std::string AskSubcircuitToSave() override { return toSave; }
  bool ConfirmOverwrite(const std::string&) override { return true; }
  void RebuildLibrary() override { ++rebuilt; }
};

class EditCommandsTest : public EditTest {
protected:
  SubHost subHost;
  zorv::Subcircuits sub{doc, view, subHost};
};

TEST_F(EditCommandsTest, UndoRemovesTheWireJustDrawnAndUndoTwiceBringsItBack) {
  Edit().OnWire();
  Drag({16, 16}, {64, 16});
  ASSERT_EQ(Wires().size(), 1u);
  ASSERT_TRUE(edit.CanUndo() && !edit.CanRedo() && Edit().WireMode());
  edit.OnEditUndo();
  EXPECT_TRUE(Wires().empty());
  EXPECT_FALSE(Edit().WireMode());  // the circuit read back ends wiring
  EXPECT_TRUE(edit.CanRedo());
  edit.OnEditUndo();
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 64, 16}}));
  edit.OnEditUndo();
  edit.OnEditRedo();
  EXPECT_EQ(Wires().size(), 1u);
  edit.OnEditUndo();
  ASSERT_TRUE(edit.CanRedo());
  Edit().OnWire();
  Drag({16, 64}, {64, 64});  // a new edit ends Redo
  Edit().OnKeyDown(zorv::kKeyEscape);
  EXPECT_EQ(Wires().size(), 1u);
  EXPECT_FALSE(edit.CanRedo());
}

// An undo file that is no circuit file to read (a pipe, a device, too large) is
// refused at once with its message; the drawing stays.
TEST_F(EditCommandsTest, AnUndoFileThatIsNoFileIsRefusedAtOnce) {
  const std::string backup = undo.Backup().string();
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[&] { ASSERT_EQ(::mkfifo(backup.c_str(), 0600), 0); }, "Unable to read backup file"},
      {[&] { std::filesystem::create_symlink("/dev/zero", backup); }, "Unable to read backup file"},
      {[&] { std::ofstream{backup}, std::filesystem::resize_file(backup, sdi::max_circuit_file_bytes + 1); },
       "File " + backup + " is larger than 16777216 bytes."},
      // Read, but Undo's own undo point (the state left) cannot be written: said, and no
      // second Undo that would overwrite what Redo brings back.
      {[&] {
         view.SaveBackup();
         host.onModified = [&] { std::filesystem::remove(backup), std::filesystem::create_directories(backup + "/x"); };
       },
       "The undo point could not be saved: Is a directory"},
  };
  Edit().OnWire();
  Drag({16, 16}, {64, 16});
  ::alarm(60);  // a reader that blocked would end the test here
  for (const auto& [make, message] : rows) {
    std::filesystem::remove(backup);
    make();
    g_editMessages.clear();
    edit.OnEditUndo();
    EXPECT_EQ(g_editMessages, std::vector<std::string>{message});
    EXPECT_EQ(Wires().size(), 1u);
  }
  ::alarm(0);
  EXPECT_FALSE(edit.CanUndo());
  EXPECT_TRUE(edit.CanRedo());
  std::filesystem::remove_all(backup);
}

// After Undo could not copy its undo point (Undo off), Redo writes "backup.ckt" again:
// Undo follows whether that write succeeded, and then goes back to the state Redo left.
TEST_F(EditCommandsTest, RedoTurnsUndoOnWhenItWroteTheUndoPoint) {
  const std::filesystem::path backup = undo.Backup();
  auto block = [&] { std::filesystem::remove_all(backup), std::filesystem::create_directories(backup / "x"); };
  for (const bool redoWrites : {true, false}) {
    SCOPED_TRACE(redoWrites);
    sdi::delete_all_elements();
    Edit().OnWire();
    Drag({16, 16}, {64, 16});
    Drag({16, 64}, {64, 64});
    Edit().OnKeyDown(zorv::kKeyEscape);
    host.onModified = block;  // Undo's copy of the state it left fails
    edit.OnEditUndo();
    ASSERT_EQ(Wires().size(), 1u);
    ASSERT_FALSE(edit.CanUndo());
    ASSERT_TRUE(edit.CanRedo());
    std::filesystem::remove_all(backup);
    if (!redoWrites) block();
    edit.OnEditRedo();
    EXPECT_EQ(Wires().size(), 2u);
    EXPECT_EQ(edit.CanUndo(), redoWrites);
    edit.OnEditUndo();
    EXPECT_EQ(Wires().size(), redoWrites ? 1u : 2u);
    std::filesystem::remove_all(backup);
  }
}

TEST_F(EditCommandsTest, PasteGivesNewNamesAndIdsAndFloats) {
  sdi::element* r1 = AddResistor({200, 160});
  AddResistor({296, 160});
  for (int i = 0; i < 5; ++i) AddWire({16, 16 + 16 * i}, {48, 16 + 16 * i});  // ids up to 7
  sdi::deselect_all();
  r1->selected = 1;
  ASSERT_TRUE(edit.OnEditCopy());
  ASSERT_TRUE(edit.OnEditPaste());
  sdi::element* r3 = Find("R3");
  ASSERT_NE(r3, nullptr);
  EXPECT_EQ(r3->id, 8);
  EXPECT_TRUE(Edit().Floating());
  // The first move brings the group's snapped top-left corner to the cursor.
  const sdi::point before = r3->terminal_at(0);
  Edit().OnMouseMove({Edit().Anchor().x + 80, Edit().Anchor().y + 40}, false);
  EXPECT_EQ(r3->terminal_at(0), before + sdi::point(80, 40));
  int drawn = 0;  // the group is drawn where it went, without waiting for a repaint
  for (int y = 0; y < 8; ++y) drawn += host.fb.pixel(r3->terminal_at(0).x, r3->terminal_at(0).y + y) != kWhite;
  EXPECT_GT(drawn, 0);
  // Esc discards the group, and Undo then gives the circuit before Paste.
  Edit().OnKeyDown(zorv::kKeyEscape);
  EXPECT_EQ(CircuitCount(), 7);
  edit.OnEditUndo();
  EXPECT_EQ(CircuitCount(), 7);
  EXPECT_EQ(Find("R3"), nullptr);
}

TEST_F(EditCommandsTest, PastedLinksAndTheirLimits) {
  auto* l1 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), {200, 160});
  auto* l2 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), {296, 160});
  auto* m = add_coupling({200, 160}, {296, 160});
  m->inductor1 = l1->id;
  m->inductor2 = l2->id;
  sdi::deselect_all();
  m->selected = l1->selected = 1;  // one inductor only
  edit.OnEditCopy();
  edit.OnEditPaste();
  EXPECT_EQ(g_editMessages,
            std::vector<std::string>{"Mutual inductance is copied only if both inductors are also copied."});
  EXPECT_EQ(CircuitCount(), 4);
  Edit().OnLButtonDown({100, 100});  // dropped
  sdi::deselect_all();
  m->selected = l1->selected = l2->selected = 1;
  edit.OnEditCopy();
  edit.OnEditPaste();
  ASSERT_EQ(CircuitCount(), 7);
  auto* pasted = static_cast<sdi::cmutind*>(Find("M2"));
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->inductor1, l1->id + 4);
  EXPECT_EQ(pasted->inductor2, l2->id + 4);
  // A primary and its secondary pasted together stay linked to each other.
  Edit().OnLButtonDown({100, 100});
  auto* pri = add_symbol(new sdi::xform(sdi::kind_primary, 1), {600, 160});
  auto* sec = add_symbol(new sdi::xform(sdi::kind_secondary, 1), {680, 160});
  sec->partner = pri->id;
  sec->links.append(pri->id);
  pri->secondaries.append(sec->id);
  pri->links.append(sec->id);
  sdi::deselect_all();
  pri->selected = sec->selected = 1;
  edit.OnEditCopy();
  edit.OnEditPaste();
  sdi::xform *pri2 = nullptr, *sec2 = nullptr;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value->selected) (n->value->kind == sdi::kind_primary ? pri2 : sec2) = static_cast<sdi::xform*>(n->value);
  ASSERT_TRUE(pri2 && sec2);
  EXPECT_EQ(sec2->partner, pri2->id);
  EXPECT_EQ(pri2->secondaries.head->value, sec2->id);
}

TEST_F(EditCommandsTest, CutDoesNothingWhenItsCopyFailed) {
  AddResistor({200, 160});
  std::filesystem::create_directory(edit.ClipboardFile());  // cannot be written
  edit.OnEditCut();
  EXPECT_EQ(g_editMessages, std::vector<std::string>{"File copyele.dat couldn't be opened"});
  EXPECT_EQ(CircuitCount(), 1);
  EXPECT_FALSE(host.modified || edit.CanPaste());
}

TEST_F(EditCommandsTest, CutJoinsTheWiresItFreesAndUndoBringsBackTheCircuit) {
  // Either wire first in the circuit: the joint is at the end of the one and the start of the other.
  for (const std::vector<sdi::line>& wires : {std::vector<sdi::line>{{16, 16, 48, 16}, {48, 16, 96, 16}},
                                              std::vector<sdi::line>{{48, 16, 96, 16}, {16, 16, 48, 16}}}) {
    sdi::delete_all_elements();
    for (const sdi::line& w : wires) AddWire({w.x1, w.y1}, {w.x2, w.y2})->selected = 0;
    AddResistor({48, 40})->selected = 1;  // terminals (48, 16) and (48, 64)
    edit.OnEditCut();
    EXPECT_TRUE(g_editMessages.empty());
    EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 96, 16}}));
    EXPECT_EQ(CircuitCount(), 1);
    EXPECT_TRUE(edit.CanPaste() && edit.CanUndo() && host.modified);
    edit.OnEditUndo();
    EXPECT_EQ(CircuitCount(), 3);
    EXPECT_EQ(Wires(), wires);
    ASSERT_NE(OfKind(sdi::kind_resistor), nullptr);
    EXPECT_EQ(OfKind(sdi::kind_resistor)->terminal_at(0), sdi::point(48, 16));
  }
  // Paste takes its own undo point: Undo after the drop gives this circuit again.
  ASSERT_TRUE(edit.OnEditPaste());
  Edit().OnLButtonDown({200, 200});
  EXPECT_EQ(CircuitCount(), 4);
  edit.OnEditUndo();
  EXPECT_EQ(CircuitCount(), 3);
  // Undo is offered only while the document differs from its file.
  ASSERT_TRUE(edit.CanUndo());
  ASSERT_TRUE(doc.OnSaveDocument((dir.path() / "cut.ckt").string()));
  EXPECT_FALSE(edit.CanUndo());
}

TEST_F(EditCommandsTest, SubcircuitNewSaveOpenAndUndo) {
  const std::string folder = (dir.path() / "work").string();
  std::filesystem::create_directory(folder);
  AddResistor({200, 160});
  ASSERT_TRUE(doc.OnSaveDocument(folder + "/a.ckt"));
  sub.OnSubcircuitNew();
  EXPECT_EQ(host.title, "ZORV - Untitled.sct");
  EXPECT_EQ(CircuitCount(), 0);
  AddResistor({200, 160});
  ASSERT_TRUE(sub.OnSubcircuitSave());
  EXPECT_TRUE(std::filesystem::exists(folder + "/Untitled.sct"));
  EXPECT_EQ(host.title, "ZORV - " + folder + "/Untitled.sct");
  // An unreadable file changes neither circuit, path nor title.
  std::ofstream(folder + "/bad.sct") << "xx";
  subHost.toOpen = folder + "/bad.sct";
  sub.OnSubcircuitOpen();
  EXPECT_EQ(CircuitCount(), 1);
  EXPECT_EQ(host.title, "ZORV - " + folder + "/Untitled.sct");
  EXPECT_EQ(subHost.rebuilt, 0);
  // A good one: nothing selected, Undo off until the next edit, Redo off.
  Edit().OnWire();
  Drag({16, 16}, {64, 16});
  edit.OnEditUndo();
  ASSERT_TRUE(edit.CanRedo());
  std::filesystem::copy_file(folder + "/Untitled.sct", folder + "/buck.v2.sct");
  subHost.toOpen = folder + "/buck.v2.sct";
  Click({200, 160});
  ASSERT_TRUE(edit.CanCopy());
  sub.OnSubcircuitOpen();
  ASSERT_EQ(CircuitCount(), 1);
  EXPECT_EQ(sdi::circuit.head->value->selected, 0);
  EXPECT_FALSE(edit.CanCopy());  // no selection left from the circuit before
  EXPECT_EQ(subHost.rebuilt, 1);
  EXPECT_FALSE(edit.CanUndo());
  EXPECT_FALSE(edit.CanRedo());
  // Saving rewrites the file opened, not "buck.sct".
  AddResistor({296, 160});
  ASSERT_TRUE(sub.OnSubcircuitSave());
  sdi::elist back;
  ASSERT_TRUE(sdi::read_element_file(folder + "/buck.v2.sct", back));
  EXPECT_EQ(back.count(), 2);
  sdi::delete_list_elements(back);
  EXPECT_FALSE(std::filesystem::exists(folder + "/buck.sct"));
}

// Save As and Subcircuit Save As refuse a name that a run could not use (a control
// character would end a line of the netlist or of the plot script), before anything is
// written; any other name is saved. The file already open is saved under its own name.
TEST_F(EditCommandsTest, SaveAsRefusesANameWithAControlCharacter) {
  const std::string folder = dir.path().string() + "/";
  std::filesystem::create_directory(folder + "a\nb");
  doc.OnNewDocument();
  AddResistor({200, 160});
  host.modified = true;
  // shown: the file as the refusal names it; empty when it is saved.
  const struct { std::string name, shown; } rows[] = {
      {"x\nsystem \"touch PWNED\"\n", "x\\nsystem \"touch PWNED\"\\n"},
      {"a\nb/c", "a\\nb/c"},
      {"esc\x1b", "esc\\x1b"},
      {"Schaltung \u00e4 'q' \"d\"", ""},
      {std::string(250, 'l'), ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string ckt = folder + row.name + ".ckt", sct = folder + row.name + ".sct";
    g_editMessages.clear();
    const bool saved = doc.OnSaveDocument(ckt);
    subHost.toSave = sct;
    sub.OnSubcircuitSaveAs();
    EXPECT_EQ(std::filesystem::exists(ckt), row.shown.empty());
    EXPECT_EQ(std::filesystem::exists(sct), row.shown.empty());
    if (row.shown.empty()) {
      EXPECT_TRUE(saved);
      EXPECT_TRUE(g_editMessages.empty());
      EXPECT_EQ(doc.FileName(), sct);
      continue;
    }
    EXPECT_FALSE(saved);
    const std::string file = "File " + folder + row.shown;
    EXPECT_EQ(g_editMessages,
              (std::vector<std::string>{
                  file + ".ckt has a control character in its name: the circuit is not saved. Choose a name without one.",
                  file + ".sct has a control character in its name: the subcircuit is not saved. Choose a name without one."}));
    EXPECT_EQ(doc.FileName(), "Untitled.ckt");
    EXPECT_TRUE(host.modified);
  }
  // A file of such a name that was opened is saved in place.
  const std::string odd = folder + "odd\n";
  std::filesystem::copy_file(folder + "Schaltung \u00e4 'q' \"d\".ckt", odd + ".ckt");
  std::filesystem::copy_file(folder + "Schaltung \u00e4 'q' \"d\".sct", odd + ".sct");
  ASSERT_TRUE(doc.OnOpenDocument(odd + ".ckt"));
  AddResistor({296, 160});
  ASSERT_TRUE(doc.OnSaveDocument(odd + ".ckt"));
  ASSERT_TRUE(sub.OpenSubcircuit(odd + ".sct"));
  AddResistor({296, 160});
  ASSERT_TRUE(sub.OnSubcircuitSave());
  sdi::elist back;
  ASSERT_TRUE(sdi::read_element_file(odd + ".sct", back));
  EXPECT_EQ(back.count(), 2);
  sdi::delete_list_elements(back);
  ASSERT_TRUE(doc.OnOpenDocument(odd + ".ckt"));
  EXPECT_EQ(CircuitCount(), 2);
  EXPECT_TRUE(g_editMessages.empty());
  EXPECT_FALSE(std::filesystem::exists("PWNED"));
}

TEST_F(EditCommandsTest, LibraryEntriesAndPlacingOne) {
  const char* shape = "41,33,16,16\n2\n0,0,40,0\n0,32,40,32\n2\n0,16\n32,16\n1\nVin\n";
  std::ofstream("Buck.sym") << "BUCK\n" << shape;
  std::ofstream("boost.sym") << "Boost extra words\n" << shape;
  std::ofstream("empty.sym") << "\n";
  std::ofstream(std::string(35, 'x') + ".sym") << "LONG\n" << shape;
  const std::vector<zorv::LibraryEntry> entries = zorv::LibraryEntries("");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].menuText, "boost");
  EXPECT_EQ(entries[1].menuText, "buck");
  EXPECT_EQ(entries[1].fileName, "Buck");
  ASSERT_TRUE(zorv::PlaceSubcircuit(view, entries[1].fileName));
  Click({200, 160});
  EXPECT_NE(Find("BUCK1"), nullptr);
  // A symbol gone since the menu was built: the model's message, nothing pending.
  std::filesystem::remove("boost.sym");
  g_editMessages.clear();
  EXPECT_FALSE(zorv::PlaceSubcircuit(view, entries[0].fileName));
  EXPECT_EQ(g_editMessages, std::vector<std::string>{"File boost.sym couldn't be opened"});
  EXPECT_FALSE(sdi::pending_element || sdi::previous_pending_element || Edit().Placing());
  EXPECT_EQ(zorv::MenuLabel("r&d"), "r&&d");
}

// A symbol file that is a pipe, a device or too large is refused at once by the
// symbol reader and left out of the Library, never read.
TEST_F(EditCommandsTest, SymbolsThatAreNoFileAreRefusedAtOnce) {
  ASSERT_EQ(::mkfifo("pipe.sym", 0600), 0);
  std::filesystem::create_symlink("/dev/zero", "zero.sym");
  std::ofstream("big.sym") << "BIG\n";
  std::filesystem::resize_file("big.sym", sdi::max_symbol_file_bytes + 1);
  const std::pair<const char*, std::string> rows[] = {
      {"pipe", "File pipe.sym is not a regular file."},
      {"zero", "File zero.sym is not a regular file."},
      {"big", "File big.sym is larger than 16777216 bytes."},
  };
  ::alarm(60);  // a reader that blocked would end the test here
  for (const auto& [name, message] : rows) {
    g_editMessages.clear();
    EXPECT_FALSE(zorv::PlaceSubcircuit(view, name));
    EXPECT_EQ(g_editMessages, std::vector<std::string>{message});
    EXPECT_EQ(zorv::SymbolMenuText(std::string(name) + ".sym"), "") << name;
  }
  EXPECT_TRUE(zorv::LibraryEntries("").empty());
  ::alarm(0);
}

TEST_F(EditCommandsTest, PasteIdsNeverOverflowAndASecondMultiplierIsDropped) {
  sdi::element* r = AddResistor({200, 160});
  sdi::element* top = AddResistor({296, 160});
  r->id = 5;
  top->id = INT_MAX - 1;
  sdi::deselect_all();
  r->selected = 1;
  edit.OnEditCopy();
  ASSERT_TRUE(edit.OnEditPaste());  // 5 + (INT_MAX - 1) would overflow: put just above
  ASSERT_NE(Find("R3"), nullptr);
  EXPECT_EQ(Find("R3")->id, INT_MAX);
  EXPECT_FALSE(edit.OnEditPaste());  // no id is left above INT_MAX
  EXPECT_EQ(g_editMessages.size(), 1u);
  EXPECT_FALSE(Edit().Floating());
  EXPECT_EQ(CircuitCount(), 3);
  sdi::delete_all_elements();
  g_editMessages.clear();
  sdi::element* x = add_symbol(new sdi::multiplier(1), {200, 160});
  sdi::deselect_all();
  x->selected = 1;
  edit.OnEditCopy();
  edit.OnEditPaste();
  EXPECT_EQ(g_editMessages, std::vector<std::string>{"Only one multiplier allowed."});
  EXPECT_EQ(CircuitCount(), 1);
}

}  // namespace

// A circuit opened from another folder finds its subcircuits' symbols beside it; a file
// not taken leaves the open circuit's folder.
TEST_F(EditCommandsTest, SymbolsAreReadBesideTheCircuitOpened) {
  std::ofstream("part.sym") << "PART\n41,33,16,16\n1\n0,0,40,0\n2\n0,16\n32,16\n0\n";
  ASSERT_TRUE(zorv::PlaceSubcircuit(view, "part"));
  Click({200, 160});
  Edit().OnKeyDown(zorv::kKeyEscape);
  std::filesystem::create_directory("lib");
  ASSERT_TRUE(sdi::save_circuit("lib/c.ckt"));
  std::filesystem::rename("part.sym", "lib/part.sym");
  g_editMessages.clear();
  ASSERT_EQ(zorv::ModelCircuitFiles().open("lib/c.ckt"), zorv::OpenResult::Read);
  EXPECT_EQ(g_editMessages, std::vector<std::string>{});
  EXPECT_EQ(sdi::symbol_folder, (dir.path() / "lib").string());
  EXPECT_NE(zorv::ModelCircuitFiles().open("none.ckt"), zorv::OpenResult::Read);
  EXPECT_EQ(sdi::symbol_folder, (dir.path() / "lib").string());
}

// Instances whose symbol file has gone: the file is named once, however many
// instances and repaints follow, and each is drawn as a placeholder box.
TEST_F(EditCommandsTest, AMissingSymbolIsNamedOnceAndDrawnAsAPlaceholder) {
  std::ofstream("gone.sym") << "GONE\n41,33,16,16\n1\n0,0,40,0\n2\n0,16\n32,16\n0\n";
  for (zorv::Pos at : {zorv::Pos{200, 160}, zorv::Pos{400, 160}}) {
    ASSERT_TRUE(zorv::PlaceSubcircuit(view, "gone"));
    Click(at);
  }
  Edit().OnKeyDown(zorv::kKeyEscape);
  ASSERT_TRUE(sdi::save_circuit(dir.path() / "c.ckt"));
  std::filesystem::remove("gone.sym");
  g_editMessages.clear();
  ASSERT_EQ(zorv::ModelCircuitFiles().open((dir.path() / "c.ckt").string()), zorv::OpenResult::Read);
  ASSERT_EQ(CircuitCount(), 2);
  host.valid = false;
  for (int repaint = 0; repaint < 3; ++repaint, host.valid = false) host.ClientBuffer();
  EXPECT_EQ(g_editMessages, std::vector<std::string>{"File gone.sym couldn't be opened"});
  int drawn = 0;
  for (int x = 180; x < 220; ++x)
    for (int y = 140; y < 180; ++y) drawn += host.fb.pixel(x, y) != sdi::frame_buffer::white;
  EXPECT_GT(drawn, 60);
  // Said again for another folder and at each Open, never at Undo or Redo.
  std::filesystem::create_directory("other");
  std::filesystem::copy_file(dir.path() / "c.ckt", dir.path() / "other" / "c.ckt");
  for (const std::filesystem::path& opened : {dir.path() / "other" / "c.ckt", dir.path() / "c.ckt"}) {
    g_editMessages.clear();
    ASSERT_TRUE(doc.OnOpenDocument(opened.string()));
    EXPECT_EQ(g_editMessages, std::vector<std::string>{"File gone.sym couldn't be opened"}) << opened;
  }
  g_editMessages.clear();
  view.SaveBackup();
  edit.OnEditUndo();
  edit.OnEditRedo();
  EXPECT_EQ(g_editMessages, std::vector<std::string>{});
  std::ofstream("gone.sym") << "GONE\n41,33,16,16\n1\n0,0,40,0\n2\n0,16\n32,16\n0\n";  // read again, then gone again
  edit.OnEditUndo();
  std::filesystem::remove("gone.sym");
  edit.OnEditRedo();
  EXPECT_EQ(g_editMessages, std::vector<std::string>{"File gone.sym couldn't be opened"});
}

// Undo and Redo read their snapshots in the undo folder, yet a subcircuit of a circuit
// opened from another folder keeps its symbol, and the run finds its ".sct" there.
TEST_F(EditCommandsTest, UndoAndRedoKeepTheSubcircuitsOfACircuitFromAnotherFolder) {
  SettingsGuard settings;
  const std::filesystem::path lib = dir.path() / "lib";
  std::filesystem::create_directory(lib);
  std::filesystem::current_path(lib);
  write_rsub(400.0, 600.0);  // R1's 1 kohm in two
  build_rc(add_symbol(new sdi::sub("rsub", 1), {304, 160}, "RSUB1"));
  ASSERT_TRUE(sdi::save_circuit("c.ckt"));
  std::filesystem::current_path(dir.path());
  ASSERT_TRUE(doc.OnOpenDocument((lib / "c.ckt").string()));
  const int count = CircuitCount();
  auto instance = [] { return dynamic_cast<sdi::sub*>(OfKind(sdi::kind_sub)); };
  g_editMessages.clear();
  view.SaveBackup();
  AddResistor({904, 600});
  for (int step = 0; step < 3; ++step) {
    step == 1 ? edit.OnEditRedo() : edit.OnEditUndo();
    SCOPED_TRACE(step);
    EXPECT_EQ(CircuitCount(), step == 1 ? count + 1 : count);
    EXPECT_EQ(sdi::symbol_folder, lib.string());
    ASSERT_NE(instance(), nullptr);
    EXPECT_EQ(instance()->type_name, "RSUB");
    EXPECT_EQ(instance()->terminal_count(), 2);
  }
  EXPECT_EQ(g_editMessages, std::vector<std::string>{});
  sdi::deselect_all();  // a pasted copy reads its symbol there too
  instance()->selected = 1;
  ASSERT_TRUE(edit.OnEditCopy() && edit.OnEditPaste());
  auto* pasted = dynamic_cast<sdi::sub*>(sdi::circuit.get(sdi::GetMaxElementId()));
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->type_name, "RSUB");
  Edit().OnKeyDown(zorv::kKeyEscape);  // discarded
  ASSERT_EQ(CircuitCount(), count);
  ASSERT_EQ(sdi::run_simulation(), 1);
  EXPECT_EQ(g_editMessages, std::vector<std::string>{});
  std::ifstream plt(lib / "c.plt");
  std::string header;
  std::getline(plt, header);
  double time = 0, v = 0;
  int rows = 0;
  for (double t, x; plt >> t >> x; ++rows) time = t, v = x;
  EXPECT_GT(rows, 400);
  EXPECT_NEAR(v, 10.0 * (1.0 - std::exp(-time / 1e-3)), 1e-5);
}

// Save As into another folder makes it the circuit's: the run reads the subcircuit's
// ".sct" there, beside the ".sym" it was placed from.
TEST_F(EditCommandsTest, SaveAsIntoTheSubcircuitsFolderLetsTheRunFindThem) {
  SettingsGuard settings;
  const std::filesystem::path lib = dir.path() / "lib", first = dir.path() / "first";
  std::filesystem::create_directory(lib);
  std::filesystem::create_directory(first);
  std::filesystem::current_path(lib);
  write_rsub(400.0, 600.0);
  build_rc(add_symbol(new sdi::sub("rsub", 1), {304, 160}, "RSUB1"));
  std::filesystem::current_path(dir.path());
  ASSERT_TRUE(doc.OnSaveDocument((first / "c.ckt").string()));  // a folder without them
  ASSERT_TRUE(doc.OnSaveDocument((lib / "c.ckt").string()));
  EXPECT_EQ(sdi::symbol_folder, lib.string());
  g_editMessages.clear();
  EXPECT_EQ(sdi::run_simulation(), 1);
  EXPECT_EQ(g_editMessages, std::vector<std::string>{});
  EXPECT_TRUE(std::filesystem::exists(lib / "c.plt"));
}
