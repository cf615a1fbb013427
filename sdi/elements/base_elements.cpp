#include "sdi/elements/base_elements.h"

#include <cmath>

#include "sdi/base/byte_io.h"
#include "sdi/elements/netlist_parts.h"
#include "sdi/base/report.h"
#include "sdi/elements/records.h"

namespace sdi {

basic::basic(int k, int o) : i_element(k, o) {
  image = standard_image(k);
}

void basic::write(std::FILE* f) {
  i_element::write(f);
  write_double(f, initial);
}

bool basic::read(std::FILE* f, int version) { return i_element::read(f, version) && record_double(f, initial); }

int basic::value_faults() { return std::fabs(values[0]) < smallest_value ? 1 : 0; }
bool basic::values_finite() { return element::values_finite() && std::isfinite(initial); }

xform::xform(int k, int o) : i_element(k, o) {
  image = image_with_mark(k);
}

xform::~xform() { secondaries.list_clear(); }

void xform::write(std::FILE* f) {
  i_element::write(f);
  write_int(f, partner);
  write_ilist(f, secondaries);
}

bool xform::read(std::FILE* f, int version) {
  return i_element::read(f, version) && record_int(f, partner) && read_ilist(f, secondaries, 1);
}

void xform::forget_link(int id) {
  if (kind == kind_secondary) partner = 0;
  else if (secondaries.find(id, 0)) secondaries.remove(id);
}

// A primary's secondaries (and their links) move; a secondary's primary and links move together.
bool xform::shift_references(int offset, const std::set<int>& lookup) {
  if (kind == kind_secondary) {
    if (lookup.count(partner)) {
      partner += offset;
      OffsetIds(links, offset);
    }
    return true;
  }
  int i = 0;
  for (inode* s = secondaries.head; s; s = static_cast<inode*>(s->next), ++i) {
    if (!lookup.count(s->value)) continue;
    if (std::int32_t* link = links.list_value_at(i)) *link += offset;
    s->value += offset;
  }
  return true;
}

// A primary needs every secondary linked and a ratio; a secondary its primary and a ratio.
int xform::value_faults() {
  if (kind == kind_secondary) return partner == 0 || values[0] < smallest_value ? 1 : 0;
  int faults = 0;
  for (inode* s = secondaries.head; s; s = static_cast<inode*>(s->next))
    if (s->value == 0) {
      ++faults;
      break;
    }
  return faults + (values[0] < smallest_value ? 1 : 0);
}

port::port(int k, int o) : i_element(k, o) {
  image = image_with_mark(k);
}

depsource::depsource(int k, int o) : i_element(k, o) {
  image = image_with_mark(k);
}

void depsource::write(std::FILE* f) {
  i_element::write(f);
  write_int(f, control);
}

bool depsource::read(std::FILE* f, int version) { return i_element::read(f, version) && record_int(f, control); }

int depsource::value_faults() { return control == 0 || std::fabs(values[0]) < smallest_value ? 1 : 0; }

nodec::nodec(int o) : i_element(kind_junction, o) {
  image = junction_element_image();
}

xform* as_xform(element* e) {
  return checked_cast<xform>(e, e && (e->kind == kind_primary || e->kind == kind_secondary));
}
depsource* as_depsource(element* e) {
  return checked_cast<depsource>(e, e && e->kind >= kind_icis && e->kind <= kind_vcvs);
}

void basic::netlist_rows(rlist& rows) { two_pin_row(rows, this, values[0]); }

void port::netlist_rows(rlist& rows) {
  if (flags.test(flag_output)) two_pin_row(rows, this, 0.0);
  else SDI_INTERNAL_CASE();
}

// A primary has a row per secondary, a secondary one row: each names the
// other's branch and carries the turns ratio.
void xform::netlist_rows(rlist& rows) {
  if (kind == kind_secondary) {
    element* p = element_by_id(partner);
    if (!p || p->kind != kind_primary || p->values[0] == 0.0) {
      SDI_INTERNAL();
      return;
    }
    simrec* r = netlist_row(rows, netname_of(this), 10);
    add_nodes(r, this);
    r->add_double(values[0] / p->values[0]);
    r->add_string(netname_of(p) + "_" + std::to_string(winding), 7);
    r->set_name(display_name_of(this));
    return;
  }
  int k = 0;
  for (inode* s = secondaries.head; s; s = static_cast<inode*>(s->next)) {
    ++k;
    element* sec = element_by_id(s->value);
    if (!sec || sec->kind != kind_secondary || values[0] == 0.0) {
      SDI_INTERNAL();
      continue;
    }
    simrec* r = netlist_row(rows, netname_of(this) + "_" + std::to_string(k), 10);
    add_nodes(r, this);
    r->add_double(-(sec->values[0] / values[0]));
    r->add_string(netname_of(sec), 7);
    r->set_name(display_name_of(this));
  }
}

bool depsource::shift_references(int offset, const std::set<int>& lookup) {
  if (lookup.count(control)) {
    control += offset;
    shift_found(links, offset, lookup);
  }
  return true;
}

void depsource::netlist_rows(rlist& rows) {
  element* c = element_by_id(control);
  if (!c) {
    SDI_INTERNAL();
    return;
  }
  simrec* r = netlist_row(rows, netname_of(this), 10);
  add_nodes(r, this);
  r->add_double(values[0]);
  r->add_string(netname_of(c), 6);
  r->set_name(display_name_of(this));
}

}  // namespace sdi
