// The schematic view's state and commands without the toolkit: zoom, scroll sizes,
// the grid switch, printing's grid guard, the undo point, and (its part
// ViewEditing) editing with the mouse and keys.
//
// The wx view owns one ViewCore for the whole program and forwards its commands:
//     ViewCore view(host, undoFiles, sdi::write_circuit);
//     view.OnInitialUpdate();   // scroll sizes for zoom 1.3
//     view.OnViewZoomIn();      // zoom x 1.2 around the client's centre
//     view.SaveBackup();        // before every change: undo file + document modified
// The host supplies the client size and scroll state and repaints.
#pragma once
#include <functional>
#include <string>

#include "sdi/zorv/core/view/undo_files.h"
#include "sdi/zorv/core/view/view_edit.h"
#include "sdi/zorv/core/view/view_mapping.h"
#include "sdi/zorv/core/view/view_render.h"

namespace zorv {

class ViewHost {
public:
  virtual ~ViewHost() = default;
  virtual Size ClientSize() const = 0;
  virtual Pos ScrollPosition() const = 0;
  // Sets the scrollable size, the page and line steps and the position.
  virtual void ApplyScroll(const ScrollState& state) = 0;
  // Redraws the whole client area from white.
  virtual void Invalidate() = 0;
  virtual void SetDocumentModified() = 0;

  // Editing with the mouse and keys. The defaults suit a host that only shows the
  // sheet.
  // The client area's buffer, drawn up to date (null when there is none).
  virtual sdi::frame_buffer* ClientBuffer() { return nullptr; }
  // Shows on the screen what was drawn into the buffer since.
  virtual void ShowClientBuffer() {}
  virtual void SetEditCursor(EditCursor) {}
  virtual void CaptureMouse(bool) {}
  virtual bool IsDocumentModified() const { return false; }
};

class ViewCore {
public:
  // Writes the whole circuit (header and records) into an open stream.
  using SaveFn = UndoFiles::Writer;

  ViewCore(ViewHost& host, UndoFiles& undo, SaveFn save);

  ViewMapping& Mapping() { return m_map; }
  const ViewMapping& Mapping() const { return m_map; }
  double Zoom() const { return m_map.zoom; }
  void SetDpi(int dpiX, int dpiY);

  void OnInitialUpdate() { ResetScrollSizes(); }
  void OnViewZoomIn();
  void OnViewZoomOut();
  // Fits `extent` (the circuit's, in sheet units) into the client.
  void OnViewZoomAll(SheetRect extent);
  void OnViewRedraw() { m_host.Invalidate(); }
  void OnViewGrid();
  bool GridShown() const { return *m_gridShown != 0; }
  // The grid flag the drawing reads; the view's own until bound to the model's.
  void BindGridFlag(int& flag) { m_gridShown = &flag; }
  int& GridFlag() { return *m_gridShown; }

  // New scroll sizes for the current zoom, keeping the client's centre in place.
  void ResetScrollSizes();
  int ScrollResetCount() const { return m_scrollResetCount; }
  const ScrollState& Scroll() const { return m_scroll; }

  // The undo point: Redo off, the circuit written to "backup.ckt", the document
  // modified (also when the file could not be written; the change goes ahead).
  void SaveBackup();
  // The circuit (or what `write` writes) to one of the undo files. A failure is
  // shown once, with the system's reason, until a write succeeds again.
  bool StoreUndo(const std::filesystem::path& target, const UndoFiles::Writer& write = nullptr);
  // Whether "backup.ckt" holds a state to go back to; Undo and Redo set it once
  // they have written that file themselves (the state they left).
  void SetUndoValid(bool valid) { m_undoValid = valid; }
  bool CanRedo() const { return m_canRedo != 0; }
  void SetCanRedo(bool canRedo) { m_canRedo = canRedo ? 1 : 0; }
  const UndoFiles& Undo() const { return m_undo; }

  // The junction dots drawn on the screen (RedrawJunctions after an edit).
  JunctionDots& Junctions() { return m_junctions; }

  // Editing: the mouse and key handlers and their state.
  ViewEditing& Edit() { return m_edit; }
  const ViewEditing& Edit() const { return m_edit; }
  ViewHost& Host() { return m_host; }
  // Removes the pending element as Esc does and ends placing, wire mode, a band
  // and a floating group (left where it is). Every command that ends placing
  // calls this first.
  void EndPlacing() { m_edit.EndPlacing(); }
  // After the whole document was replaced (New, Open, Subcircuit New and Open):
  // Redo off, no undo until the next undo point, and nothing placed, floating,
  // banded or selected.
  void OnDocumentReplaced();
  // Whether "backup.ckt" holds a state of the open document.
  bool UndoValid() const { return m_undoValid; }
  // Scrolls to a position (kept within the sheet) and repaints.
  void ScrollTo(Pos pos);

private:
  ViewHost& m_host;
  UndoFiles& m_undo;
  SaveFn m_save;
  ViewMapping m_map;
  ScrollState m_scroll;
  int m_scrollResetCount = 0;
  int m_gridOwn = 1;
  int* m_gridShown = &m_gridOwn;
  int m_canRedo = 0;
  bool m_undoValid = false;
  bool m_undoFailureShown = false;
  JunctionDots m_junctions;
  ViewEditing m_edit;
};

// Hides the grid while a printout exists and puts it back however printing ends
// (done, failed or cancelled).
class PrintGridGuard {
public:
  explicit PrintGridGuard(int& gridShown);
  ~PrintGridGuard();
  PrintGridGuard(const PrintGridGuard&) = delete;
  PrintGridGuard& operator=(const PrintGridGuard&) = delete;
  bool HidGrid() const { return m_hidden; }

private:
  int& m_grid;
  bool m_hidden = false;
};

}  // namespace zorv
