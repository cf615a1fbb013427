// Node numbering and the connection checks of a drawn circuit: nodes found by
// geometry, wires merged, control nodes moved above 1000, and every message a
// badly connected element gives.
#include "sdi/netlist/connectivity.h"

#include <gtest/gtest.h>

#include <functional>

#include "capture.h"
#include "ckt_builder.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"

namespace {
using sdi::point;
using Texts = std::vector<std::string>;

// Wires and junctions leave the working list during a check; run preparation
// puts them back afterwards, as this does.
struct NodeGuard {
  CircuitGuard circuit;
  sdi::elist kept;
  NodeGuard() { sdi::run_error_count = 0; }
  ~NodeGuard() {
    sdi::run_error_count = 0;
    if (kept.head) {
      sdi::circuit.list_clear();
      sdi::circuit.head = kept.head;
      sdi::circuit.current_ = kept.current_;
    }
  }
  Texts check() {
    kept = sdi::circuit.copy();
    Capture cap;
    sdi::check_nodes();
    return cap.messages;
  }
};

template <class T>
T* at(T* e, point ref) { return add_symbol(e, ref); }

sdi::llabel* label(point p, char letter) {
  auto* l = at(new sdi::llabel(1), p);
  l->set_letter(letter);
  return l;
}

// A source and a resistor in a loop: V1 at (200,160) and R1 at (400,160), the
// tops joined by one wire and the bottoms by another.
struct Loop {
  sdi::source* v = at(new sdi::source(sdi::kind_voltage_source, 1), point(200, 160));
  sdi::basic* r = at(new sdi::basic(sdi::kind_resistor, 1), point(400, 160));
  sdi::cline* top = add_wire(point(200, 136), point(400, 136));
  sdi::cline* bottom = add_wire(point(200, 184), point(400, 184));
};

// V1 (400,352), a switch (400,400) with on (384,392) and off (384,408), R1
// (400,448), a wire closing the loop to ground.
void switched_loop() {
  at(new sdi::source(sdi::kind_voltage_source, 1), point(400, 352));
  at(new sdi::switch2(1), point(400, 400));
  at(new sdi::basic(sdi::kind_resistor, 1), point(400, 448));
  add_wire(point(400, 328), point(400, 472));
  at(new sdi::ground(1), point(400, 472));
}

// A modulator at (400,400) (inputs (376,384), (376,416), output (424,400))
// drives a switch's on control; its first input is labelled, the rest open.
void modulator_on_switch(double k2) {
  auto* mod = at(new sdi::modulator(1), point(400, 400));
  mod->values[1] = 1.0;
  mod->values[2] = k2;
  label(point(376, 384), 'a');
  label(point(600, 600), 'a');
  at(new sdi::switch2(1), point(440, 408));
}

sdi::modulator* modulator_without_gains(point ref) {
  auto* mod = at(new sdi::modulator(1), ref);
  mod->values[1] = mod->values[2] = 0.0;
  return mod;
}

}  // namespace

TEST(Connectivity, EveryFaultHasItsMessage) {
  const point far(800, 800), open(400, 208);  // open shares only R1's bottom pin
  struct Row {
    const char* label;
    bool loop;
    std::function<void()> build;
    Texts messages;
  };
  const Row rows[] = {
      {"open resistor", true, [&] { at(new sdi::basic(sdi::kind_capacitor, 1), open); },
       {"Element must be connected at both nodes"}},
      {"diode", true, [&] { at(new sdi::diode(1), open); }, {"Diode must be connected at both nodes"}},
      {"sine", true, [&] { at(new sdi::sine(1), open); }, {"Sine wave generator must be connected at both nodes"}},
      {"current source", true, [&] { at(new sdi::source(sdi::kind_current_source, 1), open); },
       {"Current source must be connected at both nodes"}},
      {"voltage source", true, [&] { at(new sdi::source(sdi::kind_voltage_source, 1), far); },
       {"Voltage source must be connected at both nodes"}},
      {"upper limiter", true, [&] { at(new sdi::limiter(sdi::kind_upper_limiter, 1), far); },
       {"Limiter must be connected at both nodes"}},
      {"lower limiter", true, [&] { at(new sdi::limiter(sdi::kind_lower_limiter, 1), far); },
       {"Limiter must be connected at both nodes"}},
      {"vco", true, [&] { at(new sdi::vco(1), far); }, {"VCO must be connected at both nodes"}},
      {"lone clock, the checks stop at the first", true,
       [&] {
         at(new sdi::clockx(1), far);
         at(new sdi::op_amp(1), point(800, 400));
       },
       {"Clock must be connected to a switch control"}},
      {"op-amp", false, [&] { at(new sdi::op_amp(1), far); }, {"Op-Amp must have all 3 nodes connected"}},
      {"multiplier", false, [&] { at(new sdi::multiplier(1), far); }, {"Multiplier must have all 3 nodes connected"}},
      {"current sense", false, [&] { at(new sdi::current_sense(1), far); },
       {"Current sense must have all 3 nodes connected"}},
      {"switch", true, [&] { at(new sdi::switch2(1), far); },
       {"Switch must be connected at first 2 nodes", "Switch must have ON connected", "Switch must have OFF connected"}},
      {"switch without on", false,
       [&] {
         switched_loop();
         at(new sdi::clockx(1), point(384, 408));
       },
       {"Switch must have ON connected"}},
      {"modulator, open input of gain 0", false, [&] { modulator_on_switch(0.0); },
       {"Switch must be connected at first 2 nodes", "Switch must have OFF connected"}},
      {"modulator, open input of gain 0.5", false, [&] { modulator_on_switch(0.5); },
       {"Modulator must have input connected when corresponding k != 0"}},
      {"control outputs on the network", true,
       [&] {
         at(new sdi::clockx(1), point(200, 136));
         at(new sdi::threshold(1), point(400, 136));
         at(new sdi::clockx(1), point(400, 136));
       },
       {"Clock may only be connected to switch control", "Threshold may only be connected to switch control",
        "Clock may only be connected to switch control"}},
      {"lone threshold", true, [&] { at(new sdi::threshold(1), far); },
       {"Threshold must be connected to a switch control"}},
      {"lone modulator", true, [&] { modulator_without_gains(far); },
       {"Modulator must have output connected to switch control"}},
      {"modulator on a resistor, the walk goes on", true,
       [&] {
         modulator_without_gains(point(376, 136));  // output (400,136): the resistor's top
         at(new sdi::basic(sdi::kind_capacitor, 1), far);
       },
       {"Modulator output may only be connected to switch control", "Element must be connected at both nodes"}},
      {"incomplete coupling skips the pin checks", true,
       [&] {
         at(new sdi::basic(sdi::kind_capacitor, 1), far);
         add_coupling(point(1600, 1600), point(1800, 1600));
       },
       {"Incomplete Circuit"}},
      {"coupling end on two inductors", false,
       [&] {
         at(new sdi::basic(sdi::kind_inductor, 1), point(200, 160));
         at(new sdi::basic(sdi::kind_inductor, 1), point(200, 168));
         at(new sdi::basic(sdi::kind_inductor, 1), point(400, 160));
         add_coupling(point(200, 164), point(400, 160));
       },
       {"There are multiple inductors at one location"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    NodeGuard g;
    if (row.loop) Loop{};
    row.build();
    EXPECT_EQ(g.check(), row.messages);
    EXPECT_EQ(sdi::run_error_count, static_cast<int>(row.messages.size()));
  }
}

TEST(Connectivity, WiresMergeAndGroundIsNodeZero) {
  {
    NodeGuard g;
    Loop loop;
    add_wire(point(400, 184), point(400, 264));
    at(new sdi::ground(1), point(400, 264));
    EXPECT_TRUE(g.check().empty());
    EXPECT_EQ(node_numbers(loop.v), (std::vector<int>{1, 0}));
    EXPECT_EQ(node_numbers(loop.r), (std::vector<int>{1, 0}));
    EXPECT_EQ(sdi::numn, 2);
    EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 0, 28}));  // wires leave the working list
  }
  {
    NodeGuard g;  // no ground: the first network node is 0; leading wires merge too
    add_wire(point(200, 136), point(400, 136));
    add_wire(point(200, 184), point(400, 184));
    auto* v = at(new sdi::source(sdi::kind_voltage_source, 1), point(200, 160));
    auto* r = at(new sdi::basic(sdi::kind_resistor, 1), point(400, 160));
    EXPECT_TRUE(g.check().empty());
    EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 0}));
    EXPECT_EQ(node_numbers(v), (std::vector<int>{0, 1}));
    EXPECT_EQ(node_numbers(r), (std::vector<int>{0, 1}));
  }
  {
    NodeGuard g;  // a wire with an open end stops the merging
    Loop loop;
    sdi::circuit.list_first();
    add_wire(point(200, 136), point(200, 40));
    EXPECT_EQ(g.check(), (Texts{"Line must be connected at both nodes"}));
    EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 5, 0, 5, 5}));
  }
}

TEST(Connectivity, ControlNodesMoveAboveAThousand) {
  {
    NodeGuard g;
    switched_loop();
    auto* on = at(new sdi::clockx(1), point(384, 392));
    auto* off = at(new sdi::clockx(1), point(384, 408));
    EXPECT_TRUE(g.check().empty());
    EXPECT_EQ(node_numbers(sdi::circuit.get(2)), (std::vector<int>{1, 2, 1004, 1005}));
    EXPECT_EQ(node_numbers(on), (std::vector<int>{1004}));
    EXPECT_EQ(node_numbers(off), (std::vector<int>{1005}));
    EXPECT_EQ(sdi::numn, 3);
  }
  for (bool with_resistor : {false, true}) {
    NodeGuard g;  // a current sense's output feeding only a limiter is control
    auto* is = at(new sdi::current_sense(1), point(400, 400));
    at(new sdi::limiter(sdi::kind_upper_limiter, 1), point(400, 440));
    if (with_resistor) at(new sdi::basic(sdi::kind_resistor, 1), point(400, 440));
    sdi::number_nodes();
    sdi::renumber_nodes();
    EXPECT_EQ(sdi::pin_node(is, 2), with_resistor ? 0 : 1001);
    EXPECT_EQ(sdi::numn, with_resistor ? 2 : 0);
  }
  {
    NodeGuard g;  // node 1 (a clock's) moves to 1001 without meeting network node 1001
    auto* clk = at(new sdi::clockx(1), point(100, 100));
    auto* r = at(new sdi::basic(sdi::kind_resistor, 1), point(300, 300));
    *clk->nodes.list_value_at(0) = 1;
    *r->nodes.list_value_at(0) = 0;
    *r->nodes.list_value_at(1) = 1001;
    sdi::next_free_node = 1002;
    sdi::renumber_nodes();
    EXPECT_EQ(node_numbers(clk), (std::vector<int>{1001}));
    EXPECT_EQ(node_numbers(r), (std::vector<int>{0, 1}));
  }
  {
    NodeGuard g;  // only the nodes numbered so far (below next_free_node) are counted
    auto* r = at(new sdi::basic(sdi::kind_resistor, 1), point(300, 300));
    auto* c = at(new sdi::basic(sdi::kind_capacitor, 1), point(500, 300));
    *r->nodes.list_value_at(0) = 0;
    *r->nodes.list_value_at(1) = 1;
    *c->nodes.list_value_at(0) = 1;
    *c->nodes.list_value_at(1) = 2;
    sdi::next_free_node = 2;
    sdi::renumber_nodes();
    EXPECT_EQ(sdi::numn, 2);
    EXPECT_EQ(node_numbers(c), (std::vector<int>{1, 2}));
  }
}

TEST(NodeNumbering, LabelsJoinNetsAndGroundThem) {
  NodeGuard g;
  auto* r1 = at(new sdi::basic(sdi::kind_resistor, 1), point(200, 160));
  auto* r2 = at(new sdi::basic(sdi::kind_resistor, 1), point(600, 160));
  auto* r3 = at(new sdi::basic(sdi::kind_resistor, 1), point(1000, 160));
  auto* r4 = at(new sdi::basic(sdi::kind_resistor, 1), point(1400, 160));
  label(point(200, 136), 'a');
  label(point(600, 136), 'a');
  label(point(600, 136), 'b');  // the user joined a and b here
  label(point(1000, 136), 'b');
  label(point(200, 184), 'c');  // c and d meet on a ground
  label(point(600, 184), 'd');
  label(point(1000, 184), 'c');
  label(point(1000, 184), 'd');
  at(new sdi::ground(1), point(1000, 184));
  sdi::number_nodes();
  EXPECT_NE(sdi::pin_node(r1, 0), -1);
  EXPECT_NE(sdi::pin_node(r1, 0), 0);  // a and b are not grounded
  EXPECT_EQ(sdi::pin_node(r1, 0), sdi::pin_node(r3, 0));
  EXPECT_EQ(sdi::pin_node(r2, 0), sdi::pin_node(r3, 0));
  for (auto* r : {r1, r2, r3}) EXPECT_EQ(sdi::pin_node(r, 1), 0);
  EXPECT_EQ(node_numbers(r4), (std::vector<int>{-1, -1}));  // pins alone stay unassigned
}

TEST(NodeNumbering, CouplingTakesTheInductorsUnderItsEnds) {
  NodeGuard g;
  auto* l1 = at(new sdi::basic(sdi::kind_inductor, 1), point(200, 160));
  auto* l2 = at(new sdi::basic(sdi::kind_inductor, 1), point(400, 160));
  auto* m = add_coupling(point(200, 160), point(400, 160));
  auto* stale = add_coupling(point(0, 0), point(0, 0));  // ends left behind by a move not redrawn
  stale->inductor1 = l1->id;
  stale->inductor2 = l2->id;
  Capture cap;
  sdi::number_nodes();
  EXPECT_TRUE(cap.messages.empty());
  for (auto* c : {m, stale}) {
    EXPECT_EQ(c->inductor1, l1->id);
    EXPECT_EQ(c->inductor2, l2->id);
  }
}

// The first element in circuit order that decides settles a node's role; a
// switch's main pin or a modulator's input decides nothing, so a later clock does.
TEST(Connectivity, TheFirstDecidingElementSettlesANode) {
  struct Pins {
    int kind;
    std::vector<int> nodes;
  };
  auto make = [](int kind) -> sdi::element* {
    switch (kind) {
      case sdi::kind_switch: return new sdi::switch2(1);
      case sdi::kind_clock: return new sdi::clockx(1);
      case sdi::kind_modulator: return new sdi::modulator(1);
      case sdi::kind_current_sense: return new sdi::current_sense(1);
      default: return new sdi::basic(sdi::kind_resistor, 1);
    }
  };
  const struct { const char* label; std::vector<Pins> elements; int node1_becomes; } rows[] = {
      {"switch main pin, then a clock", {{30, {1, 0, -1, -1}}, {21, {1}}}, 1001},
      {"switch control pin", {{30, {0, 2, 1, -1}}, {0, {1, 0}}}, 1001},
      {"switch main and control pin on one node: the first decides nothing", {{30, {1, 0, 1, -1}}, {0, {1, 0}}}, 1},
      {"switch off pin", {{30, {0, 2, -1, 1}}, {0, {1, 0}}}, 1001},
      {"modulator input, then a clock", {{20, {1, 0, 2}}, {21, {1}}}, 1001},
      {"modulator output", {{20, {0, 2, 1}}, {0, {1, 0}}}, 1001},
      {"current sense main pin before a clock", {{26, {1, 0, 2}}, {21, {1}}}, 1},
      {"resistor, then a clock", {{0, {1, 0}}, {21, {1}}}, 1001},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    NodeGuard g;
    sdi::element* first = nullptr;
    for (const Pins& p : row.elements) {
      sdi::element* e = make(p.kind);
      for (std::size_t i = 0; i < p.nodes.size(); ++i) *e->nodes.list_value_at(static_cast<int>(i)) = p.nodes[i];
      sdi::circuit.append(e);
      if (!first) first = e;
    }
    sdi::next_free_node = 3;
    sdi::renumber_nodes();
    int at = 0;
    while (at < first->nodes.count() && row.elements[0].nodes[at] != 1) ++at;
    EXPECT_EQ(sdi::pin_node(first, at), row.node1_becomes);
  }
}

// Mode 0 gives every still unassigned pin at the point the value and counts
// them; pins already on a node keep it.
TEST(NodeNumbering, PointQueryFillsOnlyUnassignedPins) {
  NodeGuard g;
  auto* r1 = at(new sdi::basic(sdi::kind_resistor, 1), point(200, 160));  // pins (200,136), (200,184)
  auto* r2 = at(new sdi::basic(sdi::kind_resistor, 1), point(200, 208));  // pin 0 at (200,184)
  auto* r3 = at(new sdi::basic(sdi::kind_resistor, 1), point(200, 232));  // pin 0 at (200,208)
  auto* c = at(new sdi::basic(sdi::kind_capacitor, 1), point(200, 208));  // pin 0 at (200,184)
  *c->nodes.list_value_at(0) = 4;
  EXPECT_EQ(sdi::point_query(point(200, 184), 7, 0), 2);
  EXPECT_EQ(node_numbers(r1), (std::vector<int>{-1, 7}));
  EXPECT_EQ(node_numbers(r2), (std::vector<int>{7, -1}));
  EXPECT_EQ(node_numbers(c), (std::vector<int>{4, -1}));
  EXPECT_EQ(node_numbers(r3), (std::vector<int>{-1, -1}));
  EXPECT_EQ(sdi::point_query(point(200, 184), 0, 1), 3);
  EXPECT_EQ(sdi::circuit.replace_node(7, 9), 2);  // how many pins it moved
  EXPECT_EQ(node_numbers(r2), (std::vector<int>{9, -1}));
  EXPECT_EQ(sdi::circuit.replace_node(7, 9), 0);
}

// Node queries find an element of a kind by its pin on a node.
TEST(NodeNumbering, NodeQueriesFindByKindAndPin) {
  NodeGuard g;
  auto* c = at(new sdi::basic(sdi::kind_capacitor, 1), point(100, 100));
  auto* r1 = at(new sdi::basic(sdi::kind_resistor, 1), point(200, 100));
  auto* r2 = at(new sdi::basic(sdi::kind_resistor, 1), point(300, 100));
  const int nodes[3][2] = {{5, 0}, {0, 5}, {5, 6}};
  int i = 0;
  for (auto* e : {c, r1, r2}) {
    *e->nodes.list_value_at(0) = nodes[i][0];
    *e->nodes.list_value_at(1) = nodes[i++][1];
  }
  EXPECT_EQ(sdi::node_query(5, sdi::kind_resistor, 4, 0), 1);
  EXPECT_EQ(sdi::node_query(5, sdi::kind_resistor, 3, 0), 1);  // pin 0 on node 5: r2's
  EXPECT_EQ(sdi::node_query(6, sdi::kind_resistor, 3, 0), 0);  // r2's pin 1 is on node 6
  EXPECT_EQ(sdi::node_query(5, sdi::kind_capacitor, 3, 1), 0);
  EXPECT_EQ(sdi::kind_pin_on_pin_node(c, 0, sdi::kind_resistor, 1), 1);
  EXPECT_EQ(sdi::kind_pin_on_pin_node(c, 0, sdi::kind_resistor, 0), 1);
  EXPECT_EQ(sdi::kind_pin_on_pin_node(r1, 0, sdi::kind_capacitor, 1), 1);  // c's pin 1 on ground
  EXPECT_EQ(sdi::kind_pin_on_pin_node(r1, 0, sdi::kind_capacitor, 0), 0);
  EXPECT_EQ(sdi::kind_on_pin_node(r2, 1, sdi::kind_capacitor), 0);
  EXPECT_EQ(sdi::kind_on_pin_node(r2, 0, sdi::kind_capacitor), 1);
  EXPECT_EQ(sdi::pin_count(5), 3);
  EXPECT_EQ(sdi::node_query(-1, sdi::kind_resistor, 5, 0), 0);
  Capture cap;
  EXPECT_EQ(sdi::node_query(5, sdi::kind_resistor, 6, 0), 0);
  EXPECT_EQ(sdi::point_query(point(0, 0), 0, 4), 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>(2, "sdi/elements/node_numbering.cpp: Internal Case"));
}
