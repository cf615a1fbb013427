// Switching conditions (Cy, Ct, Csw, Cc) and the thon/thoff lines that wire
// them to the switches. One condition is one row in each of the four
// matrices; its number (1-based) is kept by the element that made it.
#include <cstdio>
#include <vector>

#include "sdi/control_elements.h"
#include "sdi/elist.h"
#include "sdi/netlist_writer_state.h"
#include "sdi/report.h"
#include "sdi/simrec.h"
#include "sdi/simrec_matrix.h"
#include "sdi/source_elements.h"

namespace sdi {

namespace {

const char* const tag = "sdi/Simnet";

struct condition {
  std::vector<double> cy;
  double ct[4] = {0.0, 0.0, 0.0, 0.0};
  int csw = 1;
  double cc = 0.0;
};

std::vector<condition> made;

condition& new_condition() {
  made.push_back(condition{});
  made.back().cy.assign(static_cast<std::size_t>(writer.output_count), 0.0);
  ++writer.conditions;
  return made.back();
}

// Cy entry of an output given by id; reported when it is not an output.
void set_cy(condition& c, int output_id, double v) {
  element* out = element_by_id(output_id);
  int k = output_ordinal_of(out);
  if (k < 1) {
    SDI_INTERNAL(tag);
    return;
  }
  c.cy[static_cast<std::size_t>(k - 1)] = v;
}

double dlist_entry(dlist& l, int i) {
  int k = 0;
  for (dnode* n = l.head; n; n = static_cast<dnode*>(n->next), ++k)
    if (k == i) return n->value;
  return 0.0;  // short tables read as zeros
}

void modulator_condition(modulator* m) {
  condition& c = new_condition();
  if (m->values[1] != 0.0) set_cy(c, m->port1, m->values[1]);
  if (m->values[2] != 0.0) set_cy(c, m->port2, m->values[2]);
  c.ct[2] = -m->values[0];
  c.cc = m->values[3];
  m->condition = writer.conditions;
}

void limiter_condition(limiter* l) {
  condition& c = new_condition();
  double sign = l->kind == kind_upper_limiter ? -1.0 : 1.0;
  auto it = writer.limiter_ports.find(l);
  if (it == writer.limiter_ports.end()) SDI_INTERNAL(tag);
  else set_cy(c, it->second, sign);
  c.cc = -(sign * l->values[0]);
  l->condition = writer.conditions;
}

void threshold_condition(threshold* t) {
  condition& c = new_condition();
  int i = 0;
  for (inode* n = t->outputs.head; n; n = static_cast<inode*>(n->next), ++i) {
    double k = dlist_entry(t->coefficients, i);
    if (k != 0.0) set_cy(c, n->value, k);
  }
  for (int j = 0; j < 4; ++j) c.ct[j] = dlist_entry(t->table, j);
  c.cc = t->values[0];
  if (c.ct[3] != 0.0) {
    element* sw = element_by_id(t->switch_id);
    if (sw && sw->kind == kind_switch) c.csw = switch_ordinal_of(sw);
    else SDI_INTERNAL(tag);
  }
  t->condition = writer.conditions;
}

void vco_condition(vco* v) {
  condition& c = new_condition();
  set_cy(c, v->port, v->values[0]);
  c.ct[1] = -1.0;
  c.cc = v->constant;
  v->condition = writer.conditions;
}

void print(const char* name, rlist& rows) {
  write_matrix(writer.out, name, rows, false, writer.row_width);
  free_rows(rows);
}

}  // namespace

void write_conditions() {
  made.clear();
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e) continue;
    switch (e->kind) {
      case kind_diode: {
        auto* d = static_cast<diode*>(e);
        for (double sign : {1.0, -1.0}) {
          condition& c = new_condition();
          int k = output_ordinal_of(d);
          if (k >= 1) c.cy[static_cast<std::size_t>(k - 1)] = sign;
          if (sign > 0) d->condition = writer.conditions;
        }
        break;
      }
      case kind_modulator: modulator_condition(static_cast<modulator*>(e)); break;
      case kind_upper_limiter:
      case kind_lower_limiter: {
        simrec unused;
        if (!limit_row(e, unused)) limiter_condition(static_cast<limiter*>(e));
        break;
      }
      case kind_threshold: threshold_condition(static_cast<threshold*>(e)); break;
      case kind_vco: vco_condition(static_cast<vco*>(e)); break;
      default: break;
    }
  }
  if (writer.output_count == 0) return;
  rlist cy, ct, csw, cc;
  for (const condition& c : made) {
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
  print("Cy", cy);
  print("Ct", ct);
  print("Csw", csw);
  print("Cc", cc);
}

void write_switch_lines() {
  char line[80];
  for (int on = 1; on >= 0; --on) {
    const char* block = on ? "thon" : "thoff";
    int number = 0;
    auto emit = [&](int ordinal, int cond) {
      std::snprintf(line, sizeof line, "%s(%d,:)=[%3d %3d];\n", block, ++number, ordinal, cond);
      writer.out += line;
    };
    for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
      element* e = n->value;
      if (!e) continue;
      if (e->kind == kind_diode) {
        int c = static_cast<diode*>(e)->condition;
        emit(switch_ordinal_of(e), on ? c + 1 : c);
      } else if (e->kind == kind_switch) {
        int node = node_of(e, on ? 2 : 3);
        if (node < 0) continue;
        for (enode* m = circuit.head; m; m = static_cast<enode*>(m->next)) {
          element* ctl = m->value;
          if (!ctl || !has_pin_on(ctl, node)) continue;
          int c = ctl->driving_condition();
          // A state-bounding limiter makes no condition and drives nothing.
          if (c > 0) emit(switch_ordinal_of(e), c);
        }
      }
    }
  }
}

}  // namespace sdi
