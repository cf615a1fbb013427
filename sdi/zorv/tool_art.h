// Toolbar button bitmaps (16 by 15): our own stroke artwork for the main toolbar,
// the element's short name for the element toolbar.
#pragma once
#include <wx/bitmap.h>

wxBitmap ToolBitmap(int id);
