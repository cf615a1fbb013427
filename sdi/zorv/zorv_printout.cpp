#include "sdi/zorv/zorv_printout.h"

#include "sdi/zorv/core/view/view_render.h"
#include "sdi/zorv/pixel_image.h"

CZorvPrintout::CZorvPrintout(int& gridShown, double screenScale)
    : wxPrintout("ZORV"), m_gridShown(gridShown), m_screenScale(screenScale) {}

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
  int devW = 0, devH = 0;
  dc->GetSize(&devW, &devH);
  if (devW <= 0 || devH <= 0) return false;
  // A preview's DC is its window's share of the page: its dots per inch are the
  // printer's in proportion.
  int pageW = 0, pageH = 0, ppiX = 0, ppiY = 0;
  GetPageSizePixels(&pageW, &pageH);
  GetPPIPrinter(&ppiX, &ppiY);
  const int ppi = pageW > 0 ? static_cast<int>(static_cast<long long>(ppiX) * devW / pageW) : ppiX;
  const zorv::PrintedPage page = zorv::LayOutPrintedPage(zorv::CircuitExtent(), {devW, devH}, ppi, m_screenScale);
  sdi::frame_buffer fb(page.buffer.w, page.buffer.h);
  const double textScale = page.textScale;
  fb.text_hook = [textScale](sdi::frame_buffer& b, const sdi::frame_buffer::text_item& item) {
    RenderScaledBufferText(b, item, textScale);
  };
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, page.layout.mapping, page.layout.scroll, m_gridShown != 0, dots);
  // The buffer stands for the whole page.
  FitThisSizeToPage(wxSize(page.buffer.w, page.buffer.h));
  dc->DrawBitmap(wxBitmap(ImageFromBuffer(fb)), 0, 0);
  return true;
}
