#include <gtest/gtest.h>

#include <limits>

#include "netlist_writer_circuits.h"
#include "run_launch_circuits.h"
#include "sdi/prepare_circuit.h"

namespace {

// One element alone in the circuit, values entered; its check count.
int faults_of(sdi::element* e) {
  CircuitGuard::clear();
  e->flags.set(sdi::flag_values_set);
  e->selected = 0;
  sdi::circuit.append(e);
  sdi::circuit.assign_id();
  return sdi::check_values();
}

}  // namespace

TEST(CheckValues, LimitsOfTheMainValue) {
  CircuitGuard guard;
  Capture cap;
  auto* r = new sdi::basic(sdi::kind_resistor, 1);
  r->values[0] = 1e-14;
  EXPECT_EQ(faults_of(r), 1);
  EXPECT_EQ(r->selected, 2);  // once for the rule, once for the cleared flag
  EXPECT_FALSE(r->flags.test(sdi::flag_values_set));
  r = new sdi::basic(sdi::kind_resistor, 1);
  r->values[0] = 1e-13;  // exactly the limit passes
  EXPECT_EQ(faults_of(r), 0);
  EXPECT_EQ(r->selected, 0);
  r = new sdi::basic(sdi::kind_capacitor, 1);
  r->values[0] = -1e-6;  // by magnitude
  EXPECT_EQ(faults_of(r), 0);
  auto* v = new sdi::source(sdi::kind_voltage_source, 1);
  v->values[0] = 1.0;
  v->pairs[4][1] = std::numeric_limits<double>::infinity();
  EXPECT_EQ(faults_of(v), 1);
  auto* s = new sdi::sine(1);
  s->values[0] = 1.0;
  s->frequency = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(faults_of(s), 1);
}

TEST(CheckValues, SignedLimitsOfWindingsAndCouplings) {
  CircuitGuard guard;
  Capture cap;
  auto* pri = new sdi::xform(sdi::kind_primary, 1);
  pri->values[0] = -5.0;
  EXPECT_EQ(faults_of(pri), 1);
  auto* sec = new sdi::xform(sdi::kind_secondary, 1);
  sec->values[0] = 2.0;  // no primary
  EXPECT_EQ(faults_of(sec), 1);
  sec = new sdi::xform(sdi::kind_secondary, 1);
  sec->values[0] = 2.0;
  sec->partner = 9;
  EXPECT_EQ(faults_of(sec), 0);
  auto* m = new sdi::cmutind;
  m->values[0] = -0.5;
  m->inductor1 = 3;
  m->inductor2 = 4;
  EXPECT_EQ(faults_of(m), 0);
  auto* e = new sdi::depsource(sdi::kind_vcvs, 1);
  e->values[0] = 2.0;  // no controlling element
  EXPECT_EQ(faults_of(e), 1);
}

TEST(CheckValues, ClocksAndThresholds) {
  CircuitGuard guard;
  Capture cap;
  auto* c = new sdi::clockx(1);
  c->values[2] = 1e-5;
  EXPECT_EQ(faults_of(c), 0);  // delay 0 passes
  c = new sdi::clockx(1);
  c->values[1] = -1e-9;
  c->values[2] = 1e-5;
  EXPECT_EQ(faults_of(c), 1);
  auto* t = new sdi::threshold(1);
  t->coefficients.append(0.0);
  t->coefficients.append(3.0);  // coefficient 1 with no linked output 1
  t->outputs.append(5);
  EXPECT_EQ(faults_of(t), 1);
  t = new sdi::threshold(1);  // fresh: short tables read as zeros
  EXPECT_EQ(faults_of(t), 0);
  EXPECT_TRUE(cap.errors.empty());
}

TEST(CheckValues, ElementsWithoutEnteredValuesAreCounted) {
  CircuitGuard guard;
  Capture cap;
  auto* r = add_symbol(new sdi::basic(sdi::kind_resistor, 1), {100, 100});
  r->values[0] = 5.0;
  auto* w = add_wire({8, 8}, {80, 8});
  w->flags.clear(sdi::flag_values_set);
  EXPECT_EQ(sdi::check_values(), 2);
  EXPECT_EQ(r->selected, 1);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Circd2: Internal"}));
}

TEST(ListHelpers, MarkDeleteMaxAndOffset) {
  CircuitGuard guard;
  EXPECT_EQ(sdi::GetMaxElementId(), 0);
  auto* a = add_symbol(new sdi::basic(sdi::kind_resistor, 1), {100, 100});
  auto* b = add_symbol(new sdi::basic(sdi::kind_resistor, 1), {200, 100});
  auto* c = add_symbol(new sdi::basic(sdi::kind_resistor, 1), {300, 100});
  c->id = 17;
  EXPECT_EQ(sdi::GetMaxElementId(), 17);
  sdi::elist some;
  some.append(a);
  some.append(c);
  sdi::MarkElements(some);
  some.list_clear();
  EXPECT_EQ(a->temporary, 1);
  EXPECT_EQ(b->temporary, 0);
  sdi::DeleteFlaggedElements();
  EXPECT_EQ(circuit_ids(), (std::vector<int>{b->id}));
  sdi::ilist ids;
  for (int v : {0, 3, 0, 5}) ids.append(v);
  sdi::OffsetIds(ids, 100);
  EXPECT_EQ(*ids.list_value_at(1), 103);
  EXPECT_EQ(*ids.list_value_at(2), 0);
  EXPECT_EQ(*ids.list_value_at(3), 105);
  ids.list_clear();
}

TEST(FixPastedReferences, ShiftsOnlyIdsOfTheMergedSet) {
  Capture cap;
  const std::set<int> lookup{1, 2, 3, 4};
  sdi::depsource e(sdi::kind_icis, 1);
  e.control = 2;
  e.links.append(2);
  EXPECT_EQ(sdi::FixPastedReferences(&e, 50, lookup), 1);
  EXPECT_EQ(e.control, 52);
  EXPECT_EQ(*e.links.list_value_at(0), 52);
  sdi::depsource outside(sdi::kind_icis, 1);
  outside.control = 9;  // not merged: left alone
  EXPECT_EQ(sdi::FixPastedReferences(&outside, 50, lookup), 1);
  EXPECT_EQ(outside.control, 9);

  sdi::xform pri(sdi::kind_primary, 1);
  pri.secondaries.append(3);
  pri.links.append(3);
  sdi::FixPastedReferences(&pri, 50, lookup);
  EXPECT_EQ(*pri.secondaries.list_value_at(0), 53);
  EXPECT_EQ(*pri.links.list_value_at(0), 53);

  sdi::threshold th(1);
  th.outputs.append(1);
  th.coefficients.append(2.0);
  th.table.resize(4);
  *th.table.list_value_at(3) = 1.0;
  th.switch_id = 4;
  th.links.append(4);
  sdi::switch2 sw(1);
  sw.links.append(7);  // its threshold, merged too
  sdi::FixPastedReferences(&th, 50, lookup);
  sdi::FixPastedReferences(&sw, 50, {7});
  EXPECT_EQ(*th.outputs.list_value_at(0), 51);
  EXPECT_EQ(th.switch_id, 54);
  EXPECT_EQ(*th.links.list_value_at(0), 54);
  EXPECT_EQ(*sw.links.list_value_at(0), 57);
  EXPECT_TRUE(cap.errors.empty());

  auto* m = new sdi::cmutind;
  m->inductor1 = 1;
  m->inductor2 = 8;  // the second inductor stayed behind
  EXPECT_EQ(sdi::FixPastedReferences(m, 50, lookup), 0);  // deleted
  EXPECT_EQ(cap.messages,
            (std::vector<std::string>{"Mutual inductance is copied only if both inductors are also copied."}));
}

TEST(CheckValues, SineWithoutAFrequencyIsFaulty) {
  CircuitGuard guard;
  Capture cap;
  // Its two reactances are 1/(2 pi f): at 0 Hz they would reach the netlist as "inf".
  for (double f : {0.0, -1e-14, 1e-320}) {
    auto* s = new sdi::sine(1);
    s->values[0] = 1.0;
    s->frequency = f;
    EXPECT_EQ(faults_of(s), 1) << f;
    EXPECT_EQ(s->selected, 2) << f;
  }
  auto* s = new sdi::sine(1);
  s->values[0] = 1.0;
  s->frequency = 1e-13;  // the limit passes, as for the other values
  EXPECT_EQ(faults_of(s), 0);
  s = new sdi::sine(1);
  s->frequency = -50.0;
  EXPECT_EQ(faults_of(s), 0);
  EXPECT_TRUE(cap.errors.empty());
}
