#include "sdi/elements/factories.h"

#include <new>
#include <vector>

#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/placement.h"
#include "sdi/base/report.h"
#include "sdi/elements/source_elements.h"
#include "sdi/elements/sub_element.h"

namespace sdi {

char next_label_letter = 'a';
std::string current_subcircuit_name;

namespace {

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

void pend(int kind) { make_pending(describe(kind).make); }

// A kind allowed once that already exists: the message, and no element.
bool refused(const kind_descriptor& d) {
  if (!d.live_count || *d.live_count <= 0) return false;
  show_message(d.once_message);
  return true;
}

}  // namespace

void new_resistor() { pend(kind_resistor); }
void new_capacitor() { pend(kind_capacitor); }
void new_inductor() { pend(kind_inductor); }
void new_primary() { pend(kind_primary); }
void new_secondary() { pend(kind_secondary); }
void new_voltage_port() { pend(kind_voltage_port); }
void new_current_port() { pend(kind_current_port); }
void new_icis() { pend(kind_icis); }
void new_icvs() { pend(kind_icvs); }
void new_vcis() { pend(kind_vcis); }
void new_vcvs() { pend(kind_vcvs); }
void new_junction() { pend(kind_junction); }
void new_wire() { pend(kind_wire); }
void new_mutual() { pend(kind_mutual); }
void new_clock() { pend(kind_clock); }
void new_modulator() { pend(kind_modulator); }
void new_upper_limiter() { pend(kind_upper_limiter); }
void new_lower_limiter() { pend(kind_lower_limiter); }
void new_threshold() { pend(kind_threshold); }
void new_vco() { pend(kind_vco); }
void new_current_sense() { pend(kind_current_sense); }
void new_op_amp() { pend(kind_op_amp); }
void new_ground() { pend(kind_ground); }
void new_diode() { pend(kind_diode); }
void new_switch() { pend(kind_switch); }
void new_voltage_source() { pend(kind_voltage_source); }
void new_current_source() { pend(kind_current_source); }
void new_sine() { pend(kind_sine); }

void new_label() {
  make_pending([] {
    llabel* l = new llabel(1);
    l->set_letter(take_label_letter());
    return l;
  });
}

int new_multiplier() {
  if (refused(describe(kind_multiplier))) return 0;
  pend(kind_multiplier);
  return 1;
}

void new_subcircuit(const char* name) {
  current_subcircuit_name = name ? name : "";
  make_pending([&] { return new sub(current_subcircuit_name.c_str(), 1); });
}

void create_element(int kind) {
  const kind_descriptor& d = describe(kind);
  if (d.stands_for >= 0) {
    SDI_INTERNAL();
    create_element(d.stands_for);
  } else if (kind == kind_sub) {
    new_subcircuit(current_subcircuit_name.c_str());
  } else if (d.make && !refused(d)) {
    make_pending(d.make);
  } else {
    if (!d.make) SDI_INTERNAL();
    remember_new_element();
    pending_element = nullptr;
  }
}

void create_next_element(int kind) {
  if (kind == kind_label) new_label();
  else if (describe(kind).live_count) return;
  else create_element(kind);
}

element* read_element_record(int kind, std::FILE* f, int version, bool& ok) {
  ok = false;
  const kind_descriptor& d = describe(kind);
  if (!d.make) {
    set_record_error("Unknown element kind " + std::to_string(kind));
    return nullptr;
  }
  element* e = nullptr;
  try {
    e = d.make();
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
    e->forget_link(id);
  }
  // Removed by id, so callers still walking a selection must look their elements up again.
  for (int cid : couplings) {
    element* m = circuit.remove_by_id(cid);
    if (!m) continue;
    erase_element(m);
    delete m;
  }
}

current_sense* as_current_sense(element* e) {
  return checked_cast<current_sense>(e, e && e->kind == kind_current_sense);
}
diode* as_diode(element* e) { return checked_cast<diode>(e, e && e->kind == kind_diode); }
limiter* as_limiter(element* e) {
  return checked_cast<limiter>(e, e && (e->kind == kind_upper_limiter || e->kind == kind_lower_limiter));
}
modulator* as_modulator(element* e) {
  return checked_cast<modulator>(e, e && e->kind == kind_modulator);
}
multiplier* as_multiplier(element* e) {
  return checked_cast<multiplier>(e, e && e->kind == kind_multiplier);
}
op_amp* as_op_amp(element* e) { return checked_cast<op_amp>(e, e && e->kind == kind_op_amp); }
switch2* as_switch(element* e) { return checked_cast<switch2>(e, e && e->kind == kind_switch); }
sine* as_sine(element* e) { return checked_cast<sine>(e, e && e->kind == kind_sine); }
source* as_source(element* e) {
  return checked_cast<source>(e, e && (e->kind == kind_voltage_source || e->kind == kind_current_source));
}
threshold* as_threshold(element* e) {
  return checked_cast<threshold>(e, e && e->kind == kind_threshold);
}
vco* as_vco(element* e) { return checked_cast<vco>(e, e && e->kind == kind_vco); }

}  // namespace sdi
