// Which sheet points and rectangles touch an element: wire legs within 4
// (vertical) or 3 (horizontal) units and 2 past their ends, couplings within 6
// of their line strictly between its ends, symbols inside their image; and the
// circuit's lookups built on them.
#include <gtest/gtest.h>

#include <functional>

#include "capture.h"
#include "ckt_builder.h"

namespace {
using sdi::point;
using sdi::rect;

// A wire from (100,100) to (200,180): with bend 0 its legs run through the
// corner (200,100), with bend 1 through (100,180).
std::unique_ptr<sdi::element> wire(int bend) {
  auto* w = new sdi::cline;
  w->shape.set(100, 100, 200, 180, bend, 1, 0, 0);
  return std::unique_ptr<sdi::element>(w);
}

std::unique_ptr<sdi::element> coupling(point a, point b) {
  auto* m = new sdi::cmutind;
  m->shape.set(a.x, a.y, b.x, b.y, 0, 1, 0, 0);
  return std::unique_ptr<sdi::element>(m);
}

}  // namespace

TEST(HitTest, LegsAndCouplingLinesTakeTheirMargins) {
  const point a(100, 100), b(200, 150);
  const struct {
    const char* label;
    std::function<std::unique_ptr<sdi::element>()> make;
    point p;
    int hit;
  } rows[] = {
      {"horizontal leg, 2 below", [] { return wire(0); }, {150, 102}, 1},
      {"horizontal leg, 3 below", [] { return wire(0); }, {150, 103}, 0},
      {"horizontal leg, 2 above", [] { return wire(0); }, {150, 98}, 1},
      {"horizontal leg, 3 above", [] { return wire(0); }, {150, 97}, 0},
      {"horizontal leg, 1 before its end", [] { return wire(0); }, {99, 100}, 1},
      {"horizontal leg, 2 before its end", [] { return wire(0); }, {98, 100}, 0},
      {"vertical leg, 3 right", [] { return wire(0); }, {203, 150}, 1},
      {"vertical leg, 4 right", [] { return wire(0); }, {204, 150}, 0},
      {"vertical leg, 3 left", [] { return wire(0); }, {197, 150}, 1},
      {"vertical leg, 4 left", [] { return wire(0); }, {196, 150}, 0},
      {"vertical leg, 1 past its end", [] { return wire(0); }, {200, 181}, 1},
      {"vertical leg, 2 past its end", [] { return wire(0); }, {200, 182}, 0},
      {"bend 1: the vertical leg first", [] { return wire(1); }, {100, 150}, 1},
      {"bend 1: no leg at the other corner", [] { return wire(1); }, {200, 150}, 0},
      {"bend 1: the horizontal leg last", [] { return wire(1); }, {150, 182}, 1},
      {"coupling, 5 above", [&] { return coupling(a, b); }, {150, 120}, 1},
      {"coupling, at its second end", [&] { return coupling(a, b); }, {200, 150}, 0},
      {"coupling drawn backwards", [&] { return coupling(b, a); }, {199, 150}, 1},
      {"coupling rounds the line's y to the nearest", [&] { return coupling(a, point(300, 111)); }, {150, 108}, 1},
      {"coupling rounds the line's y to the nearest, beyond", [&] { return coupling(a, point(300, 111)); }, {150, 109}, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.make()->hit_test(row.p), row.hit) << row.label;
  }
}

TEST(HitTest, WireAgainstRectanglesAndSymbols) {
  const struct {
    const char* label;
    int bend;
    rect r;
    int meets;
  } rows[] = {
      {"across the horizontal leg", 0, rect(140, 90, 20, 20), 1},
      {"just above the horizontal leg", 0, rect(140, 90, 20, 10), 0},
      {"touching it from above", 0, rect(140, 90, 20, 11), 1},
      {"across the vertical leg", 0, rect(190, 140, 20, 20), 1},
      {"just left of the vertical leg", 0, rect(180, 140, 20, 20), 0},
      {"in the L's bend, touching neither", 0, rect(110, 110, 80, 60), 0},
      {"the same with bend 1", 1, rect(110, 110, 80, 60), 0},
      {"around the corner", 1, rect(90, 170, 20, 20), 1},
      {"over an end only", 0, rect(95, 95, 6, 6), 1},
  };
  for (const auto& row : rows) {
    auto w = wire(row.bend);
    EXPECT_EQ(w->overlaps_rect(row.r), row.meets) << row.label;
  }
  // Against symbols the same test runs on the image rectangle; against lines always.
  auto r = std::make_unique<sdi::basic>(sdi::kind_resistor, 1);
  r->image->place_ref_at(point(200, 140));  // upright: a rectangle around x 200 from y 115 to 165
  EXPECT_EQ(wire(0)->overlaps(r.get()), 1);
  EXPECT_EQ(wire(1)->overlaps(r.get()), 0);
  EXPECT_EQ(wire(1)->overlaps(wire(0).get()), 1);
}

TEST(HitTest, SymbolsHitInsideTheirImage) {
  auto r = std::make_unique<sdi::basic>(sdi::kind_resistor, 1);
  r->image->place_ref_at(point(200, 160));
  const rect b = r->rect();
  const struct { point p; int hit; } rows[] = {
      {point(b.x, b.y), 1}, {point(b.x + b.w - 1, b.y + b.h - 1), 1}, {point(b.x - 1, b.y), 0},
      {point(b.x, b.y - 1), 0}, {point(b.x + b.w, b.y + 5), 0}, {point(b.x + 5, b.y + b.h), 0},
  };
  for (const auto& row : rows) EXPECT_EQ(r->hit_test(row.p), row.hit) << row.p.x << "," << row.p.y;
  Capture cap;
  EXPECT_EQ(r->terminal_at(2), point(0, 0));  // it has two: reported
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/elements/i_element.cpp: Internal Assertion"});
}

// The circuit's lookups take the first placed element of their family under the point.
TEST(HitTest, CircuitLookupsTakeTheFirstOfTheirFamily) {
  CircuitGuard guard;
  auto* w = add_wire(point(100, 160), point(400, 160));
  auto* l = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 160));
  auto* pri = add_symbol(new sdi::xform(sdi::kind_primary, 1), point(300, 160));
  add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 168));
  auto* unplaced = new sdi::basic(sdi::kind_inductor, 1);
  unplaced->image->place_ref_at(point(600, 160));
  sdi::circuit.insert(unplaced);  // id 0: not looked at
  EXPECT_EQ(sdi::circuit.find_hit(point(200, 160)), w->id);
  EXPECT_EQ(sdi::circuit.find_hit_i_element(point(200, 160)), l->id);
  EXPECT_EQ(sdi::circuit.find_hit_inductor(point(300, 160)), 0);
  EXPECT_EQ(sdi::circuit.find_hit_primary(point(300, 160)), pri->id);
  EXPECT_EQ(sdi::circuit.find_hit_primary(point(200, 160)), 0);
  EXPECT_EQ(sdi::circuit.find_hit_i_element(point(600, 160)), 0);
  EXPECT_EQ(sdi::circuit.count_inductors_at(point(200, 164)), 2);
  EXPECT_EQ(sdi::circuit.count_inductors_at(point(200, 100)), 0);
  w->move(point(0, 400));
  EXPECT_EQ(sdi::circuit.find_hit(point(250, 560)), w->id);
  EXPECT_EQ(sdi::circuit.terminal_at(point(400, 560), 1), 1);
  EXPECT_EQ(sdi::circuit.terminal_at(point(400, 160), 1), 0);
  ASSERT_EQ(sdi::circuit.last(), 1);
  EXPECT_EQ(sdi::circuit.current(), unplaced);
}
