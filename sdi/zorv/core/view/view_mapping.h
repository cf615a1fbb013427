// The schematic view's mapping from sheet units to pixels, its zoom steps and the
// scroll sizes that keep the window's centre in place.
//
// The sheet is cx by cy units (2000 by 3000). At zoom z on a screen of d pixels per
// inch the sheet is (int)(cx*z*d/100) by (int)(cy*z*d/100) pixels: at zoom 1 and
// 100 dpi one unit is one pixel. Scroll positions and client sizes are pixels.
//     ViewMapping m;                        // zoom 1.3
//     m.ZoomIn();                           // 1.56, false once at 5.0 or above
//     ScrollState s = ResetScrollSizes(old, m, client, first);
#pragma once

namespace zorv {

struct Size {
  int w = 0;
  int h = 0;
};

struct Pos {
  int x = 0;
  int y = 0;
};

struct SheetRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

inline constexpr double kInitialZoom = 1.3;
inline constexpr int kSheetCx = 2000;
inline constexpr int kSheetCy = 3000;

struct ViewMapping {
  double zoom = kInitialZoom;
  int dpiX = 100;
  int dpiY = 100;
  int cx = kSheetCx;
  int cy = kSheetCy;

  // The viewport extent: the whole sheet in pixels, each product truncated.
  Size ViewportExtent() const;
  // One sheet unit in pixels along each axis.
  double ScaleX() const;
  double ScaleY() const;
  // Sheet units to pixels of the whole sheet and back, rounded to the nearest.
  int ToDeviceX(int x) const;
  int ToDeviceY(int y) const;
  int ToSheetX(int px) const;
  int ToSheetY(int py) const;

  // Zoom In multiplies by 1.2 while the zoom is below 5.0; Zoom Out divides by 1.2
  // while it is above 0.5. Each returns whether the zoom changed.
  bool ZoomIn();
  bool ZoomOut();
};

struct ScrollState {
  Size total;  // the scrollable size in pixels
  Size page;   // a page step: a tenth of the total
  Size line;   // a line step: a tenth of a page
  Pos pos;     // the scroll position
};

// The scroll sizes for the mapping's zoom, and the scroll position that keeps the
// sheet point at the client's centre where it was. `old` holds the previous total
// size and position; on the first reset (`first`) the old scale is taken as the
// mapping's own. Positions are kept within 0 .. total - client.
ScrollState ResetScrollSizes(const ScrollState& old, const ViewMapping& mapping, Size client,
                             bool first);

// Zoom All: the zoom that shows `extent` (sheet units) in the client, and the scroll
// position that goes with it. An empty extent gives 1.3; screens of more than 100
// dpi get 0.8 of it.
double ZoomAllFactor(SheetRect extent, Size client, int dpiX);
Pos ZoomAllScrollTarget(SheetRect extent, const ViewMapping& mapping);

// Keeps a scroll position within 0 .. total - client on each axis.
Pos ClampScroll(Pos pos, Size total, Size client);

}  // namespace zorv
