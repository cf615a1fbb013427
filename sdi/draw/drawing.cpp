#include "sdi/draw/drawing.h"

#include <algorithm>

namespace sdi {

int grid_shown = 1;
draw_line_fn draw_line_hook = default_draw_line;

void default_draw_line(int x1, int y1, int x2, int y2, int colour, int mode, int style) {
  if (!pDC) return;
  pen_style ps = style == 2 ? pen_style::dot : style == 4 ? pen_style::dash : pen_style::solid;
  rop2 old_mode = rop2::copy_pen;
  if (mode == 3) old_mode = pDC->set_rop2(rop2::not_xor_pen);
  bool selected = true;
  pen old_pen;
  switch (colour) {
    case 1: old_pen = pDC->select_pen(pen{rgb(0, 0, 255), ps}); break;
    case 2: old_pen = pDC->select_pen(pen{rgb(0, 255, 0), ps}); break;
    case 4: old_pen = pDC->select_pen(pen{rgb(255, 0, 0), ps}); break;
    case 15: old_pen = pDC->select_pen(pen{rgb(255, 255, 255), ps}); break;
    default: selected = false; break;
  }
  pDC->move_to(x1, y1);
  pDC->line_to(x2, y2);
  if (mode == 3) pDC->set_rop2(old_mode);
  if (selected) pDC->select_pen(old_pen);
}

void draw_rectangle(int x1, int y1, int x2, int y2, int, int mode) {
  if (!pDC) return;
  rop2 old_mode = rop2::copy_pen;
  if (mode == 3) old_mode = pDC->set_rop2(rop2::not_);
  pDC->rectangle(x1, y1, x2, y2);
  if (mode == 3) pDC->set_rop2(old_mode);
}

void erase_rect(int x, int y, int w, int h, int, int) {
  if (!pDC) return;
  pDC->fill_rect(x - 1, y - 1, x + w, y + h, rgb(255, 255, 255));
}

void draw_grid_dot(int x, int y) {
  if (!pDC) return;
  pDC->set_pixel(x, y, grid_dot_colour);
}

namespace {
int grid_index_clamp(long long i) { return static_cast<int>(std::clamp(i, 0LL, static_cast<long long>(grid_last_index))); }
}  // namespace

void draw_grid_dots(long long ix0, long long ix1, long long iy0, long long iy1) {
  if (!pDC) return;
  // Dots exist only on the sheet: the clamp keeps a corrupt coordinate from
  // walking billions of grid points.
  const int x0 = grid_index_clamp(ix0), x1 = grid_index_clamp(ix1);
  const int y0 = grid_index_clamp(iy0), y1 = grid_index_clamp(iy1);
  if (ix1 < 0 || iy1 < 0 || ix0 > grid_last_index || iy0 > grid_last_index) return;
  for (int i = x0; i <= x1; ++i)
    for (int j = y0; j <= y1; ++j) draw_grid_dot(8 * i, 8 * j);
}

void restore_grid_box(const line& l) {
  const long long lo_x = std::min(l.x1, l.x2), hi_x = std::max(l.x1, l.x2);
  const long long lo_y = std::min(l.y1, l.y2), hi_y = std::max(l.y1, l.y2);
  draw_grid_dots((lo_x - 5) / 8, (hi_x + 5) / 8, (lo_y - 5) / 8, (hi_y + 5) / 8);
}

void restore_grid_along(const line& l) {
  if (l.y1 != l.y2) {
    const long long i = l.x1 / 8;
    draw_grid_dots(i, i, (static_cast<long long>(std::min(l.y1, l.y2)) - 5) / 8, (static_cast<long long>(std::max(l.y1, l.y2)) + 5) / 8);
  } else {
    const long long j = l.y1 / 8;
    draw_grid_dots((static_cast<long long>(std::min(l.x1, l.x2)) - 5) / 8, (static_cast<long long>(std::max(l.x1, l.x2)) + 5) / 8, j, j);
  }
}

}  // namespace sdi
