#include "sdi/drawing.h"

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

void restore_grid_box(const line& l) {
  if (!pDC) return;
  const int ix0 = (std::min(l.x1, l.x2) - 5) / 8, ix1 = (std::max(l.x1, l.x2) + 5) / 8;
  const int iy0 = (std::min(l.y1, l.y2) - 5) / 8, iy1 = (std::max(l.y1, l.y2) + 5) / 8;
  for (int i = ix0; i <= ix1; ++i)
    for (int j = iy0; j <= iy1; ++j) draw_grid_dot(8 * i, 8 * j);
}

void restore_grid_along(const line& l) {
  if (!pDC) return;
  if (l.y1 != l.y2) {
    const int x = l.x1 / 8 * 8;
    for (int j = (std::min(l.y1, l.y2) - 5) / 8; j <= (std::max(l.y1, l.y2) + 5) / 8; ++j) draw_grid_dot(x, 8 * j);
  } else {
    const int y = l.y1 / 8 * 8;
    for (int i = (std::min(l.x1, l.x2) - 5) / 8; i <= (std::max(l.x1, l.x2) + 5) / 8; ++i) draw_grid_dot(8 * i, y);
  }
}

}  // namespace sdi
