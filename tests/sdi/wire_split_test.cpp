#include "sdi/edit/wire_split.h"

#include <gtest/gtest.h>

#include "capture.h"
#include "ckt_builder.h"
#include "sdi/elements/factories.h"
#include "sdi/edit/place_element.h"

namespace {
using sdi::point;

struct Route {
  int id;
  point a, b;
  bool operator==(const Route& o) const { return id == o.id && a == o.a && b == o.b; }
};

std::ostream& operator<<(std::ostream& os, const Route& r) {
  return os << "{" << r.id << ": (" << r.a.x << "," << r.a.y << ")-(" << r.b.x << "," << r.b.y << ")}";
}

// The wires of the circuit, in list order.
std::vector<Route> wires() {
  std::vector<Route> out;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value->kind == sdi::kind_wire) {
      auto* w = static_cast<sdi::bl_element*>(n->value);
      out.push_back({w->id, point(w->shape.x1, w->shape.y1), point(w->shape.x2, w->shape.y2)});
    }
  return out;
}

sdi::basic* resistor(point ref) { return add_symbol(new sdi::basic(sdi::kind_resistor, 1), ref); }

}  // namespace

TEST(WireSplit, DrawingAcrossThreeTerminalsMakesFourPiecesInListOrder) {
  CircuitGuard guard;
  resistor(point(200, 160));  // top pins on y = 136
  resistor(point(296, 160));
  resistor(point(400, 160));
  auto* w = add_wire(point(96, 136), point(504, 136));
  Capture cap;
  EXPECT_EQ(sdi::split_after_wire_drawn(w), 1);
  EXPECT_TRUE(cap.errors.empty());
  // Pieces go after the cursor and take the smallest free ids; each removed
  // wire leaves the cursor on its predecessor.
  EXPECT_EQ(circuit_ids(), (std::vector<int>{1, 2, 3, 4, 5, 6, 8}));
  EXPECT_EQ(wires(), (std::vector<Route>{{4, point(200, 136), point(296, 136)},
                                         {5, point(96, 136), point(200, 136)},
                                         {6, point(296, 136), point(400, 136)},
                                         {8, point(400, 136), point(504, 136)}}));
}

TEST(WireSplit, PiecesFollowTheOldRouteAroundTheCorner) {
  CircuitGuard guard;
  add_symbol(new sdi::ground(1), point(104, 136));  // its pin on the vertical leg
  auto* w = add_wire(point(104, 40), point(304, 200), 1);  // down first, corner (104,200)
  EXPECT_EQ(sdi::split_after_wire_drawn(w), 1);
  auto got = wires();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], (Route{3, point(104, 40), point(104, 136)}));
  EXPECT_EQ(got[1], (Route{4, point(104, 136), point(304, 200)}));
  auto* rest = static_cast<sdi::bl_element*>(sdi::circuit.get(4));
  EXPECT_EQ(rest->shape.bend, 1);
  EXPECT_EQ(rest->shape.corner(), point(104, 200));
}

TEST(WireSplit, AWireEndingInsideAnotherSplitsIt) {
  CircuitGuard guard;
  add_wire(point(100, 136), point(500, 136));
  auto* w = add_wire(point(296, 136), point(296, 296));
  EXPECT_EQ(sdi::split_after_wire_drawn(w), 1);
  // The pieces are made while the old wire still holds its id.
  EXPECT_EQ(wires(), (std::vector<Route>{{2, point(296, 136), point(296, 296)},
                                         {3, point(100, 136), point(296, 136)},
                                         {4, point(296, 136), point(500, 136)}}));
}

TEST(WireSplit, PlacingOnAWireMiddleSplitsItAndOnAnEndDoesNot) {
  CircuitGuard guard;
  add_wire(point(100, 136), point(500, 136));
  sdi::new_resistor();
  sdi::pending_element->place_at(point(200, 112));  // bottom pin (200,136), inside the wire
  sdi::place_new_element();
  EXPECT_EQ(wires(), (std::vector<Route>{{3, point(100, 136), point(200, 136)},
                                         {4, point(200, 136), point(500, 136)}}));
  sdi::pending_element->place_at(point(500, 160));  // top pin on the wire's end
  sdi::place_new_element();
  EXPECT_EQ(wires().size(), 2u);
  EXPECT_EQ(sdi::circuit_modified, 1);
}

TEST(WireSplit, ATerminalAtTheCornerOrOnTheSecondLegSplitsOnce) {
  {
    CircuitGuard guard;
    add_symbol(new sdi::ground(1), point(200, 136));  // its pin on the corner
    auto* w = add_wire(point(96, 136), point(200, 296), 0);  // across first, corner (200,136)
    EXPECT_EQ(sdi::split_after_wire_drawn(w), 1);
    EXPECT_EQ(wires(), (std::vector<Route>{{3, point(96, 136), point(200, 136)}, {4, point(200, 136), point(200, 296)}}));
  }
  {
    CircuitGuard guard;
    add_symbol(new sdi::ground(1), point(200, 216));  // its pin on the second, vertical leg
    auto* w = add_wire(point(96, 136), point(200, 296), 0);
    EXPECT_EQ(sdi::split_after_wire_drawn(w), 1);
    EXPECT_EQ(wires(), (std::vector<Route>{{3, point(96, 136), point(200, 216)}, {4, point(200, 216), point(200, 296)}}));
    // The first piece keeps the bend, so it still runs across and then down through the corner.
    auto* first = static_cast<sdi::bl_element*>(sdi::circuit.get(3));
    EXPECT_EQ(first->shape.bend, 0);
    EXPECT_EQ(first->shape.corner(), point(200, 136));
  }
}

// Only a placed wire is split after drawing; anything else is reported and left.
TEST(WireSplit, OnlyAPlacedWireIsSplitAfterDrawing) {
  CircuitGuard guard;
  auto* r = resistor(point(200, 160));
  auto* unplaced = new sdi::cline;
  unplaced->shape.set(96, 136, 504, 136, 0, 1, 0, 0);
  Capture cap;
  EXPECT_EQ(sdi::split_after_wire_drawn(r), 0);
  EXPECT_EQ(sdi::split_after_wire_drawn(unplaced), 0);
  EXPECT_EQ(sdi::split_after_wire_drawn(nullptr), 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>(3, "sdi/edit/wire_split.cpp: Internal Assertion"));
  EXPECT_EQ(circuit_ids(), (std::vector<int>{1}));
  delete unplaced;
}
