#include "zorv/smoke/screen_grab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <wx/utils.h>
#include <wx/window.h>

#include <vector>

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

// Every window in the tree under w (the root when 0) named title, in tree order.
std::vector<Window> NamedWindows(Display* d, const std::string& title, Window w = 0) {
  if (!w) w = DefaultRootWindow(d);
  std::vector<Window> found;
  char* name = nullptr;
  if (XFetchName(d, w, &name) && name && title == name) found.push_back(w);
  if (name) XFree(name);
  Window parent = 0, root = 0, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &n)) return found;
  for (unsigned int i = 0; i < n; ++i)
    for (Window c : NamedWindows(d, title, children[i])) found.push_back(c);
  if (children) XFree(children);
  return found;
}

}  // namespace

unsigned long WindowTitled(const std::string& title) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 0;
  const std::vector<Window> found = NamedWindows(d, title);
  XCloseDisplay(d);
  return found.empty() ? 0 : found.front();
}

unsigned long ShownWindowTitled(const std::string& title, int min_width) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 0;
  Window best = 0;
  long best_area = 0;
  for (Window w : NamedWindows(d, title)) {
    XWindowAttributes a{};
    if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && a.width > min_width &&
        long(a.width) * a.height > best_area)
      best = w, best_area = long(a.width) * a.height;
  }
  XCloseDisplay(d);
  return best;
}

void CloseAsWindowManager(unsigned long window) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return;
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = window;
  close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, window, False, NoEventMask, &close);
  XSync(d, False);
  XCloseDisplay(d);
}

bool CloseAsWindowManager(const std::string& title) {
  const unsigned long w = WindowTitled(title);
  if (w) CloseAsWindowManager(w);
  return w != 0;
}
