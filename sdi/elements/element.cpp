#include "sdi/elements/element.h"

#include <cmath>
#include <cstring>

#include "sdi/elements/node_errors.h"
#include "sdi/base/report.h"

namespace sdi {

namespace {
std::string record_error;
}  // namespace

// The kind's pins, flags and values at construction.
element::element(int k) : kind(k) {
  const kind_descriptor& d = describe(k);
  for (int i = 0; i < d.pins; ++i) nodes.append(-1);
  flags.set_word(d.flags);
  for (int i = 0; i < 6; ++i) values[i] = d.values[i];
}

element::~element() {
  nodes.list_clear();
  links.list_clear();
}

void element::select() { SDI_INTERNAL(); }
void element::deselect() { SDI_INTERNAL(); }
int element::hit_test(const point&) { SDI_INTERNAL(); return 0; }
void element::move(const point&) { SDI_INTERNAL(); }
void element::write(std::FILE*) { SDI_INTERNAL(); }
bool element::read(std::FILE*, int) { SDI_INTERNAL(); return false; }
char* element::name() { SDI_INTERNAL(); return nullptr; }
char* element::netname() { SDI_INTERNAL(); return nullptr; }
void element::terminal(point& out, int) { SDI_INTERNAL(); out = zero_point; }
int element::has_terminal_at(const point&) { SDI_INTERNAL(); return 0; }
int element::overlaps_rect(const rect&) { SDI_INTERNAL(); return 0; }
int element::overlaps(element*) { SDI_INTERNAL(); return 0; }
void element::clip_to_rect(rect& out, const rect&) { SDI_INTERNAL(); out = zero_rect; }
void element::clip_to_element(rect& out, element*) { SDI_INTERNAL(); out = zero_rect; }
void element::draw_clipped(const rect&) { SDI_INTERNAL(); }
void element::draw() { SDI_INTERNAL(); }
void element::place_at(const point&) { SDI_INTERNAL(); }
void element::rotate() { SDI_INTERNAL(); }
void element::mirror() { SDI_INTERNAL(); }
int element::value_faults() { return 0; }
void element::netlist_rows(rlist&) { SDI_INTERNAL_CASE(); }

void element::report_open_pin(int pin) {
  const char* what = describe(kind).connect_name;
  if ((pin == 0 || pin == 1) && what) netlist_error((std::string(what) + " must be connected at both nodes").c_str());
}
bool element::values_finite() { return all_finite(values, 6); }

bool all_finite(const double* v, int n) {
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

bool all_finite(dlist& l) {
  for (dnode* n = l.head; n; n = static_cast<dnode*>(n->next))
    if (!std::isfinite(n->value)) return false;
  return true;
}

void copy_name_field(char (&field)[8], const char* text) {
  std::memset(field, 0, sizeof field);
  if (text) std::memcpy(field, text, strnlen(text, sizeof field - 1));
}

void element::set_name(const char* text) {
  char* f = name();
  if (f) copy_name_field(*reinterpret_cast<char(*)[8]>(f), text);
}

void element::set_netname(const char* text) {
  char* f = netname();
  if (f) copy_name_field(*reinterpret_cast<char(*)[8]>(f), text);
}

point element::terminal_at(int i) {
  point p;
  terminal(p, i);
  return p;
}

int is_line_element(int k) { return (k == kind_wire || k == kind_mutual) ? 1 : 0; }

const char* name_prefix(int k) {
  const char* p = describe(k).prefix;
  if (p) return p;
  SDI_INTERNAL();
  return "";
}

const std::string& last_record_error() { return record_error; }
void set_record_error(const std::string& text) { record_error = text; }

void OffsetIds(ilist& ids, int offset) {
  for (inode* n = ids.head; n; n = static_cast<inode*>(n->next))
    if (n->value != 0) n->value += offset;
}

void shift_if_found(std::int32_t& id, int offset, const std::set<int>& lookup) {
  if (id != 0 && lookup.count(id)) id += offset;
}

void shift_found(ilist& ids, int offset, const std::set<int>& lookup) {
  for (inode* n = ids.head; n; n = static_cast<inode*>(n->next)) shift_if_found(n->value, offset, lookup);
}

}  // namespace sdi
