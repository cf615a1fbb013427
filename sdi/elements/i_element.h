// Symbol elements: everything but wires and couplings. Each owns an image
// (image.h) placed on the sheet by its reference point; terminal i is pin i
// of the image. Orientation is 1 as first drawn, then 2, 3, 0 for each further
// quarter turn.
#pragma once

#include "sdi/elements/element.h"
#include "sdi/elements/image.h"

namespace sdi {

class i_element : public element {
public:
  ::sdi::image* image = nullptr;  // owned
  std::int32_t orientation = 1;
  std::int32_t mirrored = 0;
  char name_[8] = {};
  char netname_[8] = {};

  i_element(int kind, int orientation);
  ~i_element() override;

  void select() override;  // count + 1, image drawn in red
  void deselect() override { selected = 0; }
  int hit_test(const point& p) override;
  void move(const point& offset) override;
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  char* name() override { return name_; }
  char* netname() override { return netname_; }
  void terminal(point& out, int i) override;
  int has_terminal_at(const point& p) override;
  int overlaps_rect(const rect& r) override;
  int overlaps(element* e) override;
  void clip_to_rect(rect& out, const rect& r) override;
  void clip_to_element(rect& out, element* e) override;
  void draw_clipped(const rect& clip) override;
  void draw() override;
  void place_at(const point& p) override;
  void rotate() override;  // quarter turn
  void mirror() override;

  point center();
  point ref_point();
  ::sdi::rect rect();
  void erase();       // white over the image, grid dots back, then what it covered
  void snap_image();  // reference point to snap_to_grid of itself
  void rotate_half(); // the rotate of op-amps and current senses

protected:
  void draw_image_alone();
  void draw_texts();
  void value_text(int dx, int dy, const char* prefix, double v);
  void name_text(int dx, int dy);
  // Shape records: lines and pins added to the image; pins append node -1.
  void apply_shape_records(const struct shape_record* records);
};

// Checked casts: null (reported) for a null pointer or a wrong kind.
class bl_element;
class cmutind;
class xform;
class depsource;
bl_element* as_bl_element(element* e);
cmutind* as_cmutind(element* e);
xform* as_xform(element* e);
depsource* as_depsource(element* e);
i_element* as_i_element(element* e);

}  // namespace sdi
