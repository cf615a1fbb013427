// The parameter matrices of the netlist: initial switch states, initial
// state vector, timing table and source events, state limits.
#include <algorithm>
#include <cmath>
#include <vector>

#include "sdi/elements/base_elements.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/netlist_writer_state.h"
#include "sdi/base/report.h"
#include "sdi/elements/simrec.h"
#include "sdi/netlist/simrec_matrix.h"
#include "sdi/elements/source_elements.h"

namespace sdi {

namespace {

template <class Fn>
void each_element(Fn fn) {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value) fn(n->value);
}

simrec* new_row(rlist& rows) {
  simrec* r = new simrec;
  rows.append(r);
  return r;
}

void print_matrix(std::string& out, const char* name, rlist& rows, bool quoted) {
  write_matrix(out, name, rows, quoted, parameter_row_width);
  free_rows(rows);
}

struct breakpoint {
  double time;
  double value;
  element* source;
};

// Every source's (time, value) pairs, voltage sources first, ordered by time;
// equal times keep their order.
std::vector<breakpoint> sorted_breakpoints() {
  std::vector<breakpoint> pairs;
  for (int kind : {kind_voltage_source, kind_current_source})
    each_element([&](element* e) {
      if (e->kind != kind) return;
      auto* s = static_cast<source*>(e);
      int n = std::clamp(static_cast<int>(s->n), 0, source::max_pairs);
      for (int i = 0; i < n; ++i) pairs.push_back({s->pairs[i][0], s->pairs[i][1], e});
    });
  std::stable_sort(pairs.begin(), pairs.end(), [](const breakpoint& a, const breakpoint& b) { return a.time < b.time; });
  return pairs;
}

}  // namespace

std::string write_swinit() {
  std::string line;
  each_element([&](element* e) {
    if (!describe(e->kind).switching) return;
    simrec r;
    r.add_int(e->initial_switch_state());
    r.print(line, parameter_row_width);
    line += ' ';
  });
  return line.empty() ? std::string() : "swinit = [ " + line + " ]\n";
}

std::string write_x0() {
  const double pi = 4.0 * std::atan(1.0);
  each_element([&](element* e) {
    if (e->kind != kind_sine) return;
    auto* s = static_cast<sine*>(e);
    double phase = pi * s->phase / 180.0;
    s->a_sin = s->values[0] * std::sin(phase);
    s->a_cos = s->values[0] * std::cos(phase);
  });
  rlist rows;
  each_element([&](element* e) {
    if (e->kind == kind_capacitor) new_row(rows)->add_double(static_cast<basic*>(e)->initial);
    else if (e->kind == kind_sine) new_row(rows)->add_double(static_cast<sine*>(e)->a_sin);
  });
  each_element([&](element* e) {
    if (e->kind == kind_inductor) new_row(rows)->add_double(static_cast<basic*>(e)->initial);
    else if (e->kind == kind_sine) new_row(rows)->add_double(static_cast<sine*>(e)->a_cos);
  });
  std::string out;
  print_matrix(out, "x0", rows, false);
  return out;
}

std::string write_timing() {
  std::string out;
  rlist rows;
  // Clock edges: kind 1 switches on through the ON pin (2), kind 0 forces off
  // through the OFF pin (3); a switch with both pins on the clock gets both.
  each_element([&](element* clock) {
    if (clock->kind != kind_clock) return;
    int node = node_of(clock, 0);
    if (node < 0) return;
    each_element([&](element* sw) {
      if (sw->kind != kind_switch) return;
      for (int pin = 0; pin < sw->nodes.count(); ++pin) {
        if (node_of(sw, pin) != node) continue;
        if (pin != 2 && pin != 3) {
          SDI_INTERNAL();
          continue;
        }
        simrec* r = new_row(rows);
        r->add_double(clock->values[1]);
        r->add_double(clock->values[2]);
        r->add_int(pin == 2 ? 1 : 0);
        r->add_int(switch_ordinal_of(sw));
      }
    });
  });
  std::vector<breakpoint> pairs = sorted_breakpoints();
  int column = 0;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (i > 0 && pairs[i].time == pairs[i - 1].time) continue;
    simrec* r = new_row(rows);
    r->add_double(pairs[i].time);
    r->add_double(100000.0);
    r->add_int(2);
    r->add_int(++column);
  }
  print_matrix(out, "tmd", rows, false);
  if (pairs.empty()) return out;

  for (int kind : {kind_voltage_source, kind_current_source})
    each_element([&](element* e) {
      if (e->kind != kind) return;
      simrec* r = new_row(rows);
      double value = e->values[0];
      for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i > 0 && pairs[i].time != pairs[i - 1].time) r->add_double(value);
        if (pairs[i].source == e) value = pairs[i].value;
      }
      r->add_double(value);
    });
  print_matrix(out, "vgs", rows, false);
  return out;
}

std::string write_state_limits() {
  std::string out;
  for (int kind : {kind_lower_limiter, kind_upper_limiter}) {
    rlist rows;
    each_element([&](element* e) {
      if (e->kind != kind) return;
      simrec r;
      if (limit_row(e, r)) *new_row(rows) = r;
    });
    print_matrix(out, kind == kind_lower_limiter ? "stmin" : "stmax", rows, true);
  }
  return out;
}

}  // namespace sdi
