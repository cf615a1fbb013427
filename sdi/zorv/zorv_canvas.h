// CZorvCanvas: the scrolled window that shows the view's frame buffer.
//
// The circuit is drawn into the model's off-screen frame buffer, the size of the
// client area, so inverting highlights behave as drawn; painting only copies the
// buffer to the screen. The buffer is redrawn from white when the view is
// invalidated, scrolled or resized. Scroll positions are pixels.
#pragma once
#include <functional>

#include <wx/scrolwin.h>

#include "sdi/draw/frame_buffer.h"
#include "sdi/zorv/core/view/view_mapping.h"

namespace zorv {
class ViewEditing;
}

class CZorvCanvas : public wxScrolledCanvas {
public:
  // Draws the whole client area into the buffer for the given scroll position.
  using Renderer = std::function<void(sdi::frame_buffer& fb, zorv::Pos scroll)>;

  explicit CZorvCanvas(wxWindow* parent);

  void SetRenderer(Renderer renderer) { m_renderer = std::move(renderer); }
  // The mouse and the keys go to the view's editing (none: ignored).
  void SetEditing(zorv::ViewEditing* edit) { m_edit = edit; }
  // Double clicks: `wants` says whether one at that client point opens a dialog;
  // then `open` runs once the button is up and the handler has returned.
  void SetDoubleClick(std::function<bool(zorv::Pos)> wants, std::function<void(zorv::Pos)> open) {
    m_wantsDoubleClick = std::move(wants);
    m_openDoubleClick = std::move(open);
  }
  void SetLineSteps(zorv::Size line, zorv::Size page) { m_line = line; m_page = page; }
  // Redraws the buffer from white and repaints.
  void Invalidate();
  zorv::Pos ScrollPos() const;
  // The buffer, drawn up to date.
  sdi::frame_buffer& Buffer();

private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnScroll(wxScrollWinEvent& event);
  void OnMouseWheel(wxMouseEvent& event);
  void ScrollBy(bool horizontal, int step);
  void OnEraseBackground(wxEraseEvent&) {}
  // Editing: events forwarded with client points.
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnLeftDouble(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnRightDown(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);

  Renderer m_renderer;
  zorv::ViewEditing* m_edit = nullptr;
  std::function<bool(zorv::Pos)> m_wantsDoubleClick;
  std::function<void(zorv::Pos)> m_openDoubleClick;
  bool m_doubleClickDown = false;  // the press of a double click that opens a dialog
  zorv::Pos m_doubleClickAt{0, 0};
  sdi::frame_buffer m_buffer;
  zorv::Pos m_renderedScroll{-1, -1};
  bool m_valid = false;
  zorv::Size m_line{1, 1};
  zorv::Size m_page{10, 10};
};
