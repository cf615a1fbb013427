#include "sdi/zorv/pixel_image.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>

void RenderScaledBufferText(sdi::frame_buffer& fb, const sdi::frame_buffer::text_item& item, double scale) {
  if (item.text.empty()) return;
  const wxString text = wxString::FromUTF8(item.text);
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  if (scale > 0 && scale != 1.0) font = font.Scaled(static_cast<float>(scale));
  wxMemoryDC measure;
  measure.SetFont(font);
  const wxSize extent = measure.GetTextExtent(text);
  if (extent.x <= 0 || extent.y <= 0) return;
  wxBitmap bitmap(extent.x, extent.y, 24);
  wxMemoryDC dc(bitmap);
  dc.SetFont(font);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetTextForeground(*wxBLACK);
  dc.DrawText(text, 0, 0);
  dc.SelectObject(wxNullBitmap);
  const wxImage ink = bitmap.ConvertToImage();
  for (int y = 0; y < extent.y; ++y)
    for (int x = 0; x < extent.x; ++x)
      if (ink.GetRed(x, y) < 128) fb.put_pixel(item.x + x, item.y + y, item.colour);
}
