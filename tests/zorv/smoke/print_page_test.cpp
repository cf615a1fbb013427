// Printing the example buck converter: the page as a printer and as a small preview draw it.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <wx/dcmemory.h>
#include <wx/print.h>

#include "sdi/zorv/zorv_printout.h"
#include "zorv/smoke/gui_session.h"

namespace {

struct Ink {
  int blue = 0;  // element strokes, RGB(0, 0, 255)
  int red = 0;   // texts, RGB(200, 0, 0)
  int left = 1 << 30, right = -1;  // columns holding a stroke
};

// Prints page 1 of a Letter page (8.5 x 11 in at `ppi`) into a DC of w x h pixels,
// as the printer (the page's own size) or a preview (smaller) gives it.
Ink PrintInto(GuiSession& s, int ppi, int w, int h) {
  std::unique_ptr<wxPrintout> printout(s.View()->OnCreatePrintout());
  wxBitmap bitmap(w, h, 24);
  Ink ink;
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    printout->SetDC(&dc);
    printout->SetPPIPrinter(ppi, ppi);
    printout->SetPageSizePixels(ppi * 17 / 2, ppi * 11);
    printout->OnPreparePrinting();
    printout->OnBeginPrinting();
    EXPECT_TRUE(printout->OnPrintPage(1));
    printout->OnEndPrinting();
    printout->SetDC(nullptr);
  }
  const wxImage image = bitmap.ConvertToImage();
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) {
      const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
      if (r == 0 && g == 0 && b == 255) {
        ++ink.blue;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
      }
      if (r == 200 && g == 0 && b == 0) ++ink.red;
    }
  return ink;
}

}  // namespace

TEST(Smoke, APreviewShowsTheWholeCircuitWithTextsInProportion) {
  // The example circuit, whose elements show their names and values.
  const std::filesystem::path example =
      std::filesystem::path(__FILE__).parent_path() / "../../../examples/buck.ckt";
  ASSERT_TRUE(std::filesystem::exists(example));
  GuiSession s({"--nosplash", std::filesystem::canonical(example).string()});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));

  // A preview of a 1200 dpi printer's page, 10200 x 13200, in 510 x 660 pixels.
  const Ink preview = PrintInto(s, 1200, 510, 660);
  // The circuit is fitted across the page within its margins (a twentieth a side)...
  EXPECT_GE(preview.left, 510 / 20 - 2);
  EXPECT_LE(preview.right, 510 - 510 / 20 + 2);
  EXPECT_GE(preview.right - preview.left, 510 * 7 / 10);
  // ...its strokes survive the preview's small size, and its texts stay smaller
  // than its drawing, as on the screen.
  EXPECT_GT(preview.blue, 1000);
  EXPECT_LT(preview.red, preview.blue);

  // The printer's own page at 100 dpi: the same proportions.
  const Ink page = PrintInto(s, 100, 850, 1100);
  EXPECT_GE(page.right - page.left, 850 * 7 / 10);
  EXPECT_LT(page.red, page.blue);
}
