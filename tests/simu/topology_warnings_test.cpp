// Networks the model builder refuses, and the texts it throws.
#include <gtest/gtest.h>

#include <string>

#include "common/temp_dir.h"
#include "simu/console.h"
#include "simu/model_circuits.h"
#include "simu/model_expect.h"

namespace {

std::string thrown_by(model_netlist net, const DM& setting = DM()) {
  try {
    derive(std::move(net), setting);
  } catch (const char* text) {
    return text;
  }
  return "(nothing thrown)";
}

const char* const no_unique = "Warning this network has no unique solution\n Check your circuit";

model_netlist floating_node() {
  model_netlist net = circuit().add("V1", 1, 0, 5.0).add("R1", 1, 0, 1.0).out('V', "R1").done();
  net.numn = 3;   // node 2 joined to nothing: the incidence matrix has a zero row
  return net;
}

TEST(TopologyWarnings, EveryRefusedNetworkThrowsItsText) {
  struct row {
    const char* label;
    model_netlist net;
    DM setting;
    const char* text;
  } rows[] = {
      {"different sources in parallel",
       circuit().add("V1", 1, 0, 5.0).add("V2", 1, 0, 3.0).add("R1", 1, 0, 1.0).out('V', "R1").done(), DM(),
       "Warning check the circuit.\n"},
      {"current probes side by side",
       circuit().add("I1", 0, 1, 1.0).add("V01", 1, 0, 0.0).add("V02", 1, 0, 0.0).out('I', "V01").done(), DM(),
       no_unique},
      {"row of unknown letter",
       circuit().add("V1", 1, 0, 5.0).add("R1", 1, 2, 1.0).add("P1", 2, 0, 1.0).add("C1", 2, 0, 1e-6)
           .out('V', "C1").done(),
       DM(), no_unique},
      {"missing controller",
       circuit().add("V1", 1, 0, 5.0).add("E1", 2, 0, 2.0, "R9").add("R1", 2, 0, 1.0).out('V', "R1").done(), DM(),
       "Internal simulation problem.  Element not found. R9"},
      {"missing coupled inductor",
       circuit().add("V1", 1, 0, 5.0).add("L1", 1, 0, 1e-3).mutual("M1", 1e-4, "L1", "L7").out('V', "L1").done(),
       DM(), "Internal simulation problem.  Element not found. L7"},
      {"missing output branch", circuit().add("V1", 1, 0, 5.0).add("R1", 1, 0, 1.0).out('I', "R2").done(), DM(),
       "Internal simulation problem.  Element not found. R2"},
      {"element named twice",
       circuit().add("V1", 1, 0, 5.0).add("L1", 1, 2, 1e-3).add("L1", 1, 2, 1e-3).add("R1", 2, 0, 1.0)
           .out('V', "R1").done(),
       DM(), "Internal simulation problem.  Element named twice. L1"},
      {"floating node", floating_node(), DM(), "rpac - Check your circuit"},
      {"setting of wrong length",
       circuit().add("V1", 1, 0, 5.0).add("S1", 1, 2, 0.0).add("R1", 2, 0, 1.0).out('V', "R1").done(),
       col({1.0, 0.0}), "Internal simulation problem.  swinit has 2 entries for 1 switches."},
  };
  TempDir dir;
  redirect_stdio();   // warnings are also printed, with a bell
  for (row& r : rows) EXPECT_EQ(thrown_by(std::move(r.net), r.setting), r.text) << r.label;
  close_stdio_redirection();
  EXPECT_EQ(slurp("stdout.out"), "\n\aWarning check the circuit\n\n\aWarning this network has no unique solution\n"
                                 "\n\aWarning this network has no unique solution\n");
}

TEST(TopologyWarnings, LaterSettingOfWrongLengthKeepsTheTable) {
  TempDir dir;
  derived d = derive(circuit().add("V1", 1, 0, 5.0).add("S1", 1, 2, 0.0).add("D1", 2, 0, 0.0)
                         .add("R1", 2, 0, 1.0).out('V', "R1").done(),
                     col({1.0, 0.0}));
  std::string text;
  try {
    d.tab->find_eqns(col({0.0}), 1e-6);
  } catch (const char* t) {
    text = t;
  }
  EXPECT_EQ(text, "Internal simulation problem.  The setting has 1 entries for 2 switches.");
  EXPECT_EQ(d.tab->record_count(), 1);
  topology* r = d.tab->find_eqns(col({0.0, 1.0}), 1e-6);
  EXPECT_EQ(r, d.tab->record(2));
}

}  // namespace
