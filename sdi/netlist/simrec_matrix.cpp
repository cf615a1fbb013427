#include "sdi/netlist/simrec_matrix.h"

#include <algorithm>

#include "sdi/elements/simrec.h"

namespace sdi {

void write_matrix(std::string& out, const std::string& name, rlist& rows, bool quoted, int row_width) {
  int counted = 0;
  for (rnode* n = rows.head; n; n = static_cast<rnode*>(n->next))
    if (n->value && n->value->n() >= 1) ++counted;
  if (counted == 0) return;
  // One double column for the whole matrix, wide enough for its longest number
  // and a blank, so that the columns stay aligned.
  int double_column = simrec::double_width;
  for (rnode* n = rows.head; n; n = static_cast<rnode*>(n->next))
    if (n->value) double_column = std::max(double_column, n->value->widest_double() + 1);
  // A padded layout grows with the column, so the rows still end together.
  if (row_width >= simrec::double_width) row_width += double_column - simrec::double_width;
  int printed = 0;
  for (rnode* n = rows.head; n; n = static_cast<rnode*>(n->next)) {
    const simrec* r = n->value;
    if (!r || r->n() == 0) continue;
    if (printed == 0) out += name + " = [ ";
    else out += std::string(name.size() + 5, ' ');
    if (quoted) out += '\'';
    r->print(out, row_width, double_column);
    if (quoted) out += '\'';
    ++printed;
    out += printed == counted ? " ]" : "  ";
    if (!r->name.empty()) out += " % " + r->name;
    out += '\n';
  }
}

void free_rows(rlist& rows) {
  for (rnode* n = rows.head; n; n = static_cast<rnode*>(n->next)) delete n->value;
  rows.list_clear();
}

}  // namespace sdi
