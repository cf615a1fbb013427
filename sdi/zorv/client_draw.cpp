#include "sdi/zorv/client_draw.h"

#include "sdi/zorv/zorv_view.h"

CClientDraw::CClientDraw(CZorvView& view) : zorv::ViewClientDraw(view.Core()) {}
