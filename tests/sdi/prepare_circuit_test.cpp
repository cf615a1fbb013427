#include "sdi/netlist/prepare_circuit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "netlist_writer_circuits.h"
#include "run_launch_circuits.h"
#include "sdi/netlist/launcher.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"
#include "sdi/netlist/wait_cursor.h"

namespace {

int engine_calls = 0;
int fake_engine(int, char**) {
  ++engine_calls;
  return 1;
}

// A launch with the engine replaced by a counter.
struct FakeEngine {
  sdi::engine_fn kept = sdi::engine_entry;
  FakeEngine() {
    engine_calls = 0;
    sdi::engine_entry = fake_engine;
  }
  ~FakeEngine() { sdi::engine_entry = kept; }
};

const std::string unable = "Unable to start simulation due to netlist error";

// Launches and checks that a bad circuit shows exactly these messages, never
// enters the engine and leaves the circuit as its file held it, but for the
// element of id faulty, whose values must be entered again.
void expect_refused(const std::vector<std::string>& messages, int faulty = 0) {
  Capture cap;
  FakeEngine fake;
  sdi::element* bad = faulty ? sdi::circuit.get(faulty) : nullptr;
  const std::uint32_t word = bad ? bad->flags.word() : 0;
  if (bad) bad->flags.clear(sdi::flag_values_set);
  const std::string before = circuit_bytes();
  if (bad) bad->flags.set_word(word);
  const std::vector<int> ids = circuit_ids();
  const sdi::enode* cursor = sdi::circuit.current_;
  EXPECT_EQ(sdi::run_simulation(), 0);
  EXPECT_EQ(cap.messages, messages);
  EXPECT_EQ(engine_calls, 0);
  EXPECT_EQ(sdi::wait_cursor_depth(), 0);
  EXPECT_EQ(circuit_bytes(), before);
  EXPECT_EQ(circuit_ids(), ids);
  EXPECT_EQ(sdi::circuit.current_, cursor);
  EXPECT_GT(sdi::run_error_count, 0);
}

}  // namespace

TEST(PrepareCircuit, RcWritesItsNetlistAndGivesTheListBack) {
  TempDir dir;
  CircuitGuard guard;
  Capture cap;
  build_rc();
  base_name = "rc";
  const std::vector<int> ids = circuit_ids();
  const std::vector<int> kinds = circuit_kinds();
  const sdi::enode* head = sdi::circuit.head;
  const sdi::enode* cursor = sdi::circuit.current_;
  sdi::prepare_circuit();
  EXPECT_EQ(sdi::run_error_count, 0);
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_TRUE(cap.errors.empty());
  expect_golden(slurp("rc.m"), "rc.m");
  EXPECT_EQ(sdi::numn, 3);
  EXPECT_EQ(circuit_ids(), ids);
  EXPECT_EQ(circuit_kinds(), kinds);
  EXPECT_EQ(sdi::circuit.head, head);
  EXPECT_EQ(sdi::circuit.current_, cursor);
  const std::string first = slurp("rc.m");
  sdi::prepare_circuit();  // the numbers of the first run are no starting point for the second
  EXPECT_EQ(slurp("rc.m"), first);
}

TEST(PrepareCircuit, BadCircuitsStopBeforeTheEngine) {
  TempDir dir;
  base_name = "bad";
  write_rsub(1.0, 1.0);
  {
    sdi::elist inner;  // "outer": a subcircuit that holds an instance of another
    auto* nested = new sdi::sub("rsub", 1);
    nested->id = 1;
    inner.append(nested);
    sdi::write_element_file("outer.sct", inner);
    sdi::delete_list_elements(inner);
  }
  ASSERT_EQ(::mkfifo("pipe.sct", 0600), 0);  // read at each run: it must not block the run
  ::alarm(60);
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  auto instance = [](const char* file) { std::strcpy(add_symbol(new sdi::sub("rsub", 1), {900, 600}, "X1")->sub_name, file); };
  const struct {
    const char* message;
    std::function<void()> build;  // after build_rc, unless empty
    int faulty = 0;               // the element that loses its values flag
  } rows[] = {
      {"No circuit.", nullptr},
      {"Some Values are not set!", [] { sdi::circuit.get(2)->values[0] = 1e-14; }, 2},  // R1
      {"Some Values are not set!", [&] { sdi::circuit.get(3)->values[0] = nan; }, 3},    // C1
      {"Some Values are not set!", [&] { sdi::circuit.get(2)->values[0] = inf; }, 2},
      {"Line must be connected at both nodes", [] { add_wire({904, 400}, sdi::circuit.get(1)->terminal_at(0)); }},
      {"Clock must be connected to a switch control",
       [] { add_symbol(new sdi::clockx(1), {900, 600}, "CLK1")->values[2] = 1e-5; }},
      {"Invalid simulation parameters (Step Size)", [] { run_td = 0.0; }},
      {"Invalid simulation parameters (Final Time)", [&] { run_tsim = inf; }},
      {"Invalid simulation parameters (Steady-State Tolerance)", [&] { run_sstol_f = nan; }},
      {"Invalid simulation parameters (Steady-State Tolerance)", [&] { run_sstol_c = inf; }},
      {"Invalid simulation parameters (# of points)", [] { run_points = -1; }},
      {"Invalid simulation parameters (Save interval)", [&] { run_start_si = nan; }},
      {"Invalid simulation parameters (Save interval)", [&] { run_finish_si = inf; }},
      {"File gone.sct couldn't be opened", [&] { instance("gone"); }},
      {"File ../rsub.sct couldn't be opened", [&] { instance("../rsub"); }},
      {"Nested subcircuits are not supported", [&] { instance("outer"); }},
      {"File pipe.sct is not a regular file.", [&] { instance("pipe"); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    SettingsGuard again;
    CircuitGuard guard;
    if (row.build) {
      build_rc();
      row.build();
    }
    expect_refused({row.message, unable}, row.faulty);
    if (row.build && sdi::circuit.get(2)->values[0] == 1e-14) {
      EXPECT_GT(sdi::circuit.get(2)->selected, 0);  // shown selected
      EXPECT_EQ(sdi::circuit.get(3)->selected, 0);
    }
  }
  ::alarm(0);
}

TEST(PrepareCircuit, MissingSubcircuitLeavesItsNodesOpen) {
  TempDir dir;
  SettingsGuard again;
  CircuitGuard guard;
  write_rsub(1.0, 1.0);  // for the symbol
  build_rc();
  auto* x = add_symbol(new sdi::sub("rsub", 1), {900, 600}, "X1");
  std::strcpy(x->sub_name, "gone");
  join(x, 0, sdi::circuit.get(5), 0);  // the ground
  expect_refused({"File gone.sct couldn't be opened", "Line must be connected at both nodes", unable});
}

TEST(PrepareCircuit, TwoInstancesOfOneSubcircuitKeepTheirInnerNodesApart) {
  TempDir dir;
  CircuitGuard guard;
  Capture cap;
  write_rsub(1000.0, 2000.0);
  auto* v = add_valued(new sdi::source(sdi::kind_voltage_source, 1), {104, 240}, "V1", 3.0);
  auto* x1 = add_symbol(new sdi::sub("rsub", 1), {304, 160}, "RSUB1");
  auto* x2 = add_symbol(new sdi::sub("rsub", 1), {504, 160}, "RSUB2");
  auto* vp = add_symbol(new sdi::port(sdi::kind_voltage_port, 1), {704, 240}, "Vm");
  auto* g = add_symbol(new sdi::ground(1), {304, 400}, "GND1");
  ASSERT_EQ(x1->terminal_count(), 2);
  join(v, 0, x1, 0);
  join(x1, 1, x2, 0);
  join(x2, 0, vp, 0);
  join(x2, 1, g, 0);
  join(v, 1, g, 0);
  join(vp, 1, g, 0);
  base_name = "sub2";
  const std::vector<int> ids = circuit_ids();
  sdi::prepare_circuit();
  EXPECT_EQ(cap.messages, std::vector<std::string>{});
  EXPECT_EQ(sdi::run_error_count, 0);
  expect_golden(slurp("sub2.m"), "sub2.m");
  EXPECT_EQ(circuit_ids(), ids);  // the merged elements are gone again
  EXPECT_EQ(sdi::numn, 5);        // ground, input, between the instances, two inner nodes
}

namespace {

// "esub": a resistor from pin a to an inner label c, and a voltage-controlled
// source from c to pin b controlled by that resistor; the rsub symbol.
void write_esub() {
  write_rsub(1.0, 1.0);  // for its symbol
  std::rename("rsub.sym", "esub.sym");
  auto* r = new sdi::basic(sdi::kind_resistor, 1);
  auto* e = new sdi::depsource(sdi::kind_vcvs, 1);
  r->image->place_ref_at({100, 100});
  e->image->place_ref_at({200, 100});
  r->values[0] = 50.0;
  e->values[0] = 4.0;
  sdi::elist inner;
  chain_through_labels(inner, r, e, 11);
  e->control = r->id;
  e->links.append(r->id);
  sdi::write_element_file("esub.sct", inner);
  sdi::delete_list_elements(inner);
}

}  // namespace

TEST(PrepareCircuit, MergedControlledSourcesKeepTheirOwnInstancesControl) {
  TempDir dir;
  CircuitGuard guard;
  Capture cap;
  write_esub();
  auto* v = add_valued(new sdi::source(sdi::kind_voltage_source, 1), {104, 240}, "V1", 1.0);
  auto* x1 = add_symbol(new sdi::sub("esub", 1), {304, 160}, "ESUB1");
  auto* x2 = add_symbol(new sdi::sub("esub", 1), {504, 160}, "ESUB2");
  auto* vp = add_symbol(new sdi::port(sdi::kind_voltage_port, 1), {704, 240}, "Vo");
  auto* g = add_symbol(new sdi::ground(1), {304, 400}, "GND1");
  join(v, 0, x1, 0);
  join(x1, 1, x2, 0);
  join(x2, 0, vp, 0);
  join(x2, 1, g, 0);
  join(v, 1, g, 0);
  join(vp, 1, g, 0);
  base_name = "esub2";
  sdi::prepare_circuit();
  EXPECT_EQ(cap.messages, std::vector<std::string>{});
  EXPECT_EQ(sdi::run_error_count, 0);
  expect_golden(slurp("esub2.m"), "esub2.m");  // each instance's source controlled by its own resistor
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 37, 37, 9, 28, 5, 5, 5, 5, 5, 5}));
}

namespace {
void throwing_box(const char*) { throw 7; }
}  // namespace

TEST(PrepareCircuit, ListIsRestoredWhenSomethingThrows) {
  TempDir dir;
  CircuitGuard guard;
  write_rsub(1.0, 2.0);
  build_rc();
  add_symbol(new sdi::sub("rsub", 1), {900, 600}, "X1");
  add_symbol(new sdi::clockx(1), {900, 800}, "CLK1")->values[2] = 1e-5;  // unconnected: its message throws
  base_name = "rc";
  const std::string before = circuit_bytes();
  const std::vector<int> ids = circuit_ids();
  const sdi::enode* head = sdi::circuit.head;
  const sdi::enode* cursor = sdi::circuit.current_;
  sdi::message_fn kept = sdi::message_box_hook;
  sdi::message_box_hook = throwing_box;
  EXPECT_THROW(sdi::prepare_circuit(), int);
  sdi::message_box_hook = kept;
  EXPECT_EQ(circuit_ids(), ids);  // merged elements deleted, wires back
  EXPECT_EQ(sdi::circuit.head, head);
  EXPECT_EQ(sdi::circuit.current_, cursor);
  EXPECT_EQ(circuit_bytes(), before);
  // And a later preparation runs normally (the working copy was given back).
  Capture cap;
  sdi::prepare_circuit();
  EXPECT_EQ(cap.errors, std::vector<std::string>{});
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"Clock must be connected to a switch control"}));
}

// A subcircuit's pin label may sit at the end of one of its wires rather than
// on an element: the wire's end is moved onto the instance's terminal.
TEST(PrepareCircuit, InnerWiresEndOnTheInstancesTerminals) {
  TempDir dir;
  CircuitGuard guard;
  Capture cap;
  {
    std::FILE* sym = std::fopen("wsub.sym", "w");
    std::fputs("WSUB\n16,49,8,24\n1\n0,0,15,48\n2\n8,0\n8,48\n0\n", sym);
    std::fclose(sym);
    sdi::elist inner;
    auto* r = new sdi::basic(sdi::kind_resistor, 1);  // pins (100,76), (100,124)
    r->image->place_ref_at({100, 100});
    r->values[0] = 1000.0;
    auto* a = new sdi::llabel(1);
    auto* b = new sdi::llabel(1);
    a->set_letter('a');
    b->set_letter('b');
    auto* wa = new sdi::cline;
    auto* wb = new sdi::cline;
    wa->shape.set(100, 40, 100, 76, 1, 1, 0, 0);
    wb->shape.set(100, 124, 100, 160, 1, 1, 0, 0);
    int id = 1;
    for (sdi::element* e : std::initializer_list<sdi::element*>{a, b, wa, wb, r}) {
      inner.append(e);
      e->id = id++;
      e->flags.set(sdi::flag_values_set);
    }
    for (auto [l, p] : {std::pair{a, sdi::point(100, 40)}, std::pair{b, sdi::point(100, 160)}}) {
      const sdi::point t = l->terminal_at(0);
      l->move({p.x - t.x, p.y - t.y});
    }
    sdi::write_element_file("wsub.sct", inner);
    sdi::delete_list_elements(inner);
  }
  build_rc(add_symbol(new sdi::sub("wsub", 1), {304, 160}, "WSUB1"));
  base_name = "wsub";
  sdi::prepare_circuit();
  EXPECT_EQ(cap.messages, std::vector<std::string>{});
  EXPECT_EQ(sdi::run_error_count, 0);
  EXPECT_EQ(sdi::numn, 3);
  EXPECT_NE(slurp("wsub.m").find("1.0000e+03"), std::string::npos);
}
