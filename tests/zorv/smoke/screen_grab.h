// What the X server shows, read back with XGetImage: the test's eyes on the window.
#pragma once
#include <wx/gdicmn.h>
#include <wx/image.h>

class wxWindow;

// A rectangle of the screen (screen coordinates).
wxImage GrabScreen(const wxRect& r);
// The client area of a window.
wxImage GrabClient(wxWindow* w);
