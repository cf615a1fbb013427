#include "simu/input/table_checks.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "matrix/dm.h"
#include "simu/input/netlist.h"
#include "simu/input/sim_params.h"
#include "simu/base/messages.h"

namespace {

// "%g" of a value, as the messages quote the numbers of the tables.
std::string num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

int count(const DM& m) { return m.rows * m.cols; }
bool is_vector(const DM& m) { return m.rows == 1 || m.cols == 1; }
// Reading order (row by row) of entry (r, c).
int at(const DM& m, int r, int c) { return (r - 1) * m.cols + c; }
// A number that names row k, 1 <= k <= n, of some table.
bool names_one_of(double v, int n) { return v >= 1.0 && v <= n && v == std::floor(v); }

std::string range(int n) { return n > 0 ? "1 to " + std::to_string(n) : "none"; }

struct counts {
  int outputs = 0, switches = 0, capacitors = 0, inductors = 0, conditions = 0;
};

struct table_fault {
  std::string what;    // empty: every table fits
  std::string table;   // "tmd", "Cy", "Y", "points", ...
  // 1-based position of the offending number in the table's reading order (row by row);
  // 0 when the table as a whole is at fault.
  int index = 0;
};

class checker {
public:
  checker(const sim_params& p, const netlist_records& net) : p_(p) {
    n_.outputs = static_cast<int>(net.outputs.size());
    for (const netlist_element& e : net.elements) {
      n_.switches += e.kind == 'S' || e.kind == 'D';
      n_.capacitors += e.kind == 'C';
      n_.inductors += e.kind == 'L';
    }
    n_.conditions = p.Cy.rows;
  }

  table_fault run() {
    if (n_.outputs == 0) return {"no outputs: the Y block has no row", "Y", 0};
    if (p_.points < 0) return {"negative number of points " + std::to_string(p_.points), "points", 1};
    for (auto check : {&checker::swinit, &checker::x0, &checker::tmd, &checker::conditions,
                       &checker::thon_thoff, &checker::on_time_switches}) {
      table_fault f = (this->*check)();
      if (!f.what.empty()) return f;
    }
    return {};
  }

private:
  const sim_params& p_;
  counts n_;

  table_fault swinit() const {
    const DM& s = p_.swinit;
    if (count(s) != n_.switches || (count(s) > 0 && !is_vector(s)))
      return {"swinit has " + std::to_string(count(s)) + " values for " + std::to_string(n_.switches) +
                  " switches and diodes",
              "swinit", 0};
    for (int k = 1; k <= count(s); ++k)
      if (s(k) != 0.0 && s(k) != 1.0)
        return {"value " + num(s(k)) + " of switch " + std::to_string(k) + " is neither 0 (off) nor 1 (on)",
                "swinit", k};
    return {};
  }

  table_fault x0() const {
    const DM& x = p_.x0;
    const int states = n_.capacitors + n_.inductors;
    if (count(x) == 0 || (count(x) == states && is_vector(x))) return {};
    return {"x0 has " + std::to_string(count(x)) + " values for " + std::to_string(n_.capacitors) +
                " capacitor(s) and " + std::to_string(n_.inductors) + " inductor(s), one each or none",
            "x0", 0};
  }

  table_fault tmd() const {
    const DM& t = p_.tmd;
    if (count(t) == 0) return {};
    if (t.cols != 4)
      return {"tmd has " + std::to_string(t.cols) + " columns, not 4 (first edge, period, kind, target)", "tmd", 0};
    for (int r = 1; r <= t.rows; ++r) {
      const std::string row = "row " + std::to_string(r) + ": ";
      const double kind = t(r, 3), target = t(r, 4);
      if (kind == 0.0 || kind == 1.0) {
        if (!names_one_of(target, n_.switches))
          return {row + "clock target " + num(target) + " is not a switch (" + range(n_.switches) + ")", "tmd",
                  at(t, r, 4)};
      } else if (kind == 2.0) {
        if (!names_one_of(target, p_.vgs.cols))
          return {row + "event column " + num(target) + " is not a column of vgs (" + range(p_.vgs.cols) + ")",
                  "tmd", at(t, r, 4)};
      } else {
        return {row + "kind " + num(kind) + " is none of 0, 1 (clock) and 2 (event)", "tmd", at(t, r, 3)};
      }
    }
    return {};
  }

  // Cy (conditions x outputs), Ct (conditions x 4), Csw and Cc (one per condition).
  table_fault conditions() const {
    const int n = n_.conditions;
    const std::string of = " for " + std::to_string(n) + " conditions (rows of Cy)";
    // Fewer columns than outputs leave the last outputs out of every condition.
    if (n > 0 && p_.Cy.cols > n_.outputs)
      return {"Cy has " + std::to_string(p_.Cy.cols) + " columns for " + std::to_string(n_.outputs) + " outputs",
              "Cy", 0};
    if (count(p_.Ct) != 0 || n > 0)
      if (p_.Ct.rows != n || p_.Ct.cols != 4)
        return {"Ct is " + std::to_string(p_.Ct.rows) + " x " + std::to_string(p_.Ct.cols) + ", not " +
                    std::to_string(n) + " x 4" + of,
                "Ct", 0};
    for (const auto& [m, name] : {std::pair<const DM*, const char*>{&p_.Csw, "Csw"}, {&p_.Cc, "Cc"}})
      if (count(*m) != n || (n > 0 && !is_vector(*m)))
        return {std::string(name) + " has " + std::to_string(count(*m)) + " values" + of, name, 0};
    return {};
  }

  table_fault thon_thoff() const {
    for (const auto& [m, name] : {std::pair<const DM*, const char*>{&p_.thon, "thon"}, {&p_.thoff, "thoff"}}) {
      const DM& t = *m;
      if (count(t) == 0) continue;
      if (t.cols != 2) return {std::string(name) + " has " + std::to_string(t.cols) + " columns, not 2 (switch, condition)", name, 0};
      for (int r = 1; r <= t.rows; ++r) {
        const std::string row = "row " + std::to_string(r) + ": ";
        if (!names_one_of(t(r, 1), n_.switches))
          return {row + "switch " + num(t(r, 1)) + " does not exist (" + range(n_.switches) + ")", name, at(t, r, 1)};
        if (!names_one_of(t(r, 2), n_.conditions))
          return {row + "condition " + num(t(r, 2)) + " does not exist (" + range(n_.conditions) + ")", name,
                  at(t, r, 2)};
      }
    }
    return {};
  }

  // A condition on a switch's on time that turns some switch on or off must name a
  // switch; one that drives nothing is left alone.
  table_fault on_time_switches() const {
    for (const DM* t : {&p_.thon, &p_.thoff})
      for (int r = 1; r <= t->rows; ++r) {
        const int i = static_cast<int>((*t)(r, 2));
        if (p_.Ct(i, 4) != 0.0 && !names_one_of(p_.Csw(i), n_.switches))
          return {"row " + std::to_string(i) + ": switch " + num(p_.Csw(i)) +
                      " of an on-time condition does not exist (" + range(n_.switches) + ")",
                  "Csw", i};
      }
    return {};
  }
};

}  // namespace

void check_netlist_tables(const sim_params& p) {
  const table_fault f = checker(p, sim_netlist).run();
  if (f.what.empty()) return;
  std::size_t at = sim_netlist.text.size();
  auto it = sim_netlist.places.find(f.table);
  if (it != sim_netlist.places.end()) {
    const netlist_records::place& pl = it->second;
    const bool number = f.index >= 1 && static_cast<std::size_t>(f.index) <= pl.numbers.size();
    at = number ? pl.numbers[f.index - 1] : pl.open;
  }
  throw_text(sread_text(f.what, f.table) + place_text(sim_netlist.text, sim_netlist.file, at));
}
