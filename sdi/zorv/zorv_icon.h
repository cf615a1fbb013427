// The program's icon (res/zorv.xpm, 32 by 32, our own artwork).
#pragma once
#include <wx/bitmap.h>
#include <wx/icon.h>

wxBitmap ZorvIconBitmap();
wxIcon ZorvIcon();
