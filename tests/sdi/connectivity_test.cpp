#include "sdi/connectivity.h"

#include <gtest/gtest.h>

#include "capture.h"
#include "ckt_builder.h"
#include "sdi/node_errors.h"
#include "sdi/node_numbering.h"

namespace {
using sdi::point;
using Texts = std::vector<std::string>;

// The list as it was before a check: wires and junctions leave the working
// list, and run preparation puts them back afterwards, as this does.
sdi::elist kept;

void run_check() {
  kept = sdi::circuit.copy();
  sdi::check_nodes();
}

struct NodeGuard {
  NodeGuard() { sdi::run_error_count = 0; }
  ~NodeGuard() {
    sdi::run_error_count = 0;
    if (kept.head) {
      sdi::circuit.list_clear();
      sdi::circuit.head = kept.head;
      sdi::circuit.current_ = kept.current_;
      kept.head = kept.current_ = nullptr;
    }
  }
  CircuitGuard circuit;
};

template <class T>
T* at(T* e, point ref) { return add_symbol(e, ref); }

// A source and a resistor in a loop: V1 at (200,160) and R1 at (400,160), the
// tops joined by one wire and the bottoms by another.
struct Loop {
  sdi::source* v = at(new sdi::source(sdi::kind_voltage_source, 1), point(200, 160));
  sdi::basic* r = at(new sdi::basic(sdi::kind_resistor, 1), point(400, 160));
  sdi::cline* top = add_wire(point(200, 136), point(400, 136));
  sdi::cline* bottom = add_wire(point(200, 184), point(400, 184));
};

}  // namespace

TEST(Connectivity, WireToGroundGroundsThePin) {
  NodeGuard g;
  Loop loop;
  add_wire(point(400, 184), point(400, 264));
  at(new sdi::ground(1), point(400, 264));
  Capture cap;
  run_check();
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(node_numbers(loop.v), (std::vector<int>{1, 0}));
  EXPECT_EQ(node_numbers(loop.r), (std::vector<int>{1, 0}));
  EXPECT_EQ(sdi::numn, 2);
  // Wires leave the working list.
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 0, 28}));
}

TEST(Connectivity, WithoutGroundTheFirstNetworkNodeIsZero) {
  NodeGuard g;
  Loop loop;
  Capture cap;
  run_check();
  EXPECT_TRUE(cap.messages.empty());
  // Numbered 1 to 4 by position, joined by the wires into 3 and 4, renumbered 0 and 1.
  EXPECT_EQ(node_numbers(loop.v), (std::vector<int>{0, 1}));
  EXPECT_EQ(node_numbers(loop.r), (std::vector<int>{0, 1}));
  EXPECT_EQ(sdi::numn, 2);
}

TEST(Connectivity, TwoLeadingWiresAreBothMerged) {
  NodeGuard g;
  add_wire(point(200, 136), point(400, 136));
  add_wire(point(200, 184), point(400, 184));
  auto* v = at(new sdi::source(sdi::kind_voltage_source, 1), point(200, 160));
  auto* r = at(new sdi::basic(sdi::kind_resistor, 1), point(400, 160));
  Capture cap;
  run_check();
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 0}));
  EXPECT_EQ(node_numbers(v), (std::vector<int>{0, 1}));
  EXPECT_EQ(node_numbers(r), (std::vector<int>{0, 1}));
}

TEST(Connectivity, AWireWithAnOpenEndStopsTheMerging) {
  NodeGuard g;
  Loop loop;
  sdi::circuit.list_first();  // the open wire goes second, before the loop's wires
  add_wire(point(200, 136), point(200, 40));
  Capture cap;
  run_check();
  EXPECT_EQ(cap.messages, (Texts{"Line must be connected at both nodes"}));
  EXPECT_EQ(sdi::run_error_count, 1);
  // Nothing after the faulty wire was merged or removed.
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 5, 0, 5, 5}));
}

TEST(Connectivity, ClockOnASwitchControlIsAControlNode) {
  NodeGuard g;
  auto* v = at(new sdi::source(sdi::kind_voltage_source, 1), point(400, 352));  // pins (400,328), (400,376)
  auto* sw = at(new sdi::switch2(1), point(400, 400));  // (400,376) (400,424) on (384,392) off (384,408)
  auto* r = at(new sdi::basic(sdi::kind_resistor, 1), point(400, 448));  // (400,424), (400,472)
  add_wire(point(400, 328), point(400, 472));
  at(new sdi::ground(1), point(400, 472));
  auto* on = at(new sdi::clockx(1), point(384, 392));
  auto* off = at(new sdi::clockx(1), point(384, 408));
  Capture cap;
  run_check();
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(node_numbers(v), (std::vector<int>{0, 1}));
  EXPECT_EQ(node_numbers(sw), (std::vector<int>{1, 2, 1004, 1005}));
  EXPECT_EQ(node_numbers(r), (std::vector<int>{2, 0}));
  EXPECT_EQ(node_numbers(on), (std::vector<int>{1004}));
  EXPECT_EQ(node_numbers(off), (std::vector<int>{1005}));
  EXPECT_EQ(sdi::numn, 3);
}

TEST(Connectivity, CurrentSenseOutputFeedingOnlyALimiterIsControl) {
  NodeGuard g;
  auto* is = at(new sdi::current_sense(1), point(400, 400));               // output (400,416)
  auto* lim = at(new sdi::limiter(sdi::kind_upper_limiter, 1), point(400, 440));  // input (400,416)
  sdi::number_nodes();
  sdi::renumber_nodes();
  EXPECT_EQ(sdi::pin_node(is, 2), 1001);
  EXPECT_EQ(sdi::pin_node(lim, 0), 1001);
  EXPECT_EQ(sdi::numn, 0);
}

TEST(Connectivity, CurrentSenseOutputFeedingAResistorIsNetwork) {
  NodeGuard g;
  auto* is = at(new sdi::current_sense(1), point(400, 400));
  at(new sdi::limiter(sdi::kind_upper_limiter, 1), point(400, 440));
  auto* r = at(new sdi::basic(sdi::kind_resistor, 1), point(400, 440));
  sdi::number_nodes();
  sdi::renumber_nodes();
  EXPECT_EQ(sdi::pin_node(is, 2), 0);
  EXPECT_EQ(sdi::pin_node(r, 0), 0);
  EXPECT_EQ(sdi::pin_node(r, 1), 1);  // shared with the limiter's output
  EXPECT_EQ(sdi::numn, 2);
}

TEST(Connectivity, ControlNodesAboveAThousandDoNotCollide) {
  NodeGuard g;
  // Node numbers are assigned directly: 1 is a clock's node, 1001 a network node.
  auto* clk = at(new sdi::clockx(1), point(100, 100));
  auto* r = at(new sdi::basic(sdi::kind_resistor, 1), point(300, 300));
  *clk->nodes.list_value_at(0) = 1;
  *r->nodes.list_value_at(0) = 0;
  *r->nodes.list_value_at(1) = 1001;
  sdi::next_free_node = 1002;
  sdi::renumber_nodes();
  EXPECT_EQ(node_numbers(clk), (std::vector<int>{1001}));
  EXPECT_EQ(node_numbers(r), (std::vector<int>{0, 1}));
  EXPECT_EQ(sdi::numn, 2);
}

namespace {

// The messages of check_nodes on what is in the circuit.
Texts messages_of_check() {
  Capture cap;
  run_check();
  return cap.messages;
}

}  // namespace

TEST(Connectivity, ResistorWithAnOpenPin) {
  NodeGuard g;
  Loop loop;
  at(new sdi::basic(sdi::kind_capacitor, 1), point(400, 208));  // shares R1's bottom pin only
  EXPECT_EQ(messages_of_check(), (Texts{"Element must be connected at both nodes"}));
}

TEST(Connectivity, DiodeAndSourcesNameThemselves) {
  {
    NodeGuard g;
    Loop loop;
    at(new sdi::diode(1), point(400, 208));
    EXPECT_EQ(messages_of_check(), (Texts{"Diode must be connected at both nodes"}));
  }
  {
    NodeGuard g;
    Loop loop;
    at(new sdi::sine(1), point(400, 208));
    EXPECT_EQ(messages_of_check(), (Texts{"Sine wave generator must be connected at both nodes"}));
  }
  {
    NodeGuard g;
    Loop loop;
    at(new sdi::source(sdi::kind_current_source, 1), point(400, 208));
    EXPECT_EQ(messages_of_check(), (Texts{"Current source must be connected at both nodes"}));
  }
}

TEST(Connectivity, LoneClockAndTheChecksStopAtTheFirstElement) {
  NodeGuard g;
  Loop loop;
  at(new sdi::clockx(1), point(800, 800));
  at(new sdi::op_amp(1), point(800, 400));
  EXPECT_EQ(messages_of_check(), (Texts{"Clock must be connected to a switch control"}));
}

TEST(Connectivity, OpAmpAndMultiplier) {
  {
    NodeGuard g;
    at(new sdi::op_amp(1), point(800, 400));
    EXPECT_EQ(messages_of_check(), (Texts{"Op-Amp must have all 3 nodes connected"}));
  }
  {
    NodeGuard g;
    at(new sdi::multiplier(1), point(800, 400));
    EXPECT_EQ(messages_of_check(), (Texts{"Multiplier must have all 3 nodes connected"}));
  }
  {
    NodeGuard g;
    at(new sdi::current_sense(1), point(800, 400));
    EXPECT_EQ(messages_of_check(), (Texts{"Current sense must have all 3 nodes connected"}));
  }
}

TEST(Connectivity, SwitchPins) {
  NodeGuard g;
  Loop loop;
  at(new sdi::switch2(1), point(800, 400));
  EXPECT_EQ(messages_of_check(), (Texts{"Switch must be connected at first 2 nodes", "Switch must have ON connected",
                                        "Switch must have OFF connected"}));
  EXPECT_EQ(sdi::run_error_count, 3);
}

namespace {

// A modulator at (400,400): inputs (376,384) and (376,416), output (424,400),
// which drives a switch's on control; the switch's other pins are left open.
sdi::modulator* modulator_on_switch(double k1, double k2) {
  auto* mod = at(new sdi::modulator(1), point(400, 400));
  mod->values[1] = k1;
  mod->values[2] = k2;
  auto* l = at(new sdi::llabel(1), point(376, 384));
  l->set_letter('a');
  at(new sdi::llabel(1), point(600, 600))->set_letter('a');
  at(new sdi::switch2(1), point(440, 408));  // on control (424,400)
  return mod;
}

}  // namespace

TEST(Connectivity, ModulatorWithAnOpenInputWhoseGainIsZeroPasses) {
  NodeGuard g;
  modulator_on_switch(1.0, 0.0);
  // The modulator passes; the first message is the switch's.
  EXPECT_EQ(messages_of_check(), (Texts{"Switch must be connected at first 2 nodes", "Switch must have OFF connected"}));
}

TEST(Connectivity, ModulatorWithAnOpenInputWhoseGainIsNotZero) {
  NodeGuard g;
  modulator_on_switch(1.0, 0.5);
  EXPECT_EQ(messages_of_check(), (Texts{"Modulator must have input connected when corresponding k != 0"}));
}

TEST(Connectivity, ControlOutputsOnAnythingButASwitch) {
  NodeGuard g;
  Loop loop;
  // Two clocks and a threshold on the loop's top node: each is reported, and the walk goes on.
  at(new sdi::clockx(1), point(200, 136));
  at(new sdi::threshold(1), point(400, 136));
  at(new sdi::clockx(1), point(400, 136));
  EXPECT_EQ(messages_of_check(),
            (Texts{"Clock may only be connected to switch control", "Threshold may only be connected to switch control",
                   "Clock may only be connected to switch control"}));
}

TEST(Connectivity, LimitersVcoAndVoltageSourceNameThemselves) {
  const std::pair<int, const char*> cases[] = {
      {sdi::kind_upper_limiter, "Limiter must be connected at both nodes"},
      {sdi::kind_lower_limiter, "Limiter must be connected at both nodes"},
      {sdi::kind_vco, "VCO must be connected at both nodes"},
      {sdi::kind_voltage_source, "Voltage source must be connected at both nodes"},
  };
  for (const auto& [kind, text] : cases) {
    NodeGuard g;
    Loop loop;
    const point far(800, 800);
    if (kind == sdi::kind_vco) at(new sdi::vco(1), far);
    else if (kind == sdi::kind_voltage_source) at(new sdi::source(kind, 1), far);
    else at(new sdi::limiter(kind, 1), far);
    EXPECT_EQ(messages_of_check(), (Texts{text})) << kind;
    EXPECT_EQ(sdi::run_error_count, 1);
  }
}

TEST(Connectivity, LoneThresholdAndModulatorOutputs) {
  {
    NodeGuard g;
    Loop loop;
    at(new sdi::threshold(1), point(800, 800));
    EXPECT_EQ(messages_of_check(), (Texts{"Threshold must be connected to a switch control"}));
  }
  {
    NodeGuard g;
    Loop loop;
    auto* mod = at(new sdi::modulator(1), point(800, 800));
    mod->values[1] = 0.0;
    mod->values[2] = 0.0;
    // Open inputs pass with both gains 0; the open output does not.
    EXPECT_EQ(messages_of_check(), (Texts{"Modulator must have output connected to switch control"}));
  }
}

TEST(Connectivity, ModulatorOutputOnAResistorIsReportedAndTheWalkGoesOn) {
  NodeGuard g;
  Loop loop;
  auto* mod = at(new sdi::modulator(1), point(376, 136));  // output (400,136): the resistor's top
  mod->values[1] = 0.0;
  mod->values[2] = 0.0;
  at(new sdi::basic(sdi::kind_capacitor, 1), point(800, 800));  // both pins open
  EXPECT_EQ(messages_of_check(), (Texts{"Modulator output may only be connected to switch control",
                                        "Element must be connected at both nodes"}));
  EXPECT_EQ(sdi::run_error_count, 2);
}

TEST(Connectivity, SwitchWithOnlyItsOnControlOpen) {
  NodeGuard g;
  at(new sdi::source(sdi::kind_voltage_source, 1), point(400, 352));  // pins (400,328), (400,376)
  at(new sdi::switch2(1), point(400, 400));  // (400,376) (400,424) on (384,392) off (384,408)
  at(new sdi::basic(sdi::kind_resistor, 1), point(400, 448));  // (400,424), (400,472)
  add_wire(point(400, 328), point(400, 472));
  at(new sdi::ground(1), point(400, 472));
  at(new sdi::clockx(1), point(384, 408));
  EXPECT_EQ(messages_of_check(), (Texts{"Switch must have ON connected"}));
}

TEST(Connectivity, AnIncompleteCouplingSkipsThePinChecks) {
  NodeGuard g;
  Loop loop;
  at(new sdi::basic(sdi::kind_capacitor, 1), point(800, 800));  // open, but never looked at
  add_coupling(point(1600, 1600), point(1800, 1600));  // no inductor under either end
  EXPECT_EQ(messages_of_check(), (Texts{"Incomplete Circuit"}));
  // The wires were still merged and left the working list.
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 0, 1, 8}));
}
