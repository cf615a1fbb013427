// Placing, selecting and deleting elements of the circuit.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "capture.h"
#include "common/temp_dir.h"
#include "ckt_builder.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/image.h"
#include "sdi/edit/place_element.h"
#include "sdi/edit/select_ops.h"
#include "sdi/elements/sub_element.h"

namespace {
using sdi::point;
}  // namespace

TEST(PlaceElement, PlacingNamesInsertsAndMakesTheNextOne) {
  CircuitGuard guard;
  sdi::circuit_modified = 0;
  sdi::new_inductor();
  sdi::element* l = sdi::pending_element;
  l->place_at(point(200, 160));
  sdi::place_new_element();
  EXPECT_EQ(circuit_ids(), (std::vector<int>{1}));
  EXPECT_STREQ(l->name(), "L1");
  EXPECT_EQ(sdi::circuit_modified, 1);
  ASSERT_NE(sdi::pending_element, nullptr);
  EXPECT_NE(sdi::pending_element, l);
  EXPECT_EQ(sdi::pending_element->kind, sdi::kind_inductor);
  EXPECT_EQ(sdi::pending_element->id, 0);
}

TEST(PlaceElement, AnElementAlreadyPlacedIsRefused) {
  CircuitGuard guard;
  sdi::new_resistor();
  sdi::element* r = sdi::pending_element;
  r->place_at(point(200, 160));
  sdi::place_new_element();
  delete sdi::pending_element;
  sdi::pending_element = r;  // the placed resistor again
  Capture cap;
  sdi::place_new_element();
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"Not a new element is being placed"}));
  EXPECT_EQ(circuit_ids(), (std::vector<int>{1}));  // not in the list twice
  EXPECT_EQ(sdi::pending_element, nullptr);         // the list owns it
}

TEST(SelectOps, ElementsInsideTheBandAreCounted) {
  CircuitGuard guard;
  auto* r1 = add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160));  // pins y 136, 184
  auto* r2 = add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 260));  // pins y 236, 284
  auto* w = add_wire(point(100, 150), point(150, 150));
  auto* p = add_symbol(new sdi::probe(1), point(400, 160));
  // The band holds r1 whole, r2's top pin only, the wire, and a corner of the probe.
  EXPECT_EQ(sdi::select_in_rect(sdi::rect(90, 100, 320, 150)), 3);
  EXPECT_EQ(r1->selected, 1);
  EXPECT_EQ(r2->selected, 0);
  EXPECT_EQ(w->selected, 1);
  EXPECT_EQ(p->selected, 1);
  EXPECT_EQ(sdi::select_in_rect(sdi::rect(90, 100, 320, 150)), 3);
  EXPECT_EQ(r1->selected, 2);
  sdi::deselect_all();
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) EXPECT_EQ(n->value->selected, 0);
}

TEST(EditDelete, DeletingAnInductorTakesItsCouplings) {
  CircuitGuard guard;
  auto* l1 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 160));
  auto* l2 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(400, 160));
  auto* m = new sdi::cmutind;
  m->inductor1 = l1->id;
  m->inductor2 = l2->id;
  sdi::circuit.insert(m);
  sdi::circuit.assign_id();
  auto* d = add_symbol(new sdi::depsource(sdi::kind_icis, 1), point(600, 160));
  d->control = l1->id;
  d->links.append(l1->id);
  d->flags.set(sdi::flag_values_set);
  sdi::element* got = sdi::delete_element(l1->id);
  EXPECT_EQ(got, l1);
  delete got;
  EXPECT_EQ(circuit_ids(), (std::vector<int>{2, 4}));
  EXPECT_EQ(d->links.count(), 0);
  EXPECT_EQ(d->flags.test(sdi::flag_values_set), 0);
}

// An element that carries an id but is not the circuit's element of that id
// (a pending element that was placed once) takes nothing out of the circuit.
TEST(EditDelete, RemovingAnElementNotInTheCircuitLeavesTheOneWithItsId) {
  CircuitGuard guard;
  auto* r = add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160));
  auto* stray = new sdi::basic(sdi::kind_capacitor, 1);
  stray->id = r->id;
  Capture cap;
  sdi::remove_element_from_sheet(stray);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/edit/edit_delete.cpp: Internal Assertion"}));
  ASSERT_NE(sdi::circuit.head, nullptr);
  EXPECT_EQ(sdi::circuit.head->value, r);
  EXPECT_EQ(sdi::circuit.head->next, nullptr);
}

// A one-pin symbol inside the band is taken like any other; a wire with one end
// outside is not.
TEST(SelectOps, OnePinSymbolsAndHalfWires) {
  CircuitGuard guard;
  auto* g = add_symbol(new sdi::ground(1), point(200, 160));  // pin (200,160)
  auto* w = add_wire(point(200, 160), point(400, 160));
  EXPECT_EQ(sdi::select_in_rect(sdi::rect(100, 100, 200, 200)), 1);
  EXPECT_EQ(g->selected, 1);
  EXPECT_EQ(w->selected, 0);
}

// Clearing the circuit deletes its elements, not only the list's hold on them
// (a probe's destructor gives its count back).
TEST(EditDelete, DeleteAllElementsDeletesThem) {
  CircuitGuard guard;
  add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160));
  add_symbol(new sdi::probe(1), point(400, 160));
  ASSERT_EQ(sdi::probe_count, 1);
  sdi::delete_all_elements();
  EXPECT_EQ(sdi::circuit.head, nullptr);
  EXPECT_EQ(sdi::probe_count, 0);
}

// Grid snapping clamps to the sheet (a pending symbol kept whole on it), then
// rounds to the nearest multiple of 8, halves upwards.
TEST(Placement, SnapToGridClampsThenRounds) {
  TempDir dir;
  {
    std::ofstream("odd.sym") << "ODD\n13,13,8,8\n1\n0,0,12,12\n1\n8,8\n0\n";  // right edge 2995: rounds down
  }
  const struct {
    const char* label;
    std::function<sdi::element*()> pending;
    point in, out;
  } rows[] = {
      {"below the sheet", [] { return nullptr; }, {0, -20}, {0, 0}},
      {"halves upwards", [] { return nullptr; }, {3, 4}, {0, 8}},
      {"nearest", [] { return nullptr; }, {11, 13}, {8, 16}},
      {"past the sheet", [] { return nullptr; }, {5000, 2999}, {3000, 3000}},
      {"a wire being drawn", [] { return new sdi::cline; }, {5000, 0}, {3000, 0}},
      {"an upright resistor, low", [] { return new sdi::basic(sdi::kind_resistor, 1); }, {0, 0}, {8, 24}},
      {"an upright resistor, high", [] { return new sdi::basic(sdi::kind_resistor, 1); }, {5000, 5000}, {2992, 2976}},
      {"a symbol whose edge rounds down", [] { return new sdi::sub("odd", 1); }, {5000, 5000}, {2992, 2992}},
  };
  for (const auto& row : rows) {
    sdi::pending_element = row.pending();
    EXPECT_EQ(sdi::snap_to_grid(row.in.x, row.in.y), row.out) << row.label;
    delete sdi::pending_element;
    sdi::pending_element = nullptr;
  }
}

// A wire being drawn takes the line the view gives it; only a pending line
// element can. Freeing the placement state takes the junction image too.
TEST(PlaceElement, AWireBeingDrawnTakesItsLine) {
  CircuitGuard guard;
  Capture cap;
  sdi::set_new_line(point(8, 8), point(16, 16), 0, 1, 0, 0);  // nothing pending
  sdi::new_resistor();
  sdi::set_new_line(point(8, 8), point(16, 16), 0, 1, 0, 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>(2, "sdi/edit/place_element.cpp: Internal Assertion"));
  delete sdi::pending_element;
  sdi::pending_element = nullptr;
  sdi::new_wire();
  sdi::set_new_line(point(96, 136), point(304, 200), 1, 4, 3, 2);
  auto* w = static_cast<sdi::bl_element*>(sdi::pending_element);
  EXPECT_EQ(std::vector<int>({w->shape.x1, w->shape.y1, w->shape.x2, w->shape.y2, w->shape.bend, w->shape.colour,
                              w->shape.mode, w->shape.style}),
            std::vector<int>({96, 136, 304, 200, 1, 4, 3, 2}));
  sdi::make_junction_image();
  ASSERT_NE(sdi::junction_image, nullptr);
  EXPECT_EQ(sdi::junction_image->bounds(), sdi::rect(0, 0, 3, 3));
  sdi::free_placement_state();
  EXPECT_EQ(sdi::junction_image, nullptr);
  EXPECT_EQ(sdi::pending_element, nullptr);
}
