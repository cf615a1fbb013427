// Switching conditions (Cy, Ct, Csw, Cc) and the thon/thoff lines that wire
// them to the switches. Each element family makes its own conditions
// (element::netlist_conditions) and keeps the number of the one it made.
#include <cstdio>
#include <vector>

#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/netlist_parts.h"
#include "sdi/base/report.h"
#include "sdi/netlist/simrec_matrix.h"

namespace sdi {

namespace {

void print(std::string& out, const char* name, rlist& rows) {
  write_matrix(out, name, rows, false, parameter_row_width);
  free_rows(rows);
}

}  // namespace

std::string write_conditions() {
  writer.made_conditions.clear();
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    if (n->value) n->value->netlist_conditions();
  }
  if (writer.output_count == 0) return {};
  rlist cy, ct, csw, cc;
  for (const condition& c : writer.made_conditions) {
    simrec* r = new simrec;
    for (double v : c.cy) r->add_double(v);
    cy.append(r);
    r = new simrec;
    for (double v : c.ct) r->add_double(v);
    ct.append(r);
    r = new simrec;
    r->add_int(c.csw);
    csw.append(r);
    r = new simrec;
    r->add_double(c.cc);
    cc.append(r);
  }
  std::string out;
  print(out, "Cy", cy);
  print(out, "Ct", ct);
  print(out, "Csw", csw);
  print(out, "Cc", cc);
  return out;
}

std::string write_switch_lines() {
  std::string out;
  char line[80];
  for (int on = 1; on >= 0; --on) {
    const char* block = on ? "thon" : "thoff";
    int number = 0;
    auto emit = [&](int ordinal, int cond) {
      std::snprintf(line, sizeof line, "%s(%d,:)=[%3d %3d];\n", block, ++number, ordinal, cond);
      out += line;
    };
    for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
      if (element* e = n->value)
        for (int c : e->switch_conditions(on != 0)) emit(switch_ordinal_of(e), c);
  }
  return out;
}

}  // namespace sdi
