// Merging subcircuit instances into the working circuit.
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "sdi/elements/bl_element.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/naming.h"
#include "sdi/elements/node_errors.h"
#include "sdi/netlist/prepare_circuit.h"
#include "sdi/files/record_stream.h"
#include "sdi/base/report.h"
#include "sdi/elements/sub_element.h"

namespace sdi {

namespace {

// Deletes whatever a merge did not take, also when it is left by an exception.
struct local_elements {
  elist list;
  ~local_elements() { delete_list_elements(list); }
};

// The instance's pin for a position inside the subcircuit, or -1.
int pin_at(const std::vector<std::vector<point>>& inner, const point& p, const point& offset) {
  for (std::size_t i = 0; i < inner.size(); ++i)
    for (const point& q : inner[i])
      if (point(q.x + offset.x, q.y + offset.y) == p) return static_cast<int>(i);
  return -1;
}

}  // namespace

int expand_subcircuit(element* instance, const point& offset, const std::string& name) {
  const int n = instance ? instance->terminal_count() : 0;
  std::vector<point> outer;
  for (int i = 0; i < n; ++i) outer.push_back(instance->terminal_at(i));

  const std::string file = name + ".sct";
  if (!plain_file_name(name.c_str())) {
    show_message("File " + file + " couldn't be opened");
    return 0;
  }
  local_elements local;
  if (!read_element_file(file, local.list)) return 0;  // the reader has shown why
  MarkElements(local.list);
  for (enode* p = local.list.head; p; p = static_cast<enode*>(p->next))
    if (p->value && p->value->kind == kind_sub) {
      netlist_error("Nested subcircuits are not supported");
      return 1;
    }

  // Every label of a pin letter marks an inner end of that pin; it then goes.
  std::vector<std::vector<point>> inner(static_cast<std::size_t>(n));
  for (enode* p = local.list.head; p;) {
    enode* after = static_cast<enode*>(p->next);
    element* e = p->value;
    int i = e && e->kind == kind_label ? static_cast<int>(e->values[0]) - 'a' : -1;
    if (i >= 0 && i < n) {
      inner[static_cast<std::size_t>(i)].push_back(e->terminal_at(0));
      local.list.current_ = p;
      local.list.remove_current();
      delete e;
    }
    p = after;
  }

  // The instance's own labels join only inside it: other instances of the same
  // subcircuit, and the drawing's labels, use other values.
  const int instance_number = offset.x / 10000;
  std::set<int> lookup;
  for (enode* p = local.list.head; p; p = static_cast<enode*>(p->next)) {
    if (!p->value) continue;
    lookup.insert(p->value->id);
    if (p->value->kind == kind_label) p->value->values[0] += 1000.0 * instance_number;
  }

  const int id_offset = GetMaxElementId();
  while (local.list.head) {
    local.list.current_ = local.list.head;
    element* e = local.list.remove_current();
    if (!e) continue;
    e->move(offset);
    if (is_line_element(e->kind)) {
      auto* l = static_cast<bl_element*>(e);
      for (auto [x, y] : {std::pair{&l->shape.x1, &l->shape.y1}, std::pair{&l->shape.x2, &l->shape.y2}}) {
        int i = pin_at(inner, point(*x, *y), offset);
        if (i < 0) continue;
        *x = outer[static_cast<std::size_t>(i)].x;
        *y = outer[static_cast<std::size_t>(i)].y;
      }
    } else if (auto* s = static_cast<i_element*>(e); s->image && s->image->parts) {
      for (list* q = s->image->parts->pins; q; q = q->next) {
        auto* pin = static_cast<node*>(q);
        int i = pin_at(inner, point(pin->x + s->image->x, pin->y + s->image->y), offset);
        if (i < 0) continue;
        pin->x = outer[static_cast<std::size_t>(i)].x - s->image->x;
        pin->y = outer[static_cast<std::size_t>(i)].y - s->image->y;
      }
    }
    if (e->kind != kind_wire) {
      assign_default_name(e);
      if (!FixPastedReferences(e, id_offset, lookup)) continue;  // deleted
    }
    e->id += id_offset;
    circuit.append(e);
  }
  return 1;
}

}  // namespace sdi
