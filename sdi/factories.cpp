#include "sdi/factories.h"

#include <new>
#include <vector>

#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/control_elements.h"
#include "sdi/elist.h"
#include "sdi/placement.h"
#include "sdi/report.h"
#include "sdi/source_elements.h"
#include "sdi/sub_element.h"

namespace sdi {

char next_label_letter = 'a';
std::string current_subcircuit_name;

namespace {
const char* const tag = "sdi/Simelem";

template <class Make>
void make_pending(Make make) {
  remember_new_element();
  try {
    pending_element = make();
  } catch (const std::bad_alloc&) {
    pending_element = nullptr;
  }
}

char take_label_letter() {
  char c = next_label_letter;
  next_label_letter = c >= 'z' ? 'a' : static_cast<char>(c + 1);
  return c;
}

bool known_kind(int k) { return (k >= 0 && k <= 2) || (k >= 5 && k <= 16 && k != 11) || (k >= 20 && k <= 37); }

template <class T>
T* checked(element* e, bool ok) {
  if (!e || !ok) {
    SDI_ASSERT_FAIL(tag);
    return nullptr;
  }
  return static_cast<T*>(e);
}
}  // namespace

void new_resistor() { make_pending([] { return new basic(kind_resistor, 1); }); }
void new_capacitor() { make_pending([] { return new basic(kind_capacitor, 1); }); }
void new_inductor() { make_pending([] { return new basic(kind_inductor, 1); }); }
void new_primary() { make_pending([] { return new xform(kind_primary, 1); }); }
void new_secondary() { make_pending([] { return new xform(kind_secondary, 1); }); }
void new_voltage_port() { make_pending([] { return new port(kind_voltage_port, 1); }); }
void new_current_port() { make_pending([] { return new port(kind_current_port, 1); }); }
void new_icis() { make_pending([] { return new depsource(kind_icis, 1); }); }
void new_icvs() { make_pending([] { return new depsource(kind_icvs, 1); }); }
void new_vcis() { make_pending([] { return new depsource(kind_vcis, 1); }); }
void new_vcvs() { make_pending([] { return new depsource(kind_vcvs, 1); }); }
void new_junction() { make_pending([] { return new nodec(1); }); }
void new_wire() { make_pending([] { return new cline; }); }
void new_mutual() { make_pending([] { return new cmutind; }); }
void new_clock() { make_pending([] { return new clockx(1); }); }
void new_modulator() { make_pending([] { return new modulator(1); }); }
void new_upper_limiter() { make_pending([] { return new limiter(kind_upper_limiter, 1); }); }
void new_lower_limiter() { make_pending([] { return new limiter(kind_lower_limiter, 1); }); }
void new_threshold() { make_pending([] { return new threshold(1); }); }
void new_vco() { make_pending([] { return new vco(1); }); }
void new_current_sense() { make_pending([] { return new current_sense(1); }); }
void new_op_amp() { make_pending([] { return new op_amp(1); }); }
void new_ground() { make_pending([] { return new ground(1); }); }
void new_diode() { make_pending([] { return new diode(1); }); }
void new_switch() { make_pending([] { return new switch2(1); }); }
void new_voltage_source() { make_pending([] { return new source(kind_voltage_source, 1); }); }
void new_current_source() { make_pending([] { return new source(kind_current_source, 1); }); }
void new_sine() { make_pending([] { return new sine(1); }); }
void new_subcircuit_empty() { make_pending([] { return new sub(1); }); }

void new_label() {
  make_pending([] {
    llabel* l = new llabel(1);
    l->set_letter(take_label_letter());
    return l;
  });
}

int new_multiplier() {
  if (multiplier_count > 0) {
    show_message("Only one multiplier allowed.");
    return 0;
  }
  make_pending([] { return new multiplier(1); });
  return 1;
}

void new_subcircuit(const char* name) {
  current_subcircuit_name = name ? name : "";
  make_pending([&] { return new sub(current_subcircuit_name.c_str(), 1); });
}

void create_element(int kind) {
  switch (kind) {
    case 0: new_resistor(); break;
    case 1: new_capacitor(); break;
    case 2: new_inductor(); break;
    case 3:
    case 4: SDI_INTERNAL(tag); new_icis(); break;
    case 5: new_wire(); break;
    case 6: new_primary(); break;
    case 7: new_secondary(); break;
    case 8: new_mutual(); break;
    case 9: new_voltage_port(); break;
    case 10: new_current_port(); break;
    case 12: new_icis(); break;
    case 13: new_icvs(); break;
    case 14: new_vcis(); break;
    case 15: new_vcvs(); break;
    case 16: new_junction(); break;
    case 20: new_modulator(); break;
    case 21: new_clock(); break;
    case 22: new_upper_limiter(); break;
    case 23: new_lower_limiter(); break;
    case 24: new_threshold(); break;
    case 25: new_vco(); break;
    case 26: new_current_sense(); break;
    case 27: new_op_amp(); break;
    case 28: new_ground(); break;
    case 29: new_diode(); break;
    case 30: new_switch(); break;
    case 31: make_pending([] { return new llabel(1); }); break;  // the reader sets the letter
    case 32: new_voltage_source(); break;
    case 33: new_current_source(); break;
    case 34: new_sine(); break;
    case 35:
      if (probe_count > 0) {
        show_message("Only one probe allowed.");
        remember_new_element();
        pending_element = nullptr;
      } else {
        make_pending([] { return new probe(1); });
      }
      break;
    case 36:
      if (!new_multiplier()) {
        remember_new_element();
        pending_element = nullptr;
      }
      break;
    case 37: new_subcircuit(current_subcircuit_name.c_str()); break;
    default:
      SDI_INTERNAL(tag);
      remember_new_element();
      pending_element = nullptr;
      break;
  }
}

void create_next_element(int kind) {
  if (kind == kind_label) new_label();
  else if (kind == kind_probe || kind == kind_multiplier) return;
  else create_element(kind);
}

element* read_element_record(int kind, std::FILE* f, int version, bool& ok) {
  ok = false;
  if (!known_kind(kind)) {
    set_record_error("Unknown element kind " + std::to_string(kind));
    return nullptr;
  }
  element* e = nullptr;
  try {
    if (kind == kind_probe) {
      e = new probe(1);
    } else if (kind == kind_multiplier) {
      e = new multiplier(1);
    } else if (kind == kind_sub) {
      e = new sub(1);
    } else {
      element* saved_pending = pending_element;
      element* saved_previous = previous_pending_element;
      pending_element = nullptr;
      create_element(kind);
      e = pending_element;
      pending_element = saved_pending;
      previous_pending_element = saved_previous;
    }
  } catch (const std::bad_alloc&) {
    e = nullptr;
  }
  if (!e) {
    set_record_error("Out of memory reading an element record");
    return nullptr;
  }
  if (!e->read(f, version)) {
    delete e;
    return nullptr;
  }
  ok = true;
  return e;
}

std::string display_prefix(element* e) {
  if (!e) return std::string();
  if (e->kind == kind_sub) return static_cast<sub*>(e)->type_name;
  return name_prefix(e->kind);
}

void link_transformer(element* primary, int secondary_id) {
  xform* p = as_xform(primary);
  if (!p) return;
  p->secondaries.append(secondary_id);
  p->links.append(secondary_id);
}

void unlink_secondary(element* secondary) {
  if (!secondary) return;
  const int sid = secondary->id;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind != kind_primary) continue;
    xform* p = static_cast<xform*>(e);
    if (!p->secondaries.find(sid, 0)) continue;
    p->secondaries.remove(sid);
    if (p->links.find(sid, 0)) p->links.remove(sid);
    if (secondary->links.find(p->id, 0)) secondary->links.remove(p->id);
  }
}

void unlink_element(int id) {
  std::vector<int> couplings;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e) continue;
    if (e->kind == kind_mutual) {
      cmutind* m = static_cast<cmutind*>(e);
      if (m->inductor1 == id || m->inductor2 == id) {
        couplings.push_back(m->id);
        continue;
      }
    }
    if (!e->links.find(id, 0)) continue;
    e->links.remove(id);
    e->flags.clear(flag_values_set);
    if (e->kind == kind_threshold) {
      static_cast<threshold*>(e)->switch_id = 0;
    } else if (e->kind == kind_primary) {
      xform* p = static_cast<xform*>(e);
      if (p->secondaries.find(id, 0)) p->secondaries.remove(id);
    } else if (e->kind == kind_secondary) {
      static_cast<xform*>(e)->partner = 0;
    }
  }
  // Removed by id, so callers still walking a selection must look their elements up again.
  for (int cid : couplings) {
    element* m = circuit.remove_by_id(cid);
    if (!m) continue;
    erase_element(m);
    delete m;
  }
}

current_sense* as_current_sense(element* e) { return checked<current_sense>(e, e && e->kind == kind_current_sense); }
diode* as_diode(element* e) { return checked<diode>(e, e && e->kind == kind_diode); }
limiter* as_limiter(element* e) {
  return checked<limiter>(e, e && (e->kind == kind_upper_limiter || e->kind == kind_lower_limiter));
}
modulator* as_modulator(element* e) { return checked<modulator>(e, e && e->kind == kind_modulator); }
multiplier* as_multiplier(element* e) { return checked<multiplier>(e, e && e->kind == kind_multiplier); }
op_amp* as_op_amp(element* e) { return checked<op_amp>(e, e && e->kind == kind_op_amp); }
switch2* as_switch(element* e) { return checked<switch2>(e, e && e->kind == kind_switch); }
sine* as_sine(element* e) { return checked<sine>(e, e && e->kind == kind_sine); }
source* as_source(element* e) {
  return checked<source>(e, e && (e->kind == kind_voltage_source || e->kind == kind_current_source));
}
threshold* as_threshold(element* e) { return checked<threshold>(e, e && e->kind == kind_threshold); }
vco* as_vco(element* e) { return checked<vco>(e, e && e->kind == kind_vco); }

}  // namespace sdi
