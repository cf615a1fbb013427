// The model's frame buffer (COLORREF 0x00BBGGRR pixels, row-major) as a wx image.
#pragma once
#include <wx/image.h>

#include "sdi/draw/frame_buffer.h"

inline wxImage ImageFromBuffer(const sdi::frame_buffer& fb) {
  wxImage image(fb.width(), fb.height(), false);
  unsigned char* rgb = image.GetData();
  const std::uint32_t* px = fb.data();
  const std::size_t n = static_cast<std::size_t>(fb.width()) * fb.height();
  for (std::size_t i = 0; i < n; ++i) {
    rgb[3 * i] = px[i] & 0xFF;
    rgb[3 * i + 1] = (px[i] >> 8) & 0xFF;
    rgb[3 * i + 2] = (px[i] >> 16) & 0xFF;
  }
  return image;
}

// Draws a recorded text item into the buffer with the toolkit's variable-pitch font,
// `scale` times its screen size: the glyphs' ink in the item's colour, the
// background left as it is.
void RenderScaledBufferText(sdi::frame_buffer& fb, const sdi::frame_buffer::text_item& item, double scale);
// At its screen size.
inline void RenderBufferText(sdi::frame_buffer& fb, const sdi::frame_buffer::text_item& item) {
  RenderScaledBufferText(fb, item, 1.0);
}
