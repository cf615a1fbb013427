#include "sdi/zorv/core/view/view_edit.h"

#include <cstdlib>
#include <optional>
#include <vector>

#include "sdi/elements/bl_element.h"
#include "sdi/draw/drawing.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/image.h"
#include "sdi/netlist/launcher.h"
#include "sdi/edit/place_element.h"
#include "sdi/elements/placement.h"
#include "sdi/edit/select_ops.h"
#include "sdi/edit/wire_split.h"
#include "sdi/zorv/core/base/draw_scope.h"
#include "sdi/zorv/core/view/model_link.h"
#include "sdi/zorv/core/view/view_core.h"
#include "sdi/zorv/core/view/wire_merge.h"

namespace zorv {

namespace {

// "Positive" is 1 or more, "negative" below 0; 0 is neither.
int Sign(int v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

sdi::element* Live(int id) { return id && sdi::circuit.find_id(id, 0) ? sdi::circuit.get(id) : nullptr; }

std::vector<int> SelectedIds() {
  std::vector<int> ids;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value && n->value->selected) ids.push_back(n->value->id);
  return ids;
}

sdi::rect Moved(sdi::rect r, const sdi::point& d) { return sdi::rect(r.x + d.x, r.y + d.y, r.w, r.h); }

sdi::rect SelectedExtentGrown() {
  const SheetRect e = ElementListExtent(CircuitExtentItems(true));
  return sdi::rect(e.x - 3, e.y - 3, e.w + 6, e.h + 6);
}

}  // namespace

int BendAfterMove(const sdi::point& a, const sdi::point& b, int bend) {
  if (std::abs(b.x) < 8 && std::abs(b.y) < 8) return std::abs(b.x) <= std::abs(b.y) ? 1 : 0;
  const int ax = Sign(a.x), ay = Sign(a.y), bx = Sign(b.x), by = Sign(b.y);
  if (!ax || !ay || !bx || !by) return bend;
  const bool xChanged = ax != bx, yChanged = ay != by;
  if (xChanged && !yChanged) return 1;
  if (yChanged && !xChanged) return 0;
  return bend;
}

namespace {

sdi::frame_buffer* PreparedBuffer(ViewCore& core) {
  sdi::frame_buffer* fb = core.Host().ClientBuffer();
  if (fb) PrepareContext(*fb, core.Mapping(), core.Host().ScrollPosition());
  return fb;
}

}  // namespace

ViewClientDraw::ViewClientDraw(ViewCore& core) : m_core(core), m_scope(PreparedBuffer(core)) {}

ViewClientDraw::~ViewClientDraw() { m_core.Host().ShowClientBuffer(); }

ViewEditing::ViewEditing(ViewCore& core) : m_core(core) {}

sdi::point ViewEditing::ToSheet(Pos p) const {
  const Pos scroll = m_core.Host().ScrollPosition();
  return sdi::point(m_core.Mapping().ToSheetX(p.x + scroll.x), m_core.Mapping().ToSheetY(p.y + scroll.y));
}

void ViewEditing::SetCapture(bool capture) {
  if (capture == m_captured) return;
  m_captured = capture;
  m_core.Host().CaptureMouse(capture);
}

void ViewEditing::ResetPlacement() {
  m_selCount = m_wireMode = m_banding = m_placing = m_floating = 0;
  if (m_picking) m_picking->EndPicking();
}

void ViewEditing::Reset() {
  ResetPlacement();
  m_clickSelected = m_forceBend = 0;
  m_bandShown = m_rubberShown = false;
  m_selRect = sdi::rect();
  SetCapture(false);
  m_core.Host().SetEditCursor(EditCursor::Arrow);
}

void ViewEditing::newElement() { Arm(true); }

void ViewEditing::Arm(bool undoPoint) {
  if (undoPoint) m_core.SaveBackup();
  if (sdi::previous_pending_element) {
    ViewClientDraw dc(m_core);
    sdi::remove_element_from_sheet(sdi::previous_pending_element);
    sdi::previous_pending_element = nullptr;
  }
  ResetPlacement();
  m_rubberShown = false;
  sdi::deselect_all();
  m_placing = sdi::pending_element ? 1 : 0;
  m_core.Host().Invalidate();
}

void ViewEditing::OnWire(bool undoPoint) {
  sdi::remember_new_element();
  sdi::new_wire();
  Arm(undoPoint);
  if (!m_placing) return;
  ++m_wireMode;
  ++m_forceBend;
}

void ViewEditing::RemovePending() {
  sdi::element* gone = sdi::pending_element;
  if (!gone) return;
  {
    ViewClientDraw dc(m_core);
    sdi::remove_element_from_sheet(gone);
  }
  sdi::pending_element = nullptr;
  if (sdi::previous_pending_element == gone) sdi::previous_pending_element = nullptr;
}

void ViewEditing::EndPlacing() {
  RemovePending();
  m_rubberShown = m_bandShown = false;
  const bool selection = m_selCount != 0 && !m_floating;
  ResetPlacement();
  // A selection that was not being placed stays (Copy and Cut act on it).
  if (selection) m_selCount = 1;
  SetCapture(false);
  m_core.Host().SetEditCursor(EditCursor::Arrow);
}

void ViewEditing::OnEscape() {
  {
    ViewClientDraw dc(m_core);
    RemovePending();
    // The floating group goes without an undo point: Paste's own holds the state
    // before it, so Undo brings back no hidden copy.
    if (m_floating) DeleteSelected();
    sdi::deselect_all();
  }
  ResetPlacement();
  m_clickSelected = 0;
  m_rubberShown = m_bandShown = false;
  SetCapture(false);
  m_core.Host().SetEditCursor(EditCursor::Arrow);
  m_core.Host().Invalidate();
}

void ViewEditing::OnCaptureLost() {
  m_captured = false;
  m_bandShown = m_rubberShown = false;
  m_banding = 0;
  m_core.Host().Invalidate();
}

void ViewEditing::MoveSelected(const sdi::point& d) {
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) {
    sdi::element* e = n->value;
    if (!e || !e->selected) continue;
    if (sdi::is_line_element(e->kind)) {
      auto* l = static_cast<sdi::bl_element*>(e);
      l->erase();
      l->move(d);
      l->draw();
    } else if (auto* s = dynamic_cast<sdi::i_element*>(e); s && s->image) {
      s->place_at(sdi::point(s->image->x + s->image->ref_x + d.x, s->image->y + s->image->ref_y + d.y));
    }
  }
}

void ViewEditing::DeleteSelected() {
  for (int id : SelectedIds())
    if (sdi::element* e = Live(id)) sdi::remove_element_from_sheet(e);
}

void ViewEditing::FinishWireSegment(const sdi::point& a, const sdi::point& b) {
  sdi::element* e = sdi::pending_element;
  if (!e || e->kind != sdi::kind_wire) return;
  auto* w = static_cast<sdi::cline*>(e);
  w->shape.set(a.x, a.y, b.x, b.y, w->shape.bend, 1, 0, 0);
  sdi::pending_element = nullptr;
  if (sdi::previous_pending_element == w) sdi::previous_pending_element = nullptr;
  sdi::circuit.insert(w);
  sdi::circuit.assign_id();
  sdi::element* kept = CombineWireWithNeighbours(w);
  sdi::split_after_wire_drawn(kept ? kept : w);
}

void ViewEditing::StartFloating(const sdi::rect& rect) {
  ResetPlacement();
  m_selRect = rect;
  m_anchor = sdi::snap_to_grid(rect.x, rect.y);
  m_floating = 1;
  m_selCount = 1;
  m_clickSelected = 0;
}

void ViewEditing::SelectAll() {
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value) ++n->value->selected;
  m_selRect = SelectedExtentGrown();
  m_anchor = sdi::point(m_selRect.x, m_selRect.y);
  m_clickSelected = 0;
  ++m_selCount;
  m_core.Host().Invalidate();
}

void ViewEditing::OnLButtonDown(Pos device) {
  const sdi::point p = ToSheet(device);
  const sdi::point s = sdi::snap_to_grid(p.x, p.y);
  if (m_picking && m_picking->Picking()) {
    // The press of a pick: nothing is selected, banded or dragged.
    m_selCount = m_banding = 0;
    return;
  }
  m_downHit = sdi::circuit.find_hit(s);
  m_start = s;
  const sdi::point d = s - m_anchor;
  m_anchor = s;
  m_lastRaw = p;
  bool drag = false;
  if (m_selCount && !m_floating) {
    const bool onClicked = m_clickSelected && m_downHit != 0 && m_downHit == m_lastHit;
    if (!onClicked && !sdi::point_in_rect(m_selRect, p)) {
      m_selCount = 0;
    } else {
      drag = true;
      m_core.SaveBackup();
      m_banding = 0;
    }
  }
  if (!drag) {
    ++m_banding;
    m_bandShown = false;
    m_clickSelected = 0;
  }
  ViewClientDraw dc(m_core);
  if (m_floating && m_selCount) {
    MoveSelected(d);
    m_selRect = Moved(m_selRect, d);
    ResetPlacement();
    ++m_selCount;
  }
  if (m_wireMode) {
    m_selCount = m_clickSelected = m_banding = 0;
    m_rubberShown = false;
  }
  if (m_placing && !m_wireMode && sdi::pending_element) {
    const int kind = sdi::pending_element->kind;
    sdi::pending_element->place_at(s);
    if (kind == sdi::kind_probe || kind == sdi::kind_multiplier) ResetPlacement();
    sdi::place_new_element();
    if (!sdi::pending_element) m_placing = 0;
  }
}

void ViewEditing::DrawBand(const sdi::point& corner) {
  sdi::draw_rectangle(m_start.x, m_start.y, corner.x, corner.y, 1, 3);
}

void ViewEditing::DrawRubber(const sdi::point& end) {
  sdi::set_new_line(m_start, end, m_bendVertical, 1, 3, 0);
}

void ViewEditing::OnMouseMove(Pos device, bool leftDown) {
  const sdi::point p = ToSheet(device);
  const sdi::point s = sdi::snap_to_grid(p.x, p.y);
  // Most moves draw nothing: the screen is left alone then.
  const bool draws = (m_placing && sdi::pending_element) || (m_selCount && (m_floating || leftDown)) ||
                     (leftDown && (m_banding || m_wireMode));
  std::optional<ViewClientDraw> dc;
  if (draws) dc.emplace(m_core);
  if (sdi::pending_element) m_banding = 0;
  if (m_placing && !m_wireMode && sdi::pending_element) sdi::pending_element->place_at(p);
  if (m_selCount && (m_floating || leftDown)) {
    const sdi::point d = p - m_anchor;
    MoveSelected(d);
    m_selRect = Moved(m_selRect, d);
    m_anchor = p;
  }
  if (m_selCount) {
    const bool inside = sdi::point_in_rect(m_selRect, p) != 0;
    SetCapture(inside);
    m_core.Host().SetEditCursor(inside ? EditCursor::Move : EditCursor::Arrow);
  }
  if (leftDown && m_banding) {
    if (m_bandShown) DrawBand(m_anchor);
    DrawBand(p);
    m_bandShown = true;
    m_anchor = p;
  }
  if (m_wireMode) {
    const Size client = m_core.Host().ClientSize();
    const bool inside = device.x >= 0 && device.y >= 0 && device.x < client.w && device.y < client.h;
    SetCapture(inside);
    m_core.Host().SetEditCursor(inside ? EditCursor::Wire : EditCursor::Arrow);
  }
  if (leftDown && m_wireMode && sdi::pending_element && sdi::pending_element->kind == sdi::kind_wire) {
    if (m_rubberShown) DrawRubber(m_anchor);
    m_bendVertical = BendAfterMove(m_lastRaw - m_start, p - m_start, m_bendVertical);
    if (m_forceBend) {
      m_bendVertical = m_forcedBend;
      m_forceBend = 0;
    }
    DrawRubber(s);
    m_rubberShown = true;
    m_anchor = s;
    m_lastRaw = p;
  }
}

void ViewEditing::ReleaseBand(bool shift, int& selected) {
  if (m_bandShown) DrawBand(m_anchor);
  m_bandShown = false;
  m_selRect = sdi::rect_from_corners(m_start, m_anchor);
  if (!shift) sdi::deselect_all();
  selected = sdi::select_in_rect(m_selRect);
  if (selected > 0) {
    m_selRect = SelectedExtentGrown();
    m_anchor = sdi::point(m_selRect.x, m_selRect.y);
  }
}

void ViewEditing::ReleaseWire(const sdi::point& s) {
  m_end = s;
  if (m_rubberShown) DrawRubber(m_anchor);
  m_rubberShown = false;
  if (m_end == m_start) {
    // A click without movement draws nothing; the Wire command is armed anew.
    OnWire(false);
    return;
  }
  // The undo point holds the circuit before this segment, so Undo removes it.
  m_core.SaveBackup();
  if (m_end.x != m_start.x && m_end.y != m_start.y) {
    const sdi::point corner = m_bendVertical ? sdi::point(m_start.x, m_end.y) : sdi::point(m_end.x, m_start.y);
    FinishWireSegment(m_start, corner);
    sdi::new_wire();
    FinishWireSegment(corner, m_end);
  } else {
    FinishWireSegment(m_start, m_end);
  }
  OnWire(false);
}

void ViewEditing::OnLButtonUp(Pos device, bool shift) {
  const sdi::point p = ToSheet(device);
  const sdi::point s = sdi::snap_to_grid(p.x, p.y);
  if (m_picking && m_picking->Picking()) {
    m_banding = 0;
    SetCapture(false);
    m_picking->TakePick(s);
    m_core.Host().Invalidate();
    return;
  }
  {
    ViewClientDraw dc(m_core);
    m_lastHit = sdi::circuit.find_hit(s);
    if (!m_selCount) {
      CombineSelectedWires();
      SplitWiresAtSelection();
    }
    int selected = 0;
    const bool banded = m_banding != 0;
    if (banded) ReleaseBand(shift, selected);
    if (m_selCount) {
      const sdi::point d = s - m_anchor;
      MoveSelected(d);
      m_selRect = Moved(m_selRect, d);
      m_anchor = s;
    }
    if ((selected > 0 || m_lastHit) && !m_wireMode && !m_placing) {
      ++m_selCount;
      sdi::element* hit = Live(m_lastHit);
      if ((m_selRect.w == 1 || m_selRect.h == 1) && hit) {
        if (selected == 0) {
          ++hit->selected;
          ++m_clickSelected;
        }
      } else if (selected == 0 && hit && banded) {
        m_selCount = 0;
      }
    }
    m_banding = 0;
    if (m_wireMode) ReleaseWire(s);
    m_core.Junctions().Redraw();
  }
  m_core.Host().Invalidate();
}

bool ViewEditing::OnKeyDown(int key) {
  switch (key) {
    case kKeyEscape: OnEscape(); return true;
    case kKeySpace: RotateKey(); return true;
    case kKeyPageUp: case kKeyPageDown: case kKeyEnd: case kKeyHome:
    case kKeyLeft: case kKeyUp: case kKeyRight: case kKeyDown:
      ScrollKey(key);
      return true;
    case kKeyDelete: DeleteKey(); return true;
    case kKeyF5: m_core.Host().Invalidate(); return true;
    case kKeyF8: sdi::plain_finish_message = sdi::plain_finish_message ? 0 : 1; return true;
    case kKeyF9: {
      ViewClientDraw dc(m_core);
      m_core.Junctions().Redraw();
      return true;
    }
    default: return false;
  }
}

void ViewEditing::RotateKey() {
  ViewClientDraw dc(m_core);
  if (m_selCount) {
    m_core.SaveBackup();
    for (int id : SelectedIds())
      if (sdi::element* e = Live(id); e && !sdi::is_line_element(e->kind)) e->rotate();
  }
  const bool flip = m_wireMode != 0;
  if (m_placing && !flip && sdi::pending_element) sdi::pending_element->rotate();
  if (flip) {
    ++m_forceBend;
    m_forcedBend = m_bendVertical ? 0 : 1;
  }
  if (m_selCount) m_core.Host().Invalidate();
}

void ViewEditing::DeleteKey() {
  {
    ViewClientDraw dc(m_core);
    // Nothing selected, nothing to undo: no undo point, the document unchanged.
    if (!SelectedIds().empty()) {
      m_core.SaveBackup();
      DeleteSelected();
      CombineSelectedWires();
    }
    m_core.Junctions().Redraw();
  }
  OnEscape();
}

void ViewEditing::ScrollKey(int key) {
  const ScrollState& sc = m_core.Scroll();
  Pos pos = m_core.Host().ScrollPosition();
  const int big = 1 << 28;
  switch (key) {
    case kKeyPageUp: pos.y -= sc.page.h; break;
    case kKeyPageDown: pos.y += sc.page.h; break;
    case kKeyEnd: pos = {big, big}; break;
    case kKeyHome: pos = {0, 0}; break;
    case kKeyLeft: pos.x -= sc.line.w; break;
    case kKeyRight: pos.x += sc.line.w; break;
    case kKeyUp: pos.y -= sc.line.h; break;
    case kKeyDown: pos.y += sc.line.h; break;
    default: return;
  }
  m_core.ScrollTo(pos);
}

}  // namespace zorv
