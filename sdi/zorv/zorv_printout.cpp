#include "sdi/zorv/zorv_printout.h"

#include <algorithm>

#include "sdi/zorv/core/view_render.h"
#include "sdi/zorv/pixel_image.h"

CZorvPrintout::CZorvPrintout(int& gridShown) : wxPrintout("ZORV"), m_gridShown(gridShown) {}

void CZorvPrintout::OnPreparePrinting() {
  if (!m_gridGuard) m_gridGuard = std::make_unique<zorv::PrintGridGuard>(m_gridShown);
}

void CZorvPrintout::OnEndPrinting() { m_gridGuard.reset(); }

void CZorvPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
  *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

bool CZorvPrintout::OnPrintPage(int) {
  wxDC* dc = GetDC();
  if (!dc) return false;
  int pageW = 0, pageH = 0;
  dc->GetSize(&pageW, &pageH);
  if (pageW <= 0 || pageH <= 0) return false;
  // Render at no more than 300 dpi and let the printer scale it up.
  int ppiX = 0, ppiY = 0;
  GetPPIPrinter(&ppiX, &ppiY);
  const double reduce = ppiX > 300 ? 300.0 / ppiX : 1.0;
  const int w = std::max(1, static_cast<int>(pageW * reduce));
  const int h = std::max(1, static_cast<int>(pageH * reduce));
  const zorv::PageLayout layout = zorv::FitToPage(zorv::CircuitExtent(), {w, h});
  sdi::frame_buffer fb(w, h);
  fb.text_hook = RenderBufferText;
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, layout.mapping, layout.scroll, m_gridShown != 0, dots);
  dc->SetUserScale(static_cast<double>(pageW) / w, static_cast<double>(pageH) / h);
  dc->DrawBitmap(wxBitmap(ImageFromBuffer(fb)), 0, 0);
  dc->SetUserScale(1.0, 1.0);
  return true;
}
