#include "sdi/zorv/core/view/view_mapping.h"

#include <algorithm>
#include <cmath>

namespace zorv {

Size ViewMapping::ViewportExtent() const {
  return {static_cast<int>(cx * zoom * dpiX / 100), static_cast<int>(cy * zoom * dpiY / 100)};
}

double ViewMapping::ScaleX() const { return static_cast<double>(ViewportExtent().w) / cx; }
double ViewMapping::ScaleY() const { return static_cast<double>(ViewportExtent().h) / cy; }

int ViewMapping::ToDeviceX(int x) const { return static_cast<int>(std::lround(x * ScaleX())); }
int ViewMapping::ToDeviceY(int y) const { return static_cast<int>(std::lround(y * ScaleY())); }
int ViewMapping::ToSheetX(int px) const { return static_cast<int>(std::lround(px / ScaleX())); }
int ViewMapping::ToSheetY(int py) const { return static_cast<int>(std::lround(py / ScaleY())); }

bool ViewMapping::ZoomIn() {
  if (!(zoom < 5.0)) return false;
  zoom *= 1.2;
  return true;
}

bool ViewMapping::ZoomOut() {
  if (!(zoom > 0.5)) return false;
  zoom /= 1.2;
  return true;
}

Pos ClampScroll(Pos pos, Size total, Size client) {
  const int maxX = std::max(0, total.w - client.w);
  const int maxY = std::max(0, total.h - client.h);
  return {std::clamp(pos.x, 0, maxX), std::clamp(pos.y, 0, maxY)};
}

ScrollState ResetScrollSizes(const ScrollState& old, const ViewMapping& mapping, Size client,
                             bool first) {
  ScrollState s;
  s.total = mapping.ViewportExtent();
  s.page = {s.total.w / 10, s.total.h / 10};
  s.line = {s.page.w / 10, s.page.h / 10};

  const double s1x = mapping.ScaleX();
  const double s1y = mapping.ScaleY();
  double s0x = s1x;
  double s0y = s1y;
  if (!first && old.total.w > 0 && old.total.h > 0) {
    s0x = static_cast<double>(old.total.w) / mapping.cx;
    s0y = static_cast<double>(old.total.h) / mapping.cy;
  }
  // The sheet point under the client's centre, in sheet units.
  const double cX = (old.pos.x + client.w / 2.0) / s0x;
  const double cY = (old.pos.y + client.h / 2.0) / s0y;
  // Rounded, so that zooming in and out again does not drift one way.
  const Pos target{static_cast<int>(std::lround(cX * s1x - client.w / 2.0)),
                   static_cast<int>(std::lround(cY * s1y - client.h / 2.0))};
  s.pos = ClampScroll(target, s.total, client);
  return s;
}

double ZoomAllFactor(SheetRect extent, Size client, int dpiX) {
  double zoom = kInitialZoom;
  if (extent.w != 0 && extent.h != 0)
    zoom = 0.9 * std::min(static_cast<double>(client.w) / extent.w,
                          static_cast<double>(client.h) / extent.h);
  if (dpiX > 100) zoom *= 0.8;
  return zoom;
}

Pos ZoomAllScrollTarget(SheetRect extent, const ViewMapping& mapping) {
  // Through the same scale as the drawing, so the dpi counts here too.
  return {static_cast<int>((extent.x - 0.2 * extent.w) * mapping.ScaleX()),
          static_cast<int>((extent.y - 0.1 * extent.h) * mapping.ScaleY())};
}

}  // namespace zorv
