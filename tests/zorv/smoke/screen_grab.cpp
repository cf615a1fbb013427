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

namespace {

Window NamedWindow(Display* d, Window w, const std::string& title) {
  char* name = nullptr;
  const bool named = XFetchName(d, w, &name) && name && title == name;
  if (name) XFree(name);
  if (named) return w;
  Window parent = 0, root = 0, *children = nullptr, found = 0;
  unsigned int n = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &n)) return 0;
  for (unsigned int i = 0; i < n && !found; ++i) found = NamedWindow(d, children[i], title);
  if (children) XFree(children);
  return found;
}

}  // namespace

unsigned long WindowTitled(const std::string& title) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 0;
  const Window w = NamedWindow(d, DefaultRootWindow(d), title);
  XCloseDisplay(d);
  return w;
}

bool CloseAsWindowManager(const std::string& title) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return false;
  const Window w = NamedWindow(d, DefaultRootWindow(d), title);
  if (w) {
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = w;
    close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &close);
    XSync(d, False);
  }
  XCloseDisplay(d);
  return w != 0;
}
