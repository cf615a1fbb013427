// CZorvPrintout: printing and print preview of the circuit.
//
// One page: the circuit's extent fitted to the printable page, drawn through the
// same off-screen rendering as the screen at up to 300 dots per inch, without the
// grid; texts keep the size they have on the screen against the drawing. The grid is hidden from the start of printing until the printout is gone,
// so a cancelled print dialog or a closed preview always brings it back.
#pragma once
#include <memory>

#include <wx/print.h>

#include "sdi/zorv/core/view/view_core.h"

class CZorvPrintout : public wxPrintout {
public:
  // `screenScale`: the view's pixels per sheet unit, which the texts are sized for.
  CZorvPrintout(int& gridShown, double screenScale);

  void OnPreparePrinting() override;
  void OnEndPrinting() override;
  bool OnPrintPage(int page) override;
  bool HasPage(int page) override { return page == 1; }
  void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;

private:
  int& m_gridShown;
  double m_screenScale;
  std::unique_ptr<zorv::PrintGridGuard> m_gridGuard;
};
