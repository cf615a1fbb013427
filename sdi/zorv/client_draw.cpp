#include "sdi/zorv/client_draw.h"

#include "sdi/zorv/core/view_render.h"
#include "sdi/zorv/zorv_canvas.h"
#include "sdi/zorv/zorv_view.h"

sdi::frame_buffer* CClientDraw::Prepared(CZorvView& view) {
  CZorvCanvas* canvas = view.Canvas();
  if (!canvas) return nullptr;
  sdi::frame_buffer& fb = canvas->Buffer();
  zorv::PrepareContext(fb, view.Core().Mapping(), canvas->ScrollPos());
  return &fb;
}

CClientDraw::CClientDraw(CZorvView& view) : m_canvas(view.Canvas()), m_scope(Prepared(view)) {}

CClientDraw::~CClientDraw() {
  if (m_canvas) m_canvas->Refresh(false);
}
