// The value and link checks of run preparation.
#include <cmath>

#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/control_elements.h"
#include "sdi/elist.h"
#include "sdi/prepare_circuit.h"
#include "sdi/report.h"
#include "sdi/source_elements.h"

namespace sdi {

namespace {

const char* const tag = "sdi/Circd2";
constexpr double smallest = 1e-13;

bool finite_list(dlist& l) {
  for (dnode* n = l.head; n; n = static_cast<dnode*>(n->next))
    if (!std::isfinite(n->value)) return false;
  return true;
}

// Every number that reaches the netlist must be finite: the engine reads the
// text "nan" or "inf" as 0.
bool all_finite(element* e) {
  for (double v : e->values)
    if (!std::isfinite(v)) return false;
  switch (e->kind) {
    case kind_resistor:
    case kind_capacitor:
    case kind_inductor: return std::isfinite(static_cast<basic*>(e)->initial);
    case kind_voltage_source:
    case kind_current_source: {
      auto* s = static_cast<source*>(e);
      for (auto& pair : s->pairs)
        if (!std::isfinite(pair[0]) || !std::isfinite(pair[1])) return false;
      return true;
    }
    case kind_sine: {
      auto* s = static_cast<sine*>(e);
      return std::isfinite(s->frequency) && std::isfinite(s->phase);
    }
    case kind_op_amp: {
      auto* a = static_cast<op_amp*>(e);
      return std::isfinite(a->Ri) && std::isfinite(a->Ro);
    }
    case kind_vco: return std::isfinite(static_cast<vco*>(e)->constant);
    case kind_threshold: {
      auto* t = static_cast<threshold*>(e);
      return finite_list(t->coefficients) && finite_list(t->table);
    }
    default: return true;
  }
}

double entry(dlist& l, int i) {
  int k = 0;
  for (dnode* n = l.head; n; n = static_cast<dnode*>(n->next), ++k)
    if (k == i) return n->value;
  return 0.0;  // entries a fresh table does not have yet count as 0
}

int id_entry(ilist& l, int i) {
  int k = 0;
  for (inode* n = l.head; n; n = static_cast<inode*>(n->next), ++k)
    if (k == i) return n->value;
  return 0;
}

void faulty(element* e) {
  ++e->selected;
  e->flags.clear(flag_values_set);
}

void check_rules(element* e) {
  const double v = e->values[0];
  switch (e->kind) {
    case kind_resistor:
    case kind_capacitor:
    case kind_inductor:
    case kind_voltage_source:
    case kind_current_source:
      if (std::fabs(v) < smallest) faulty(e);
      break;
    case kind_primary: {
      auto* p = static_cast<xform*>(e);
      for (inode* s = p->secondaries.head; s; s = static_cast<inode*>(s->next))
        if (s->value == 0) {
          faulty(e);
          break;
        }
      if (v < smallest) faulty(e);
      break;
    }
    case kind_secondary:
      if (static_cast<xform*>(e)->partner == 0 || v < smallest) faulty(e);
      break;
    case kind_mutual: {
      auto* m = static_cast<cmutind*>(e);
      if (m->inductor1 == 0 || m->inductor2 == 0 || std::fabs(v) < smallest) faulty(e);
      break;
    }
    case kind_icis:
    case kind_icvs:
    case kind_vcis:
    case kind_vcvs:
      if (static_cast<depsource*>(e)->control == 0 || std::fabs(v) < smallest) faulty(e);
      break;
    case kind_clock:
      if (e->values[2] < smallest || e->values[1] < 0.0) faulty(e);
      break;
    case kind_sine:
      // Its oscillator's reactances are 1/(2 pi f): no frequency, no finite netlist.
      if (std::fabs(static_cast<sine*>(e)->frequency) < smallest) faulty(e);
      break;
    case kind_threshold: {
      auto* t = static_cast<threshold*>(e);
      for (int i = 0; i < 3; ++i)
        if (entry(t->coefficients, i) != 0.0 && id_entry(t->outputs, i) == 0) {
          faulty(e);
          break;
        }
      if (entry(t->table, 3) != 0.0 && t->switch_id == 0) faulty(e);
      break;
    }
    default: break;
  }
  if (!all_finite(e)) faulty(e);
}

}  // namespace

int check_values() {
  int count = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e) continue;
    check_rules(e);
    if (!e->flags.test(flag_values_set)) {
      ++e->selected;
      ++count;
      if (e->kind == kind_wire || e->kind == kind_junction) SDI_INTERNAL(tag);
    }
  }
  return count;
}

}  // namespace sdi
