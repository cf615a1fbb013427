// CClientDraw: the drawing context of a view handler that draws outside a repaint
// (placing, rubber bands, highlights, junction dots after an edit).
//
// For its life pDC names the canvas's frame buffer, prepared with the view's
// mapping and scroll position; the previous pDC comes back at its end (scopes
// nest), and the screen then shows what was drawn. The buffer is not redrawn from
// white, so inverting strokes drawn twice restore what was there.
//     { CClientDraw dc(*view); element->draw(); view->Core().Junctions().Redraw(); }
#pragma once
#include "sdi/zorv/core/view/view_edit.h"

class CZorvView;

class CClientDraw : public zorv::ViewClientDraw {
public:
  explicit CClientDraw(CZorvView& view);
};
