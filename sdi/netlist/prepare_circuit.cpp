#include "sdi/netlist/prepare_circuit.h"

#include <map>

#include "sdi/netlist/connectivity.h"
#include "sdi/elements/element.h"
#include "sdi/netlist/netlist_writer.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"
#include "sdi/base/report.h"
#include "sdi/elements/sub_element.h"

namespace sdi {

namespace {

int working_copy = 0;

// Puts the drawn circuit back on every way out of a preparation, an
// exception included: the temporaries are deleted, the drawn list (its nodes,
// order and cursor) returns, and the drawn elements get back the flags the run
// set for itself; an element the value check found faulty stays without its
// values flag, so its values must be entered again.
class working_copy_guard {
public:
  working_copy_guard() : head_(circuit.head), cursor_(circuit.current_) {
    if (working_copy) SDI_ASSERT_FAIL();
    working_copy = 1;
    for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
      if (n->value) flags_[n->value] = n->value->flags.word();
    elist work = circuit.copy();
    circuit.head = work.head;
    circuit.current_ = work.current_;
  }
  ~working_copy_guard() {
    DeleteFlaggedElements();
    circuit.list_clear();
    circuit.head = head_;
    circuit.current_ = cursor_;
    for (auto& [e, word] : flags_) {
      const bool faulty = !e->flags.test(flag_values_set);
      e->flags.set_word(word);
      if (faulty) e->flags.clear(flag_values_set);
    }
    working_copy = 0;
  }
  working_copy_guard(const working_copy_guard&) = delete;
  working_copy_guard& operator=(const working_copy_guard&) = delete;

private:
  enode* head_;
  enode* cursor_;
  std::map<element*, std::uint32_t> flags_;
};

}  // namespace

void prepare_circuit() {
  if (!circuit.head) {
    show_message("No circuit.");
    run_error_count = 1;
    return;
  }
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value) n->value->selected = 0;
  run_error_count = 0;
  if (working_copy) {  // a nested preparation would lose the drawn list
    SDI_ASSERT_FAIL();
    run_error_count = 1;
    return;
  }
  working_copy_guard guard;

  // Only the instances drawn before this step; merged elements are appended.
  std::vector<element*> subs;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->kind == kind_sub) subs.push_back(n->value);
  int k = 0;
  int missing = 0;  // instances whose file could not be read: left out, counted after the node checks
  for (element* s : subs) {
    ++k;
    if (expand_subcircuit(s, point(10000 * k, 0), static_cast<sub*>(s)->sub_name)) continue;
    ++missing;
    for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
      if (n->value == s) {
        circuit.current_ = n;  // out of the working list: its pins join nothing
        circuit.remove_current();
        break;
      }
  }
  numn = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value && n->value->flags.test(flag_no_values)) n->value->flags.set(flag_values_set);
  if (run_error_count > 0) return;
  if (check_values() > 0) {
    show_message("Some Values are not set!");
    run_error_count += 1 + missing;
    return;
  }
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value)
      for (inode* p = n->value->nodes.head; p; p = static_cast<inode*>(p->next)) p->value = -1;
  check_nodes();
  run_error_count += missing;  // no netlist without a subcircuit the drawing holds
  if (run_error_count == 0) name_elements();
  if (run_error_count == 0) write_netlist();
}

}  // namespace sdi
