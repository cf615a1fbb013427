// The drawing interface through which the circuit model draws.
//
// pDC names the context while a view handler draws and is null otherwise; every
// model drawing helper then does nothing. Coordinates passed in are logical
// (sheet) units; the context maps them to its device pixels. Colours are
// Windows-style COLORREFs, 0x00BBGGRR: rgb(0, 0, 255) is blue = 0xFF0000.
// Semantics follow the classic GDI rules the model was drawn for:
//   - line_to draws from the current position and leaves out the last pixel;
//   - rectangle draws the outline of l..r-1 x t..b-1 with the current pen and
//     raster mode (the brush is always null);
//   - fill_rect and set_pixel ignore the raster mode; fill_rect leaves out the
//     right column and the bottom row.
// Raster modes: copy_pen (pen colour), not_xor_pen (~(pen ^ screen): drawing
// twice restores), not_ (~screen, pen colour ignored).
#pragma once

#include <cstdint>
#include <string_view>

namespace sdi {

using colorref = std::uint32_t;

constexpr colorref rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

enum class pen_style { solid, dot, dash };
enum class rop2 { copy_pen, not_xor_pen, not_ };

struct pen {
  colorref colour = 0;
  pen_style style = pen_style::solid;

  bool operator==(const pen& p) const { return colour == p.colour && style == p.style; }
};

class draw_context {
public:
  virtual ~draw_context() = default;

  virtual pen select_pen(const pen& p) = 0;  // returns the previous pen
  virtual pen current_pen() const = 0;
  virtual rop2 set_rop2(rop2 mode) = 0;  // returns the previous mode
  virtual rop2 get_rop2() const = 0;
  virtual void move_to(int x, int y) = 0;
  virtual void line_to(int x, int y) = 0;
  virtual void rectangle(int l, int t, int r, int b) = 0;
  virtual void fill_rect(int l, int t, int r, int b, colorref colour) = 0;
  virtual void set_pixel(int x, int y, colorref colour) = 0;
  virtual colorref set_text_colour(colorref colour) = 0;  // returns the previous colour
  virtual void select_var_pitch_font() = 0;
  virtual void text_out(int x, int y, std::string_view text) = 0;
  virtual bool pt_visible(int x, int y) const = 0;
};

// The context the model draws on; null when no handler draws.
extern draw_context* pDC;

}  // namespace sdi
