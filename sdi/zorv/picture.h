// Edit > Copy to Clipboard: the circuit as a picture on the clipboard.
//
// The circuit's extent is rendered off-screen at the view's zoom and dpi, so parts
// outside the visible client area come out as drawn; nothing is copied, and
// nothing reported, when the clipboard cannot be opened.
#pragma once
#include <wx/bitmap.h>

#include "sdi/zorv/core/view/view_mapping.h"

// The picture Copy to Clipboard puts there (invalid for an empty circuit).
wxBitmap CircuitPicture(const zorv::ViewMapping& mapping, bool gridShown);
// Puts CircuitPicture on the clipboard; returns whether it is there.
bool CopyCircuitPicture(const zorv::ViewMapping& mapping, bool gridShown);
