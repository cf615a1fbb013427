// A raster frame buffer that the model draws into: 32-bit pixels, row-major,
// each holding a COLORREF (0x00BBGGRR), white after construction and clear().
//
// The buffer applies the raster modes itself, so inverting highlights and
// rubber bands behave the same whatever the toolkit that shows it can do.
// Logical (sheet) coordinates map to device pixels as an anisotropic mapping:
//     device = (logical - window_org) * viewport_ext / window_ext + viewport_org
// rounded to the nearest pixel (halves up); the identity at construction.
// Pixels outside the buffer are clipped silently.
//
// Text is not rasterised here: text_out records the item (device position,
// colour, text) in texts() and passes it to text_hook when one is set, so the
// editor can render it with the toolkit's font. Texts are drawn transparently;
// styled pens leave their gaps untouched.
//
//     sdi::frame_buffer fb(800, 600);
//     fb.set_window_ext(2000, 3000); fb.set_viewport_ext(2600, 3900);
//     sdi::pDC = &fb; ...draw the circuit...; sdi::pDC = nullptr;
//     show fb.data() (fb.width() x fb.height())
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sdi/draw/draw_context.h"

namespace sdi {

class frame_buffer : public draw_context {
public:
  static constexpr colorref white = 0xFFFFFF;

  struct text_item {
    int x = 0;  // device position of the text's top-left corner
    int y = 0;
    colorref colour = 0;
    std::string text;
  };

  frame_buffer(int width = 0, int height = 0);

  // Size, pixels and recorded texts.
  void resize(int width, int height);  // contents become white
  void clear(colorref colour = white);  // also forgets the recorded texts
  int width() const { return width_; }
  int height() const { return height_; }
  const std::uint32_t* data() const { return pixels_.data(); }
  colorref pixel(int dx, int dy) const;  // device pixel; 0xFFFFFFFF outside the buffer
  const std::vector<text_item>& texts() const { return texts_; }
  std::function<void(frame_buffer&, const text_item&)> text_hook;
  void put_pixel(int dx, int dy, colorref colour);  // device pixel, no raster mode; for text renderers

  // Mapping.
  void set_window_org(int x, int y) { win_org_x_ = x; win_org_y_ = y; }
  void set_window_ext(int cx, int cy);
  void set_viewport_org(int x, int y) { vp_org_x_ = x; vp_org_y_ = y; }
  void set_viewport_ext(int cx, int cy);
  void lp_to_dp(int& x, int& y) const;
  void dp_to_lp(int& x, int& y) const;

  // draw_context
  pen select_pen(const pen& p) override;
  pen current_pen() const override { return pen_; }
  rop2 set_rop2(rop2 mode) override;
  rop2 get_rop2() const override { return rop_; }
  void move_to(int x, int y) override;
  void line_to(int x, int y) override;
  void rectangle(int l, int t, int r, int b) override;
  void fill_rect(int l, int t, int r, int b, colorref colour) override;
  void set_pixel(int x, int y, colorref colour) override;
  colorref set_text_colour(colorref colour) override;
  void select_var_pitch_font() override {}
  void text_out(int x, int y, std::string_view text) override;
  bool pt_visible(int x, int y) const override;

private:
  void plot(int dx, int dy);  // one pen pixel through the raster mode
  void device_line(int x0, int y0, int x1, int y1);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
  std::vector<text_item> texts_;
  pen pen_{};
  rop2 rop_ = rop2::copy_pen;
  colorref text_colour_ = 0;
  int pos_x_ = 0;  // current position, logical
  int pos_y_ = 0;
  int win_org_x_ = 0, win_org_y_ = 0, win_ext_x_ = 1, win_ext_y_ = 1;
  int vp_org_x_ = 0, vp_org_y_ = 0, vp_ext_x_ = 1, vp_ext_y_ = 1;
};

}  // namespace sdi
