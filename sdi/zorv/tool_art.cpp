#include "sdi/zorv/tool_art.h"

#include <wx/dcmemory.h>
#include <wx/image.h>

#include "sdi/zorv/core/commands/command_table.h"
#include "sdi/zorv/core/commands/element_icons.h"
#include "sdi/zorv/core/commands/tool_glyphs.h"

namespace {

// A button's pixels (0x00BBGGRR), those of the transparent colour left out.
wxBitmap PixelBitmap(const std::vector<std::uint32_t>& px, std::uint32_t transparent) {
  wxImage image(zorv::kToolWidth, zorv::kToolHeight);
  image.InitAlpha();
  for (int y = 0; y < zorv::kToolHeight; ++y)
    for (int x = 0; x < zorv::kToolWidth; ++x) {
      const std::uint32_t c = px[y * zorv::kToolWidth + x];
      image.SetRGB(x, y, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
      image.SetAlpha(x, y, c == transparent ? 0 : 255);
    }
  return wxBitmap(image);
}

wxBitmap GlyphBitmap(const std::vector<zorv::GlyphStroke>& strokes) {
  return PixelBitmap(zorv::RasterizeGlyph(strokes), zorv::kTransparent);
}

// The element's short name, squeezed into the button.
wxBitmap LabelBitmap(const wxString& label) {
  wxBitmap bitmap(zorv::kToolWidth, zorv::kToolHeight, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  wxFont font(wxFontInfo(label.length() > 2 ? 5 : 8).Family(wxFONTFAMILY_SWISS));
  dc.SetFont(font);
  dc.SetTextForeground(wxColour(0, 0, 255));
  wxCoord w = 0, h = 0;
  dc.GetTextExtent(label, &w, &h);
  dc.DrawText(label, (zorv::kToolWidth - w) / 2, (zorv::kToolHeight - h) / 2);
  dc.SelectObject(wxNullBitmap);
  wxImage image = bitmap.ConvertToImage();
  image.SetMaskColour(255, 255, 255);
  return wxBitmap(image);
}

}  // namespace

// The element's own symbol, white made transparent.
wxBitmap SymbolBitmap(const std::vector<std::uint32_t>& px) { return PixelBitmap(px, 0xFFFFFFu); }

wxBitmap ToolBitmap(int id) {
  if (const auto* strokes = zorv::ToolGlyph(id)) return GlyphBitmap(*strokes);
  if (const auto px = zorv::ElementIcon(zorv::ElementKindOfCommand(id)); !px.empty()) return SymbolBitmap(px);
  return LabelBitmap(wxString::FromUTF8(zorv::ShortLabel(id)));
}
