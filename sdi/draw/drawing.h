// Model drawing helpers on pDC: the line hook, the inverting rectangle, the
// white erase and the grid dots. Every helper does nothing while pDC is null.
//
// Colour codes: 1 blue (normal), 2 green, 4 red (selected), 15 white (erase);
// 0 and any other code keep the pen selected in pDC. Style codes: 2 dotted,
// 4 dashed, else solid. Mode 3 inverts (drawing twice restores the screen),
// anything else draws plainly. All coordinates in sheet units.
#pragma once

#include "sdi/draw/draw_context.h"
#include "sdi/draw/geometry.h"

namespace sdi {

constexpr colorref grid_dot_colour = rgb(0, 128, 0);
constexpr colorref text_colour = 0x0000C8;  // rgb(200, 0, 0)

// Grid dots are drawn, and restored by erasing, while this is non-zero (owned by the view).
extern int grid_shown;

using draw_line_fn = void (*)(int x1, int y1, int x2, int y2, int colour, int mode, int style);
extern draw_line_fn draw_line_hook;
void default_draw_line(int x1, int y1, int x2, int y2, int colour, int mode, int style);

// Outline from (x1, y1) to (x2, y2) with the pen in pDC; mode 3 inverts each pixel.
void draw_rectangle(int x1, int y1, int x2, int y2, int colour, int mode);
// White from (x-1, y-1) to (x+w, y+h), right and bottom excluded.
void erase_rect(int x, int y, int w, int h, int colour = 15, int mode = 0);
void draw_grid_dot(int x, int y);
// The dots of grid indices ix0..ix1 by iy0..iy1 (dot i at 8 i), limited to the sheet.
constexpr int grid_last_index = 3000 / 8;
void draw_grid_dots(long long ix0, long long ix1, long long iy0, long long iy1);
void restore_grid_box(const line& l);
void restore_grid_along(const line& l);  // axis-parallel line

}  // namespace sdi
