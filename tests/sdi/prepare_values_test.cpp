// The value checks before a run: which entered values count as faulty, and
// the references a paste must shift.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "netlist_writer_circuits.h"
#include "run_launch_circuits.h"
#include "sdi/netlist/prepare_circuit.h"

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

template <class T>
sdi::element* with(T* e, std::function<void(T&)> set) {
  set(*e);
  return e;
}

}  // namespace

TEST(CheckValues, FaultsOfOneElement) {
  using sdi::basic;
  struct Row {
    const char* label;
    std::function<sdi::element*()> make;
    int faults;
  };
  auto value = [](int kind, double v) { return [=] { return with<basic>(new basic(kind, 1), [=](basic& b) { b.values[0] = v; }); }; };
  const Row rows[] = {
      {"resistor below the limit", value(sdi::kind_resistor, 1e-14), 1},
      {"resistor at the limit", value(sdi::kind_resistor, 1e-13), 0},
      {"capacitor by magnitude", value(sdi::kind_capacitor, -1e-6), 0},
      {"capacitor's initial value", [] { return with<basic>(new basic(sdi::kind_capacitor, 1), [](basic& b) { b.values[0] = 1.0; b.initial = inf; }); }, 1},
      {"source pair", [] { return with<sdi::source>(new sdi::source(sdi::kind_voltage_source, 1), [](sdi::source& s) { s.values[0] = 1.0; s.pairs[4][1] = inf; }); }, 1},
      {"source pair time", [] { return with<sdi::source>(new sdi::source(sdi::kind_current_source, 1), [](sdi::source& s) { s.values[0] = 1.0; s.pairs[2][0] = nan; }); }, 1},
      {"sine frequency NaN", [] { return with<sdi::sine>(new sdi::sine(1), [](sdi::sine& s) { s.values[0] = 1.0; s.frequency = nan; }); }, 1},
      {"sine phase", [] { return with<sdi::sine>(new sdi::sine(1), [](sdi::sine& s) { s.values[0] = 1.0; s.frequency = 50.0; s.phase = inf; }); }, 1},
      // Its reactances are 1/(2 pi f): at 0 Hz they would reach the netlist as "inf".
      {"sine at 0 Hz", [] { return with<sdi::sine>(new sdi::sine(1), [](sdi::sine& s) { s.values[0] = 1.0; s.frequency = 0.0; }); }, 1},
      {"sine below the limit", [] { return with<sdi::sine>(new sdi::sine(1), [](sdi::sine& s) { s.values[0] = 1.0; s.frequency = -1e-14; }); }, 1},
      {"sine denormal", [] { return with<sdi::sine>(new sdi::sine(1), [](sdi::sine& s) { s.values[0] = 1.0; s.frequency = 1e-320; }); }, 1},
      {"sine at the limit", [] { return with<sdi::sine>(new sdi::sine(1), [](sdi::sine& s) { s.values[0] = 1.0; s.frequency = 1e-13; }); }, 0},
      {"sine by magnitude", [] { return with<sdi::sine>(new sdi::sine(1), [](sdi::sine& s) { s.frequency = -50.0; }); }, 0},
      {"op-amp input resistance", [] { return with<sdi::op_amp>(new sdi::op_amp(1), [](sdi::op_amp& o) { o.Ri = inf; }); }, 1},
      {"op-amp output resistance", [] { return with<sdi::op_amp>(new sdi::op_amp(1), [](sdi::op_amp& o) { o.Ro = nan; }); }, 1},
      {"vco constant", [] { return with<sdi::vco>(new sdi::vco(1), [](sdi::vco& v) { v.values[0] = 1.0; v.constant = nan; }); }, 1},
      {"negative primary", [] { return with<sdi::xform>(new sdi::xform(sdi::kind_primary, 1), [](sdi::xform& x) { x.values[0] = -5.0; }); }, 1},
      {"secondary without primary", [] { return with<sdi::xform>(new sdi::xform(sdi::kind_secondary, 1), [](sdi::xform& x) { x.values[0] = 2.0; }); }, 1},
      {"secondary", [] { return with<sdi::xform>(new sdi::xform(sdi::kind_secondary, 1), [](sdi::xform& x) { x.values[0] = 2.0; x.partner = 9; }); }, 0},
      {"negative coupling", [] { return with<sdi::cmutind>(new sdi::cmutind, [](sdi::cmutind& m) { m.values[0] = -0.5; m.inductor1 = 3; m.inductor2 = 4; }); }, 0},
      {"controlled source without control", [] { return with<sdi::depsource>(new sdi::depsource(sdi::kind_vcvs, 1), [](sdi::depsource& d) { d.values[0] = 2.0; }); }, 1},
      {"clock without delay", [] { return with<sdi::clockx>(new sdi::clockx(1), [](sdi::clockx& c) { c.values[2] = 1e-5; }); }, 0},
      {"clock with negative delay", [] { return with<sdi::clockx>(new sdi::clockx(1), [](sdi::clockx& c) { c.values[1] = -1e-9; c.values[2] = 1e-5; }); }, 1},
      {"threshold coefficient without its output", [] { return with<sdi::threshold>(new sdi::threshold(1), [](sdi::threshold& t) { t.coefficients.append(0.0); t.coefficients.append(3.0); t.outputs.append(5); }); }, 1},
      {"threshold table", [] { return with<sdi::threshold>(new sdi::threshold(1), [](sdi::threshold& t) { *t.table.list_value_at(1) = nan; }); }, 1},
      {"fresh threshold", [] { return new sdi::threshold(1); }, 0},
      {"fresh clock: no period", [] { return new sdi::clockx(1); }, 1},
      {"primary with an unlinked secondary", [] { return with<sdi::xform>(new sdi::xform(sdi::kind_primary, 1), [](sdi::xform& x) { x.values[0] = 5.0; x.secondaries.append(7); x.secondaries.append(0); }); }, 1},
      {"primary", [] { return with<sdi::xform>(new sdi::xform(sdi::kind_primary, 1), [](sdi::xform& x) { x.values[0] = 5.0; x.secondaries.append(7); }); }, 0},
      {"coupling with one inductor", [] { return with<sdi::cmutind>(new sdi::cmutind, [](sdi::cmutind& m) { m.values[0] = 0.5; m.inductor1 = 3; }); }, 1},
      {"coupling below the limit", [] { return with<sdi::cmutind>(new sdi::cmutind, [](sdi::cmutind& m) { m.values[0] = -1e-14; m.inductor1 = 3; m.inductor2 = 4; }); }, 1},
      {"controlled source by magnitude", [] { return with<sdi::depsource>(new sdi::depsource(sdi::kind_icis, 1), [](sdi::depsource& d) { d.values[0] = -2.0; d.control = 3; }); }, 0},
      {"controlled source at the limit", [] { return with<sdi::depsource>(new sdi::depsource(sdi::kind_icis, 1), [](sdi::depsource& d) { d.values[0] = -1e-13; d.control = 3; }); }, 0},
      {"controlled source below the limit", [] { return with<sdi::depsource>(new sdi::depsource(sdi::kind_icis, 1), [](sdi::depsource& d) { d.values[0] = 1e-14; d.control = 3; }); }, 1},
      {"clock period at the limit", [] { return with<sdi::clockx>(new sdi::clockx(1), [](sdi::clockx& c) { c.values[2] = 1e-13; }); }, 0},
      {"clock period below the limit", [] { return with<sdi::clockx>(new sdi::clockx(1), [](sdi::clockx& c) { c.values[2] = 1e-14; }); }, 1},
      {"threshold driving no switch", [] { return with<sdi::threshold>(new sdi::threshold(1), [](sdi::threshold& t) { t.table.resize(4); *t.table.list_value_at(3) = 1.0; }); }, 1},
      {"threshold driving its switch", [] { return with<sdi::threshold>(new sdi::threshold(1), [](sdi::threshold& t) { t.table.resize(4); *t.table.list_value_at(3) = 1.0; t.switch_id = 6; }); }, 0},
  };
  CircuitGuard guard;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    CircuitGuard::clear();
    Capture cap;
    sdi::element* e = row.make();
    e->flags.set(sdi::flag_values_set);
    e->selected = 0;
    sdi::circuit.append(e);
    sdi::circuit.assign_id();
    EXPECT_EQ(sdi::check_values(), row.faults);
    // A faulty element is shown selected (once for the rule, once for the cleared flag).
    EXPECT_EQ(e->selected, 2 * row.faults);
    EXPECT_EQ(e->flags.test(sdi::flag_values_set), row.faults ? 0 : 1);
    EXPECT_TRUE(cap.errors.empty());
  }
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
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/netlist/prepare_values.cpp: Internal"}));
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
  EXPECT_EQ(*sw.links.list_value_at(0), 57);
  EXPECT_TRUE(cap.errors.empty());
  sdi::cmutind both;  // both inductors copied
  both.inductor1 = 1;
  both.inductor2 = 3;
  EXPECT_EQ(sdi::FixPastedReferences(&both, 50, lookup), 1);
  EXPECT_EQ(std::make_pair(both.inductor1, both.inductor2), std::make_pair(51, 53));
  auto* m = new sdi::cmutind;
  m->inductor1 = 1;
  m->inductor2 = 8;  // the second inductor stayed behind
  EXPECT_EQ(sdi::FixPastedReferences(m, 50, lookup), 0);  // deleted
  EXPECT_EQ(cap.messages,
            (std::vector<std::string>{"Mutual inductance is copied only if both inductors are also copied."}));
}

// Each kind's references and its linked-id list move together: the ids of
// merged elements (1 to 4 here) by the offset, the others stay.
TEST(FixPastedReferences, EachKindMovesItsReferencesWithItsLinks) {
  auto ids = [](std::initializer_list<int> v, sdi::ilist& l) {
    for (int x : v) l.append(x);
  };
  auto list = [](sdi::ilist& l) {
    std::vector<int> out;
    for (sdi::inode* n = l.head; n; n = static_cast<sdi::inode*>(n->next)) out.push_back(n->value);
    return out;
  };
  // The element's own references, then its linked ids.
  auto refs = [&](sdi::element* e) {
    std::vector<int> out;
    if (auto* x = dynamic_cast<sdi::xform*>(e)) {
      out = list(x->secondaries);
      out.push_back(x->partner);
    } else if (auto* m = dynamic_cast<sdi::cmutind*>(e)) {
      out = {m->inductor1, m->inductor2};
    } else if (auto* d = dynamic_cast<sdi::depsource*>(e)) {
      out = {d->control};
    } else if (auto* t = dynamic_cast<sdi::threshold*>(e)) {
      out = list(t->outputs);
      out.push_back(t->switch_id);
    }
    for (int v : list(e->links)) out.push_back(v);
    return out;
  };
  auto threshold = [&](double entry4) {
    auto* t = new sdi::threshold(1);
    ids({1, 2, 9}, t->outputs);
    for (double k : {2.0, 0.0, 1.0}) t->coefficients.append(k);
    t->table.resize(4);
    *t->table.list_value_at(3) = entry4;
    t->switch_id = 4;
    ids({4}, t->links);
    return t;
  };
  const struct {
    const char* label;
    std::function<sdi::element*()> make;
    std::vector<int> after;
  } rows[] = {
      {"primary: found secondaries and their links", [&] {
         auto* p = new sdi::xform(sdi::kind_primary, 1);
         ids({3, 9}, p->secondaries);
         ids({3, 9}, p->links);
         return p;
       }, {53, 9, 0, 53, 9}},
      {"secondary: its primary found, every link moves", [&] {
         auto* s = new sdi::xform(sdi::kind_secondary, 1);
         s->partner = 2;
         ids({2, 0, 9}, s->links);
         return s;
       }, {52, 52, 0, 59}},
      {"secondary: its primary not merged", [&] {
         auto* s = new sdi::xform(sdi::kind_secondary, 1);
         s->partner = 9;
         ids({9}, s->links);
         return s;
       }, {9, 9}},
      {"coupling", [&] {
         auto* m = new sdi::cmutind;
         m->inductor1 = 1;
         m->inductor2 = 3;
         ids({1, 3}, m->links);
         return m;
       }, {51, 53, 51, 53}},
      {"controlled source not merged with its control", [&] {
         auto* d = new sdi::depsource(sdi::kind_vcvs, 1);
         d->control = 9;
         ids({9}, d->links);
         return d;
       }, {9, 9}},
      {"threshold: weighed outputs and its switch", [&] { return threshold(1.0); }, {51, 2, 9, 54, 54}},
      {"threshold: a switch it does not drive", [&] { return threshold(0.0); }, {51, 2, 9, 4, 54}},
      {"switch: its threshold", [&] {
         auto* s = new sdi::switch2(1);
         ids({4, 9}, s->links);
         return s;
       }, {54, 9}},
  };
  for (const auto& row : rows) {
    std::unique_ptr<sdi::element> e(row.make());
    EXPECT_EQ(sdi::FixPastedReferences(e.get(), 50, {1, 2, 3, 4}), 1) << row.label;
    EXPECT_EQ(refs(e.get()), row.after) << row.label;
  }
}
