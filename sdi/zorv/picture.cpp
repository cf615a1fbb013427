#include "sdi/zorv/picture.h"

#include <wx/clipbrd.h>

#include "sdi/zorv/core/view/view_render.h"
#include "sdi/zorv/pixel_image.h"

wxBitmap CircuitPicture(const zorv::ViewMapping& mapping, bool gridShown) {
  const zorv::PictureFrame frame = zorv::ClipboardPictureFrame(zorv::CircuitExtent(), mapping);
  if (frame.size.w <= 0 || frame.size.h <= 0) return wxBitmap();
  sdi::frame_buffer fb(frame.size.w, frame.size.h);
  fb.text_hook = RenderBufferText;
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, mapping, frame.origin, gridShown, dots);
  return wxBitmap(ImageFromBuffer(fb));
}

bool CopyCircuitPicture(const zorv::ViewMapping& mapping, bool gridShown) {
  const wxBitmap picture = CircuitPicture(mapping, gridShown);
  if (!picture.IsOk()) return false;
  wxClipboardLocker lock;
  if (!lock) return false;
  wxTheClipboard->Clear();
  return wxTheClipboard->SetData(new wxBitmapDataObject(picture));
}
