#include "sdi/zorv/zorv_canvas.h"

#include <algorithm>

#include <wx/dcclient.h>

#include "sdi/zorv/core/view/view_edit.h"
#include "sdi/zorv/pixel_image.h"

CZorvCanvas::CZorvCanvas(wxWindow* parent)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                       wxHSCROLL | wxVSCROLL | wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetScrollRate(1, 1);
  // The buffer is redrawn for every position, so the window is never moved by bits.
  EnableScrolling(false, false);
  m_buffer.text_hook = RenderBufferText;
  Bind(wxEVT_PAINT, &CZorvCanvas::OnPaint, this);
  Bind(wxEVT_SIZE, &CZorvCanvas::OnSize, this);
  Bind(wxEVT_ERASE_BACKGROUND, &CZorvCanvas::OnEraseBackground, this);
  Bind(wxEVT_SCROLLWIN_LINEUP, &CZorvCanvas::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_LINEDOWN, &CZorvCanvas::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_PAGEUP, &CZorvCanvas::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_PAGEDOWN, &CZorvCanvas::OnScroll, this);
  Bind(wxEVT_MOUSEWHEEL, &CZorvCanvas::OnMouseWheel, this);
  // The view scrolls with the keys itself (Home, End, the arrows, the pages).
  DisableKeyboardScrolling();
  Bind(wxEVT_LEFT_DOWN, &CZorvCanvas::OnLeftDown, this);
  // A double click's second press: a press like any other, unless it opens a dialog.
  Bind(wxEVT_LEFT_DCLICK, &CZorvCanvas::OnLeftDouble, this);
  Bind(wxEVT_LEFT_UP, &CZorvCanvas::OnLeftUp, this);
  Bind(wxEVT_MOTION, &CZorvCanvas::OnMotion, this);
  Bind(wxEVT_RIGHT_DOWN, &CZorvCanvas::OnRightDown, this);
  Bind(wxEVT_KEY_DOWN, &CZorvCanvas::OnKeyDown, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CZorvCanvas::OnCaptureLost, this);
}

zorv::Pos CZorvCanvas::ScrollPos() const {
  int x = 0, y = 0;
  GetViewStart(&x, &y);
  return {x, y};
}

void CZorvCanvas::Invalidate() {
  m_valid = false;
  Refresh(false);
}

sdi::frame_buffer& CZorvCanvas::Buffer() {
  const wxSize client = GetClientSize();
  const zorv::Pos scroll = ScrollPos();
  const int w = std::max(client.x, 0), h = std::max(client.y, 0);
  if (m_valid && w == m_buffer.width() && h == m_buffer.height() && scroll.x == m_renderedScroll.x &&
      scroll.y == m_renderedScroll.y)
    return m_buffer;
  if (w != m_buffer.width() || h != m_buffer.height()) m_buffer.resize(w, h);
  if (m_renderer && w > 0 && h > 0)
    m_renderer(m_buffer, scroll);
  else
    m_buffer.clear();
  m_renderedScroll = scroll;
  m_valid = true;
  return m_buffer;
}

void CZorvCanvas::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);

  const sdi::frame_buffer& fb = Buffer();
  if (fb.width() <= 0 || fb.height() <= 0) return;
  dc.DrawBitmap(wxBitmap(ImageFromBuffer(fb)), 0, 0);
}

void CZorvCanvas::OnSize(wxSizeEvent& event) {
  m_valid = false;
  event.Skip();
}

void CZorvCanvas::OnScroll(wxScrollWinEvent& event) {
  const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
  const wxEventType t = event.GetEventType();
  int step = horizontal ? m_line.w : m_line.h;
  if (t == wxEVT_SCROLLWIN_PAGEUP || t == wxEVT_SCROLLWIN_PAGEDOWN) step = horizontal ? m_page.w : m_page.h;
  if (t == wxEVT_SCROLLWIN_LINEUP || t == wxEVT_SCROLLWIN_PAGEUP) step = -step;
  ScrollBy(horizontal, step);
}

void CZorvCanvas::OnMouseWheel(wxMouseEvent& event) {
  const bool horizontal = event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL;
  const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
  const int notches = event.GetWheelRotation() / delta;
  // A notch moves one line step, as the scroll bar's arrows do; up is back.
  ScrollBy(horizontal, (horizontal ? notches : -notches) * (horizontal ? m_line.w : m_line.h));
}

void CZorvCanvas::ScrollBy(bool horizontal, int step) {
  if (step == 0) return;
  zorv::Pos pos = ScrollPos();
  (horizontal ? pos.x : pos.y) += step;
  Scroll(std::max(pos.x, 0), std::max(pos.y, 0));
  Refresh(false);
}

namespace {

zorv::Pos ClientPoint(const wxMouseEvent& event) { return {event.GetX(), event.GetY()}; }

// The view's key codes for the keys it handles; 0 for others.
int ViewKey(int code) {
  switch (code) {
    case WXK_ESCAPE: return zorv::kKeyEscape;
    case WXK_SPACE: return zorv::kKeySpace;
    case WXK_PAGEUP: return zorv::kKeyPageUp;
    case WXK_PAGEDOWN: return zorv::kKeyPageDown;
    case WXK_END: return zorv::kKeyEnd;
    case WXK_HOME: return zorv::kKeyHome;
    case WXK_LEFT: return zorv::kKeyLeft;
    case WXK_UP: return zorv::kKeyUp;
    case WXK_RIGHT: return zorv::kKeyRight;
    case WXK_DOWN: return zorv::kKeyDown;
    case WXK_DELETE: return zorv::kKeyDelete;
    case WXK_F5: return zorv::kKeyF5;
    case WXK_F8: return zorv::kKeyF8;
    case WXK_F9: return zorv::kKeyF9;
    default: return 0;
  }
}

}  // namespace

void CZorvCanvas::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  if (m_edit) m_edit->OnLButtonDown(ClientPoint(event));
  event.Skip();
}

void CZorvCanvas::OnLeftUp(wxMouseEvent& event) {
  if (m_doubleClickDown) {
    // The dialog opens after the release, never inside the mouse's handlers.
    m_doubleClickDown = false;
    const zorv::Pos p = m_doubleClickAt;
    CallAfter([this, p] {
      if (m_openDoubleClick) m_openDoubleClick(p);
    });
  } else if (m_edit) {
    m_edit->OnLButtonUp(ClientPoint(event), event.ShiftDown());
  }
  event.Skip();
}

void CZorvCanvas::OnLeftDouble(wxMouseEvent& event) {
  if (m_wantsDoubleClick && m_wantsDoubleClick(ClientPoint(event))) {
    SetFocus();
    m_doubleClickDown = true;
    m_doubleClickAt = ClientPoint(event);
    event.Skip();
    return;
  }
  OnLeftDown(event);
}

void CZorvCanvas::OnMotion(wxMouseEvent& event) {
  if (m_edit) m_edit->OnMouseMove(ClientPoint(event), event.LeftIsDown());
  event.Skip();
}

void CZorvCanvas::OnRightDown(wxMouseEvent& event) {
  if (m_edit) m_edit->OnRButtonDown();
  event.Skip();
}

void CZorvCanvas::OnKeyDown(wxKeyEvent& event) {
  const int key = event.HasAnyModifiers() ? 0 : ViewKey(event.GetKeyCode());
  if (!m_edit || !key || !m_edit->OnKeyDown(key)) event.Skip();
}

void CZorvCanvas::OnCaptureLost(wxMouseCaptureLostEvent&) {
  if (m_edit) m_edit->OnCaptureLost();
}
