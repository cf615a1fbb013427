#include "sdi/elements/i_element.h"

#include <string>

#include "sdi/elements/bl_element.h"
#include "sdi/draw/drawing.h"
#include "sdi/base/format.h"
#include "sdi/elements/placement.h"
#include "sdi/elements/records.h"
#include "sdi/base/report.h"
#include "sdi/elements/shapes.h"

namespace sdi {

i_element::i_element(int k, int o) : element(k), orientation(o) {}

i_element::~i_element() { delete image; }

void i_element::select() {
  ++selected;
  if (image) image->draw_coloured(::sdi::rect(0, 0, image->w, image->h), 4);
}

int i_element::hit_test(const point& p) { return image ? point_in_rect(image->bounds(), p) : 0; }

void i_element::move(const point& offset) {
  if (!image) return;
  image->x += offset.x;
  image->y += offset.y;
}

void i_element::write(std::FILE* f) {
  write_common(this, f);
  write_i_part(this, f);
}

bool i_element::read(std::FILE* f, int) { return read_common(this, f) && read_i_part(this, f); }

void i_element::terminal(point& out, int i) {
  node* n = image ? image->pin(i) : nullptr;
  if (!n) {
    SDI_ASSERT_FAIL();
    out = zero_point;
    return;
  }
  out = point(n->x + image->x, n->y + image->y);
}

int i_element::has_terminal_at(const point& p) {
  if (!image || !image->parts) return 0;
  for (list* q = image->parts->pins; q; q = q->next) {
    const node* n = static_cast<node*>(q);
    if (point(n->x + image->x, n->y + image->y) == p) return 1;
  }
  return 0;
}

int i_element::overlaps_rect(const ::sdi::rect& r) { return image ? rects_overlap(image->bounds(), r) : 0; }

int i_element::overlaps(element* e) {
  if (!e || !image) return 0;
  if (is_line_element(e->kind)) return rect_meets_line(image->bounds(), line(e->terminal_at(0), e->terminal_at(1)));
  i_element* s = static_cast<i_element*>(e);
  return s->image ? rects_overlap(image->bounds(), s->image->bounds()) : 0;
}

void i_element::clip_to_rect(::sdi::rect& out, const ::sdi::rect& r) {
  out = image ? rect_intersection(image->bounds(), r) : zero_rect;
}

void i_element::clip_to_element(::sdi::rect& out, element* e) {
  if (!image || !e) {
    out = zero_rect;
    return;
  }
  i_element* s = is_line_element(e->kind) ? nullptr : static_cast<i_element*>(e);
  if (s && s->image) out = rect_intersection(image->bounds(), s->image->bounds());
  else out = ::sdi::rect(0, 0, image->w, image->h);
}

void i_element::draw_clipped(const ::sdi::rect& clip) {
  if (image) image->draw_coloured(clip, selected ? 4 : 1);
}

void i_element::draw_image_alone() {
  if (image) image->draw_coloured(::sdi::rect(0, 0, image->w, image->h), selected ? 4 : 1);
}

void i_element::draw() {
  if (!image) return;
  if (selected) {
    image->draw_coloured(::sdi::rect(0, 0, image->w, image->h), 4);
    return;
  }
  image->draw(::sdi::rect(0, 0, image->w, image->h));
  draw_texts();
}

void i_element::name_text(int dx, int dy) {
  pDC->text_out(image->x + dx, image->y + dy, name_);
}

void i_element::value_text(int dx, int dy, const char* prefix, double v) {
  pDC->text_out(image->x + dx, image->y + dy, std::string(prefix) + FormatEngineering(v, 2));
}

void i_element::draw_texts() {
  if (!pDC) return;
  pDC->select_var_pitch_font();
  colorref old = pDC->set_text_colour(text_colour);
  const bool vertical = orientation == 1 || orientation == 3;
  const int k = kind;
  const bool own_layout = k == 9 || k == 10 || (k >= 20 && k <= 31) || k == 34 || k == 36;
  if (flags.test(flag_values_set) && !own_layout) {
    if (vertical) {
      name_text(12, 6);
      value_text(8, 37, "", values[0]);
    } else {
      name_text(3, -10);
      value_text(3, 12, "", values[0]);
    }
  }
  if (k == 9 || k == 10 || k == 29) {
    if (vertical) name_text(12, 5);
    else name_text(3, -12);
  }
  if (k == kind_switch) {
    switch (orientation) {
      case 0: name_text(0, 3); break;
      case 1: name_text(-11, 3); break;
      case 2: name_text(30, 22); break;
      case 3: name_text(24, 38); break;
      default: break;
    }
  }
  if (k == kind_modulator) {
    value_text(12, 105, "k1 = ", values[1]);
    value_text(12, 117, "k2 = ", values[2]);
    value_text(12, 129, "k3 = ", values[3]);
    value_text(12, 141, "Vpk = ", values[4]);
    value_text(12, 153, "Period = ", values[5]);
  }
  if (k == kind_clock) {
    if (vertical) {
      value_text(20, 3, "Del = ", values[1]);
      value_text(20, 15, "Per = ", values[2]);
    } else {
      value_text(3, 18, "Del = ", values[1]);
      value_text(3, 30, "Per = ", values[2]);
    }
  }
  if (k == kind_multiplier) {
    if (vertical) value_text(0, -15, "", values[0]);
    else value_text(20, -15, "", values[0]);
  }
  if (k == kind_upper_limiter || k == kind_lower_limiter) {
    if (vertical) {
      name_text(15, 3);
      value_text(12, 38, "", values[0]);
    } else {
      name_text(3, -12);
      value_text(4, 22, "", values[0]);
    }
  }
  pDC->set_text_colour(old);
}

void i_element::place_at(const point& p) {
  if (flags.test(flag_on_sheet)) erase();
  else flags.set(flag_on_sheet);
  if (image) image->place_ref_at(p);
  draw();
}

void i_element::rotate() {
  erase();
  orientation = orientation == 3 ? 0 : orientation + 1;
  if (image) image->rotate(2);
  snap_image();
  draw_image_alone();
}

void i_element::rotate_half() {
  erase();
  orientation += 2;
  if (orientation > 3) orientation -= 4;
  if (image) image->rotate(3);
  snap_image();
  draw_image_alone();
}

void i_element::mirror() {
  erase();
  mirrored = mirrored ? 0 : 1;
  if (image) image->mirror();
  snap_image();
  draw_image_alone();
}

point i_element::center() { return image ? image->center() : zero_point; }

point i_element::ref_point() { return image ? image->ref_point() : zero_point; }

::sdi::rect i_element::rect() {
  if (!image) {
    SDI_ASSERT_FAIL();
    return zero_rect;
  }
  return image->bounds();
}

void i_element::erase() {
  if (!image) {
    SDI_ASSERT_FAIL();
    return;
  }
  if (!pDC) return;
  image->erase();
  redraw_around(this);
}

void i_element::snap_image() {
  if (!image) return;
  point r = image->ref_point();
  image->place_ref_at(snap_to_grid(r.x, r.y));
}

void i_element::apply_shape_records(const shape_record* records) {
  if (nodes.count() != 0) SDI_ASSERT_FAIL();
  if (!image) image = image_from_table(nullptr);
  for (const shape_record* r = records; r; ++r) {
    if (r->code == 0) break;
    if (r->code == 1) {
      const shape* s = class_shape(r->lines);
      if (s) image->add_lines(*s, point(r->x, r->y));
    } else if (r->code == 2) {
      add_pin(image, point(r->x, r->y));
      nodes.append(-1);
    } else {
      SDI_INTERNAL();
      break;
    }
  }
}

bl_element* as_bl_element(element* e) {
  return checked_cast<bl_element>(e, e && is_line_element(e->kind));
}
cmutind* as_cmutind(element* e) { return checked_cast<cmutind>(e, e && e->kind == kind_mutual); }
i_element* as_i_element(element* e) {
  return checked_cast<i_element>(e, e && !is_line_element(e->kind));
}

}  // namespace sdi
