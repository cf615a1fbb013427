#include "sdi/zorv/zorv_canvas.h"

#include <algorithm>

#include <wx/dcclient.h>

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
