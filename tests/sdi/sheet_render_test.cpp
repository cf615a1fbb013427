// One element of every class drawn on the sheet, as runs of coloured pixels
// and the texts beside the symbols, against a picture checked by eye once
// (tests/sdi/data/sheet*.txt; ZORV_UPDATE_GOLDEN=1 writes them again: review
// the difference before committing it).
#include <gtest/gtest.h>

#include <sstream>

#include "capture.h"
#include "ckt_builder.h"
#include "netlist_writer_circuits.h"
#include "sdi/draw/drawing.h"
#include "sdi/draw/frame_buffer.h"

namespace {

// Texts, then each row's runs of non-white pixels: "y x0-x1 colour".
std::string picture(const sdi::frame_buffer& fb) {
  std::ostringstream out;
  for (const auto& t : fb.texts()) out << "text " << t.x << ' ' << t.y << ' ' << std::hex << t.colour << std::dec << " '" << t.text << "'\n";
  for (int y = 0; y < fb.height(); ++y) {
    std::ostringstream row;
    for (int x = 0; x < fb.width();) {
      const sdi::colorref c = fb.pixel(x, y);
      int end = x;
      while (end + 1 < fb.width() && fb.pixel(end + 1, y) == c) ++end;
      if (c != sdi::frame_buffer::white) row << ' ' << x << '-' << end << ' ' << std::hex << c << std::dec;
      x = end + 1;
    }
    if (!row.str().empty()) out << y << row.str() << '\n';
  }
  return out.str();
}

void expect_picture(const sdi::frame_buffer& fb, const std::string& name) {
  if (const char* u = std::getenv("ZORV_UPDATE_GOLDEN"); u && *u == '1') {
    std::ofstream(std::string(ZORV_TEST_DATA) + "/" + name, std::ios::binary) << picture(fb);
    return;
  }
  const std::string want = slurp(std::string(ZORV_TEST_DATA) + "/" + name);
  ASSERT_FALSE(want.empty()) << name;
  EXPECT_TRUE(picture(fb) == want) << name << " differs (ZORV_UPDATE_GOLDEN=1 rewrites it; git diff shows where)";
}

// Every class, each symbol turned by its place in the list (so every
// orientation and mirror shows), named, its values entered, some selected.
void build_scene() {
  add_network_elements();
  add_control_and_sources();
  int i = 0;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next), ++i) {
    sdi::element* e = n->value;
    e->flags.set(sdi::flag_values_set);
    if (sdi::is_line_element(e->kind)) continue;
    for (int k = 0; k < i % 5; ++k) e->rotate();
    if (i % 8 == 3) e->select();
  }
}

struct OnSheet {
  sdi::frame_buffer fb;
  OnSheet(int w, int h) : fb(w, h) { sdi::pDC = &fb; }
  ~OnSheet() { sdi::pDC = nullptr; }
};

}  // namespace

TEST(SheetRender, EveryClassDrawnWithGridTextsAndEdits) {
  CircuitGuard guard;
  build_scene();
  OnSheet s(1000, 880);
  sdi::draw_grid_dots(0, 40, 0, 25);  // around the erased element
  sdi::redraw_others(nullptr);
  // Edits that must leave the picture whole: an element erased (grid and
  // neighbours come back), a wire erased over the grid (its dots come back
  // along both legs), another selected twice (inverted, then restored), and
  // a rubber band inverted across the top edge.
  sdi::erase_element(sdi::circuit.get(2));
  std::vector<sdi::element*> wires;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value->kind == sdi::kind_wire) wires.push_back(n->value);
  ASSERT_EQ(wires.size(), 2u);
  sdi::erase_element(wires[0]);
  wires[1]->select();
  wires[1]->select();
  sdi::draw_rectangle(900, -1, 960, 40, 4, 3);
  expect_picture(s.fb, "sheet.txt");
}

TEST(SheetRender, ScaledAndScrolledView) {
  CircuitGuard guard;
  build_scene();
  OnSheet s(400, 300);
  s.fb.set_window_ext(2000, 3000);
  s.fb.set_viewport_ext(1000, 1000);
  s.fb.set_viewport_org(-40, -20);
  sdi::draw_grid_dots(0, 120, 0, 10);  // the first rows, right and left of the view
  sdi::redraw_others(nullptr);
  expect_picture(s.fb, "sheet_scaled.txt");
  EXPECT_TRUE(s.fb.pt_visible(100, 100));
  EXPECT_FALSE(s.fb.pt_visible(900, 100));  // right of the view
}

// A fill reaching past every edge paints the whole buffer and nothing beyond it.
TEST(SheetRender, FillPastTheEdgesStaysInTheBuffer) {
  sdi::frame_buffer fb(4, 3);
  fb.fill_rect(-5, -5, 10, 10, 0x123456);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(fb.pixel(x, y), 0x123456u) << x << " " << y;
  for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{4, 0}, std::pair{0, 3}})
    EXPECT_EQ(fb.pixel(x, y), 0xFFFFFFFFu) << x << " " << y;  // outside: no colour
}

// The rubber band inverts what lies under its outline, whatever its colour, and
// the same band drawn again gives the picture back.
TEST(SheetRender, RubberBandInvertsAndRestores) {
  CircuitGuard guard;
  OnSheet s(200, 120);
  add_wire(sdi::point(20, 40), sdi::point(180, 40));  // a blue line across the band's left edge
  sdi::redraw_others(nullptr);
  const sdi::frame_buffer before = s.fb;
  ASSERT_EQ(before.pixel(50, 40), sdi::rgb(0, 0, 255));
  sdi::draw_rectangle(50, 20, 120, 80, 4, 3);
  EXPECT_EQ(s.fb.pixel(50, 40), sdi::rgb(255, 255, 0));  // blue inverted
  EXPECT_EQ(s.fb.pixel(50, 30), 0x000000u);  // white inverted
  EXPECT_EQ(s.fb.pixel(80, 40), sdi::rgb(0, 0, 255));  // inside the band: untouched
  EXPECT_EQ(s.fb.get_rop2(), sdi::rop2::copy_pen);
  sdi::draw_rectangle(50, 20, 120, 80, 4, 3);
  EXPECT_EQ(picture(s.fb), picture(before));
}

// A coupling is drawn between its inductors' centres wherever its ends were
// left; an end whose inductor is gone stays where it was.
TEST(SheetRender, CouplingFollowsItsInductors) {
  CircuitGuard guard;
  OnSheet s(600, 300);
  auto* l1 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), sdi::point(200, 160));
  auto* l2 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), sdi::point(400, 160));
  auto* m = add_coupling(sdi::point(8, 8), sdi::point(16, 16));
  m->inductor1 = l1->id;
  m->inductor2 = l2->id;
  auto ends = [m] { return std::pair(sdi::point(m->shape.x1, m->shape.y1), sdi::point(m->shape.x2, m->shape.y2)); };
  m->draw();
  EXPECT_EQ(ends(), std::pair(l1->center(), l2->center()));
  const sdi::point kept = l2->center();
  l1->move(sdi::point(0, 40));
  l2->move(sdi::point(0, 40));
  m->inductor2 = 99;
  m->draw();
  EXPECT_EQ(ends(), std::pair(l1->center(), kept));
}

// Sheet and device coordinates under a half-by-third scale with both origins
// moved: each way rounds to the nearest, halves upwards.
TEST(SheetRender, MappingBetweenSheetAndDevice) {
  sdi::frame_buffer fb(10, 10);
  fb.set_window_ext(2000, 3000);
  fb.set_viewport_ext(1000, 1000);
  fb.set_window_org(10, 30);
  fb.set_viewport_org(-40, -20);
  const struct { sdi::point sheet, device; } to_device[] = {
      {{210, 120}, {60, 10}}, {{211, 121}, {61, 10}}, {{212, 122}, {61, 11}}, {{7, 27}, {-41, -21}}, {{8, 28}, {-41, -21}},
  };
  for (const auto& row : to_device) {
    int x = row.sheet.x, y = row.sheet.y;
    fb.lp_to_dp(x, y);
    EXPECT_EQ(sdi::point(x, y), row.device) << row.sheet.x << "," << row.sheet.y;
  }
  const struct { sdi::point device, sheet; } to_sheet[] = {{{60, 10}, {210, 120}}, {{-41, -21}, {8, 27}}, {{0, 0}, {90, 90}}};
  for (const auto& row : to_sheet) {
    int x = row.device.x, y = row.device.y;
    fb.dp_to_lp(x, y);
    EXPECT_EQ(sdi::point(x, y), row.sheet) << row.device.x << "," << row.device.y;
  }
  // Outlines and fills are mapped too: sheet (250,150)-(330,240) is device (80,20)-(120,50).
  fb.resize(200, 100);
  fb.rectangle(250, 150, 330, 240);
  for (auto [x, y] : {std::pair{80, 20}, std::pair{119, 20}, std::pair{80, 49}, std::pair{119, 49}})
    EXPECT_EQ(fb.pixel(x, y), 0u) << x << "," << y;
  for (auto [x, y] : {std::pair{81, 21}, std::pair{120, 50}, std::pair{79, 20}, std::pair{80, 19}})
    EXPECT_EQ(fb.pixel(x, y), sdi::frame_buffer::white) << x << "," << y;
  fb.fill_rect(250, 150, 330, 240, 0x123456);
  EXPECT_EQ(fb.pixel(100, 35), 0x123456u);
  EXPECT_EQ(fb.pixel(120, 35), sdi::frame_buffer::white);
}

// Erasing an image whitens one unit around its left and top edges and puts back
// the grid dots of x indices (x - 1) / 8 to (x + w) / 8, y likewise.
TEST(SheetRender, ErasingAnImagePutsItsGridDotsBack) {
  OnSheet s(260, 240);
  s.fb.clear(0);
  auto r = std::make_unique<sdi::basic>(sdi::kind_resistor, 1);
  r->image->place_ref_at(sdi::point(206, 161));
  ASSERT_EQ(sdi::rect(r->image->x, r->image->y, r->image->w, r->image->h), sdi::rect(200, 136, 13, 51));
  r->image->erase();
  int wrong = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 260; ++x) {
      const bool dot = x % 8 == 0 && y % 8 == 0 && x >= 192 && x <= 208 && y >= 128 && y <= 184;
      const bool white = x >= 199 && x <= 212 && y >= 135 && y <= 186;
      wrong += s.fb.pixel(x, y) != (dot ? sdi::grid_dot_colour : white ? sdi::frame_buffer::white : 0u);
    }
  EXPECT_EQ(wrong, 0);
}

// The names and values beside every class of symbol, in each of its four
// placements (tests/sdi/data/sheet_texts.txt, checked by eye once).
TEST(SheetRender, TextsInEveryPlacement) {
  CircuitGuard guard;
  add_network_elements();
  add_control_and_sources();
  OnSheet s(1, 1);  // the texts are kept wherever they fall
  std::ostringstream out;
  for (int turn = 0; turn < 4; ++turn)
    for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) {
      sdi::element* e = n->value;
      if (sdi::is_line_element(e->kind)) continue;
      e->flags.set(sdi::flag_values_set);
      if (turn) e->rotate();
      s.fb.resize(1, 1);
      e->draw();
      out << "kind " << e->kind << " turn " << turn << '\n';
      for (const auto& t : s.fb.texts()) out << "  " << t.x << ' ' << t.y << " '" << t.text << "'\n";
    }
  const std::string name = "sheet_texts.txt";
  if (const char* u = std::getenv("ZORV_UPDATE_GOLDEN"); u && *u == '1') {
    std::ofstream(std::string(ZORV_TEST_DATA) + "/" + name, std::ios::binary) << out.str();
    return;
  }
  EXPECT_TRUE(out.str() == slurp(std::string(ZORV_TEST_DATA) + "/" + name)) << name << " differs";
}

// Every label letter (each set twice), and a wire of each direction highlighted once (the wide
// inverting stroke), against tests/sdi/data/sheet_letters.txt (checked by eye once).
TEST(SheetRender, LabelLettersAndHighlightedWires) {
  CircuitGuard guard;
  for (int i = 0; i < 26; ++i) {
    auto* l = add_symbol(new sdi::llabel(1), sdi::point(24 + 32 * (i % 13), 40 + 48 * (i / 13)));
    l->set_letter('z');  // replaced: only the last letter shows
    l->set_letter(static_cast<char>('a' + i));
  }
  auto* across = add_wire(sdi::point(24, 160), sdi::point(200, 160));
  auto* down = add_wire(sdi::point(240, 120), sdi::point(240, 200), 1);
  OnSheet s(440, 220);
  sdi::redraw_others(nullptr);
  across->select();
  down->select();
  expect_picture(s.fb, "sheet_letters.txt");
  EXPECT_EQ(s.fb.get_rop2(), sdi::rop2::copy_pen);  // the drawing mode and pen are given back
  EXPECT_TRUE(s.fb.current_pen() == sdi::pen{});
}

// An image set up with each turn keeps its reference point where it was and
// turns its size, reference and pins with it; centring and the corner of a rectangle.
TEST(SheetRender, ImageInitTurnsAndCentres) {
  const struct { int turn; int w, h; sdi::point ref, pin; } rows[] = {
      {0, 10, 4, {2, 1}, {9, 2}}, {1, 4, 10, {2, 2}, {1, 9}}, {2, 10, 4, {7, 2}, {0, 1}}, {3, 4, 10, {1, 7}, {2, 0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.turn);
    sdi::image im;
    auto* parts = new sdi::part_holder;
    auto* pin = new sdi::node;
    pin->x = 9;
    pin->y = 2;
    parts->pins = pin;
    im.init(parts, 10, 4, 2, 1, row.turn);
    EXPECT_EQ(im.parts, parts);
    EXPECT_EQ(im.w, row.w);
    EXPECT_EQ(im.h, row.h);
    EXPECT_EQ(sdi::point(im.ref_x, im.ref_y), row.ref);
    EXPECT_EQ(im.ref_point(), sdi::point(2, 1));
    EXPECT_EQ(sdi::point(pin->x, pin->y), row.pin);
  }
  // A standard image is the level table turned upright about its reference point.
  std::unique_ptr<sdi::image> standard(sdi::standard_image(sdi::kind_resistor));
  EXPECT_EQ(standard->bounds(), sdi::rect(19, -19, 13, 51));
  EXPECT_EQ(standard->ref_point(), sdi::point(25, 6));
  EXPECT_EQ(sdi::point(standard->pin(1)->x, standard->pin(1)->y), sdi::point(6, 49));
  sdi::image im;
  im.init(new sdi::part_holder, 10, 4, 2, 1, 0);
  im.center_on(sdi::point(50, 50));
  EXPECT_EQ(im.bounds(), sdi::rect(45, 48, 10, 4));
  EXPECT_EQ(im.center(), sdi::point(50, 50));
  EXPECT_EQ(sdi::rect(3, 4, 10, 5).grid_point(), sdi::point(12, 8));
  Capture cap;
  for (int code : {0, 5}) im.rotate(code);  // no such turn: reported, nothing moves
  EXPECT_EQ(cap.errors, std::vector<std::string>(2, "sdi/elements/image.cpp: Internal"));
  EXPECT_EQ(im.bounds(), sdi::rect(45, 48, 10, 4));
}

// Grid dots are drawn only for indices on the sheet (0 to 375), whatever is asked.
TEST(SheetRender, GridDotsStayOnTheSheet) {
  const struct { long long ix0, ix1, iy0, iy1; int dots; } rows[] = {
      {0, 0, 0, 2, 3}, {-5, 0, 0, 0, 1}, {-5, -1, 0, 0, 0}, {0, 0, -9, -1, 0}, {374, 900, 0, 0, 2},
      {376, 900, 0, 0, 0}, {0, 0, 376, 900, 0}, {2, 1, 0, 0, 0}, {-4000000000LL, 4000000000LL, 1, 1, 376},
  };
  OnSheet s(3008, 24);
  for (const auto& r : rows) {
    s.fb.resize(3008, 24);
    sdi::draw_grid_dots(r.ix0, r.ix1, r.iy0, r.iy1);
    int dots = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 3008; ++x) dots += s.fb.pixel(x, y) == sdi::grid_dot_colour;
    EXPECT_EQ(dots, r.dots) << r.ix0 << " " << r.ix1 << " " << r.iy0 << " " << r.iy1;
  }
  // A line drawn before any move starts at the origin.
  sdi::frame_buffer fresh(8, 2);
  fresh.line_to(4, 0);
  EXPECT_EQ(fresh.pixel(0, 0), 0u);
  EXPECT_EQ(fresh.pixel(3, 0), 0u);
  EXPECT_EQ(fresh.pixel(4, 0), sdi::frame_buffer::white);
}

namespace {
std::vector<sdi::line> drawn_lines;
void record_line(int x1, int y1, int x2, int y2, int, int, int) { drawn_lines.emplace_back(x1, y1, x2, y2); }
}  // namespace

// A clipped redraw draws the strokes whose bounds meet the clip (relative to
// the image) and a letter whole when its box meets it; the whole size draws all.
TEST(SheetRender, ClippedDrawingTakesTheStrokesInTheClip) {
  const sdi::draw_line_fn kept = sdi::draw_line_hook;
  sdi::draw_line_hook = record_line;
  sdi::basic r(sdi::kind_resistor, 1);
  sdi::xform pri(sdi::kind_primary, 1);
  r.selected = pri.selected = 0;
  r.image->place_ref_at(sdi::point(200, 160));  // at (194,135): the top lead runs down x 200 from y 135
  pri.image->place_ref_at(sdi::point(400, 160));
  const struct { sdi::i_element* e; sdi::rect clip; std::size_t strokes; } rows[] = {
      {&r, sdi::rect(0, 0, 13, 51), 17}, {&r, sdi::rect(6, 0, 1, 1), 2}, {&r, sdi::rect(0, 0, 1, 1), 0},
      {&pri, sdi::rect(12, 0, 1, 1), 0},
  };
  for (const auto& row : rows) {
    drawn_lines.clear();
    row.e->draw_clipped(row.clip);
    EXPECT_EQ(drawn_lines.size(), row.strokes) << row.clip.x << "," << row.clip.y << " " << row.clip.w;
  }
  drawn_lines.clear();
  r.draw_clipped(sdi::rect(6, 0, 1, 1));
  EXPECT_EQ(drawn_lines, (std::vector<sdi::line>{sdi::line(200, 148, 200, 135), sdi::line(201, 135, 199, 135)}));
  drawn_lines.clear();
  pri.draw_clipped(sdi::rect(3, 39, 1, 1));  // the centre of its "P"
  int in_letter = 0;
  for (const auto& l : drawn_lines) in_letter += l.x1 >= 395 && l.x2 <= 399 && l.y1 >= 171 && l.y2 <= 177;
  EXPECT_EQ(in_letter, 4);
  sdi::draw_line_hook = kept;
}

// A turn or a flip shows the new image at once, around the same reference point.
TEST(SheetRender, ATurnDrawsTheTurnedImage) {
  CircuitGuard guard;
  OnSheet s(400, 300);
  auto* r = add_symbol(new sdi::basic(sdi::kind_resistor, 1), sdi::point(200, 160));
  r->draw();
  ASSERT_EQ(s.fb.pixel(200, 140), sdi::rgb(0, 0, 255));  // the upright lead
  r->rotate();
  EXPECT_EQ(s.fb.pixel(180, 160), sdi::rgb(0, 0, 255));  // now the level lead
  EXPECT_NE(s.fb.pixel(200, 140), sdi::rgb(0, 0, 255));
  auto* op = add_symbol(new sdi::op_amp(1), sdi::point(200, 64));  // inputs come in from the left at y 56 and 72
  op->draw();
  ASSERT_EQ(s.fb.pixel(178, 56), sdi::rgb(0, 0, 255));
  op->mirror();
  EXPECT_EQ(s.fb.pixel(222, 56), sdi::rgb(0, 0, 255));  // from the right now
  EXPECT_NE(s.fb.pixel(178, 56), sdi::rgb(0, 0, 255));
}
