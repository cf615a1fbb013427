// Line-shaped elements: the wire `cline` (kind 5) and the mutual coupling
// `cmutind` (kind 8). Terminal 0 is the first end, terminal 1 the second.
// A wire runs as an L through line_shape::corner(); a coupling is drawn as a
// straight dotted line between the centres of its two inductors.
#pragma once

#include "sdi/elements/element.h"
#include "sdi/elements/image.h"

namespace sdi {

class bl_element : public element {
public:
  line_shape shape;  // x1, y1, x2, y2, colour (1), style, mode, bend

  explicit bl_element(int kind) : element(kind) {}

  void select() override;  // wide inverting stroke along both legs; the count is unchanged
  int hit_test(const point& p) override;
  void move(const point& offset) override;
  void write(std::FILE* f) override;
  bool read(std::FILE* f, int version = circuit_version) override;
  void terminal(point& out, int i) override;
  int has_terminal_at(const point& p) override;
  int overlaps_rect(const rect& r) override;
  int overlaps(element* e) override;
  void clip_to_rect(rect& out, const rect& r) override;
  void clip_to_element(rect& out, element* e) override;
  void draw_clipped(const rect& clip) override;
  void draw() override;
  void place_at(const point& p) override;
  void rotate() override {}
  void mirror() override {}

  // White along the L, grid dots restored along each leg.
  virtual void erase();
};

class cline : public bl_element {
public:
  cline();
};

class cmutind : public bl_element {
public:
  char name_[8] = {};
  char netname_[8] = {};
  std::int32_t inductor1 = 0;
  std::int32_t inductor2 = 0;

  cmutind();

  int hit_test(const point& p) override;
  void write(std::FILE* f) override;
  // Versions other than 105 have no name fields.
  bool read(std::FILE* f, int version = circuit_version) override;
  char* name() override { return name_; }
  char* netname() override { return netname_; }
  int value_faults() override;  // both inductors and a coupling
  void netlist_rows(rlist& rows) override;  // the coupling of its two inductors
  bool shift_references(int offset, const std::set<int>& lookup) override;
  void draw() override;
  void erase() override;

private:
  void redraw_line(bool erase_only);
};

}  // namespace sdi
