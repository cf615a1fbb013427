// The example circuit examples/buck.ckt (a 12 V buck converter drawn in the
// editor, its diode's wire ending inside another) opens and its nodes check.
#include <gtest/gtest.h>

#include <filesystem>

#include "capture.h"
#include "ckt_builder.h"
#include "sdi/circuit_file.h"
#include "sdi/connectivity.h"
#include "sdi/node_errors.h"
#include "sdi/node_numbering.h"
#include "simu/run_settings.h"

namespace {
const std::string example_path =
    (std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "examples" / "buck.ckt").lexically_normal().string();
}  // namespace

TEST(CktExample, BuckOpensAndItsNodesCheck) {
  CircuitGuard guard;
  Capture cap;
  ASSERT_EQ(sdi::open_circuit_file(example_path), sdi::circuit_read);
  EXPECT_EQ(run_tsim, 0.002);
  // The power stage, 2 clocks, 3 grounds and 12 wires (one split in two where the diode's joins it).
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{32, 30, 21, 21, 29, 2, 1, 0, 9, 28, 28, 28,
                                               5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}));
  sdi::elist kept = sdi::circuit.copy();
  sdi::run_error_count = 0;
  sdi::check_nodes();
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(sdi::run_error_count, 0);
  // Ground, the input, the switch node and the output; the two clock nodes are control nodes.
  EXPECT_EQ(sdi::numn, 4);
  sdi::element* sw = sdi::circuit.get(2);
  EXPECT_GE(sdi::pin_node(sw, 2), 1000);
  EXPECT_GE(sdi::pin_node(sw, 3), 1000);
  EXPECT_NE(sdi::pin_node(sw, 2), sdi::pin_node(sw, 3));
  sdi::circuit.list_clear();
  sdi::circuit.head = kept.head;
  sdi::circuit.current_ = kept.current_;
}
