// The element matrix "X", each family giving its own rows, and the output
// matrix "Y"; mutual couplings come last, after the inductors they name.
#include <vector>

#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/netlist_parts.h"
#include "sdi/base/report.h"
#include "sdi/netlist/simrec_matrix.h"

namespace sdi {

std::string write_elements() {
  writer.row_nodes.clear();
  rlist rows;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind == kind_mutual) continue;
    if (e->flags.test(flag_output) || e->flags.test(flag_branch)) e->netlist_rows(rows);
  }
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (e && e->kind == kind_mutual) e->netlist_rows(rows);
  }
  std::string out;
  write_matrix(out, "X", rows, true, element_row_width);
  free_rows(rows);
  // A pin that no check caught unconnected (the multiplier's) would reach the
  // engine as node 4294967295.
  for (int node : writer.row_nodes)
    if (node < 0 || node >= writer.node_count) {
      show_message("Incomplete Circuit");
      ++writer.user_errors;
      break;
    }
  return out;
}

std::string write_outputs() {
  std::string out;
  rlist rows;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || !e->flags.test(flag_output)) continue;
    simrec* r = netlist_row(rows, e->kind == kind_voltage_port ? "V" : "I", 10);
    r->add_string(netname_of(e), 10);
    if (e->kind != kind_diode) r->set_name(display_name_of(e));
  }
  write_matrix(out, "Y", rows, true, element_row_width);
  free_rows(rows);
  return out;
}

}  // namespace sdi
