// Editing the sheet with the mouse and keys, without the toolkit: placing the
// pending element, wires drawn as L-shaped rubber bands, band and click selection,
// dragging, the floating pasted group, rotating, deleting and scrolling with keys.
//
// A part of ViewCore; the wx canvas forwards its events with device points (pixels
// of the client area), converted here through the view's mapping and scroll:
//     ViewEditing& edit = view.Edit();
//     sdi::create_element(sdi::kind_resistor); edit.newElement();
//     edit.OnLButtonDown({200, 160}); edit.OnLButtonUp({200, 160}, false);
//     edit.OnKeyDown(kKeyEscape);
// Drawing goes to the host's client buffer (inverting strokes for the bands); each
// button release repaints the whole client area.
#pragma once

#include "sdi/draw/geometry.h"
#include "sdi/zorv/core/base/draw_scope.h"
#include "sdi/zorv/core/view/view_mapping.h"

namespace zorv {

class ViewCore;

enum class EditCursor { Arrow, Move, Wire };

// pDC on the view's client buffer, prepared with its mapping and scroll, for one
// handler; the screen shows what was drawn when it ends.
class ViewClientDraw {
public:
  explicit ViewClientDraw(ViewCore& core);
  ~ViewClientDraw();
  ViewClientDraw(const ViewClientDraw&) = delete;
  ViewClientDraw& operator=(const ViewClientDraw&) = delete;

private:
  ViewCore& m_core;
  DrawScope m_scope;
};

// Key codes the view handles.
enum : int {
  kKeyEscape = 27, kKeySpace = 32, kKeyPageUp = 33, kKeyPageDown = 34, kKeyEnd = 35, kKeyHome = 36,
  kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyDelete = 46, kKeyF5 = 116,
  kKeyF8 = 119, kKeyF9 = 120,
};

// The bend of a rubber wire after the cursor moved from offset a to offset b of
// the wire's start: within one grid step of the start the larger offset leads
// (1, vertical first, when |b.x| <= |b.y|); crossing the vertical line through the
// start gives 1, crossing the horizontal line 0; otherwise it stays `bend`.
int BendAfterMove(const sdi::point& a, const sdi::point& b, int bend);

// The picking modes of the value dialogs (value_dispatch.h): a button-up on the
// sheet serves them instead of selecting, and every mode's end ends them.
class PickingModes {
public:
  virtual ~PickingModes() = default;
  virtual bool Picking() const = 0;
  // The pick at the snapped point; its dialog reopens after the handler returned.
  virtual void TakePick(const sdi::point& s) = 0;
  virtual void EndPicking() = 0;
};

class ViewEditing {
public:
  explicit ViewEditing(ViewCore& core);

  // Mouse and keys; points are device points of the client area.
  void OnLButtonDown(Pos p);
  void OnMouseMove(Pos p, bool leftDown);
  void OnLButtonUp(Pos p, bool shift);
  void OnRButtonDown() { OnEscape(); }
  // False for keys the view does not handle.
  bool OnKeyDown(int key);
  // The mouse capture was taken away (another window, a box): nothing is dragged.
  void OnCaptureLost();

  // Arms the pending element that a factory just made: undo point, the previous
  // pending element removed, every mode ended and the selection cleared.
  void newElement();
  // The Wire command: a new wire pending in wire mode. `undoPoint` is false when
  // re-arming after a segment (its undo point was taken before it went in).
  void OnWire(bool undoPoint = true);
  // Select (and the right button): what Esc does.
  void OnSelect() { OnEscape(); }
  void OnEscape();
  void EndPlacing();
  // Forgets every mode and the selection (after the document was replaced).
  void Reset();
  void ResetPlacement();

  void MoveSelected(const sdi::point& d);
  // Erases and deletes the selected elements, each looked up by id as it goes
  // (deleting an inductor deletes its couplings). The undo point is the caller's.
  void DeleteSelected();
  void FinishWireSegment(const sdi::point& a, const sdi::point& b);

  // A group just pasted: floating with the cursor, `rect` around it.
  void StartFloating(const sdi::rect& rect);
  // Every element selected, the rectangle round them set as a band sets it.
  void SelectAll();
  // Ends the selection modes after Copy (the elements stay marked).
  void EndSelection() { ResetPlacement(); }

  void SetPicking(PickingModes* picking) { m_picking = picking; }

  bool Placing() const { return m_placing != 0; }
  bool WireMode() const { return m_wireMode != 0; }
  bool Floating() const { return m_floating != 0; }
  bool SelectionActive() const { return m_selCount != 0; }
  bool Banding() const { return m_banding != 0; }
  int BendVertical() const { return m_bendVertical; }
  const sdi::rect& SelectionRect() const { return m_selRect; }
  const sdi::point& Anchor() const { return m_anchor; }

private:
  void Arm(bool undoPoint);
  // Takes the pending element off the sheet and deletes it (none: nothing).
  void RemovePending();
  sdi::point ToSheet(Pos p) const;
  void ScrollKey(int key);
  void RotateKey();
  void DeleteKey();
  void ReleaseBand(bool shift, int& selected);
  void ReleaseWire(const sdi::point& s);
  void DrawBand(const sdi::point& corner);
  void DrawRubber(const sdi::point& end);
  void SetCapture(bool capture);

  ViewCore& m_core;
  int m_selCount = 0;
  int m_downHit = 0;
  int m_lastHit = 0;
  int m_bendVertical = 0;
  int m_wireMode = 0;
  int m_banding = 0;
  int m_placing = 0;
  sdi::point m_start;
  sdi::point m_end;
  sdi::point m_anchor;
  sdi::point m_lastRaw;
  sdi::rect m_selRect;
  int m_clickSelected = 0;
  int m_forceBend = 0;
  int m_forcedBend = 0;
  int m_floating = 0;
  // Whether the band or the rubber wire is on the screen (inverted), so it is
  // erased only when drawn.
  bool m_bandShown = false;
  bool m_rubberShown = false;
  bool m_captured = false;
  PickingModes* m_picking = nullptr;
};

}  // namespace zorv
