// Id references of pasted and merged elements, and the small list operations
// that paste and run preparation share.
#include <set>

#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/control_elements.h"
#include "sdi/prepare_circuit.h"
#include "sdi/report.h"

namespace sdi {

elist paste_check_list;

namespace {

void shift_if_found(std::int32_t& id, int offset, const std::set<int>& lookup) {
  if (id != 0 && lookup.count(id)) id += offset;
}

void shift_found(ilist& ids, int offset, const std::set<int>& lookup) {
  for (inode* n = ids.head; n; n = static_cast<inode*>(n->next)) shift_if_found(n->value, offset, lookup);
}

}  // namespace

void MarkElements(elist& list) {
  for (enode* n = list.head; n; n = static_cast<enode*>(n->next))
    if (n->value) ++n->value->temporary;
}

void DeleteFlaggedElements() {
  enode* n = circuit.head;
  while (n) {
    enode* after = static_cast<enode*>(n->next);
    element* e = n->value;
    if (e && e->temporary) {
      circuit.current_ = n;
      circuit.remove_current();
      delete e;
    }
    n = after;
  }
  circuit.current_ = circuit.head ? static_cast<enode*>(list_last(circuit.head)) : nullptr;
}

int GetMaxElementId() {
  int m = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->id > m) m = n->value->id;
  return m;
}

void OffsetIds(ilist& ids, int offset) {
  for (inode* n = ids.head; n; n = static_cast<inode*>(n->next))
    if (n->value != 0) n->value += offset;
}

int FixPastedReferences(element* e, int offset, const std::set<int>& lookup) {
  if (!e) return 0;
  switch (e->kind) {
    case kind_primary: {
      auto* p = static_cast<xform*>(e);
      int i = 0;
      for (inode* s = p->secondaries.head; s; s = static_cast<inode*>(s->next), ++i) {
        if (!lookup.count(s->value)) continue;
        if (std::int32_t* link = p->links.list_value_at(i)) *link += offset;
        s->value += offset;
      }
      break;
    }
    case kind_secondary: {
      auto* s = static_cast<xform*>(e);
      if (lookup.count(s->partner)) {
        s->partner += offset;
        OffsetIds(s->links, offset);
      }
      break;
    }
    case kind_mutual: {
      auto* m = static_cast<cmutind*>(e);
      if (!lookup.count(m->inductor1) || !lookup.count(m->inductor2)) {
        delete m;
        show_message("Mutual inductance is copied only if both inductors are also copied.");
        return 0;
      }
      m->inductor1 += offset;
      m->inductor2 += offset;
      shift_found(m->links, offset, lookup);
      break;
    }
    case kind_icis:
    case kind_icvs:
    case kind_vcis:
    case kind_vcvs: {
      auto* d = static_cast<depsource*>(e);
      if (lookup.count(d->control)) {
        d->control += offset;
        shift_found(d->links, offset, lookup);
      }
      break;
    }
    case kind_threshold: {
      auto* t = static_cast<threshold*>(e);
      int i = 0;
      dnode* k = t->coefficients.head;
      for (inode* o = t->outputs.head; o; o = static_cast<inode*>(o->next), ++i) {
        double coefficient = k ? k->value : 0.0;
        if (k) k = static_cast<dnode*>(k->next);
        if (coefficient != 0.0) shift_if_found(o->value, offset, lookup);
      }
      double* fourth = t->table.count() > 3 ? t->table.list_value_at(3) : nullptr;
      if (fourth && *fourth != 0.0) shift_if_found(t->switch_id, offset, lookup);
      // The switch a threshold drives is linked both ways; both links move.
      shift_found(t->links, offset, lookup);
      break;
    }
    case kind_switch: shift_found(e->links, offset, lookup); break;
    default: break;
  }
  return 1;
}

int FixPastedReferences(element* e, int offset) {
  std::set<int> lookup;
  for (enode* n = paste_check_list.head; n; n = static_cast<enode*>(n->next))
    if (n->value) lookup.insert(n->value->id);
  return FixPastedReferences(e, offset, lookup);
}

}  // namespace sdi
