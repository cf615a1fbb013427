#include "sdi/elements/image.h"

#include <utility>

#include "sdi/draw/drawing.h"
#include "sdi/elements/kinds.h"
#include "sdi/base/report.h"

namespace sdi {

namespace {

template <class T>
void append(T*& head, T* n) {
  if (!head) {
    head = n;
    return;
  }
  list* p = head;
  while (p->next) p = p->next;
  p->next = n;
}

line_list* stroke_chain(const std::vector<line>& segs, const point& at) {
  line_list* head = nullptr;
  line_list* tail = nullptr;
  for (const line& s : segs) {
    line_list* n = new line_list;
    n->l = line(s.x1 + at.x, s.y1 + at.y, s.x2 + at.x, s.y2 + at.y);
    if (tail) tail->next = n; else head = n;
    tail = n;
  }
  return head;
}
}  // namespace

image* junction_image = nullptr;

label::~label() { list_free_chain(strokes); }

part_holder::~part_holder() {
  list_free_chain(strokes);
  list_free_chain(pins);
  list_free_chain(glyphs);
}

void image::init(part_holder* holder, std::int32_t w_, std::int32_t h_, std::int32_t rx, std::int32_t ry, int turn) {
  if (holder != parts) {
    delete parts;
    parts = holder;
  }
  x = y = 0;
  w = w_;
  h = h_;
  ref_x = rx;
  ref_y = ry;
  if (turn == 1 || turn == 3) rotate(turn + 1);
  else if (turn == 2) rotate(3);
}

void image::rotate(int code) {
  if (code < 1 || code > 4) {
    SDI_INTERNAL();
    return;
  }
  const point sheet_ref = ref_point();
  const point box(w, h);
  if (parts) {
    for (list* p = parts->strokes; p; p = p->next) {
      line_list* s = static_cast<line_list*>(p);
      s->l = rotate_line(s->l, box, code);
    }
    for (list* p = parts->pins; p; p = p->next) {
      node* n = static_cast<node*>(p);
      point q = rotate_point(point(n->x, n->y), box, code);
      n->x = q.x;
      n->y = q.y;
    }
    for (list* p = parts->glyphs; p; p = p->next) {
      label* g = static_cast<label*>(p);
      g->r.center_on(rotate_point(g->r.center(), box, code));
    }
  }
  point r = rotate_point(point(ref_x, ref_y), box, code);
  ref_x = r.x;
  ref_y = r.y;
  if (code == 2 || code == 4) std::swap(w, h);
  x = sheet_ref.x - ref_x;
  y = sheet_ref.y - ref_y;
}

void image::mirror() {
  if (!parts) return;
  const point box(w, h);
  for (list* p = parts->strokes; p; p = p->next) {
    line_list* s = static_cast<line_list*>(p);
    s->l = mirror_line(s->l, box);
  }
  for (list* p = parts->pins; p; p = p->next) {
    node* n = static_cast<node*>(p);
    n->x = w - n->x - 1;
  }
  for (list* p = parts->glyphs; p; p = p->next) {
    label* g = static_cast<label*>(p);
    g->r.center_on(mirror_point(g->r.center(), box));
  }
}

void image::center_on(const point& p) {
  rect r(x, y, w, h);
  r.center_on(p);
  x = r.x;
  y = r.y;
}

void image::draw_coloured(const rect& clip, int colour) const {
  if (!parts) {
    SDI_ASSERT_FAIL();
    return;
  }
  if (clip.w == 0 && clip.h == 0) SDI_ASSERT_FAIL();
  const bool whole = clip.same_size(rect(0, 0, w, h));
  const point at(x, y);
  for (list* p = parts->strokes; p; p = p->next) {
    const line& l = static_cast<line_list*>(p)->l;
    if (whole || rects_overlap(l.bounds(), clip)) draw_line_at(l, at, colour, 0, 0);
  }
  for (list* p = parts->glyphs; p; p = p->next) {
    const label* g = static_cast<label*>(p);
    if (!whole && !rects_overlap(g->r, clip)) continue;
    const point gat(x + g->r.x, y + g->r.y);
    for (list* q = g->strokes; q; q = q->next) draw_line_at(static_cast<line_list*>(q)->l, gat, colour, 0, 0);
  }
}

void image::erase() const {
  erase_rect(x, y, w, h);
  if (!grid_shown) return;
  draw_grid_dots((static_cast<long long>(x) - 1) / 8, (static_cast<long long>(x) + w) / 8,
                 (static_cast<long long>(y) - 1) / 8, (static_cast<long long>(y) + h) / 8);
}

void image::add_lines(const shape& s, const point& at) {
  if (!parts) parts = new part_holder;
  line_list* chain = stroke_chain(s.segments, at);
  if (chain) append(parts->strokes, chain);
}

int image::pin_count() const { return parts ? list_count(parts->pins) : 0; }

node* image::pin(int i) const {
  if (!parts || i < 0) return nullptr;
  list* p = parts->pins;
  for (int k = 0; p && k < i; ++k) p = p->next;
  return static_cast<node*>(p);
}

image* image_from_table(const shape* s) {
  image* im = new image;
  im->parts = new part_holder;
  if (!s) return im;
  im->w = s->w;
  im->h = s->h;
  im->ref_x = s->ref_x;
  im->ref_y = s->ref_y;
  im->parts->strokes = stroke_chain(s->segments, point(0, 0));
  return im;
}

image* image_from_shape(const shape* s) {
  image* im = image_from_table(s);
  add_pin(im, point(1, im->h / 2));
  add_pin(im, point(im->w - 2, im->h / 2));
  im->rotate(2);
  return im;
}

image* standard_image(int kind) { return image_from_shape(shape_for_kind(kind)); }

image* image_with_mark(int kind) {
  image* im = standard_image(kind);
  const kind_descriptor& d = describe(kind);
  if (!d.mark) {
    SDI_INTERNAL_CASE();
    return im;
  }
  const point at = d.mark_x < 0 ? point(im->w / 2, im->h / 2) : point(d.mark_x, d.mark_y);
  add_label(im, glyph_for_char(d.mark), at);
  return im;
}

image* junction_element_image() {
  image* im = image_from_shape(shape_for_kind(kind_junction));
  node* a = im->pin(0);
  node* b = im->pin(1);
  if (!a || !b) {
    SDI_ASSERT_FAIL();
    return im;
  }
  a->x = b->x = 1;
  a->y = b->y = 1;
  return im;
}

void add_pin(image* im, const point& p) {
  if (!im) return;
  if (!im->parts) im->parts = new part_holder;
  node* n = new node;
  n->x = p.x;
  n->y = p.y;
  append(im->parts->pins, n);
}

void add_label(image* im, const shape* glyph, const point& centre) {
  if (!im || !glyph) return;
  if (!im->parts) im->parts = new part_holder;
  label* g = new label;
  g->r = rect(centre.x - glyph->w / 2, centre.y - glyph->h / 2, glyph->w, glyph->h);
  g->strokes = stroke_chain(glyph->segments, point(0, 0));
  append(im->parts->glyphs, g);
}

void remove_labels(image* im) {
  if (!im || !im->parts) return;
  list_free_chain(im->parts->glyphs);
  im->parts->glyphs = nullptr;
}

void line_shape::set(int x1_, int y1_, int x2_, int y2_, int bend_, int colour_, int mode_, int style_) {
  x1 = x1_;
  y1 = y1_;
  x2 = x2_;
  y2 = y2_;
  bend = bend_;
  colour = colour_;
  mode = mode_;
  style = style_;
}

void line_shape::draw(int c) const {
  draw_line_at(leg1(), point(0, 0), c, mode, style);
  draw_line_at(leg2(), point(0, 0), c, mode, style);
}

void line_shape::highlight() const {
  draw_wide_stroke(leg1(), colour, 3, 0);
  draw_wide_stroke(leg2(), colour, 3, 0);
}

int line_shape_meets_rect(const line_shape& s, const rect& r) {
  return (rect_meets_line(r, s.leg1()) || rect_meets_line(r, s.leg2())) ? 1 : 0;
}

void draw_line_at(const line& l, const point& offset, int colour, int mode, int style) {
  draw_line_hook(l.x1 + offset.x, l.y1 + offset.y, l.x2 + offset.x, l.y2 + offset.y, colour, mode, style);
}

void draw_wide_stroke(const line& l, int colour, int mode, int style) {
  draw_line_hook(l.x1, l.y1, l.x2, l.y2, colour, mode, style);
  const bool vertical = l.width() == 1;
  for (int d = -3; d <= 3; ++d) {
    if (vertical) draw_line_hook(l.x1 + d, l.y1, l.x2 + d, l.y2, colour, mode, style);
    else draw_line_hook(l.x1, l.y1 + d, l.x2, l.y2 + d, colour, mode, style);
  }
}

}  // namespace sdi
