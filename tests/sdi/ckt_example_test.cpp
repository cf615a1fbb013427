// The example circuit examples/buck.ckt, built as the editor builds circuits:
// each element made by its factory, moved to its place and placed; each wire
// drawn, placed and split. The file must hold exactly what this writes; set
// ZORV_WRITE_EXAMPLES=1 to write it again after a deliberate change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "capture.h"
#include "ckt_builder.h"
#include "run_launch_circuits.h"
#include "common/temp_dir.h"
#include "sdi/circuit_file.h"
#include "sdi/connectivity.h"
#include "sdi/factories.h"
#include "sdi/node_errors.h"
#include "sdi/node_numbering.h"
#include "sdi/place_element.h"
#include "sdi/wire_split.h"
#include "simu/run_settings.h"

namespace {
using sdi::point;

const std::string example_path =
    (std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "examples" / "buck.ckt").lexically_normal().string();

sdi::element* place(void (*factory)(), point ref, double value = 0.0, int turns = 0) {
  delete sdi::pending_element;  // what the last placement left pending
  sdi::pending_element = nullptr;
  factory();
  sdi::element* e = sdi::pending_element;
  for (int i = 0; i < turns; ++i) e->rotate();
  e->place_at(ref);
  e->values[0] = value;
  sdi::place_new_element();
  return e;
}

void wire(point a, point b, int bend) {
  delete sdi::pending_element;
  sdi::pending_element = nullptr;
  sdi::new_wire();
  sdi::element* w = sdi::pending_element;
  sdi::set_new_line(a, b, bend, 1, 0, 0);
  sdi::place_new_element();
  sdi::split_after_wire_drawn(w);
}

// A 12 V buck converter: the switch is turned on by one clock and off by a
// second, half a period later (duty 0.5 at 50 kHz); diode, 100 uH, 100 uF and
// 5 ohm; the voltage port reads the output.
void build_buck() {
  run_tsim = 0.002;
  run_td = 1e-7;
  run_finish_si = 0.002;
  sdi::element* v = place(sdi::new_voltage_source, point(104, 240), 12.0);      // + (104,216), - (104,264)
  sdi::element* sw = place(sdi::new_switch, point(304, 160));                    // (304,136) (304,184) on (288,152) off (288,168)
  sdi::element* on = place(sdi::new_clock, point(208, 152));
  sdi::element* off = place(sdi::new_clock, point(208, 200));
  on->values[1] = 0.0;
  on->values[2] = 2e-5;
  off->values[1] = 1e-5;
  off->values[2] = 2e-5;
  place(sdi::new_diode, point(400, 264), 0.0, 2);                                // cathode (400,240), anode (400,288)
  sdi::element* l = place(sdi::new_inductor, point(496, 184), 1e-4, 1);          // across (472,184)-(520,184)
  sdi::element* c = place(sdi::new_capacitor, point(600, 240), 1e-4);            // (600,216), (600,264)
  sdi::element* r = place(sdi::new_resistor, point(696, 240), 5.0);              // (696,216), (696,264)
  place(sdi::new_voltage_port, point(792, 240));                                 // (792,216), (792,264)
  place(sdi::new_ground, point(104, 264));
  place(sdi::new_ground, point(400, 288));
  place(sdi::new_ground, point(600, 264));
  delete sdi::pending_element;
  sdi::pending_element = nullptr;
  // Values entered through the dialogs.
  for (sdi::element* e : {v, sw, l, c, r}) e->flags.set(sdi::flag_values_set);
  wire(point(104, 216), point(152, 88), 1);
  wire(point(152, 88), point(304, 136), 0);
  wire(point(208, 152), point(288, 152), 0);
  wire(point(208, 200), point(288, 168), 0);
  wire(point(304, 184), point(472, 184), 0);
  wire(point(400, 240), point(400, 184), 0);  // ends inside the wire above, which splits
  wire(point(520, 184), point(600, 216), 0);
  wire(point(600, 216), point(696, 216), 0);
  wire(point(696, 216), point(792, 216), 0);
  wire(point(600, 264), point(696, 264), 0);
  wire(point(696, 264), point(792, 264), 0);
  delete sdi::pending_element;
  sdi::pending_element = nullptr;
}

}  // namespace

TEST(CktExample, BuckFileHoldsExactlyTheBuiltCircuit) {
  CircuitGuard guard;
  Capture cap;
  build_buck();
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(cap.errors, std::vector<std::string>{});
  const std::string bytes = circuit_bytes();
  if (std::getenv("ZORV_WRITE_EXAMPLES")) {
    std::ofstream(example_path, std::ios::binary) << bytes;
  }
  EXPECT_EQ(slurp(example_path), bytes);
}
