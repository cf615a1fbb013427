// What the X server shows, read back with XGetImage: the test's eyes on the window.
#pragma once
#include <wx/gdicmn.h>
#include <wx/image.h>

#include <string>

class wxWindow;

// A rectangle of the screen (screen coordinates).
wxImage GrabScreen(const wxRect& r);
// The client area of a window.
wxImage GrabClient(wxWindow* w);
// Whether the pixel at (x, y), inside the image, has this colour.
inline bool Rgb(const wxImage& image, int x, int y, int r, int g, int b) {
  return x >= 0 && y >= 0 && x < image.GetWidth() && y < image.GetHeight() && image.GetRed(x, y) == r &&
         image.GetGreen(x, y) == g && image.GetBlue(x, y) == b;
}

// The first window in the screen's tree named `title`, as an X window id; 0 when none.
unsigned long WindowTitled(const std::string& title);

// The largest shown window named `title` wider than min_width; 0 when none. (The
// toolkit names its hidden helper windows after the program too, and a box first
// shows as a small frame.)
unsigned long ShownWindowTitled(const std::string& title, int min_width = 0);

// Asks the window, or the first window titled `title`, to close, as a window manager does
// (WM_DELETE_WINDOW), and waits until the X server has taken the request; false
// when no window has that title.
void CloseAsWindowManager(unsigned long window);
bool CloseAsWindowManager(const std::string& title);
