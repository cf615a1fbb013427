#include "sdi/zorv/zorv_icon.h"

#include "res/zorv.xpm"

wxBitmap ZorvIconBitmap() { return wxBitmap(zorv_xpm); }

wxIcon ZorvIcon() { return wxIcon(zorv_xpm); }
