#include "sdi/draw/frame_buffer.h"

#include <algorithm>
#include <cstdlib>

namespace sdi {

draw_context* pDC = nullptr;

namespace {
// v * num / den rounded to the nearest integer, halves upwards.
int scale(long long v, long long num, long long den) {
  if (den < 0) { num = -num; den = -den; }
  long long a = 2 * v * num + den;
  long long d = 2 * den;
  long long q = a / d;
  if ((a % d != 0) && ((a < 0) != (d < 0))) --q;  // floor division
  return static_cast<int>(q);
}

// On/off lengths of the styled cosmetic pens, in pixels.
bool pattern_on(pen_style style, int i) {
  switch (style) {
    case pen_style::dot: return (i % 6) < 3;
    case pen_style::dash: return (i % 24) < 18;
    default: return true;
  }
}
}  // namespace

frame_buffer::frame_buffer(int width, int height) { resize(width, height); }

void frame_buffer::resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), white);
  texts_.clear();
}

void frame_buffer::clear(colorref colour) {
  std::fill(pixels_.begin(), pixels_.end(), colour & 0xFFFFFFu);
  texts_.clear();
}

colorref frame_buffer::pixel(int dx, int dy) const {
  if (dx < 0 || dy < 0 || dx >= width_ || dy >= height_) return 0xFFFFFFFFu;
  return pixels_[static_cast<std::size_t>(dy) * width_ + dx];
}

void frame_buffer::put_pixel(int dx, int dy, colorref colour) {
  if (dx < 0 || dy < 0 || dx >= width_ || dy >= height_) return;
  pixels_[static_cast<std::size_t>(dy) * width_ + dx] = colour & 0xFFFFFFu;
}

void frame_buffer::set_window_ext(int cx, int cy) {
  win_ext_x_ = cx == 0 ? 1 : cx;
  win_ext_y_ = cy == 0 ? 1 : cy;
}

void frame_buffer::set_viewport_ext(int cx, int cy) {
  vp_ext_x_ = cx == 0 ? 1 : cx;
  vp_ext_y_ = cy == 0 ? 1 : cy;
}

void frame_buffer::lp_to_dp(int& x, int& y) const {
  x = scale(static_cast<long long>(x) - win_org_x_, vp_ext_x_, win_ext_x_) + vp_org_x_;
  y = scale(static_cast<long long>(y) - win_org_y_, vp_ext_y_, win_ext_y_) + vp_org_y_;
}

void frame_buffer::dp_to_lp(int& x, int& y) const {
  x = scale(static_cast<long long>(x) - vp_org_x_, win_ext_x_, vp_ext_x_) + win_org_x_;
  y = scale(static_cast<long long>(y) - vp_org_y_, win_ext_y_, vp_ext_y_) + win_org_y_;
}

pen frame_buffer::select_pen(const pen& p) {
  pen old = pen_;
  pen_ = p;
  return old;
}

rop2 frame_buffer::set_rop2(rop2 mode) {
  rop2 old = rop_;
  rop_ = mode;
  return old;
}

void frame_buffer::plot(int dx, int dy) {
  if (dx < 0 || dy < 0 || dx >= width_ || dy >= height_) return;
  std::uint32_t& d = pixels_[static_cast<std::size_t>(dy) * width_ + dx];
  switch (rop_) {
    case rop2::copy_pen: d = pen_.colour & 0xFFFFFFu; break;
    case rop2::not_xor_pen: d = ~(pen_.colour ^ d) & 0xFFFFFFu; break;
    case rop2::not_: d = ~d & 0xFFFFFFu; break;
  }
}

// From (x0, y0) towards (x1, y1), the end pixel left out. Pixel i along the
// major axis has its minor offset rounded from i * minor / major, so only the
// steps that fall inside the buffer are visited: a line from a corrupt file
// running billions of units off the screen costs no more than one across it.
// The pen pattern counts from the line's start whatever is clipped.
void frame_buffer::device_line(int x0, int y0, int x1, int y1) {
  const long long dx = static_cast<long long>(x1) - x0, dy = static_cast<long long>(y1) - y0;
  const long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool x_major = adx >= ady;
  const long long n = x_major ? adx : ady;  // pixels drawn: 0 .. n-1
  if (n == 0) return;
  const long long minor = x_major ? ady : adx;
  const int smaj = (x_major ? dx : dy) < 0 ? -1 : 1;
  const int smin = (x_major ? dy : dx) < 0 ? -1 : 1;
  const long long start = x_major ? x0 : y0;
  const long long size = x_major ? width_ : height_;
  // Steps whose major coordinate lies in 0 .. size-1.
  long long lo = smaj > 0 ? -start : start - (size - 1);
  long long hi = smaj > 0 ? size - 1 - start : start;
  lo = std::max(lo, 0LL);
  hi = std::min(hi, n - 1);
  for (long long i = lo; i <= hi; ++i) {
    if (!pattern_on(pen_.style, static_cast<int>(i % 24))) continue;
    // Rounded i * minor / n; the product needs more than 64 bits for lines of billions of units.
    const long long m = static_cast<long long>((static_cast<__int128>(2 * i) * minor + n) / (2 * static_cast<__int128>(n)));
    const long long a = start + smaj * i;
    const long long b = (x_major ? y0 : x0) + smin * m;
    if (x_major) plot(static_cast<int>(a), static_cast<int>(std::clamp(b, -1LL, static_cast<long long>(height_))));
    else plot(static_cast<int>(std::clamp(b, -1LL, static_cast<long long>(width_))), static_cast<int>(a));
  }
}

void frame_buffer::move_to(int x, int y) {
  pos_x_ = x;
  pos_y_ = y;
}

void frame_buffer::line_to(int x, int y) {
  int x0 = pos_x_, y0 = pos_y_, x1 = x, y1 = y;
  lp_to_dp(x0, y0);
  lp_to_dp(x1, y1);
  device_line(x0, y0, x1, y1);
  pos_x_ = x;
  pos_y_ = y;
}

void frame_buffer::rectangle(int l, int t, int r, int b) {
  lp_to_dp(l, t);
  lp_to_dp(r, b);
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  const int right = r - 1, bottom = b - 1;
  if (right < l || bottom < t) return;
  // Every outline pixel exactly once, so an inverting outline drawn twice
  // restores; the loops visit only what lies in the buffer.
  const int x_from = std::max(l, 0), x_to = std::min(right, width_ - 1);
  const int y_from = std::max(t + 1, 0), y_to = std::min(bottom - 1, height_ - 1);
  for (int x = x_from; x <= x_to; ++x) plot(x, t);
  if (bottom != t)
    for (int x = x_from; x <= x_to; ++x) plot(x, bottom);
  for (int y = y_from; y <= y_to; ++y) plot(l, y);
  if (right != l)
    for (int y = y_from; y <= y_to; ++y) plot(right, y);
}

void frame_buffer::fill_rect(int l, int t, int r, int b, colorref colour) {
  lp_to_dp(l, t);
  lp_to_dp(r, b);
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  l = std::max(l, 0);
  t = std::max(t, 0);
  r = std::min(r, width_);
  b = std::min(b, height_);
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) pixels_[static_cast<std::size_t>(y) * width_ + x] = colour & 0xFFFFFFu;
}

void frame_buffer::set_pixel(int x, int y, colorref colour) {
  lp_to_dp(x, y);
  put_pixel(x, y, colour);
}

colorref frame_buffer::set_text_colour(colorref colour) {
  colorref old = text_colour_;
  text_colour_ = colour;
  return old;
}

void frame_buffer::text_out(int x, int y, std::string_view text) {
  lp_to_dp(x, y);
  text_item item{x, y, text_colour_, std::string(text)};
  texts_.push_back(item);
  if (text_hook) text_hook(*this, item);
}

bool frame_buffer::pt_visible(int x, int y) const {
  lp_to_dp(x, y);
  return x >= 0 && y >= 0 && x < width_ && y < height_;
}

}  // namespace sdi
