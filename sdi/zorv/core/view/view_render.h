// Drawing the view into the model's raster frame buffer: the client area, the
// clipboard picture and the printed page all go through RenderClient.
//
// The mapping is anisotropic: window extent (cx, cy) of the sheet, viewport extent
// the whole sheet in pixels at the view's zoom and dpi, viewport origin minus the
// scroll position.
//     sdi::frame_buffer fb(w, h);
//     JunctionDots dots;
//     RenderClient(fb, mapping, scroll, gridShown, dots);
#pragma once
#include <vector>

#include "sdi/draw/frame_buffer.h"
#include "sdi/draw/geometry.h"
#include "sdi/zorv/core/view/view_mapping.h"

namespace zorv {

// The junction dots currently drawn.
class JunctionDots {
public:
  // On pDC: erases the dots drawn before (in white), finds the new ones and draws
  // them in their colour.
  void Redraw();
  const std::vector<sdi::point>& Points() const { return m_points; }
  void Forget() { m_points.clear(); }

private:
  std::vector<sdi::point> m_points;
};

// The view's mapping on a frame buffer at a scroll position.
void PrepareContext(sdi::frame_buffer& fb, const ViewMapping& mapping, Pos scroll);

// On pDC: the grid dots (when shown) at every (8c, 8r) of the sheet that is visible,
// every element of the circuit, then the junction dots.
void DrawSheet(const ViewMapping& mapping, bool gridShown, JunctionDots& dots);

// The whole buffer from white: PrepareContext, then DrawSheet with pDC on `fb`.
void RenderClient(sdi::frame_buffer& fb, const ViewMapping& mapping, Pos scroll, bool gridShown,
                  JunctionDots& dots);

// The circuit's extent in sheet units ({0, 0, 0, 0} for an empty circuit).
SheetRect CircuitExtent();
bool CircuitIsEmpty();

// The clipboard picture: the circuit's extent at the view's zoom and dpi, as a
// width x height picture whose top-left pixel is `origin` of the whole sheet's
// pixels. Each side is cut to kMaxPictureSide.
struct PictureFrame {
  Pos origin;
  Size size;
};
inline constexpr int kMaxPictureSide = 4096;
PictureFrame ClipboardPictureFrame(SheetRect extent, const ViewMapping& mapping);

// A printed page: the mapping (its zoom at 100 dpi) and the scroll position that
// fit `extent` (or the whole sheet when it is empty) into `page` pixels, centred,
// with a twentieth of the page as margin on each side.
struct PageLayout {
  ViewMapping mapping;
  Pos scroll;
};
PageLayout FitToPage(SheetRect extent, Size page);

// A printed page as drawn: `page` printer pixels at `printerPpi` are drawn into a
// buffer of at most 300 dpi that the printer scales up; the circuit is fitted to
// the buffer, and texts are scaled by the ratio of the page's scale to the
// screen's (`screenScale` pixels per sheet unit), so they keep their size
// relative to the drawing.
struct PrintedPage {
  Size buffer;
  PageLayout layout;
  double textScale = 1.0;
};
inline constexpr int kMaxPrintDpi = 300;
PrintedPage LayOutPrintedPage(SheetRect extent, Size page, int printerPpi, double screenScale);

}  // namespace zorv
