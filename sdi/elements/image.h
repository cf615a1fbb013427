// Symbol images: a rectangle on the sheet, a reference point and three chains
// of parts (strokes, pins, glyphs), all relative to the image's origin.
//
//     image* im = standard_image(0);     // resistor: 13 x 51, ref (6, 25)
//     im->place_ref_at(point(200, 160)); // position (194, 135)
//     im->rotate(2);                     // quarter turn about the ref point
//     im->draw(rect(0, 0, im->w, im->h));
//
// Rotation codes as in geometry.h; turning keeps the reference point where it
// is on the sheet. Glyphs (letters) are re-centred by turns and flips but never
// turned, so letters stay upright. Everything is drawn through draw_line_hook.
// Shape tables are drawn horizontally: w, h, ref, then line segments.
#pragma once

#include <cstdint>
#include <vector>

#include "sdi/draw/geometry.h"
#include "sdi/base/list.h"

namespace sdi {

// A static shape table: size, reference point and line segments.
struct shape {
  std::int32_t w = 0;
  std::int32_t h = 0;
  std::int32_t ref_x = 0;
  std::int32_t ref_y = 0;
  std::vector<line> segments;
};

struct line_list : list {
  line l;
};

struct node : list {  // a pin position
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct label : list {  // a glyph
  rect r;                        // relative to the image's origin
  line_list* strokes = nullptr;  // relative to r's origin
  ~label() override;
};

struct part_holder {
  line_list* strokes = nullptr;
  node* pins = nullptr;
  label* glyphs = nullptr;

  part_holder() = default;
  part_holder(const part_holder&) = delete;
  part_holder& operator=(const part_holder&) = delete;
  ~part_holder();
};

class image {
public:
  std::int32_t x = 0;  // origin on the sheet
  std::int32_t y = 0;
  std::int32_t w = 0;
  std::int32_t h = 0;
  std::int32_t ref_x = 0;  // reference point, relative to the origin
  std::int32_t ref_y = 0;
  part_holder* parts = nullptr;  // owned

  image() = default;
  image(const image&) = delete;
  image& operator=(const image&) = delete;
  ~image() { delete parts; }

  // Position (0, 0), the size and reference given; turn 0 leaves it, 1 and 3
  // turn by code turn + 1, 2 by code 3.
  void init(part_holder* holder, std::int32_t w, std::int32_t h, std::int32_t rx, std::int32_t ry, int turn);
  void rotate(int code);
  void mirror();
  void place_ref_at(const point& p) { x = p.x - ref_x; y = p.y - ref_y; }
  void center_on(const point& p);
  point center() const { return point(x + w / 2, y + h / 2); }
  point ref_point() const { return point(x + ref_x, y + ref_y); }
  rect bounds() const { return rect(x, y, w, h); }
  void draw(const rect& clip) const { draw_coloured(clip, 1); }
  void draw_coloured(const rect& clip, int colour) const;  // clip relative to the origin
  void erase() const;

  // Building.
  void add_lines(const shape& s, const point& at);  // the shape's segments moved by at
  int pin_count() const;
  node* pin(int i) const;  // null past the last pin
};

const shape* shape_for_kind(int kind);  // kinds 0-4, 6, 7, 9-16, 18; else reported, null
const shape* glyph_for_char(char c);    // "P", "S", "I", "V" and the letters 'a'..'z'; else null

image* image_from_table(const shape* s);
image* image_from_shape(const shape* s);  // pins (1, h/2), (w-2, h/2), then turned by code 2
image* standard_image(int kind);
image* image_with_mark(int kind);
image* junction_element_image();
void add_pin(image* im, const point& p);
void add_label(image* im, const shape* glyph, const point& centre);
void remove_labels(image* im);

// The shared junction dot drawn by the view at wire junctions.
extern image* junction_image;

// The L shape of wires and couplings: first leg (x1, y1) to the corner, second
// leg on to (x2, y2); the corner is (x2, y1) for bend 0, else (x1, y2).
struct line_shape {
  std::int32_t x1 = 0;
  std::int32_t y1 = 0;
  std::int32_t x2 = 0;
  std::int32_t y2 = 0;
  std::int32_t colour = 1;
  std::int32_t style = 0;
  std::int32_t mode = 0;
  std::int32_t bend = 0;

  void set(int x1, int y1, int x2, int y2, int bend, int colour, int mode, int style);
  point corner() const { return bend == 0 ? point(x2, y1) : point(x1, y2); }
  line leg1() const { return line(point(x1, y1), corner()); }
  line leg2() const { return line(corner(), point(x2, y2)); }
  void draw(int colour) const;
  void highlight() const;  // each leg as a wide inverting stroke: drawing twice restores
};

int line_shape_meets_rect(const line_shape& s, const rect& r);
void draw_line_at(const line& l, const point& offset, int colour, int mode, int style);
void draw_wide_stroke(const line& l, int colour, int mode, int style);

}  // namespace sdi
