#include "sdi/elements/naming.h"

#include <string>

#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"

namespace sdi {

namespace {

bool same_group(element* a, element* b) {
  if (a->kind != b->kind) return false;
  return a->kind != kind_sub || display_prefix(a) == display_prefix(b);
}

std::string candidate(const std::string& prefix, int n) {
  const std::string number = std::to_string(n);
  const std::size_t room = number.size() < 7 ? 7 - number.size() : 0;
  return prefix.substr(0, room) + number;
}

bool name_taken(element* e, const std::string& name) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* o = n->value;
    if (!o || o == e || o->kind != e->kind) continue;
    const char* field = o->name();
    if (field && name == field) return true;
  }
  return false;
}

}  // namespace

void assign_default_name(element* e) {
  if (!e || e->kind == kind_wire) return;
  const std::string prefix = display_prefix(e);
  int n = 1;
  for (enode* p = circuit.head; p; p = static_cast<enode*>(p->next))
    if (p->value && p->value != e && same_group(p->value, e)) ++n;
  std::string name = candidate(prefix, n);
  while (name_taken(e, name)) name = candidate(prefix, ++n);
  e->set_name(name.c_str());
}

}  // namespace sdi
