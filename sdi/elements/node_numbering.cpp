#include "sdi/elements/node_numbering.h"

#include "sdi/elements/bl_element.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/node_errors.h"
#include "sdi/base/report.h"

namespace sdi {

int numn = 0;
int next_free_node = 0;

namespace {

// Calls f(element, pin index, node slot) for every pin of every element but couplings.
template <class F>
void each_pin(F f) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind == kind_mutual) continue;
    int i = 0;
    for (inode* p = e->nodes.head; p; p = static_cast<inode*>(p->next), ++i)
      if (!f(e, i, p->value)) return;
  }
}

}  // namespace

int pin_node(element* e, int pin) {
  if (!e || pin < 0) return -1;
  int i = 0;
  for (inode* p = e->nodes.head; p; p = static_cast<inode*>(p->next), ++i)
    if (i == pin) return p->value;
  return -1;
}

int point_query(const point& at, int value, int mode) {
  if (mode < 0 || mode > 2) {
    SDI_INTERNAL_CASE();
    return 0;
  }
  int count = 0;
  each_pin([&](element* e, int i, std::int32_t& node) {
    if (e->terminal_at(i) != at) return true;
    switch (mode) {
      case 0:
        if (node == -1) {
          node = value;
          ++count;
        }
        return true;
      case 1:
        ++count;
        return true;
      default:
        // A pin already on another node joins the two nets.
        if (node != -1 && node != value) circuit.replace_node(node, value);
        node = value;
        ++count;
        return true;
    }
  });
  return count;
}

pin_ref pin_of_kind_at(const point& at, int kind) {
  pin_ref found;
  each_pin([&](element* e, int i, std::int32_t&) {
    if (e->terminal_at(i) != at || e->kind != kind) return true;
    found = {e, i};
    return false;
  });
  return found;
}

int node_query(int node, int kind, int mode, int pin) {
  int count = 0;
  if (node == -1) return 0;
  if (mode != 3 && mode != 4 && mode != 5) {
    SDI_INTERNAL_CASE();
    return 0;
  }
  each_pin([&](element* e, int i, std::int32_t& n) {
    if (n != node) return true;
    if (mode == 5) {
      ++count;
      return true;
    }
    if (e->kind != kind || (mode == 3 && i != pin)) return true;
    count = 1;
    return false;
  });
  return count;
}

int pin_count(int node) { return node_query(node, -1, 5, 0); }

int pin_connected(element* e, int pin) { return pin_count(pin_node(e, pin)) > 1 ? 1 : 0; }

int kind_on_pin_node(element* e, int pin, int kind) { return node_query(pin_node(e, pin), kind, 4, 0); }

int kind_pin_on_pin_node(element* e, int pin, int kind, int other_pin) {
  return node_query(pin_node(e, pin), kind, 3, other_pin);
}

namespace {

void number_labels(int& k) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* l = n->value;
    if (!l || l->kind != kind_label || pin_node(l, 0) != -1) continue;
    // Every label of this letter, anywhere, joins node k; one already numbered
    // (it shares a point with another letter) brings its net along.
    for (enode* m = circuit.head; m; m = static_cast<enode*>(m->next)) {
      element* o = m->value;
      if (o && o->kind == kind_label && o->values[0] == l->values[0]) point_query(o->terminal_at(0), k, 2);
    }
    ++k;
  }
}

void number_grounds() {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* g = n->value;
    if (!g || g->kind != kind_ground) continue;
    const point at = g->terminal_at(0);
    if (const pin_ref label = pin_of_kind_at(at, kind_label); label.e) {
      const int label_node = pin_node(label.e, label.pin);
      if (label_node != 0 && circuit.replace_node(label_node, 0) == 0) SDI_ASSERT_FAIL();
    }
    point_query(at, 0, 2);
  }
}

void number_other_pins(int& k) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind == kind_mutual) continue;
    const int pins = e->nodes.count();
    for (int i = 0; i < pins; ++i) {
      if (pin_node(e, i) != -1) continue;
      const point at = e->terminal_at(i);
      if (point_query(at, 0, 1) > 1) {
        if (point_query(at, k, 2) < 2) SDI_ASSERT_FAIL();
        ++k;
      }
    }
  }
}

// A coupling's ends follow its inductors' centres whenever it is drawn; a run
// without a view refreshes them the same way before looking for the inductors.
void refresh_coupling_ends(cmutind* m) {
  element* a = circuit.find_id(m->inductor1, 0) ? circuit.get(m->inductor1) : nullptr;
  element* b = circuit.find_id(m->inductor2, 0) ? circuit.get(m->inductor2) : nullptr;
  if (!a || !b || a->kind != kind_inductor || b->kind != kind_inductor) return;
  const point pa = static_cast<i_element*>(a)->center();
  const point pb = static_cast<i_element*>(b)->center();
  m->shape.x1 = pa.x;
  m->shape.y1 = pa.y;
  m->shape.x2 = pb.x;
  m->shape.y2 = pb.y;
}

void find_coupled_inductors() {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind != kind_mutual) continue;
    cmutind* m = static_cast<cmutind*>(e);
    refresh_coupling_ends(m);
    const point ends[2] = {point(m->shape.x1, m->shape.y1), point(m->shape.x2, m->shape.y2)};
    int ids[2];
    for (int j = 0; j < 2; ++j) {
      ids[j] = circuit.find_hit_inductor(ends[j]);
      if (circuit.count_inductors_at(ends[j]) > 1) netlist_error("There are multiple inductors at one location");
    }
    if (!ids[0] || !ids[1]) {
      incomplete_circuit_error();
      continue;
    }
    m->inductor1 = ids[0];
    m->inductor2 = ids[1];
  }
}

}  // namespace

void number_nodes() {
  int k = 1;
  number_labels(k);
  number_grounds();
  number_other_pins(k);
  find_coupled_inductors();
  next_free_node = k;
}

}  // namespace sdi
