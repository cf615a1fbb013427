// The editing tests' setting: the real circuit model in a fresh folder, a view at
// zoom 1 and 100 dpi (a device point is a sheet unit), its client buffer drawn as
// the canvas draws it, and every message box captured.
//
//     TEST_F(EditTest, ...) { Click({200, 160}); EXPECT_EQ(CircuitCount(), 1); }
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "sdi/elements/factories.h"
#include "sdi/files/circuit_file.h"
#include "sdi/base/report.h"
#include "sdi/elements/sub_element.h"
#include "sdi/zorv/core/document/circuit_files.h"
#include "sdi/zorv/core/commands/edit_commands.h"
#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/view/view_core.h"
#include "sdi/zorv/core/view/view_render.h"
#include "sdi/zorv/core/document/zorv_doc_core.h"
#include "zorv/circuit_builder.h"

inline std::vector<std::string> g_editMessages;
inline void RecordEditMessage(const char* text) { g_editMessages.push_back(text); }

struct EditHost : zorv::ViewHost, zorv::DocHost {
  zorv::ViewCore* view = nullptr;
  sdi::frame_buffer fb{400, 300};
  bool valid = false;
  bool modified = false;
  std::string title;
  zorv::ScrollState scroll;
  zorv::EditCursor cursor = zorv::EditCursor::Arrow;
  bool captured = false;
  std::function<void()> onModified;  // runs once at the next SetDocumentModified

  zorv::Size ClientSize() const override { return {400, 300}; }
  zorv::Pos ScrollPosition() const override { return scroll.pos; }
  void ApplyScroll(const zorv::ScrollState& s) override { scroll = s; }
  void Invalidate() override { valid = false; }
  void SetDocumentModified() override {
    modified = true;
    if (auto once = std::move(onModified)) onModified = nullptr, once();
  }
  void SetEditCursor(zorv::EditCursor c) override { cursor = c; }
  void CaptureMouse(bool c) override { captured = c; }
  bool IsDocumentModified() const override { return modified; }
  sdi::frame_buffer* ClientBuffer() override {
    if (!valid) zorv::RenderClient(fb, view->Mapping(), scroll.pos, view->GridShown(), view->Junctions());
    valid = true;
    return &fb;
  }
  void SetMainTitle(const std::string& t) override { title = t; }
  void SetModified(bool m) override { modified = m; }
  bool IsModified() const override { return modified; }
};

class EditTest : public ::testing::Test {
protected:
  EditTest()
      : undo(dir.path() / "undo"),
        view(host, undo, sdi::write_circuit),
        edit(view, zorv::ModelCircuitFiles()),
        doc(host, zorv::ModelCircuitFiles()) {
    host.view = &view;
    view.Mapping().zoom = 1.0;
    view.SetDpi(100, 100);
    view.OnInitialUpdate();
    sdi::symbol_folder.clear();  // symbols and subcircuits in the test's folder
    g_editMessages.clear();
    previousHook = sdi::message_box_hook;
    sdi::message_box_hook = RecordEditMessage;
    previousSink = zorv::SetMessageSink([](const std::string& t) { g_editMessages.push_back(t); });
  }
  ~EditTest() override {
    sdi::message_box_hook = previousHook;
    zorv::SetMessageSink(previousSink);
  }

  zorv::ViewEditing& Edit() { return view.Edit(); }
  void Click(zorv::Pos p, bool shift = false) {
    Edit().OnMouseMove(p, false);
    Edit().OnLButtonDown(p);
    Edit().OnLButtonUp(p, shift);
  }
  void Drag(zorv::Pos from, zorv::Pos to, bool shift = false) {
    Edit().OnLButtonDown(from);
    Edit().OnMouseMove(to, true);
    Edit().OnLButtonUp(to, shift);
  }
  void Arm(int kind) {
    sdi::create_element(kind);
    Edit().newElement();
  }
  static sdi::element* Find(const char* name) {
    for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
      if (n->value && n->value->name() && std::string(n->value->name()) == name) return n->value;
    return nullptr;
  }
  static std::vector<sdi::line> Wires() {
    std::vector<sdi::line> wires;
    for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
      if (n->value && n->value->kind == sdi::kind_wire)
        wires.push_back(sdi::line(n->value->terminal_at(0), n->value->terminal_at(1)));
    return wires;
  }

  TempDir dir;
  ModelCircuit circuit;
  EditHost host;
  zorv::UndoFiles undo;
  zorv::ViewCore view;
  zorv::EditCommands edit;
  zorv::DocCore doc;
  sdi::message_fn previousHook = nullptr;
  zorv::MessageSink previousSink;
};
