// Subcircuit merging as run preparation does it: the working circuit is
// looked at from inside the run, through the message that a value error shows
// while the merged elements are still in it.
#include <gtest/gtest.h>

#include <vector>

#include "run_launch_circuits.h"
#include "sdi/node_errors.h"
#include "sdi/prepare_circuit.h"

namespace {

struct merged {
  int kind;
  int id;
  int x;
  double value;
};

std::vector<merged> seen;
std::vector<std::string> shown;

void snapshot_box(const char* text) {
  shown.push_back(text);
  seen.clear();
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) {
    sdi::element* e = n->value;
    if (e->temporary)
      seen.push_back({e->kind, e->id, e->kind == sdi::kind_wire ? 0 : static_cast<sdi::i_element*>(e)->image->x,
                      e->values[0]});
  }
}

}  // namespace

TEST(PrepareSubcircuits, InstancesMergeAtTheirOffsetsWithIdsAboveTheDrawing) {
  TempDir dir;
  CircuitGuard guard;
  SettingsGuard settings;
  write_rsub(1000.0, 2000.0);
  auto* v = add_valued(new sdi::source(sdi::kind_voltage_source, 1), {104, 240}, "V1", 1e-14);  // faulty
  auto* x1 = add_symbol(new sdi::sub("rsub", 1), {304, 160}, "RSUB1");
  auto* x2 = add_symbol(new sdi::sub("rsub", 1), {504, 160}, "RSUB2");
  auto* g = add_symbol(new sdi::ground(1), {304, 400}, "GND1");
  join(v, 0, x1, 0);
  join(x1, 1, x2, 0);
  join(x2, 1, g, 0);
  join(v, 1, g, 0);
  base_name = "offsets";
  const std::vector<int> ids = circuit_ids();
  ASSERT_EQ(sdi::GetMaxElementId(), 8);

  // Where the subcircuit file has its resistors before any move.
  sdi::basic ra(sdi::kind_resistor, 1), rb(sdi::kind_resistor, 1);
  ra.image->place_ref_at({100, 100});
  rb.image->place_ref_at({200, 100});

  shown.clear();
  sdi::message_fn kept = sdi::message_box_hook;
  sdi::message_box_hook = snapshot_box;
  sdi::prepare_circuit();
  sdi::message_box_hook = kept;

  EXPECT_EQ(shown, (std::vector<std::string>{"Some Values are not set!"}));
  EXPECT_EQ(sdi::run_error_count, 1);
  // Per instance: the inner label "c" twice and the two resistors (the pin
  // labels "a" and "b" are gone). Ids: the file's 3 to 6 above the drawing's
  // largest 8, then above the first merge's largest 14.
  ASSERT_EQ(seen.size(), 8u);
  const int kinds[] = {sdi::kind_label, sdi::kind_label, sdi::kind_resistor, sdi::kind_resistor};
  for (int k = 0; k < 2; ++k) {
    for (int i = 0; i < 4; ++i) {
      const merged& m = seen[static_cast<std::size_t>(4 * k + i)];
      EXPECT_EQ(m.kind, kinds[i]) << k << " " << i;
      EXPECT_EQ(m.id, (k == 0 ? 8 : 14) + 3 + i) << k << " " << i;
    }
    // Moved by 10000 k along x; the inner label's letter is made the instance's own.
    EXPECT_EQ(seen[static_cast<std::size_t>(4 * k + 2)].x, ra.image->x + 10000 * (k + 1));
    EXPECT_EQ(seen[static_cast<std::size_t>(4 * k + 3)].x, rb.image->x + 10000 * (k + 1));
    EXPECT_EQ(seen[static_cast<std::size_t>(4 * k + 2)].value, 1000.0);
    EXPECT_EQ(seen[static_cast<std::size_t>(4 * k + 3)].value, 2000.0);
    EXPECT_EQ(seen[static_cast<std::size_t>(4 * k)].value, 'c' + 1000.0 * (k + 1));
  }
  EXPECT_EQ(circuit_ids(), ids);  // and all of it gone again
}
