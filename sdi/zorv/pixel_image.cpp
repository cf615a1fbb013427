#include "sdi/zorv/pixel_image.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>

void RenderBufferText(sdi::frame_buffer& fb, const sdi::frame_buffer::text_item& item) {
  if (item.text.empty()) return;
  const wxString text = wxString::FromUTF8(item.text);
  wxMemoryDC measure;
  measure.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  const wxSize extent = measure.GetTextExtent(text);
  if (extent.x <= 0 || extent.y <= 0) return;
  wxBitmap bitmap(extent.x, extent.y, 24);
  wxMemoryDC dc(bitmap);
  dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
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
