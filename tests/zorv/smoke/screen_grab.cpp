#include "zorv/smoke/screen_grab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <wx/utils.h>
#include <wx/window.h>

wxImage GrabScreen(const wxRect& r) {
  wxImage image(r.width, r.height);
  Display* display = wxGetX11Display();
  if (!display) return image;
  XSync(display, False);
  XImage* shot = XGetImage(display, DefaultRootWindow(display), r.x, r.y, r.width, r.height, AllPlanes, ZPixmap);
  if (!shot) return image;
  for (int y = 0; y < r.height; ++y)
    for (int x = 0; x < r.width; ++x) {
      const unsigned long p = XGetPixel(shot, x, y);
      image.SetRGB(x, y, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
  XDestroyImage(shot);
  return image;
}

wxImage GrabClient(wxWindow* w) { return GrabScreen(wxRect(w->ClientToScreen(wxPoint(0, 0)), w->GetClientSize())); }
