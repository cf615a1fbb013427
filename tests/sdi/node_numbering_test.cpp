#include "sdi/node_numbering.h"

#include <gtest/gtest.h>

#include "capture.h"
#include "ckt_builder.h"
#include "sdi/node_errors.h"

namespace {
using sdi::point;

sdi::llabel* add_label(point at, char letter) {
  auto* l = add_symbol(new sdi::llabel(1), at);
  l->set_letter(letter);
  return l;
}

// Resistor standing at ref: pins (x, y - 24) and (x, y + 24).
sdi::basic* add_resistor(point ref) { return add_symbol(new sdi::basic(sdi::kind_resistor, 1), ref); }

struct NodeGuard {
  NodeGuard() { sdi::run_error_count = 0; }
  ~NodeGuard() { sdi::run_error_count = 0; }
  CircuitGuard circuit;
};

}  // namespace

TEST(NodeNumbering, LabelsOfOneLetterFormOneNode) {
  NodeGuard g;
  auto* r1 = add_resistor(point(200, 160));
  auto* r2 = add_resistor(point(600, 160));
  add_label(point(200, 136), 'a');
  add_label(point(200, 184), 'b');
  add_label(point(600, 136), 'a');
  sdi::number_nodes();
  EXPECT_EQ(node_numbers(r1), (std::vector<int>{1, 2}));
  EXPECT_EQ(node_numbers(r2), (std::vector<int>{1, -1}));  // a pin alone stays unassigned
  EXPECT_EQ(sdi::next_free_node, 3);
}

TEST(NodeNumbering, ALabelOnAGroundGroundsItsWholeNet) {
  NodeGuard g;
  auto* r1 = add_resistor(point(200, 160));
  auto* r2 = add_resistor(point(600, 160));
  add_label(point(200, 184), 'a');
  add_label(point(600, 184), 'a');
  add_symbol(new sdi::ground(1), point(600, 184));
  add_label(point(200, 136), 'b');
  add_label(point(600, 136), 'b');
  sdi::number_nodes();
  EXPECT_EQ(node_numbers(r1), (std::vector<int>{2, 0}));
  EXPECT_EQ(node_numbers(r2), (std::vector<int>{2, 0}));
}

TEST(NodeNumbering, TwoLettersOnOnePointJoinTheirNets) {
  NodeGuard g;
  auto* r1 = add_resistor(point(200, 160));
  auto* r2 = add_resistor(point(600, 160));
  auto* r3 = add_resistor(point(1000, 160));
  add_label(point(200, 136), 'a');
  add_label(point(600, 136), 'a');
  add_label(point(600, 136), 'b');  // the user joined a and b here
  add_label(point(1000, 136), 'b');
  sdi::number_nodes();
  EXPECT_EQ(sdi::pin_node(r1, 0), sdi::pin_node(r3, 0));
  EXPECT_EQ(sdi::pin_node(r2, 0), sdi::pin_node(r3, 0));
  EXPECT_NE(sdi::pin_node(r3, 0), -1);
}

TEST(NodeNumbering, TwoLabelsOnOneGroundBothGoToGround) {
  NodeGuard g;
  auto* r1 = add_resistor(point(200, 160));
  auto* r2 = add_resistor(point(600, 160));
  add_label(point(200, 184), 'a');
  add_label(point(600, 184), 'b');
  add_label(point(1000, 184), 'a');
  add_label(point(1000, 184), 'b');
  add_symbol(new sdi::ground(1), point(1000, 184));
  sdi::number_nodes();
  EXPECT_EQ(sdi::pin_node(r1, 1), 0);
  EXPECT_EQ(sdi::pin_node(r2, 1), 0);
}

TEST(NodeNumbering, CoincidentPinsShareANode) {
  NodeGuard g;
  auto* r1 = add_resistor(point(200, 160));
  auto* r2 = add_resistor(point(200, 208));  // its top pin is r1's bottom pin
  auto* j = add_symbol(new sdi::nodec(1), point(200, 232));
  sdi::number_nodes();
  EXPECT_EQ(node_numbers(r1), (std::vector<int>{-1, 1}));
  EXPECT_EQ(node_numbers(r2), (std::vector<int>{1, 2}));
  EXPECT_EQ(node_numbers(j), (std::vector<int>{2, 2}));  // the junction's two pins on one point
  EXPECT_EQ(sdi::next_free_node, 3);
}

TEST(NodeNumbering, PointQueryModes) {
  NodeGuard g;
  auto* r1 = add_resistor(point(200, 160));
  auto* r2 = add_resistor(point(200, 208));
  EXPECT_EQ(sdi::point_query(point(200, 184), 0, 1), 2);
  EXPECT_EQ(sdi::point_query(point(200, 184), 7, 0), 2);
  EXPECT_EQ(sdi::point_query(point(200, 184), 9, 0), 0);  // already assigned
  EXPECT_EQ(sdi::point_query(point(200, 232), 9, 2), 1);
  EXPECT_EQ(node_numbers(r2), (std::vector<int>{7, 9}));
  EXPECT_EQ(sdi::point_query(point(200, 232), sdi::kind_resistor, 3), 1);
  EXPECT_EQ(sdi::found_element, r2);
  EXPECT_EQ(sdi::found_pin, 1);
  EXPECT_EQ(sdi::point_query(point(200, 232), sdi::kind_capacitor, 3), 0);
  Capture cap;
  EXPECT_EQ(sdi::point_query(point(200, 232), 0, 4), 0);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Simnodes: Internal Case"}));
  (void)r1;
}

TEST(NodeNumbering, NodeQueryModesAndCallback) {
  NodeGuard g;
  auto* r1 = add_resistor(point(200, 160));
  auto* r2 = add_resistor(point(200, 208));
  auto* c = add_symbol(new sdi::basic(sdi::kind_capacitor, 1), point(200, 208));
  sdi::number_nodes();  // r1 {-1, 1}; r2 and c {1, 2}
  EXPECT_EQ(sdi::pin_count(1), 3);
  EXPECT_EQ(sdi::pin_count(-1), 0);
  EXPECT_EQ(sdi::node_query(1, sdi::kind_resistor, 3, 0), 1);
  EXPECT_EQ(sdi::found_element, r2);
  EXPECT_EQ(sdi::node_query(1, sdi::kind_resistor, 4, 0), 1);
  EXPECT_EQ(sdi::found_element, r1);
  EXPECT_EQ(sdi::found_pin, 1);
  std::vector<sdi::element*> seen;
  sdi::node_query_callback = [&seen] { seen.push_back(sdi::found_element); };
  EXPECT_EQ(sdi::node_query(1, sdi::kind_resistor, 4, 0), 2);
  EXPECT_EQ(seen, (std::vector<sdi::element*>{r1, r2}));
  EXPECT_FALSE(sdi::node_query_callback);  // cleared after the query
  EXPECT_EQ(sdi::pin_connected(r1, 0), 0);
  EXPECT_EQ(sdi::pin_connected(r1, 1), 1);
  EXPECT_EQ(sdi::kind_on_pin_node(r1, 1, sdi::kind_capacitor), 1);
  EXPECT_EQ(sdi::kind_pin_on_pin_node(r1, 1, sdi::kind_capacitor, 1), 0);
  EXPECT_EQ(sdi::kind_pin_on_pin_node(r1, 1, sdi::kind_capacitor, 0), 1);
  (void)c;
}

TEST(NodeNumbering, CouplingTakesTheInductorsUnderItsEnds) {
  NodeGuard g;
  auto* l1 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 160));
  auto* l2 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(400, 160));
  auto* m = add_coupling(point(200, 160), point(400, 160));
  Capture cap;
  sdi::number_nodes();
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(m->inductor1, l1->id);
  EXPECT_EQ(m->inductor2, l2->id);
  EXPECT_EQ(sdi::run_error_count, 0);
}

TEST(NodeNumbering, CouplingEndsFollowTheirInductorsWithoutAView) {
  NodeGuard g;
  auto* l1 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 160));
  auto* l2 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(400, 160));
  auto* m = add_coupling(point(0, 0), point(0, 0));  // stale ends, as left by a move that was not redrawn
  m->inductor1 = l1->id;
  m->inductor2 = l2->id;
  Capture cap;
  sdi::number_nodes();
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(m->inductor1, l1->id);
  EXPECT_EQ(m->inductor2, l2->id);
}

TEST(NodeNumbering, CouplingWithAnEndOnNothingIsIncomplete) {
  NodeGuard g;
  add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 160));
  add_coupling(point(200, 160), point(800, 800));
  Capture cap;
  sdi::number_nodes();
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"Incomplete Circuit"}));
  EXPECT_EQ(sdi::run_error_count, 1);
}

TEST(NodeNumbering, TwoInductorsUnderOneEnd) {
  NodeGuard g;
  add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 160));
  add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 168));
  add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(400, 160));
  add_coupling(point(200, 164), point(400, 160));
  Capture cap;
  sdi::number_nodes();
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"There are multiple inductors at one location"}));
}
