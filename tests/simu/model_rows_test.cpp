// The reader's rows as the model builder takes them, from a netlist file.
#include <gtest/gtest.h>

#include <fstream>

#include "common/temp_dir.h"
#include "simu/model_expect.h"
#include "simu/netlist.h"
#include "simu/sim_params.h"

namespace {

const char* const buck_m =
    "tsim = 1.0000e-03\n"
    "td = 1.0000e-06\n"
    "points = 500\n"
    "swinit = [ 1   0    ]\n"
    "x0 = [ 0.0000e+00     \n"
    "       0.0000e+00      ]\n"
    "% Circuit name : buck\n\n"
    "% Circuit Description\n"
    "X = [ 'V1        1   0   1.2000e+01                   '  % V1\n"
    "      'S1        1   2   0.0000e+00                   '  % S1\n"
    "      'D1        0   2   0.0000e+00                   '  % D1\n"
    "      'L1        2   3   1.0000e-04                   '  % L1\n"
    "      'C1        3   0   1.0000e-05                   '  % C1\n"
    "      'R1        3   0   5.0000e+00                   '  % R1\n"
    "      'E1        4   0   2.0000e+00     C1            '  \n"
    "      'R2        4   0   1.0000e+00                   '  \n"
    "      'I01       4   0   0.0000e+00                   '  \n"
    "      'I02       3   0   0.0000e+00                   '  \n"
    "      'V#M1      5   0   1.0000e+00     3.0000e+00     I01  I02  '  \n"
    "      'R3        5   0   1.0000e+00                   ' ]\n"
    "\n% Output Description\n"
    "Y = [ 'I         D1                                   '  \n"
    "      'V         C1                                   '  % VP1\n"
    "      'V         I01                                  '  \n"
    "      'V         I02                                  ' ]\n"
    "\n% Number of nodes\nnumn = 6;\n";

TEST(ModelRows, ReaderRowsGetTheirKindLetterBack) {
  TempDir dir;
  std::ofstream("buck.m") << buck_m;
  sim_params p;
  read_netlist("buck.m", &p);
  model_netlist net = model_netlist_from(sim_netlist, p.vgs);
  free_netlist();
  ASSERT_EQ(net.rows.size(), 12u);
  EXPECT_EQ(net.rows[0].name, "V1");
  EXPECT_EQ(net.rows[6].name, "E1");
  EXPECT_EQ(net.rows[6].ref1, "C1");
  EXPECT_EQ(net.rows[10].name, "V#M1");
  EXPECT_EQ(net.rows[10].word1, "I01");
  EXPECT_EQ(net.rows[10].word2, "I02");
  EXPECT_EQ(net.rows[10].gain, 3.0);
  EXPECT_EQ(net.numn, 6u);
  ASSERT_EQ(net.outputs.size(), 4u);
  EXPECT_EQ(net.outputs[1].kind, 'V');
  EXPECT_EQ(net.outputs[1].name, "C1");
}

TEST(ModelRows, NetlistFileToStateEquations) {
  TempDir dir;
  std::ofstream("buck.m") << buck_m;
  sim_params p;
  read_netlist("buck.m", &p);
  model_netlist net = model_netlist_from(sim_netlist, p.vgs);
  free_netlist();
  derived d = derive(std::move(net), p.swinit, p.td);
  EXPECT_EQ(slurp("states.dat"), lines({"V_C1", "I_L1"}));
  const double L = 1e-4, C = 1e-5, R = 5.0, rS = 0.001, rD = 1e6 + 0.001, q = rS + rD;
  expect_matrix(d.rec->A, {{-1.0 / (R * C), 1.0 / C}, {-1.0 / L, -rS * rD / (q * L)}}, 1e-9, 1.0 / L);
  // The multiplier's source drives only its own load: its column of B is zero.
  expect_matrix(d.rec->B, {{0.0, 0.0}, {rD / (q * L), 0.0}}, 1e-9, 1.0 / L);
}

TEST(ModelRows, MultiplierSourceReportsItsGainAndOutputs) {
  TempDir dir;
  std::ofstream("buck.m") << buck_m;
  sim_params p;
  read_netlist("buck.m", &p);
  model_netlist net = model_netlist_from(sim_netlist, p.vgs);
  free_netlist();
  derived d = derive(std::move(net), p.swinit, p.td);
  EXPECT_EQ(d.gain, 3.0);
  expect_matrix(d.drive_out, {{3.0}, {4.0}}, 0.0, 0.0);
  // u = [V1, V#M1] (voltage sources in z order); the "#" source is the second.
  EXPECT_EQ(slurp("src.dat"), lines({"V1", "V#M1"}));
  expect_matrix(d.drive_pos, {{2.0}}, 0.0, 0.0);
}

}  // namespace
