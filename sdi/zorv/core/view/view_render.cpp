#include "sdi/zorv/core/view/view_render.h"

#include <algorithm>

#include "sdi/draw/drawing.h"
#include "sdi/zorv/core/base/draw_scope.h"
#include "sdi/zorv/core/view/extent.h"
#include "sdi/zorv/core/view/junctions.h"
#include "sdi/zorv/core/view/model_link.h"

namespace zorv {

void JunctionDots::Redraw() {
  for (const sdi::point& p : m_points) DrawJunctionDot(p, 15);
  m_points = FindJunctions(CircuitConnections());
  for (const sdi::point& p : m_points) DrawJunctionDot(p, 1);
}

void PrepareContext(sdi::frame_buffer& fb, const ViewMapping& mapping, Pos scroll) {
  const Size vp = mapping.ViewportExtent();
  fb.set_window_org(0, 0);
  fb.set_window_ext(mapping.cx, mapping.cy);
  fb.set_viewport_ext(vp.w, vp.h);
  fb.set_viewport_org(-scroll.x, -scroll.y);
}

void DrawSheet(const ViewMapping& mapping, bool gridShown, JunctionDots& dots) {
  if (!sdi::pDC) return;
  if (gridShown) {
    for (int r = 1; r <= mapping.cy / 8; ++r)
      for (int c = 1; c <= mapping.cx / 8; ++c)
        if (sdi::pDC->pt_visible(8 * c, 8 * r)) sdi::draw_grid_dot(8 * c, 8 * r);
  }
  RedrawCircuit();
  dots.Redraw();
}

void RenderClient(sdi::frame_buffer& fb, const ViewMapping& mapping, Pos scroll, bool gridShown,
                  JunctionDots& dots) {
  fb.clear();
  PrepareContext(fb, mapping, scroll);
  dots.Forget();  // the buffer is white: nothing left to erase
  DrawScope scope(&fb);
  DrawSheet(mapping, gridShown, dots);
}

SheetRect CircuitExtent() { return ElementListExtent(CircuitExtentItems()); }

bool CircuitIsEmpty() { return CircuitExtentItems().empty(); }

PictureFrame ClipboardPictureFrame(SheetRect extent, const ViewMapping& mapping) {
  PictureFrame f;
  f.origin = {mapping.ToDeviceX(extent.x), mapping.ToDeviceY(extent.y)};
  f.size = {std::min(static_cast<int>(extent.w * mapping.ScaleX()), kMaxPictureSide),
            std::min(static_cast<int>(extent.h * mapping.ScaleY()), kMaxPictureSide)};
  return f;
}

PageLayout FitToPage(SheetRect extent, Size page) {
  if (extent.w <= 0 || extent.h <= 0) extent = {0, 0, kSheetCx, kSheetCy};
  PageLayout layout;
  layout.mapping.dpiX = layout.mapping.dpiY = 100;
  layout.mapping.zoom = std::min(page.w * 0.9 / extent.w, page.h * 0.9 / extent.h);
  const double sx = layout.mapping.ScaleX();
  const double sy = layout.mapping.ScaleY();
  // Centre the extent on the page.
  layout.scroll.x = static_cast<int>(extent.x * sx - (page.w - extent.w * sx) / 2);
  layout.scroll.y = static_cast<int>(extent.y * sy - (page.h - extent.h * sy) / 2);
  return layout;
}

}  // namespace zorv

namespace zorv {

PrintedPage LayOutPrintedPage(SheetRect extent, Size page, int printerPpi, double screenScale) {
  PrintedPage p;
  const double reduce = printerPpi > kMaxPrintDpi ? static_cast<double>(kMaxPrintDpi) / printerPpi : 1.0;
  p.buffer = {std::max(1, static_cast<int>(page.w * reduce)), std::max(1, static_cast<int>(page.h * reduce))};
  p.layout = FitToPage(extent, p.buffer);
  if (screenScale > 0) p.textScale = p.layout.mapping.ScaleX() / screenScale;
  return p;
}

}  // namespace zorv
